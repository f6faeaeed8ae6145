// The text of a message window as the message command takes it: the "#" codes replaced by the
// values of the variables they name, then the window measured in the message font.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "fuzz/fuzz_support.h"
#include "platform/display/font.h"
#include "platform/host/glyphs.h"
#include "play/message_window.h"
#include "play/play_scene.h"
#include "project/save_data.h"

namespace {

std::unique_ptr<cPlayScene> s_Scene;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  s_Scene = std::make_unique<cPlayScene>();
  g_PlayScene = s_Scene.get();
  g_SaveData.m_Variables.assign(kCommonVarCount, 0);
  s_Scene->m_StageVars.assign(kStageVarCount, 0);
  // Values of every width and sign, so the codes' widths, zeros and signs all show.
  for (int i = 0; i < kCommonVarCount; ++i)
    g_SaveData.m_Variables[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(i * -123457);
  for (int i = 0; i < kStageVarCount; ++i) s_Scene->m_StageVars[static_cast<std::size_t>(i)] = i * 98765;
  // The fixture face of the tests: its glyphs are known, and no installed font is needed.
  SetFontFileOverride(FUZZ_FONT_FILE);
  g_Fonts[1].Create("Cells", 0, 16, 0, 16, 241, nullptr, 1, 240, nullptr);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  ParseMessageText(text);
  std::int32_t width = 0;
  std::int32_t height = 0;
  MeasureMessageText(width, height, text);
  EndFuzzInput();
  return 0;
}
