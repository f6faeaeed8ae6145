// mutate_file IN OUT SEED: writes to OUT a damaged copy of IN, the damage chosen by SEED alone, so
// a failing mutation run can be made again from its seed. The kinds of damage are those a broken
// disk, a cut-off copy or a hostile hand gives a game file: flipped bits, set bytes, a cut or a tail
// added, a count or size field blown up, text values out of range, and the empty file.
// It prints the kind of damage done, for the run's log.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace {

// splitmix64: small, and the same sequence on every machine.
class cMutationRandom {
 public:
  explicit cMutationRandom(std::uint64_t seed) : m_State(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (m_State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  // 0 .. n-1; 0 when n is 0.
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : static_cast<std::size_t>(Next() % n); }

 private:
  std::uint64_t m_State;
};

// An offset into bytes, most often near the start, where record heads and their counts are.
std::size_t PickOffset(cMutationRandom& random, std::size_t size) {
  if (size == 0) return 0;
  if (random.Below(2) == 0) return random.Below(size < 256 ? size : 256);
  return random.Below(size);
}

void PutLittle(std::string& bytes, std::size_t at, std::uint64_t value, int width) {
  for (int i = 0; i < width && at + static_cast<std::size_t>(i) < bytes.size(); ++i)
    bytes[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

constexpr std::uint8_t kBoundaryBytes[] = {0x00, 0xFF, 0x7F, 0x80, 0x01, 0x5C, 0x2E, 0x0A};
constexpr std::uint32_t kBoundaryWords[] = {0xFFFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x40000000u,
                                            0x0000FFFFu, 0x00010000u, 0x00100000u, 0xFFFFFFFEu};
constexpr std::int32_t kNearValues[] = {-1, -2, 0, 1, 2, 3, 31, 32, 255, 256, 999, 1000, 4096, 32767, 65535, 65536};
constexpr std::uint16_t kBoundaryHalves[] = {0xFFFF, 0x7FFF, 0x8000, 0x0100};
constexpr const char* kHostileTexts[] = {"-1",   "2147483648", "99999999999999999999", "-2147483649", "\n",
                                         "=",    "..\\..\\..\\x", "/tmp/x", "%s%s%s%n", "\x83\x5C"};

template <class T, std::size_t N>
T PickFrom(cMutationRandom& random, const T (&table)[N]) {
  return table[random.Below(N)];
}

// Damages bytes in place; the name of the damage done.
const char* Mutate(std::string& bytes, cMutationRandom& random) {
  const std::size_t kind = random.Below(17);
  if (kind == 0) {
    bytes.clear();
    return "empty";
  }
  if (bytes.empty()) {
    bytes.assign(1 + random.Below(64), static_cast<char>(random.Next()));
    return "filled";
  }
  switch (kind) {
    case 1:
    case 2:
    case 3: {
      const std::size_t flips = 1 + random.Below(8);
      for (std::size_t i = 0; i < flips; ++i) bytes[PickOffset(random, bytes.size())] ^= static_cast<char>(1u << random.Below(8));
      return "bit flips";
    }
    case 4:
    case 5: {
      const std::size_t sets = 1 + random.Below(8);
      for (std::size_t i = 0; i < sets; ++i) {
        const std::uint8_t value = random.Below(2) ? PickFrom(random, kBoundaryBytes) : static_cast<std::uint8_t>(random.Next());
        bytes[PickOffset(random, bytes.size())] = static_cast<char>(value);
      }
      return "byte sets";
    }
    case 6:
    case 7:
      bytes.resize(random.Below(2) ? random.Below(bytes.size()) : bytes.size() - 1 - random.Below(bytes.size() < 16 ? bytes.size() : 16));
      return "truncation";
    case 8: {
      const std::size_t extra = 1 + random.Below(4096);
      for (std::size_t i = 0; i < extra; ++i) bytes += static_cast<char>(random.Next());
      return "extension";
    }
    case 9:
    case 10: {
      // A 32-bit field blown up, at a four-byte boundary most of the time.
      std::size_t at = PickOffset(random, bytes.size());
      if (random.Below(4) != 0) at &= ~static_cast<std::size_t>(3);
      const std::uint32_t value = random.Below(4) ? PickFrom(random, kBoundaryWords) : static_cast<std::uint32_t>(random.Next());
      PutLittle(bytes, at, value, 4);
      return "count blown up";
    }
    case 11:
    case 12: {
      // An index or size anywhere in the file set to a value just out of range (or just in it):
      // these pass the readers' bounds and reach the code that uses them.
      const std::size_t at = random.Below(bytes.size()) & ~static_cast<std::size_t>(random.Below(2) ? 3 : 1);
      const std::int32_t value = PickFrom(random, kNearValues);
      PutLittle(bytes, at, static_cast<std::uint32_t>(value), random.Below(2) ? 4 : 2);
      return "field set";
    }
    case 13: {
      std::size_t at = PickOffset(random, bytes.size()) & ~static_cast<std::size_t>(1);
      PutLittle(bytes, at, PickFrom(random, kBoundaryHalves), 2);
      return "16-bit field blown up";
    }
    case 14: {
      const std::string text = PickFrom(random, kHostileTexts);
      bytes.insert(random.Below(bytes.size() + 1), text);
      return "text inserted";
    }
    case 15: {
      // A stretch of the file repeated: records seem to go on past where they end.
      const std::size_t from = random.Below(bytes.size());
      const std::size_t length = 1 + random.Below(bytes.size() - from < 512 ? bytes.size() - from : 512);
      bytes.insert(random.Below(bytes.size() + 1), bytes.substr(from, length));
      return "stretch repeated";
    }
    default: {
      // Several kinds at once.
      for (int i = 0; i < 3 && !bytes.empty(); ++i) Mutate(bytes, random);
      return "mixed";
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mutate_file IN OUT SEED\n");
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  if (!in) {
    std::fprintf(stderr, "mutate_file: cannot read %s\n", argv[1]);
    return 1;
  }
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  cMutationRandom random(std::strtoull(argv[3], nullptr, 10));
  const char* kind = Mutate(bytes, random);
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) {
    std::fprintf(stderr, "mutate_file: cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s\n", kind);
  return 0;
}
