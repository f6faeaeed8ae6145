// The MIDI player through the synthesiser and the mixer (on the null device, whose time passes as
// the test renders), and the fall-back to the silent null output when no SoundFont loads.
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "platform/audio/midi_stream.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/clock.h"
#include "platform/host/midi_synth.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/support/game_folder.h"

namespace {

class MidiSynthOutputTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    OpenAudioDevice(false);
    SetMidiOutputKind(MidiOutputKind::Synth);
    ReleaseSharedMidiSynth();
    m_List.SetCount(1);
    // A note 96 ticks (half a second) in, held for another 96.
    const MidiBytes tune = SmfFile(
        0, 96,
        {Concat(
            {TempoEvent(0, 500000), {0x00, 0xC0, 0x00, 0x60, 0x90, 0x3C, 0x7F, 0x60, 0x80, 0x3C, 0x00}, kEndOfTrack})});
    WriteHostFile("bgm/t.mid", AsText(tune));
  }

  void TearDown() override {
    m_List.DeleteAll();
    ReleaseSharedMidiSynth();
    SetMidiOutputKind(MidiOutputKind::Auto);
    CloseAudioDevice();
    ::unsetenv("PLAYER_SOUNDFONT");
    GameFolderTest::TearDown();
  }

  static std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kMixChannels);
    RenderMix(out.data(), frames);
    return out;
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  cMidiList m_List;
};

TEST_F(MidiSynthOutputTest, NoteSoundsOnTheFrameItsTickFallsOn) {
  if (FindSoundFont().empty()) GTEST_SKIP() << "no General MIDI SoundFont installed";
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  EXPECT_TRUE(ReportLines().empty());
  // Half a second at the mixer's rate, rendered in blocks that do not fall on the note.
  const int noteFrame = kMixRate / 2;
  std::vector<std::int16_t> before;
  for (int done = 0; done < noteFrame;) {
    const int block = std::min(1000, noteFrame - done);
    const std::vector<std::int16_t> part = Render(block);
    before.insert(before.end(), part.begin(), part.end());
    done += block;
  }
  for (std::size_t i = 0; i < before.size(); ++i) ASSERT_EQ(before[i], 0) << "sound before the note, frame " << i / 2;
  const std::vector<std::int16_t> after = Render(kMixRate / 100);
  int loudest = 0;
  for (std::int16_t sample : after) loudest = std::max(loudest, std::abs(static_cast<int>(sample)));
  EXPECT_GT(loudest, 100) << "the note sounds within 10 ms of its frame";
}

TEST_F(MidiSynthOutputTest, SoundFontThatDoesNotLoadLeavesTheMusicSilentWithOneLine) {
  const auto font = m_Folder / "broken.sf2";
  WriteHostFile("broken.sf2", "not a SoundFont");
  ::setenv("PLAYER_SOUNDFONT", font.c_str(), 1);
  UseVirtualClock(0);
  ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0)) << "the tune plays on, unheard";
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  AdvanceVirtualClock(500);
  PumpNullMidiOutputs();
  CloseTrace();
  UseSteadyClock();
  EXPECT_EQ(ReportLines(), std::vector<std::string>{"Midi SoundFont : the SoundFont " + font.string() +
                                                    " cannot be loaded, the music is silent"});
  EXPECT_NE(ReadHostFile("trace.txt").find("MIDI 500.000 90 3C 7F"), std::string::npos);
}

}  // namespace
