#include "platform/host/audio_mixer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

// Adds one value to both sides of every frame.
class cConstantSource : public cMixSource {
 public:
  explicit cConstantSource(std::int32_t value) : m_Value(value) {}
  void MixInto(std::int32_t* mix, int frames) override {
    for (int i = 0; i < frames * kMixChannels; ++i) mix[i] += m_Value;
    m_Frames += frames;
  }
  std::atomic<long> m_Frames{0};

 private:
  std::int32_t m_Value;
};

// Writes its running frame number, to show where each block lands.
class cCountingSource : public cMixSource {
 public:
  void MixInto(std::int32_t* mix, int frames) override {
    for (int i = 0; i < frames; ++i) {
      mix[2 * i] += m_Next;
      mix[2 * i + 1] -= m_Next;
      ++m_Next;
    }
  }
  std::int32_t m_Next = 0;
};

// Stays inside MixInto until told to go.
class cSlowSource : public cMixSource {
 public:
  void MixInto(std::int32_t*, int) override {
    m_Inside = true;
    while (!m_Release) std::this_thread::yield();
    m_Left = true;
  }
  std::atomic<bool> m_Inside{false}, m_Release{false}, m_Left{false};
};

// Sets an environment variable for one scope.
class cScopedEnv {
 public:
  cScopedEnv(const char* name, const char* value) : m_Name(name) {
    const char* old = std::getenv(name);
    m_Had = old != nullptr;
    if (old) m_Old = old;
    setenv(name, value, 1);
  }
  ~cScopedEnv() {
    if (m_Had) {
      setenv(m_Name, m_Old.c_str(), 1);
    } else {
      unsetenv(m_Name);
    }
  }

 private:
  const char* m_Name;
  bool m_Had = false;
  std::string m_Old;
};

class AudioMixerTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(OpenAudioDevice(false), AudioDeviceKind::Null); }
  void TearDown() override {
    for (const auto& s : m_Sources) RemoveMixSource(s.get());
    CloseAudioDevice();
  }

  template <class T, class... Args>
  std::shared_ptr<T> Add(Args&&... args) {
    auto source = std::make_shared<T>(std::forward<Args>(args)...);
    AddMixSource(source);
    m_Sources.push_back(source);
    return source;
  }

  static std::vector<std::int16_t> Render(int frames) {
    std::vector<std::int16_t> out(static_cast<std::size_t>(frames) * kMixChannels, 12345);
    RenderMix(out.data(), frames);
    return out;
  }

  std::vector<std::shared_ptr<cMixSource>> m_Sources;
};

TEST_F(AudioMixerTest, SumsSaturateAtSixteenBitsAndNeverWrap) {
  const struct {
    std::int32_t a, b;
    std::int16_t expected;
  } cases[] = {{32767, 32767, 32767}, {-32768, -32768, -32768}, {20000, -5000, 15000}, {32767, 1, 32767}, {0, 0, 0}};
  for (const auto& c : cases) {
    auto a = Add<cConstantSource>(c.a);
    auto b = Add<cConstantSource>(c.b);
    for (std::int16_t v : Render(100)) ASSERT_EQ(v, c.expected) << c.a << " + " << c.b;
    RemoveMixSource(a.get());
    RemoveMixSource(b.get());
  }
  // Nothing to mix is silence.
  for (std::int16_t v : Render(10)) ASSERT_EQ(v, 0);
}

TEST_F(AudioMixerTest, LongRendersAreMixedInOrderAcrossBlocks) {
  Add<cCountingSource>();
  auto out = Render(3000);
  for (int i = 0; i < 3000; ++i) {
    ASSERT_EQ(out[2 * i], std::min(i, 32767)) << i;
    ASSERT_EQ(out[2 * i + 1], -i) << i;
  }
}

TEST_F(AudioMixerTest, ASourceAddedTwiceIsMixedOnceAndRemovedIsNotMixed) {
  auto source = Add<cConstantSource>(100);
  AddMixSource(source);
  EXPECT_EQ(Render(4)[0], 100);
  RemoveMixSource(source.get());
  EXPECT_EQ(Render(4)[0], 0);
  RemoveMixSource(source.get());  // twice is harmless
  RemoveMixSource(nullptr);
  AddMixSource(nullptr);
  EXPECT_EQ(source->m_Frames, 4);
}

TEST_F(AudioMixerTest, RemovalWaitsForTheBlockBeingMixed) {
  auto slow = Add<cSlowSource>();
  std::thread audio([] { Render(64); });
  while (!slow->m_Inside) std::this_thread::yield();
  std::atomic<bool> removed{false};
  std::thread remover([&] {
    RemoveMixSource(slow.get());
    removed = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_FALSE(removed);
  slow->m_Release = true;
  remover.join();
  EXPECT_TRUE(slow->m_Left);
  audio.join();
}

TEST_F(AudioMixerTest, AMissingDriverFallsBackToTheNullDeviceWithItsReason) {
  cScopedEnv env("SDL_AUDIODRIVER", "no-such-driver");
  EXPECT_EQ(OpenAudioDevice(true), AudioDeviceKind::Null);
  EXPECT_EQ(CurrentAudioDevice(), AudioDeviceKind::Null);
  EXPECT_FALSE(AudioDeviceError().empty());
  // Asking for the null device is no failure.
  EXPECT_EQ(OpenAudioDevice(false), AudioDeviceKind::Null);
  EXPECT_TRUE(AudioDeviceError().empty());
}

// SDL's dummy driver stands in for a sound server: the device's own thread mixes the sources,
// and rendering by hand makes no time pass for them.
TEST_F(AudioMixerTest, TheSdlDeviceMixesOnItsOwnThread) {
  cScopedEnv env("SDL_AUDIODRIVER", "dummy");
  if (OpenAudioDevice(true) != AudioDeviceKind::Sdl) GTEST_SKIP() << "no SDL dummy audio: " << AudioDeviceError();
  auto source = Add<cConstantSource>(7);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (source->m_Frames == 0 && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  EXPECT_GT(source->m_Frames, 0);
  for (std::int16_t v : Render(16)) ASSERT_EQ(v, 0);
  CloseAudioDevice();
  EXPECT_EQ(CurrentAudioDevice(), AudioDeviceKind::None);
  const long frames = source->m_Frames;
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(source->m_Frames, frames);
}

}  // namespace
