// The synthesiser's MIDI output: the stream's events go to the program's one synthesiser, which asks
// for them on the audio thread and starts each on its own sample frame. Time is the synthesiser's
// count of rendered frames, so the music keeps exact time with what is heard.
#include <memory>

#include "platform/audio/midi_devices.h"
#include "platform/audio/midi_sequencer.h"
#include "platform/host/midi_synth.h"

namespace {

static_assert(kMidiNever == kNoMidiEvent, "the schedule and the sequencer must agree on 'no event'");

class cSynthMidiOutput final : public cMidiSequencer, public cMidiSchedule {
 public:
  cSynthMidiOutput(std::uint32_t callbackThread, std::shared_ptr<cMidiSynth> synth)
      : cMidiSequencer(callbackThread, kMixRate), m_Synth(std::move(synth)) {}
  ~cSynthMidiOutput() override { Close(); }

  bool Attach() {
    m_Attached = m_Synth->Attach(this);
    return m_Attached;
  }

  MidiResult Close() override {
    // Off the audio thread first: from here no event of this stream is asked for.
    if (m_Attached) m_Synth->Detach(this);
    m_Attached = false;
    return cMidiSequencer::Close();
  }

  std::uint64_t MidiDue(std::uint64_t frame) override { return PlayDue(frame); }

 protected:
  std::uint64_t Now() override { return m_Synth->FramePosition(); }
  void SendShort(std::uint64_t, std::uint32_t message) override { m_Synth->ShortMessage(message); }
  void SendLong(std::uint64_t, const std::uint8_t* data, std::uint32_t size) override { m_Synth->SysEx(data, size); }
  void SendTempo(std::uint64_t, std::uint32_t) override {}
  void Silence(std::uint64_t) override { m_Synth->AllSoundsOff(); }
  void NoteControl(std::uint64_t, const char*) override {}
  // Called on the audio thread too, which must not wait for a queue: the synthesiser's courier posts.
  void Notify(std::uint32_t thread, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) override {
    m_Synth->PostLater(thread, message, wParam, lParam);
  }

 private:
  std::shared_ptr<cMidiSynth> m_Synth;
  bool m_Attached = false;  // the opening and closing thread's
};

}  // namespace

std::unique_ptr<cMidiOutput> MakeSynthMidiOutput(std::uint32_t callbackThread, std::string& error, MidiResult& result) {
  std::shared_ptr<cMidiSynth> synth = SharedMidiSynth(error);
  if (!synth) {
    result = MMSYSERR_NODRIVER;
    return nullptr;
  }
  auto output = std::make_unique<cSynthMidiOutput>(callbackThread, std::move(synth));
  if (!output->Attach()) {
    error = "the synthesiser takes no more streams";
    result = MMSYSERR_ALLOCATED;
    return nullptr;
  }
  result = MMSYSERR_NOERROR;
  return output;
}
