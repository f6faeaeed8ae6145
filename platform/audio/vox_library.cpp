// The OGG library as the music manager finds it at run time: a module named "Vox.dll" with the
// export "CreateVox", whose players stream a file each through the host's OGG decoder.
#include <algorithm>
#include <atomic>
#include <span>
#include <string_view>

#include "platform/audio/vox.h"
#include "platform/host/ogg_stream.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

class cOggVoxPlayer final : public cVoxPlayer {
 public:
  cOggVoxPlayer() : m_Stream(ReportProblem) {}

  std::uint8_t Load(const char* name) override { return name && m_Stream.Open(name) ? 1 : 0; }

  void Play() override {
    if (!m_Stream.IsOpen()) return;
    m_Stream.Play();
    Trace(FormatString("ogg play %s loop %d", m_Stream.Name().c_str(), static_cast<int>(m_Stream.LoopCount())));
  }

  void Stop() override {
    if (!m_Stream.IsOpen()) return;
    m_Stream.Stop();
    Trace(FormatString("ogg stop %s", m_Stream.Name().c_str()));
  }

  void Close() override { m_Stream.Close(); }
  void SetLoop(std::int32_t count) override { m_Stream.SetLoopCount(count); }
  void Release() override { m_Stream.Close(); }

 private:
  // A file that turns out damaged while it plays stops there; the report says which and why.
  static void ReportProblem(const std::string& name, const std::string& reason) {
    ReportLog("%s%s (%s)", name.c_str(), SJ(" の再生に失敗！").c_str(), reason.c_str());
    Trace(FormatString("ogg error %s", name.c_str()));
  }

  cOggStream m_Stream;
};

std::unique_ptr<cVoxPlayer> CreateVox() { return std::make_unique<cOggVoxPlayer>(); }

struct VoxExport {
  const char* name;
  CreateVoxProc proc;
};

constexpr VoxExport kVoxExports[] = {
    {"CreateVox", CreateVox},
};

std::atomic<bool> s_Missing{false};

bool SameAsciiName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
}
std::atomic<int> s_UseCount{0};

}  // namespace

struct cVoxModule {
  const char* name;
  std::span<const VoxExport> exports;
};

namespace {

constexpr cVoxModule kVoxModule = {"Vox.dll", kVoxExports};

}  // namespace

const cVoxModule* LoadVoxModule(const std::string& name) {
  // Library names are found without regard to case, as they always were.
  if (s_Missing || !SameAsciiName(name, kVoxModule.name)) return nullptr;
  ++s_UseCount;
  return &kVoxModule;
}

CreateVoxProc GetVoxProc(const cVoxModule* module, const std::string& name) {
  if (!module) return nullptr;
  for (const VoxExport& entry : module->exports)
    if (name == entry.name) return entry.proc;
  return nullptr;
}

void FreeVoxModule(const cVoxModule* module) {
  if (module) --s_UseCount;
}

int VoxModuleUseCount() { return s_UseCount; }

void SetVoxLibraryMissing(bool missing) { s_Missing = missing; }
