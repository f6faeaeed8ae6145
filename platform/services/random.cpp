#include "platform/services/random.h"

namespace {

thread_local std::uint32_t t_Seed = 1;

}  // namespace

void GameSrand(std::uint32_t seed) { t_Seed = seed; }

std::int32_t GameRand() {
  t_Seed = t_Seed * 214013u + 2531011u;
  return static_cast<std::int32_t>((t_Seed >> 16) & 32767u);
}

std::uint32_t GameRandState() { return t_Seed; }
