// The null MIDI output: the stream's timing on the program clock, with every event written to the
// trace at the time it was due. It serves headless runs and tests (on the virtual clock, moved on by
// PumpNullMidiOutputs) and machines where no music can sound (on the steady clock, moved on by a
// worker of its own), so the player's buffers, callbacks and loops run the same everywhere.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/audio/midi_devices.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/host/clock.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/thread.h"

namespace {

constexpr std::uint64_t kUsPerMs = 1000;
// How often the worker of a steady-clock output looks at the clock. Events are traced with the
// time they were due, not the time they were seen.
constexpr std::uint32_t kDriverStepMs = 2;
// Bytes of a long message shown in its trace line.
constexpr std::uint32_t kTracedLongBytes = 16;

class cNullMidiOutput;

std::mutex s_RegistryLock;
std::vector<cNullMidiOutput*> s_Registry;

class cNullMidiOutput final : public cMidiSequencer {
 public:
  explicit cNullMidiOutput(std::uint32_t callbackThread) : cMidiSequencer(callbackThread, 1000000) {
    m_LastMs = ClockMs();
    m_ClockUs = m_LastMs * kUsPerMs;
    std::lock_guard lock(s_RegistryLock);
    s_Registry.push_back(this);
  }
  ~cNullMidiOutput() override { Close(); }

  bool StartDriver() { return m_Driver.Start(DriverProc, this); }

  MidiResult Close() override {
    {
      std::lock_guard lock(s_RegistryLock);
      std::erase(s_Registry, this);
    }
    m_Driver.Quit();
    return cMidiSequencer::Close();
  }

 protected:
  // The clock's 32-bit milliseconds, carried on in 64-bit microseconds across its wrap.
  std::uint64_t Now() override {
    const std::uint32_t ms = ClockMs();
    m_ClockUs += static_cast<std::uint64_t>(ms - m_LastMs) * kUsPerMs;
    m_LastMs = ms;
    return m_ClockUs;
  }

  void SendShort(std::uint64_t at, std::uint32_t message) override {
    const unsigned status = message & 0xFF;
    const unsigned data1 = (message >> 8) & 0xFF;
    const unsigned data2 = (message >> 16) & 0xFF;
    if ((status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0)
      Trace(FormatString("MIDI %s %02X %02X", TimeText(at).c_str(), status, data1));
    else
      Trace(FormatString("MIDI %s %02X %02X %02X", TimeText(at).c_str(), status, data1, data2));
  }

  void SendLong(std::uint64_t at, const std::uint8_t* data, std::uint32_t size) override {
    std::string line = FormatString("MIDI %s sysex %u", TimeText(at).c_str(), static_cast<unsigned>(size));
    for (std::uint32_t i = 0; i < std::min(size, kTracedLongBytes); ++i) line += FormatString(" %02X", data[i]);
    if (size > kTracedLongBytes) line += " ...";
    Trace(line);
  }

  void SendTempo(std::uint64_t at, std::uint32_t tempo) override {
    Trace(FormatString("MIDI %s tempo %u", TimeText(at).c_str(), static_cast<unsigned>(tempo)));
  }

  void Silence(std::uint64_t at) override { Trace(FormatString("MIDI %s notes off", TimeText(at).c_str())); }

  void NoteControl(std::uint64_t at, const char* what) override {
    Trace(FormatString("MIDI %s %s", TimeText(at).c_str(), what));
  }

  void Notify(std::uint32_t thread, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    // A player whose thread has ended has no queue any more; the post then simply fails.
    PostThreadMessage(thread, message, wParam, lParam);
  }

 private:
  // Milliseconds with the microseconds after the point: "500.000".
  static std::string TimeText(std::uint64_t us) {
    return FormatString("%llu.%03llu", static_cast<unsigned long long>(us / kUsPerMs),
                        static_cast<unsigned long long>(us % kUsPerMs));
  }

  static std::uint32_t DriverProc(void* arg) {
    auto& self = *static_cast<cNullMidiOutput*>(arg);
    for (;;) {
      self.PlayDueNow();
      if (auto msg = GetThreadMessageWithin(kDriverStepMs); msg && msg->message == WM_QUIT) break;
      if (QuitRequested()) break;
    }
    return 0;
  }

  std::uint32_t m_LastMs = 0;  // guarded by the sequencer's lock, like everything Now touches
  std::uint64_t m_ClockUs = 0;
  cThread m_Driver;
};

}  // namespace

std::unique_ptr<cMidiOutput> MakeNullMidiOutput(std::uint32_t callbackThread) {
  auto output = std::make_unique<cNullMidiOutput>(callbackThread);
  if (!IsVirtualClock() && !output->StartDriver()) return nullptr;
  return output;
}

void PumpNullMidiOutputs() {
  std::lock_guard lock(s_RegistryLock);
  for (cNullMidiOutput* output : s_Registry) output->PlayDueNow();
}
