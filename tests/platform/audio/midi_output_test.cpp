// The MIDI stream output on its null device: timing on the virtual clock, buffer hand-back,
// callbacks, pause and stop.
#include "platform/audio/midi_output.h"

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "platform/host/clock.h"
#include "platform/host/message_queue.h"
#include "platform/host/trace.h"
#include "tests/support/game_folder.h"

namespace {

// A queue of its own stands in for the player's callback thread.
constexpr std::uint32_t kCallbackThread = 0xFFFF0101;

struct StreamEvent {
  std::uint32_t delta;
  std::uint32_t event;
};

void Fill(MidiHeader& header, const std::vector<StreamEvent>& events, std::uintptr_t user = 0) {
  header.data.assign(events.size() * 12, 0);
  for (std::size_t i = 0; i < events.size(); ++i) {
    const std::uint32_t words[3] = {events[i].delta, 0, events[i].event};
    std::memcpy(header.data.data() + 12 * i, words, sizeof words);
  }
  header.bytesRecorded = static_cast<std::uint32_t>(header.data.size());
  header.user = user;
  ++header.fill;
}

constexpr std::uint32_t Tempo(std::uint32_t tempo) { return static_cast<std::uint32_t>(MEVT_TEMPO) << 24 | tempo; }
constexpr std::uint32_t NoteOn(std::uint8_t note) { return 0x640090u | static_cast<std::uint32_t>(note) << 8; }

class MidiOutputTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    UseVirtualClock(1000);
    SetMidiOutputKind(MidiOutputKind::Null);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    m_Queue = CreateThreadQueue(kCallbackThread);
    ASSERT_EQ(OpenMidiOutput(kCallbackThread, m_Output), MMSYSERR_NOERROR);
  }

  void TearDown() override {
    m_Output.reset();
    ReleaseThreadQueue(kCallbackThread);
    CloseTrace();
    SetMidiOutputKind(MidiOutputKind::Auto);
    UseSteadyClock();
    GameFolderTest::TearDown();
  }

  void Queue(MidiHeader& header) {
    ASSERT_EQ(m_Output->Prepare(header), MMSYSERR_NOERROR);
    ASSERT_EQ(m_Output->Out(header), MMSYSERR_NOERROR);
  }

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

  std::vector<HostMessage> Messages() {
    std::vector<HostMessage> messages;
    while (auto msg = m_Queue->TryTake()) messages.push_back(*msg);
    return messages;
  }

  std::unique_ptr<cMidiOutput> m_Output;
  std::shared_ptr<cMessageQueue> m_Queue;
};

TEST_F(MidiOutputTest, RefusesWhatAStreamCannotDo) {
  EXPECT_EQ(m_Output->SetTimeDivision(0), MMSYSERR_INVALPARAM);
  EXPECT_EQ(m_Output->SetTimeDivision(0x10000), MMSYSERR_INVALPARAM);
  EXPECT_EQ(m_Output->SetTimeDivision(0xE900 | 10), MMSYSERR_INVALPARAM) << "23 frames a second";
  EXPECT_EQ(m_Output->SetTimeDivision(0xE700), MMSYSERR_INVALPARAM) << "no ticks per frame";
  EXPECT_EQ(m_Output->SetTimeDivision(0xE728), MMSYSERR_NOERROR) << "25 frames of 40 ticks";

  MidiHeader header;
  EXPECT_EQ(m_Output->Prepare(header), MMSYSERR_INVALPARAM) << "no data block";
  Fill(header, {{0, NoteOn(60)}});
  EXPECT_EQ(m_Output->Out(header), MIDIERR_UNPREPARED);
  Queue(header);
  EXPECT_EQ(header.flags.load(), MHDR_PREPARED | MHDR_INQUEUE);
  EXPECT_EQ(m_Output->Out(header), MIDIERR_STILLPLAYING);
  EXPECT_EQ(m_Output->Unprepare(header), MIDIERR_STILLPLAYING);
  EXPECT_EQ(m_Output->Reset(), MMSYSERR_NOERROR);
  EXPECT_EQ(header.flags.load(), MHDR_PREPARED | MHDR_DONE) << "reset hands the buffer back";
  EXPECT_EQ(m_Output->Unprepare(header), MMSYSERR_NOERROR);
  EXPECT_EQ(m_Output->Close(), MMSYSERR_NOERROR);
  EXPECT_EQ(m_Output->Restart(), MMSYSERR_INVALHANDLE);
  EXPECT_EQ(m_Output->Prepare(header), MMSYSERR_INVALHANDLE);
}

struct TimingCase {
  const char* label;
  std::uint32_t division;
  std::vector<StreamEvent> events;
  std::vector<std::string> notes;  // the note lines, clock started at 1000 ms
};

TEST_F(MidiOutputTest, TicksBecomeTimeByDivisionAndTempo) {
  const TimingCase cases[] = {
      {"a quarter note at the default tempo", 96, {{96, NoteOn(60)}}, {"MIDI 1500.000 90 3C 64"}},
      {"thirds of a second keep their remainder",
       3,
       {{0, Tempo(1000000)}, {1, NoteOn(60)}, {1, NoteOn(61)}, {1, NoteOn(62)}},
       {"MIDI 1333.333 90 3C 64", "MIDI 1666.666 90 3D 64", "MIDI 2000.000 90 3E 64"}},
      {"tempo changes from its own event on",
       96,
       {{96, NoteOn(60)}, {0, Tempo(250000)}, {96, NoteOn(61)}},
       {"MIDI 1500.000 90 3C 64", "MIDI 1750.000 90 3D 64"}},
      {"SMPTE time: 25 frames of 40 ticks, tempo ignored",
       0xE728,
       {{0, Tempo(250000)}, {1000, NoteOn(60)}},
       {"MIDI 2000.000 90 3C 64"}},
  };
  for (const TimingCase& c : cases) {
    m_Output.reset();
    UseVirtualClock(1000);
    ReleaseThreadQueue(kCallbackThread);
    m_Queue = CreateThreadQueue(kCallbackThread);
    ASSERT_EQ(OpenMidiOutput(kCallbackThread, m_Output), MMSYSERR_NOERROR);
    ASSERT_TRUE(OpenTrace(m_Folder / "trace.txt"));
    ASSERT_EQ(m_Output->SetTimeDivision(c.division), MMSYSERR_NOERROR) << c.label;
    MidiHeader header;
    Fill(header, c.events);
    Queue(header);
    ASSERT_EQ(m_Output->Restart(), MMSYSERR_NOERROR);
    AdvanceTo(1000);
    // Every note comes due on its own millisecond; none may sound a millisecond early.
    std::vector<std::string> notes;
    for (std::uint32_t ms = 1000; ms <= 2000; ++ms) {
      AdvanceTo(ms);
      for (const std::string& line : Trace())
        if (line.ends_with(" 64") && std::find(notes.begin(), notes.end(), line) == notes.end()) {
          notes.push_back(line);
          const double at = std::stod(line.substr(5));
          EXPECT_LE(at, ms) << c.label << ": " << line << " played early";
          EXPECT_GT(at + 1, ms) << c.label << ": " << line << " played late";
        }
    }
    EXPECT_EQ(notes, c.notes) << c.label;
    m_Output.reset();
  }
}

TEST_F(MidiOutputTest, CallbackComesAfterItsEventWithTheBufferAlreadyHandedBack) {
  MidiHeader header;
  Fill(header, {{0, NoteOn(60)}, {96, MEVT_F_CALLBACK | NoteOn(61)}}, 7);
  Queue(header);
  ASSERT_EQ(m_Output->Restart(), MMSYSERR_NOERROR);
  AdvanceTo(1499);
  EXPECT_TRUE(Messages().empty());
  EXPECT_TRUE(header.flags.load() & MHDR_INQUEUE);
  AdvanceTo(1500);
  EXPECT_EQ(header.flags.load(), MHDR_PREPARED | MHDR_DONE);
  const std::vector<HostMessage> messages = Messages();
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].message, MM_MOM_POSITIONCB);
  EXPECT_EQ(messages[0].wParam, 7u);
  EXPECT_EQ(static_cast<std::uint64_t>(messages[0].lParam), 12u | static_cast<std::uint64_t>(header.fill) << 32)
      << "the event's offset, and the fill it belongs to";
  EXPECT_EQ(messages[1].message, MM_MOM_DONE);
}

TEST_F(MidiOutputTest, PauseKeepsThePositionAndStopRewinds) {
  MidiHeader header;
  Fill(header, {{0, NoteOn(60)}, {192, NoteOn(62)}});  // the second note a second later
  Queue(header);
  ASSERT_EQ(m_Output->Restart(), MMSYSERR_NOERROR);
  AdvanceTo(1300);
  ASSERT_EQ(m_Output->Pause(), MMSYSERR_NOERROR);
  AdvanceTo(5000);
  ASSERT_EQ(m_Output->Restart(), MMSYSERR_NOERROR);
  AdvanceTo(5699);
  AdvanceTo(5700);
  EXPECT_EQ(Trace(),
            (std::vector<std::string>{"MIDI 1000.000 restart", "MIDI 1000.000 90 3C 64", "MIDI 1300.000 pause",
                                      "MIDI 1300.000 notes off", "MIDI 5000.000 restart", "MIDI 5700.000 90 3E 64"}));

  // Stop: the buffer comes back, and the stream starts again from time 0 at the next restart.
  Fill(header, {{0, NoteOn(60)}, {192, NoteOn(62)}});
  Queue(header);
  ASSERT_EQ(m_Output->Stop(), MMSYSERR_NOERROR);
  EXPECT_EQ(header.flags.load(), MHDR_PREPARED | MHDR_DONE);
  Messages();
  Fill(header, {{0, NoteOn(64)}, {192, NoteOn(65)}});
  Queue(header);
  AdvanceTo(8000);
  ASSERT_EQ(m_Output->Restart(), MMSYSERR_NOERROR);
  AdvanceTo(9000);
  const std::vector<std::string> lines = Trace();
  EXPECT_EQ(std::vector<std::string>(lines.end() - 5, lines.end()),
            (std::vector<std::string>{"MIDI 5700.000 stop", "MIDI 5700.000 notes off", "MIDI 8000.000 restart",
                                      "MIDI 8000.000 90 40 64", "MIDI 9000.000 90 41 64"}));
}

TEST(MidiErrorTexts, KnownCodesHaveTheirTextAndOthersSayWhatTheyAre) {
  EXPECT_EQ(MidiErrorText(MIDIERR_STILLPLAYING), "The buffer is still queued for playing.");
  EXPECT_EQ(MidiErrorText(99), "Unknown MIDI result 99.");
}

}  // namespace
