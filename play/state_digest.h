#pragma once
// The state digest of a frame: a 64-bit hash of everything stage play decides, so that two runs can
// be compared frame by frame (a replay against its recorded list, one back-end against the other).
// It is kept per area, so a difference can be named, and a total over the areas.
//
// Only game state goes in, each value fed by its width in a fixed order: never pixels, never a
// time of the clock, never raw object memory (padding) or addresses. Shots join the digest with the
// shot list of stage play.
#include <array>
#include <cstdint>

// FNV-1a over the little-endian bytes of the values it is given.
class cDigest {
 public:
  void AddU8(std::uint8_t v) {
    m_Hash ^= v;
    m_Hash *= kPrime;
  }
  void AddU32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) AddU8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void AddI32(std::int32_t v) { AddU32(static_cast<std::uint32_t>(v)); }
  void AddU64(std::uint64_t v) {
    for (int i = 0; i < 8; ++i) AddU8(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  // The bits of the double: -0.0 and 0.0 differ, as they may in what follows.
  void AddDouble(double v);
  std::uint64_t Value() const { return m_Hash; }

 private:
  static constexpr std::uint64_t kOffset = 14695981039346656037ull;
  static constexpr std::uint64_t kPrime = 1099511628211ull;
  std::uint64_t m_Hash = kOffset;
};

// The areas of the digest, in the order the total takes them.
enum DigestArea : int {
  kDigestScene,    // the scene, the play scene's state and counters, score, lives, time
  kDigestRandom,   // the game thread's random generator and the shared every-N counter
  kDigestCameras,  // both scroll axes
  kDigestHeroes,   // every hero, in player order
  kDigestCharas,   // every character, in list order
  kDigestItems,    // every item, in list order
  kDigestShots,    // every shot and sword swing, in list order
  kDigestAreaCount,
};
inline constexpr std::array<const char*, kDigestAreaCount> kDigestAreaNames = {"scene",  "random", "cameras",
                                                                               "heroes", "charas", "items", "shots"};

struct StateDigest {
  std::uint64_t m_Total = 0;
  std::array<std::uint64_t, kDigestAreaCount> m_Areas{};
};

// The total of the areas, in area order.
std::uint64_t DigestTotal(const std::array<std::uint64_t, kDigestAreaCount>& areas);

// The digest of the game as it stands after a frame, with scene the scene manager's current scene.
// Read on the game thread (the random state is the calling thread's). Allocates nothing.
StateDigest ComputeStateDigest(std::int32_t scene);
