// The MIDI stream player on the null output and the virtual clock: what sounds when, loops, pause,
// refills across buffers, and the threads each player leaves behind.
#include <algorithm>
#include <chrono>
#include <filesystem>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/audio/midi_stream.h"
#include "platform/host/clock.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "tests/platform/audio/midi_images.h"
#include "tests/support/game_folder.h"

namespace {

using namespace std::chrono_literals;

// A tune at 96 ticks a quarter note and 500000 microseconds a quarter: a tick is 500/96 ms.
MidiBytes Tune(const MidiBytes& events, std::uint16_t division = 96) {
  return SmfFile(0, division, {Concat({TempoEvent(0, 500000), events, kEndOfTrack})});
}

int ThreadCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/task")) ++count;
  return count;
}

class MidiPlayerTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    UseVirtualClock(0);
    SetMidiOutputKind(MidiOutputKind::Null);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    m_List.SetCount(1);
  }

  void TearDown() override {
    m_List.DeleteAll();
    CloseTrace();
    SetMidiOutputKind(MidiOutputKind::Auto);
    UseSteadyClock();
    GameFolderTest::TearDown();
  }

  void WriteTune(const std::string& file, const MidiBytes& bytes) { WriteHostFile("bgm/" + file, AsText(bytes)); }

  cMidiStream& Player() { return *m_List.At(0); }

  static void AdvanceTo(std::uint32_t ms) {
    AdvanceVirtualClock(ms - ClockMs());
    PumpNullMidiOutputs();
  }

  std::vector<std::string> Trace() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("trace.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  std::vector<std::string> ReportLines() {
    std::vector<std::string> lines;
    std::istringstream in(ReadHostFile("Report_Game.txt"));
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }

  // The callback thread works on its own; waits on the real clock until done() holds.
  template <class Pred>
  static bool Eventually(Pred done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      std::this_thread::sleep_for(200us);
    }
    return true;
  }

  bool TraceCount(const std::string& line, int count) {
    return Eventually([&] {
      const auto lines = Trace();
      return std::count(lines.begin(), lines.end(), line) >= count;
    });
  }

  cMidiList m_List;
};

TEST_F(MidiPlayerTest, NoteAtTick96SoundsAt500MsAndTheEndStopsReadyToPlayAgain) {
  WriteTune("t.mid", Tune({0x60, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  EXPECT_EQ(Player().State(), 1);
  AdvanceTo(0);
  AdvanceTo(499);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"MIDI 0.000 restart", "MIDI 0.000 tempo 500000"}));
  AdvanceTo(500);
  AdvanceTo(1000);
  ASSERT_TRUE(Eventually([&] { return Player().State() == 0; })) << "the end of the track stops the player";
  EXPECT_EQ(Trace(), (std::vector<std::string>{"MIDI 0.000 restart", "MIDI 0.000 tempo 500000", "MIDI 500.000 90 3C 64",
                                               "MIDI 1000.000 80 3C 00", "MIDI 1000.000 FF 2F 00", "MIDI 1000.000 stop",
                                               "MIDI 1000.000 notes off"}));
  AdvanceTo(3000);
  EXPECT_EQ(Trace().size(), 7u) << "a stopped player plays nothing";

  // Rewound, with the first buffer queued again: a restart plays from the first event.
  Player().Restart(0);
  AdvanceTo(3500);
  const std::vector<std::string> lines = Trace();
  EXPECT_EQ(
      std::vector<std::string>(lines.begin() + 7, lines.end()),
      (std::vector<std::string>{"MIDI 3000.000 restart", "MIDI 3000.000 tempo 500000", "MIDI 3500.000 90 3C 64"}));
}

TEST_F(MidiPlayerTest, LoopingReplaysFromTheFirstEventAfterTheEndMarker) {
  WriteTune("t.mid", Tune({0x60, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 1));
  AdvanceTo(0);
  AdvanceTo(1000);
  ASSERT_TRUE(TraceCount("MIDI 1000.000 restart", 1));
  AdvanceTo(1000);
  AdvanceTo(1500);
  AdvanceTo(2000);
  ASSERT_TRUE(TraceCount("MIDI 2000.000 restart", 1));
  AdvanceTo(2000);
  EXPECT_EQ(
      Trace(),
      (std::vector<std::string>{
          "MIDI 0.000 restart", "MIDI 0.000 tempo 500000", "MIDI 500.000 90 3C 64", "MIDI 1000.000 80 3C 00",
          "MIDI 1000.000 FF 2F 00", "MIDI 1000.000 stop", "MIDI 1000.000 notes off", "MIDI 1000.000 restart",
          "MIDI 1000.000 tempo 500000", "MIDI 1500.000 90 3C 64", "MIDI 2000.000 80 3C 00", "MIDI 2000.000 FF 2F 00",
          "MIDI 2000.000 stop", "MIDI 2000.000 notes off", "MIDI 2000.000 restart", "MIDI 2000.000 tempo 500000"}));
  EXPECT_EQ(Player().State(), 1);
}

TEST_F(MidiPlayerTest, PauseSilencesAndRestartResumesAtThePausedTick) {
  // A note at 0 and one 192 ticks (a second) later.
  WriteTune("t.mid", Tune({0x00, 0x90, 0x3C, 0x64, 0x81, 0x40, 0x90, 0x3E, 0x64, 0x60, 0x80, 0x3E, 0x00}));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  AdvanceTo(300);
  m_List.StopAll(1);
  EXPECT_EQ(Player().State(), 2);
  m_List.StopAll(1);  // pausing a paused player does nothing
  AdvanceTo(2000);
  Player().Restart(0);
  EXPECT_EQ(Player().State(), 1);
  AdvanceTo(2699);
  EXPECT_EQ(Trace().back(), "MIDI 2000.000 restart");
  AdvanceTo(2700);
  EXPECT_EQ(Trace(), (std::vector<std::string>{"MIDI 0.000 restart", "MIDI 0.000 tempo 500000", "MIDI 0.000 90 3C 64",
                                               "MIDI 300.000 pause", "MIDI 300.000 notes off", "MIDI 2000.000 restart",
                                               "MIDI 2700.000 90 3E 64"}));
}

TEST_F(MidiPlayerTest, LongTuneIsRefilledBufferAfterBufferAndKeepsItsTimes) {
  // 5000 notes a quarter note apart: two full buffers and a third with the end.
  constexpr int kNotes = 5000;
  MidiBytes events;
  for (int i = 0; i < kNotes; ++i)
    events.insert(events.end(), {0x60, 0x90, static_cast<std::uint8_t>(0x30 + i % 32), 0x64});
  WriteTune("t.mid", Tune(events));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  AdvanceTo(500 * kNotes);
  // Each refill comes from the callback thread; pump until the last buffer has played.
  ASSERT_TRUE(Eventually([&] {
    PumpNullMidiOutputs();
    return Player().State() == 0;
  }));
  std::vector<std::string> notes;
  for (const std::string& line : Trace())
    if (line.ends_with(" 64")) notes.push_back(line);
  ASSERT_EQ(notes.size(), static_cast<std::size_t>(kNotes));
  for (int i = 0; i < kNotes; ++i)
    ASSERT_EQ(notes[i], FormatString("MIDI %d.000 90 %02X 64", 500 * (i + 1), 0x30 + i % 32)) << i;
}

TEST_F(MidiPlayerTest, SystemExclusiveLongerThanABufferIsSentWhole) {
  MidiBytes sysex = {0x00, 0xF0, 0x81, 0xEA, 0x30};  // 30000 data bytes
  for (int i = 0; i < 29999; ++i) sysex.push_back(static_cast<std::uint8_t>(i % 100));
  sysex.push_back(0xF7);
  WriteTune("t.mid", Tune(Concat({sysex, {0x60, 0x90, 0x3C, 0x64}})));
  ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 0));
  AdvanceTo(0);
  AdvanceTo(500);
  // The tempo event filled the first buffer and the message the second; the note waits for the
  // refill that the first buffer's callback brings.
  ASSERT_TRUE(Eventually([&] {
    PumpNullMidiOutputs();
    return Player().State() == 0;
  }));
  const std::vector<std::string> lines = Trace();
  EXPECT_EQ(lines[3], "MIDI 500.000 90 3C 64");
  EXPECT_EQ(lines[2], "MIDI 0.000 sysex 30001 F0 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E ...");
}

TEST_F(MidiPlayerTest, DivisionTheOutputRefusesIsReportedAndTheTunePlaysAtItsDefault) {
  WriteTune("z.mid", Tune({0x60, 0x90, 0x3C, 0x64}, 0));
  ASSERT_TRUE(m_List.Play(0, "bgm\\z.mid", 0));
  EXPECT_EQ(ReportLines(),
            std::vector<std::string>{"Midi bgm\\z.mid Property A value given to the MIDI stream is not valid."});
  AdvanceTo(500);
  const std::vector<std::string> lines = Trace();
  EXPECT_NE(std::find(lines.begin(), lines.end(), "MIDI 500.000 90 3C 64"), lines.end());
}

struct PlayRefusal {
  const char* name;
  bool makesPlayer;
};

TEST_F(MidiPlayerTest, PlayNeedsALowerCaseMidNameAndAReadableFile) {
  WriteTune("t.mid", Tune({0x00, 0x90, 0x3C, 0x64}));
  WriteTune("T.MID", Tune({0x00, 0x90, 0x3C, 0x64}));
  WriteTune("t", Tune({0x00, 0x90, 0x3C, 0x64}));
  WriteTune("bad.mid", {'M', 'T', 'h', 'd', 0, 0, 0, 7});
  const PlayRefusal rows[] = {
      {"bgm\\T.MID", false},      {"bgm\\t", false},      {"bgm\\t.mid.x", false},
      {"bgm\\missing.mid", true}, {"bgm\\bad.mid", true},
  };
  for (const PlayRefusal& row : rows) {
    ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 1)) << row.name;
    EXPECT_FALSE(m_List.Play(0, row.name, 1)) << row.name;
    // The earlier player is gone either way; a file that fails to read leaves its player until the next play.
    EXPECT_EQ(m_List.At(0) != nullptr, row.makesPlayer) << row.name;
  }
  const std::vector<std::string> lines = ReportLines();
  EXPECT_EQ(lines, (std::vector<std::string>{"Midi bgm\\missing.mid Create ファイルが開けません",
                                             "Midi bgm\\bad.mid Init 標準MIDIでない(6)"}));
}

TEST_F(MidiPlayerTest, HundredPlaysInARowLeaveNoThreadsBehind) {
  WriteTune("t.mid", Tune({0x00, 0x90, 0x3C, 0x64, 0x60, 0x80, 0x3C, 0x00}));
  for (bool steady : {false, true}) {
    if (steady) UseSteadyClock();
    const int before = ThreadCount();
    for (int i = 0; i < 100; ++i) {
      ASSERT_TRUE(m_List.Play(0, "bgm\\t.mid", 1));
      PumpNullMidiOutputs();
      // The callback thread, and on the steady clock the null output's worker. A thread that has
      // been joined can stay listed by the system for a moment longer.
      const int expected = before + (steady ? 2 : 1);
      ASSERT_TRUE(Eventually([&] { return ThreadCount() == expected; })) << "play " << i << ": " << ThreadCount();
    }
    m_List.DeleteAll();
    EXPECT_TRUE(Eventually([&] { return ThreadCount() == before; })) << (steady ? "steady clock" : "virtual clock");
  }
}

}  // namespace
