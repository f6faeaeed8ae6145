// The key configuration user_data\KeyConfig.dat, read as start-up reads it, then polled with every
// key down and every joystick plugged in.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/host/input_devices.h"
#include "platform/input/input.h"
#include "platform/input/key_config.h"
#include "project/project_paths.h"

namespace {

cScriptedInputSource s_Source;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  for (int key = 0; key < kVirtualKeyCount; ++key) s_Source.SetKey(key, true);
  // Every axis at an end and every button down, so each entry of any device reads as pressed.
  JoystickPosition pressed;
  pressed.axes = {0, 65535, 0, 65535, 0, 65535};
  pressed.buttons = 0xFFFFFFFFu;
  for (int id = 0; id < kMaxJoysticks; ++id) s_Source.SetJoystick(id, pressed);
  SetInputSource(&s_Source);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathKeyConfig].c_str();
  WriteFuzzFile(path, data, size);
  InitInput(path);
  cInput input;
  input.PollConfigured(1, 0);
  EndFuzzInput();
  return 0;
}
