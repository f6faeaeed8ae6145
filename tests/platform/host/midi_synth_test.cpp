// The FluidSynth synthesiser: events start on their own sample frame, whatever the block size, and
// the courier delivers the audio thread's messages in order.
#include "platform/host/midi_synth.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

#include "platform/host/message_queue.h"

namespace {

// Plays a program change at frame 0 and a note on at a frame of its own; remembers the frames it was
// asked about.
class cOneNote : public cMidiSchedule {
 public:
  cOneNote(cMidiSynth& synth, std::uint64_t noteFrame) : m_Synth(synth), m_NoteFrame(noteFrame) {}

  std::uint64_t MidiDue(std::uint64_t frame) override {
    m_Asked.push_back(frame);
    if (!m_ProgramSent) {
      m_Synth.ShortMessage(0x00C0);  // piano
      m_ProgramSent = true;
    }
    if (m_NoteSent) return kNoMidiEvent;
    if (frame < m_NoteFrame) return m_NoteFrame;
    m_Synth.ShortMessage(0x7F3C90);
    m_NoteSent = true;
    return kNoMidiEvent;
  }

  std::vector<std::uint64_t> m_Asked;

 private:
  cMidiSynth& m_Synth;
  std::uint64_t m_NoteFrame;
  bool m_ProgramSent = false;
  bool m_NoteSent = false;
};

class MidiSynthTest : public ::testing::Test {
 protected:
  // The SoundFont is large; one synthesiser serves every test here.
  static void SetUpTestSuite() {
    std::string error;
    s_Synth = cMidiSynth::Create(FindSoundFont(), error);
    s_Error = error;
  }
  static void TearDownTestSuite() { s_Synth.reset(); }

  void SetUp() override {
    if (!s_Synth) GTEST_SKIP() << "no synthesiser: " << s_Error;
  }

  // Renders frames in blocks of block frames; the mix, one value per frame (the left side).
  static std::vector<std::int32_t> Render(int frames, int block) {
    std::vector<std::int32_t> mix(static_cast<std::size_t>(frames) * 2, 0);
    for (int done = 0; done < frames; done += block)
      s_Synth->MixInto(mix.data() + 2 * done, std::min(block, frames - done));
    std::vector<std::int32_t> left;
    for (int i = 0; i < frames; ++i) left.push_back(mix[2 * static_cast<std::size_t>(i)]);
    return left;
  }

  static std::shared_ptr<cMidiSynth> s_Synth;
  static std::string s_Error;
};

std::shared_ptr<cMidiSynth> MidiSynthTest::s_Synth;
std::string MidiSynthTest::s_Error;

TEST_F(MidiSynthTest, NoteStartsOnItsOwnFrameWhateverTheBlockSize) {
  for (int block : {333, 64, 1024}) {
    s_Synth->AllSoundsOff();
    Render(kMixRate, 512);  // let the reverb of an earlier note die away
    const std::uint64_t start = s_Synth->FramePosition();
    const std::uint64_t noteFrame = start + 1000;
    cOneNote schedule(*s_Synth, noteFrame);
    ASSERT_TRUE(s_Synth->Attach(&schedule));
    const std::vector<std::int32_t> left = Render(3000, block);
    s_Synth->Detach(&schedule);

    EXPECT_NE(std::find(schedule.m_Asked.begin(), schedule.m_Asked.end(), noteFrame), schedule.m_Asked.end())
        << "block " << block << ": rendering stops at the note's frame";
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(left[i], 0) << "block " << block << ": sound before the note, frame " << i;
    const auto loudest = std::max_element(left.begin() + 1000, left.begin() + 1400,
                                          [](int a, int b) { return std::abs(a) < std::abs(b); });
    EXPECT_GT(std::abs(*loudest), 100) << "block " << block << ": the note sounds within 10 ms";
  }
}

TEST_F(MidiSynthTest, DetachedScheduleIsNoLongerAsked) {
  cOneNote schedule(*s_Synth, s_Synth->FramePosition() + 1000000);
  ASSERT_TRUE(s_Synth->Attach(&schedule));
  Render(100, 100);
  s_Synth->Detach(&schedule);
  const std::size_t asked = schedule.m_Asked.size();
  EXPECT_GT(asked, 0u);
  Render(1000, 100);
  EXPECT_EQ(schedule.m_Asked.size(), asked);
}

TEST_F(MidiSynthTest, CourierPostsTheAudioThreadsMessagesInOrder) {
  constexpr std::uint32_t kThread = 0xFFFF0201;
  auto queue = CreateThreadQueue(kThread);
  for (std::uint32_t i = 0; i < 10; ++i) s_Synth->PostLater(kThread, 0x3CA, i, static_cast<std::intptr_t>(i) * 2);
  std::vector<std::uintptr_t> order;
  while (order.size() < 10) {
    auto msg = queue->TakeWithin(5000);
    ASSERT_TRUE(msg) << "a letter was lost";
    EXPECT_EQ(msg->message, 0x3CAu);
    EXPECT_EQ(msg->lParam, static_cast<std::intptr_t>(msg->wParam) * 2);
    order.push_back(msg->wParam);
  }
  EXPECT_EQ(order, (std::vector<std::uintptr_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  ReleaseThreadQueue(kThread);
  s_Synth->PostLater(kThread, 0x3CA, 0, 0);  // to a thread that is gone: dropped, nothing else
}

TEST(MidiSoundFont, ChosenFileComesFirstAndAMissingOneFallsBackToTheKnownPlaces) {
  const auto chosen = std::filesystem::temp_directory_path() / "player-test-font.sf2";
  std::ofstream(chosen) << "RIFF";
  ::setenv("PLAYER_SOUNDFONT", chosen.c_str(), 1);
  EXPECT_EQ(FindSoundFont(), chosen.string());
  ::setenv("PLAYER_SOUNDFONT", "/nonexistent/font.sf2", 1);
  const std::string fallback = FindSoundFont();
  EXPECT_NE(fallback, "/nonexistent/font.sf2");
  if (!fallback.empty()) {
    EXPECT_TRUE(std::filesystem::is_regular_file(fallback));
  }
  ::unsetenv("PLAYER_SOUNDFONT");
  std::filesystem::remove(chosen);

  std::string error;
  EXPECT_EQ(cMidiSynth::Create("/nonexistent/font.sf2", error), nullptr);
  EXPECT_EQ(error, "the SoundFont /nonexistent/font.sf2 cannot be loaded");
}

}  // namespace
