// The input source the game reads, and the two Windows-style reads over it.
#include "platform/host/input_devices.h"

namespace {

std::atomic<cInputSource*> g_CurrentSource{nullptr};

// The fields of JOYINFOEX that each JOY_RETURN flag fills, axis by axis.
struct sAxisField {
  std::uint32_t flag;
  std::uint32_t JOYINFOEX::*field;
};
constexpr std::array<sAxisField, 6> kAxisFields = {{
    {JOY_RETURNX, &JOYINFOEX::dwXpos},
    {JOY_RETURNY, &JOYINFOEX::dwYpos},
    {JOY_RETURNZ, &JOYINFOEX::dwZpos},
    {JOY_RETURNR, &JOYINFOEX::dwRpos},
    {JOY_RETURNU, &JOYINFOEX::dwUpos},
    {JOY_RETURNV, &JOYINFOEX::dwVpos},
}};

}  // namespace

void FillJoyInfo(const JoystickPosition& position, JOYINFOEX* info) {
  for (std::size_t i = 0; i < kAxisFields.size(); ++i) {
    if (info->dwFlags & kAxisFields[i].flag) info->*kAxisFields[i].field = position.axes[i];
  }
  if (info->dwFlags & JOY_RETURNBUTTONS) {
    info->dwButtons = position.buttons;
    info->dwButtonNumber = static_cast<std::uint32_t>(__builtin_popcount(position.buttons));
  }
  if (info->dwFlags & JOY_RETURNPOV) info->dwPOV = position.pov;
}

void SetInputSource(cInputSource* source) { g_CurrentSource.store(source, std::memory_order_release); }

cInputSource& CurrentInputSource() {
  cInputSource* source = g_CurrentSource.load(std::memory_order_acquire);
  return source ? *source : SdlInputSource();
}

std::int16_t GetAsyncKeyState(int virtualKey) {
  return CurrentInputSource().KeyDown(virtualKey) ? static_cast<std::int16_t>(-0x8000) : std::int16_t{0};
}

std::uint32_t joyGetPosEx(std::uint32_t id, JOYINFOEX* info) {
  if (!info || id >= static_cast<std::uint32_t>(kMaxJoysticks)) return JOYERR_PARMS;
  std::optional<JoystickPosition> position = CurrentInputSource().Joystick(static_cast<int>(id));
  if (!position) return JOYERR_UNPLUGGED;
  FillJoyInfo(*position, info);
  return JOYERR_NOERROR;
}
