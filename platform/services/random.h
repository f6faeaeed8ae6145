#pragma once
// The game's random generator: the same sequence as the C runtime generator the game was made
// with, so a replay seeded with its recorded seed plays back identically. One state per thread, as
// that runtime kept it; a thread that has not seeded starts from seed 1.
// Named apart from <cstdlib>'s srand and rand, which must never be used for the game.
#include <cstdint>

constexpr std::int32_t kGameRandMax = 32767;

void GameSrand(std::uint32_t seed);
// 0 .. kGameRandMax.
std::int32_t GameRand();
// The calling thread's generator state (what the next GameRand starts from); read by the state
// digest, never changed.
std::uint32_t GameRandState();
