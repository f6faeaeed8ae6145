// The music manager on the null device and the null MIDI output: which engine a slot's name picks,
// what a play starts, stops or pauses, forced and unforced plays, and a manager without its OGG
// library or without slots.
#include <algorithm>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "platform/audio/bgm.h"
#include "platform/host/audio_mixer.h"
#include "platform/host/box_sink.h"
#include "platform/host/clock.h"
#include "platform/host/ogg_stream.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/log.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/platform/audio/ogg_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace {

class BgmTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    UseVirtualClock(0);
    SetMidiOutputKind(MidiOutputKind::Null);
    OpenAudioDevice(false);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    SetBoxSink([this](const std::string& text, const std::string&, std::uint32_t) {
      m_Boxes.push_back(text);
      return IDOK;
    });
    WriteHostFile("bgm/Theme.ogg", ToneOgg(441, 1.0, 44100, 2));
    const MidiBytes song = SmfFile(
        0, 96, {Concat({TempoEvent(0, 500000), {0x60, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}, kEndOfTrack})});
    WriteHostFile("bgm/Song.mid", AsText(song));
    WriteHostFile("bgm/Noise.wav", std::string("RIFF\x24\0\0\0WAVEfmt ", 16) + std::string(28, '\0'));
  }

  void TearDown() override {
    m_Bgm.Release();
    SetVoxLibraryMissing(false);
    SetBoxSink({});
    CloseTrace();
    CloseAudioDevice();
    SetMidiOutputKind(MidiOutputKind::Auto);
    UseSteadyClock();
    TakeMainWindowMessages(WM_CLOSE);
    GameFolderTest::TearDown();
  }

  // A manager as the start-up makes it, over fresh copies of the program's name tables.
  bool Start(int channels = 1, int slots = kBgmSlotCount) {
    m_Bgm.Release();
    m_OggNames = g_BgmOggNames;
    m_MidiNames = g_BgmMidiNames;
    return m_Bgm.Init(channels, m_OggNames, m_MidiNames, slots);
  }

  std::vector<std::string> Trace() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("trace.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  int TraceCount(const std::string& prefix) {
    const auto lines = Trace();
    return static_cast<int>(
        std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.starts_with(prefix); }));
  }

  // Whether anything sounds in the next tenth of a second of the mix.
  static bool Sounding() {
    std::vector<std::int16_t> out(kMixRate / 10 * kMixChannels);
    for (std::size_t at = 0; at < out.size(); at += 512 * kMixChannels) {
      SettleOggStreams();
      RenderMix(out.data() + at, static_cast<int>(std::min<std::size_t>(512, (out.size() - at) / kMixChannels)));
    }
    return std::any_of(out.begin(), out.end(), [](std::int16_t s) { return s != 0; });
  }

  // The state of channel 0's MIDI player (0 stopped, 1 playing, 2 paused), -1 without one.
  int MidiState() const {
    const cMidiList& players = m_Bgm.MidiPlayers();
    return players.empty() || !players.At(0) ? -1 : players.At(0)->State();
  }

  CheckedVector<std::string> m_OggNames;
  CheckedVector<std::string> m_MidiNames;
  cBgm m_Bgm;
  std::vector<std::string> m_Boxes;
};

TEST_F(BgmTest, SetFileChoosesTheEngineByTheExtension) {
  struct Row {
    const char* name;
    bool result;
    BgmFileKind kind;
    const char* oggRow;
    const char* midiRow;
  };
  const Row rows[] = {
      {"bgm\\Song.MID", true, kBgmFileMidi, "bgm\\Title.ogg", "bgm\\Song.mid"},
      {"bgm\\Song.mid", true, kBgmFileMidi, "bgm\\Title.ogg", "bgm\\Song.mid"},
      {"bgm\\Theme.ogg", true, kBgmFileOgg, "bgm\\Theme.ogg", "bgm\\Title.mid"},
      {"bgm\\Theme.OGG", true, kBgmFileOgg, "bgm\\Theme.OGG", "bgm\\Title.mid"},
      {"bgm\\Theme.Ogg", false, kBgmFileEither, "bgm\\Theme.Ogg", "bgm\\Theme.Ogg"},
      {"bgm\\Song.Mid", false, kBgmFileEither, "bgm\\Song.Mid", "bgm\\Song.Mid"},
      {"bgm\\Noise.wav", false, kBgmFileEither, "bgm\\Noise.wav", "bgm\\Noise.wav"},
      {"bgm\\Theme", false, kBgmFileEither, "", ""},
      // The extension is what follows the last dot, wherever it is.
      {"bgm.old\\Theme", false, kBgmFileEither, "bgm.old\\Theme", "bgm.old\\Theme"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(Start());
    EXPECT_EQ(m_Bgm.SetFile(0, row.name), row.result);
    EXPECT_EQ(m_Bgm.Kinds().At(0), row.kind);
    EXPECT_EQ(m_OggNames.At(0), row.oggRow);
    EXPECT_EQ(m_MidiNames.At(0), row.midiRow);
    // The other slots keep their rows.
    EXPECT_EQ(m_OggNames.At(1), "bgm\\WorldMap.ogg");
    EXPECT_EQ(m_MidiNames.At(1), "bgm\\WorldMap.mid");
  }
}

TEST_F(BgmTest, PlayGoesToTheEngineTheNameChose) {
  struct Row {
    const char* name;
    bool played;
    BgmEngine engine;
  };
  const Row rows[] = {
      {"bgm\\Song.MID", true, kBgmEngineMidi},
      {"bgm\\Song.mid", true, kBgmEngineMidi},
      {"bgm\\Theme.ogg", true, kBgmEngineOgg},
      {"bgm\\Theme.OGG", true, kBgmEngineOgg},
      // Neither extension: tried as OGG first, which this file is.
      {"bgm\\Theme.Ogg", true, kBgmEngineOgg},
      // Not OGG, and the MIDI player takes only names ending in ".mid".
      {"bgm\\Song.Mid", false, kBgmEngineNone},
      {"bgm\\Noise.wav", false, kBgmEngineNone},
      {"bgm\\Theme", false, kBgmEngineNone},
      {"bgm\\Missing.ogg", false, kBgmEngineNone},
      {"bgm\\Missing.mid", false, kBgmEngineNone},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    ASSERT_TRUE(Start());
    m_Bgm.SetFile(0, row.name);
    EXPECT_EQ(m_Bgm.Play(0, 0, 1, 0, 1), row.played);
    EXPECT_EQ(m_Bgm.Current(), row.played ? 0 : -1);
    EXPECT_EQ(m_Bgm.Engines().At(0), row.engine);
    EXPECT_EQ(Sounding(), row.engine == kBgmEngineOgg);
    EXPECT_EQ(m_Bgm.Vox().Current(), row.engine == kBgmEngineOgg ? 0 : -1);
    if (row.engine == kBgmEngineMidi) {
      EXPECT_EQ(MidiState(), 1);
    }
    if (!row.played) {
      EXPECT_EQ(Trace().back(), "music slot 0 none");
    }
  }
}

TEST_F(BgmTest, SameSlotTwiceStartsOnceUnlessForced) {
  for (const char* name : {"bgm\\Theme.ogg", "bgm\\Song.mid"}) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(Start());
    const int before = TraceCount("music slot 2 ");
    m_Bgm.SetFile(2, name);
    ASSERT_TRUE(m_Bgm.Play(0, 2, 1, 0, 0));
    const cMidiStream* firstMidi = m_Bgm.MidiPlayers().At(0).get();
    EXPECT_TRUE(m_Bgm.Play(0, 2, 1, 0, 0));
    EXPECT_EQ(TraceCount("music slot 2 "), before + 1);
    EXPECT_EQ(m_Bgm.MidiPlayers().At(0).get(), firstMidi) << "the tune goes on";
    EXPECT_TRUE(m_Bgm.Play(0, 2, 1, 0, 1));
    EXPECT_EQ(TraceCount("music slot 2 "), before + 2);
  }
  // Each OGG start is a play of the player from the file's beginning.
  EXPECT_EQ(TraceCount("ogg play bgm\\Theme.ogg loop 2147483647"), 2);
}

TEST_F(BgmTest, StopKeepsTheSlotSoAnUnforcedPlayOfItPlaysNothing) {
  ASSERT_TRUE(Start());
  m_Bgm.SetFile(0, "bgm\\Theme.ogg");
  m_Bgm.SetFile(1, "bgm\\Song.mid");

  ASSERT_TRUE(m_Bgm.Play(0, 0, 1, 0, 1));
  m_Bgm.Stop();
  EXPECT_FALSE(Sounding());
  EXPECT_TRUE(m_Bgm.Play(0, 0, 1, 0, 0));
  EXPECT_EQ(m_Bgm.Current(), 0);
  EXPECT_FALSE(Sounding());
  EXPECT_EQ(TraceCount("ogg play "), 1);
  EXPECT_TRUE(m_Bgm.Play(0, 0, 1, 0, 1));
  EXPECT_TRUE(Sounding());

  ASSERT_TRUE(m_Bgm.Play(0, 1, 1, 0, 1));
  EXPECT_EQ(MidiState(), 1);
  m_Bgm.Stop();
  EXPECT_EQ(MidiState(), 0);
  EXPECT_TRUE(m_Bgm.Play(0, 1, 1, 0, 0));
  EXPECT_EQ(MidiState(), 0);
  EXPECT_EQ(TraceCount("music stop"), 2);
}

TEST_F(BgmTest, OggAfterMidiPausesOrStopsTheMidi) {
  for (const int pause : {1, 0}) {
    SCOPED_TRACE(pause);
    ASSERT_TRUE(Start());
    m_Bgm.SetFile(4, "bgm\\Song.mid");
    m_Bgm.SetFile(0, "bgm\\Theme.ogg");
    ASSERT_TRUE(m_Bgm.Play(0, 4, 1, 0, 1));
    ASSERT_EQ(MidiState(), 1);
    ASSERT_TRUE(m_Bgm.Play(0, 0, 1, pause, 1));
    EXPECT_EQ(MidiState(), pause ? 2 : 0);
    EXPECT_EQ(m_Bgm.Engines().At(0), kBgmEngineOgg);
    EXPECT_TRUE(Sounding());

    // Back to the MIDI slot: the OGG player stops, and the MIDI tune starts again from its beginning.
    ASSERT_TRUE(m_Bgm.Play(0, 4, 1, 0, 1));
    EXPECT_EQ(m_Bgm.Vox().Current(), -1);
    EXPECT_FALSE(Sounding());
    EXPECT_EQ(MidiState(), 1);
    EXPECT_EQ(m_Bgm.Engines().At(0), kBgmEngineMidi);
  }
}

TEST_F(BgmTest, WithoutTheOggLibraryMidiMusicStillPlays) {
  SetVoxLibraryMissing(true);
  EXPECT_FALSE(Start());
  EXPECT_EQ(m_Boxes, std::vector<std::string>{SJ("oggの初期化に失敗！")});
  EXPECT_TRUE(m_Bgm.Enabled());
  EXPECT_EQ(m_Bgm.Vox().Count(), 0);
  EXPECT_EQ(m_Bgm.MidiPlayers().size(), 1u);
  EXPECT_EQ(m_Bgm.Engines().size(), 1u);
  EXPECT_EQ(m_Bgm.Kinds().size(), static_cast<std::size_t>(kBgmSlotCount));

  m_Bgm.SetFile(1, "bgm\\Song.mid");
  EXPECT_TRUE(m_Bgm.Play(0, 1, 1, 0, 1));
  EXPECT_EQ(MidiState(), 1);

  m_Bgm.SetFile(0, "bgm\\Theme.ogg");
  EXPECT_FALSE(m_Bgm.Play(0, 0, 1, 0, 1));
  EXPECT_EQ(m_Bgm.Current(), -1);
  EXPECT_EQ(MidiState(), 0);
  EXPECT_FALSE(Sounding());

  m_Bgm.Release();
  EXPECT_FALSE(m_Bgm.Enabled());
  EXPECT_EQ(VoxModuleUseCount(), 0);
}

TEST_F(BgmTest, ManagerWithoutSlotsOrChannelsPlaysNothing) {
  ASSERT_TRUE(Start(0, kBgmSlotCount));
  EXPECT_TRUE(m_Bgm.SetFile(0, "bgm\\Theme.ogg"));
  EXPECT_FALSE(m_Bgm.Play(0, 0, 1, 0, 1));
  EXPECT_EQ(m_Bgm.Current(), -1);
  EXPECT_FALSE(Sounding());
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("err V[0] ( 0 , 4 )"), std::string::npos);

  ASSERT_TRUE(Start(1, 0));
  EXPECT_FALSE(m_Bgm.SetFile(0, "bgm\\Theme.ogg"));
  EXPECT_FALSE(m_Bgm.Play(0, 0, 1, 0, 1));
  EXPECT_FALSE(Sounding());
  EXPECT_GE(TakeMainWindowMessages(WM_CLOSE), 1) << "a bad index closes the program in order";
}

TEST_F(BgmTest, SlotOutsideTheTableTakesTheFirstRowAfterItsReport) {
  ASSERT_TRUE(Start());
  m_Bgm.SetFile(0, "bgm\\Theme.ogg");
  EXPECT_TRUE(m_Bgm.Play(0, 7, 1, 0, 1));
  EXPECT_TRUE(Sounding());
  EXPECT_NE(ReadHostFile("Report_Game.txt").find("err V[7] ( 5 , 4 )"), std::string::npos);
  EXPECT_GE(TakeMainWindowMessages(WM_CLOSE), 1);
}

TEST_F(BgmTest, OffManagerAnswersTrueAndPlaysNothing) {
  EXPECT_TRUE(m_Bgm.SetFile(0, "bgm\\Theme.ogg"));
  EXPECT_TRUE(m_Bgm.Play(0, 0, 1, 0, 1));
  m_Bgm.Stop();
  EXPECT_FALSE(Sounding());
  EXPECT_TRUE(Trace().empty());

  // Turned off and on again (the option scene's music switch), the manager has no slot playing:
  // the title's unforced request plays.
  ASSERT_TRUE(Start());
  m_Bgm.SetFile(0, "bgm\\Theme.ogg");
  ASSERT_TRUE(m_Bgm.Play(0, 0, 1, 0, 1));
  m_Bgm.Release();
  EXPECT_FALSE(Sounding());
  ASSERT_TRUE(m_Bgm.Init(1, m_OggNames, m_MidiNames, kBgmSlotCount));
  m_Bgm.SetFile(0, "bgm\\Theme.ogg");
  EXPECT_TRUE(m_Bgm.Play(0, 0, 1, 0, 0));
  EXPECT_TRUE(Sounding());
}

}  // namespace
