#include "platform/audio/midi_output.h"

#include <atomic>

#include "platform/audio/midi_devices.h"
#include "platform/host/audio_mixer.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

// The texts were always read into a buffer of this size.
constexpr std::size_t kErrorTextBuffer = 512;

struct MidiErrorRow {
  MidiResult code;
  const char* text;
};

constexpr MidiErrorRow kMidiErrorTexts[] = {
    {MMSYSERR_NOERROR, "The operation was carried out."},
    {MMSYSERR_ERROR, "An undefined error occurred."},
    {MMSYSERR_BADDEVICEID, "The MIDI device number is out of range."},
    {MMSYSERR_ALLOCATED, "The MIDI device is already in use by as many streams as it takes."},
    {MMSYSERR_INVALHANDLE, "The MIDI stream is not open."},
    {MMSYSERR_NODRIVER, "No MIDI output is available."},
    {MMSYSERR_NOMEM, "There is not enough memory or room for the request."},
    {MMSYSERR_INVALPARAM, "A value given to the MIDI stream is not valid."},
    {MIDIERR_UNPREPARED, "The buffer has not been prepared."},
    {MIDIERR_STILLPLAYING, "The buffer is still queued for playing."},
};

std::atomic<MidiOutputKind> s_Kind{MidiOutputKind::Auto};
std::atomic<bool> s_SilenceReported{false};

}  // namespace

std::string MidiErrorText(MidiResult code) {
  std::string text = FormatString("Unknown MIDI result %u.", static_cast<unsigned>(code));
  for (const MidiErrorRow& row : kMidiErrorTexts)
    if (row.code == code) text = row.text;
  if (text.size() > kErrorTextBuffer - 1) text.resize(kErrorTextBuffer - 1);
  return text;
}

void SetMidiOutputKind(MidiOutputKind kind) { s_Kind = kind; }
MidiOutputKind GetMidiOutputKind() { return s_Kind; }

MidiResult OpenMidiOutput(std::uint32_t callbackThread, std::unique_ptr<cMidiOutput>& out) {
  out.reset();
  MidiOutputKind kind = s_Kind;
  if (kind == MidiOutputKind::Auto)
    kind = CurrentAudioDevice() == AudioDeviceKind::Sdl ? MidiOutputKind::Synth : MidiOutputKind::Null;
  if (kind == MidiOutputKind::Synth) {
    std::string error;
    MidiResult result = MMSYSERR_NOERROR;
    out = MakeSynthMidiOutput(callbackThread, error, result);
    if (out) return MMSYSERR_NOERROR;
    if (result != MMSYSERR_NODRIVER) return result;
    // Without a synthesiser the music keeps its time on the null output and the game goes on; the
    // reason is written once, not at every tune.
    if (!s_SilenceReported.exchange(true)) ReportLogAndLog("Midi SoundFont : %s, the music is silent", error.c_str());
  }
  out = MakeNullMidiOutput(callbackThread);
  return out ? MMSYSERR_NOERROR : MMSYSERR_NOMEM;
}
