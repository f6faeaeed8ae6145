// What the menus do to the raw words: the key repeat of the directions and the one-shot buttons.
#include "platform/input/input.h"

namespace {

constexpr std::uint16_t kHorizontalBits = kDirLeft | kDirRight;
constexpr std::uint16_t kVerticalBits = kDirUp | kDirDown;

// One axis of the repeat: the bits pass when they changed since the last frame, and while held only
// once the delay is over and on every interval after it.
void RepeatAxis(std::uint16_t& direction, std::uint16_t previous, std::uint16_t bits, std::uint32_t& count,
                std::uint32_t delay, std::uint32_t interval) {
  if ((direction & bits) != (previous & bits)) {
    count = 0;
    return;
  }
  ++count;
  if (count < delay || count % interval != 0) direction &= static_cast<std::uint16_t>(~bits);
}

}  // namespace

void cInput::ClearDirection() {
  m_Direction = 0;
  m_Digit = 5;
}

void cInput::ClearButtons() { m_Buttons = 0; }

void cInput::SetRepeat(std::uint32_t delay, std::uint32_t interval) {
  m_RepeatDelay = delay;
  // Every count would be divided by it.
  m_RepeatInterval = interval == 0 ? 1 : interval;
}

void cInput::AutoRepeat() {
  m_RepeatHistory = static_cast<std::uint16_t>(m_RepeatHistory << 4 | m_Direction);
  const auto previous = static_cast<std::uint16_t>(m_RepeatHistory >> 4 & 0x0F);
  // An input that never had SetRepeat is taken as repeating every frame rather than dividing by 0.
  const std::uint32_t interval = m_RepeatInterval == 0 ? 1 : m_RepeatInterval;
  RepeatAxis(m_Direction, previous, kHorizontalBits, m_RepeatCountX, m_RepeatDelay, interval);
  RepeatAxis(m_Direction, previous, kVerticalBits, m_RepeatCountY, m_RepeatDelay, interval);
}

void cInput::TriggerButtons(std::uint16_t mask) {
  const std::uint16_t m = mask == 0 ? 0xFF : mask;
  const std::uint16_t atEntry = m_Buttons;
  for (int n = 0; n < kButtonCount; ++n) {
    const auto bit = static_cast<std::uint16_t>(1u << n);
    if (!(m & bit)) continue;
    if (m_TriggerLatch == 1 && (m_Buttons & bit)) m_Buttons &= static_cast<std::uint16_t>(~bit);
    if ((m_Buttons & bit) && m_TriggerLatch == 0) {
      m_TriggerLatch = 1;
      return;
    }
  }
  if (!(atEntry & m)) {
    m_TriggerLatch = 0;
  } else {
    m_Buttons &= static_cast<std::uint16_t>(~m);
  }
}
