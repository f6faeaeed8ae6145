#include "platform/host/midi_synth.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>

#include "platform/host/message_queue.h"

namespace {

// Where Debian's General MIDI SoundFont packages install: fluid-soundfont-gm first (what the setup
// step installs), then the alternatives link and the smaller sets other packages bring.
constexpr const char* kSoundFontPlaces[] = {
    "/usr/share/sounds/sf2/FluidR3_GM.sf2", "/usr/share/sounds/sf2/default-GM.sf2",
    "/usr/share/sounds/sf2/TimGM6mb.sf2",   "/usr/share/soundfonts/default.sf2",
    "/usr/share/soundfonts/FluidR3_GM.sf2",
};

// The synthesiser's own level: its default is meant for a mix of many sources and leaves the
// music far below the sound effects.
constexpr double kSynthGain = 0.4;
// A float sample at full scale, as the mixer counts it.
constexpr float kSampleScale = 32767.0f;

bool IsFile(const char* path) {
  std::error_code ec;
  return path && *path && std::filesystem::is_regular_file(path, ec);
}

// The library writes its errors and warnings to standard error. The program says what matters in
// its own report line (a SoundFont that does not load), and an instrument the SoundFont lacks is not
// worth a line at all.
void QuietLibraryLog() {
  static std::once_flag once;
  std::call_once(once, [] {
    fluid_set_log_function(FLUID_ERR, nullptr, nullptr);
    fluid_set_log_function(FLUID_WARN, nullptr, nullptr);
    fluid_set_log_function(FLUID_INFO, nullptr, nullptr);
    fluid_set_log_function(FLUID_DBG, nullptr, nullptr);
  });
}

}  // namespace

struct cMidiSynth::cFluid {
  fluid_settings_t* settings = nullptr;
  fluid_synth_t* synth = nullptr;

  ~cFluid() {
    if (synth) delete_fluid_synth(synth);
    if (settings) delete_fluid_settings(settings);
  }
};

cMidiSynth::cMidiSynth(cKey) : m_Fluid(std::make_unique<cFluid>()) {}

std::shared_ptr<cMidiSynth> cMidiSynth::Create(const std::string& soundFont, std::string& error) {
  QuietLibraryLog();
  auto self = std::make_shared<cMidiSynth>(cKey());
  cFluid& fluid = *self->m_Fluid;
  fluid.settings = new_fluid_settings();
  if (!fluid.settings) {
    error = "the synthesiser settings cannot be made";
    return nullptr;
  }
  fluid_settings_setnum(fluid.settings, "synth.sample-rate", kMixRate);
  fluid_settings_setnum(fluid.settings, "synth.gain", kSynthGain);
  // Rendering happens in the mixer's callback only; the library must not start workers of its own.
  fluid_settings_setint(fluid.settings, "synth.cpu-cores", 1);
  fluid_settings_setint(fluid.settings, "synth.threadsafe-api", 1);
  fluid.synth = new_fluid_synth(fluid.settings);
  if (!fluid.synth) {
    error = "the synthesiser cannot be made";
    return nullptr;
  }
  if (soundFont.empty()) {
    error = "no SoundFont found";
    return nullptr;
  }
  if (fluid_synth_sfload(fluid.synth, soundFont.c_str(), 1) == FLUID_FAILED) {
    error = "the SoundFont " + soundFont + " cannot be loaded";
    return nullptr;
  }
  self->m_Courier = std::thread([raw = self.get()] { raw->RunCourier(); });
  return self;
}

cMidiSynth::~cMidiSynth() {
  {
    std::lock_guard lock(m_LetterLock);
    m_CourierQuit = true;
  }
  m_LetterArrived.notify_one();
  if (m_Courier.joinable()) m_Courier.join();
}

void cMidiSynth::ShortMessage(std::uint32_t message) {
  fluid_synth_t* synth = m_Fluid->synth;
  const int status = message & 0xFF;
  const int channel = status & 0x0F;
  const int data1 = (message >> 8) & 0x7F;
  const int data2 = (message >> 16) & 0x7F;
  switch (status & 0xF0) {
    case 0x80:
      fluid_synth_noteoff(synth, channel, data1);
      break;
    case 0x90:
      fluid_synth_noteon(synth, channel, data1, data2);
      break;  // velocity 0 is a note off
    case 0xA0:
      fluid_synth_key_pressure(synth, channel, data1, data2);
      break;
    case 0xB0:
      fluid_synth_cc(synth, channel, data1, data2);
      break;
    case 0xC0:
      fluid_synth_program_change(synth, channel, data1);
      break;
    case 0xD0:
      fluid_synth_channel_pressure(synth, channel, data1);
      break;
    case 0xE0:
      fluid_synth_pitch_bend(synth, channel, data1 | data2 << 7);
      break;
    default:
      break;
  }
}

void cMidiSynth::SysEx(const std::uint8_t* data, std::size_t size) {
  if (!data || size < 2 || data[0] != 0xF0) return;
  // The library wants the message without its framing bytes.
  std::size_t length = size - 1;
  if (data[size - 1] == 0xF7) --length;
  if (length == 0 || length > static_cast<std::size_t>(INT32_MAX)) return;
  fluid_synth_sysex(m_Fluid->synth, reinterpret_cast<const char*>(data + 1), static_cast<int>(length), nullptr, nullptr,
                    nullptr, 0);
}

void cMidiSynth::AllSoundsOff() { fluid_synth_all_sounds_off(m_Fluid->synth, -1); }

bool cMidiSynth::Attach(cMidiSchedule* schedule) {
  std::lock_guard lock(m_ScheduleLock);
  if (!schedule || m_ScheduleCount == kMaxSchedules) return false;
  m_Schedules[m_ScheduleCount++] = schedule;
  return true;
}

void cMidiSynth::Detach(cMidiSchedule* schedule) {
  std::lock_guard lock(m_ScheduleLock);
  for (int i = 0; i < m_ScheduleCount; ++i) {
    if (m_Schedules[i] != schedule) continue;
    m_Schedules[i] = m_Schedules[--m_ScheduleCount];
    m_Schedules[m_ScheduleCount] = nullptr;
    return;
  }
}

void cMidiSynth::PostLater(std::uint32_t threadId, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  {
    std::lock_guard lock(m_LetterLock);
    if (m_LetterCount == kMaxLetters) return;
    m_Letters[(m_LetterHead + m_LetterCount) % kMaxLetters] = cLetter{threadId, message, wParam, lParam};
    ++m_LetterCount;
  }
  m_LetterArrived.notify_one();
}

void cMidiSynth::RunCourier() {
  std::array<cLetter, kMaxLetters> batch{};
  for (;;) {
    int count = 0;
    {
      std::unique_lock lock(m_LetterLock);
      m_LetterArrived.wait(lock, [this] { return m_CourierQuit || m_LetterCount > 0; });
      if (m_CourierQuit) return;
      for (; m_LetterCount > 0; --m_LetterCount) {
        batch[count++] = m_Letters[m_LetterHead];
        m_LetterHead = (m_LetterHead + 1) % kMaxLetters;
      }
    }
    // A thread that has ended has no queue any more; its letters are simply not delivered. Nothing
    // may leave this thread: a letter that cannot be posted (no memory) is dropped like a late one.
    for (int i = 0; i < count; ++i) {
      try {
        PostThreadMessage(batch[i].threadId, batch[i].message, batch[i].wParam, batch[i].lParam);
      } catch (...) {
      }
    }
  }
}

void cMidiSynth::RenderFrames(std::int32_t* mix, int frames) {
  while (frames > 0) {
    const int chunk = std::min(frames, kScratchFrames);
    fluid_synth_write_float(m_Fluid->synth, chunk, m_Left.data(), 0, 1, m_Right.data(), 0, 1);
    for (int i = 0; i < chunk; ++i) {
      // Clamped before conversion: a runaway voice must not turn into an undefined conversion.
      const float left = std::clamp(m_Left[i], -4.0f, 4.0f);
      const float right = std::clamp(m_Right[i], -4.0f, 4.0f);
      mix[2 * i] += static_cast<std::int32_t>(std::lrint(left * kSampleScale));
      mix[2 * i + 1] += static_cast<std::int32_t>(std::lrint(right * kSampleScale));
    }
    mix += 2 * chunk;
    frames -= chunk;
    m_Frame.fetch_add(static_cast<std::uint64_t>(chunk), std::memory_order_acq_rel);
  }
}

void cMidiSynth::MixInto(std::int32_t* mix, int frames) {
  std::lock_guard lock(m_ScheduleLock);
  while (frames > 0) {
    const std::uint64_t now = FramePosition();
    std::uint64_t next = kNoMidiEvent;
    for (int i = 0; i < m_ScheduleCount; ++i) next = std::min(next, m_Schedules[i]->MidiDue(now));
    // Render up to the next event, so it starts on its own frame.
    int chunk = frames;
    if (next != kNoMidiEvent && next > now && next - now < static_cast<std::uint64_t>(frames))
      chunk = static_cast<int>(next - now);
    RenderFrames(mix, chunk);
    mix += 2 * chunk;
    frames -= chunk;
  }
}

std::string FindSoundFont() {
  if (const char* chosen = std::getenv("PLAYER_SOUNDFONT"); IsFile(chosen)) return chosen;
  for (const char* place : kSoundFontPlaces)
    if (IsFile(place)) return place;
  return {};
}

namespace {

std::mutex s_SharedLock;
std::shared_ptr<cMidiSynth> s_Shared;
bool s_SharedTried = false;
std::string s_SharedError;

}  // namespace

std::shared_ptr<cMidiSynth> SharedMidiSynth(std::string& error) {
  std::lock_guard lock(s_SharedLock);
  if (!s_SharedTried) {
    s_SharedTried = true;
    s_Shared = cMidiSynth::Create(FindSoundFont(), s_SharedError);
    if (s_Shared) AddMixSource(s_Shared);
  }
  if (!s_Shared) error = s_SharedError;
  return s_Shared;
}

void ReleaseSharedMidiSynth() {
  std::shared_ptr<cMidiSynth> synth;
  {
    std::lock_guard lock(s_SharedLock);
    synth = std::move(s_Shared);
    s_Shared.reset();
    s_SharedTried = false;
    s_SharedError.clear();
  }
  if (synth) RemoveMixSource(synth.get());
}
