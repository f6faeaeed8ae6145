#pragma once
// How the statuses of a character and of the system are read, shared by the status conditions and
// the status operations: the width each is kept in, its value, the base of its percent form, and
// the operand rules (a missing target, the time of a stage without a limit, unlimited lives).
#include <array>
#include <cstdint>
#include <optional>

#include "project/condition_labels.h"

class cCharaBase;

using StatusValue = std::optional<std::int32_t>;
using CharaStatusRead = StatusValue (*)(const cCharaBase& chara, std::int32_t index);

// A character status: the width it is kept in (8, 16 or 32 bits), how to read it (index: the
// character variable's number) and, for the percent form, the value a percentage is taken of (none:
// 0).
struct CharaStatusReader {
  int bits;
  CharaStatusRead read;
  CharaStatusRead percentBase;
};

// By character status row.
extern const std::array<CharaStatusReader, kCharaStatusCount> CharaStatusReaders;

constexpr std::uint8_t kCharaStatusVar = 0;
constexpr std::uint8_t kCharaStatusHp = 1;
constexpr std::uint8_t kCharaStatusSp = 2;
constexpr std::uint8_t kCharaStatusMaxHp = 3;
constexpr std::uint8_t kCharaStatusSight = 8;
constexpr std::uint8_t kCharaStatusStopping = 13;
constexpr std::uint8_t kSystemStatusTime = 0;
constexpr std::uint8_t kSystemStatusScrollX = 1;
constexpr std::uint8_t kSystemStatusScrollY = 2;
constexpr std::uint8_t kSystemStatusScore = 3;
constexpr std::uint8_t kSystemStatusLives = 4;

// A system status as stored; nothing for an unknown row or, for the time, outside a play scene.
StatusValue ReadSystemStatus(std::uint8_t status);
// A system status as the other side of a comparison or an operation takes it: the time of a stage
// without a limit and unlimited lives count 0.
StatusValue SystemStatusOperand(std::uint8_t status);

// The status of an owner (0 self, 1 the target, 2 the system) as an operand; index names the
// character variable of row 0. Nothing when the target is missing, the owner or row is unknown, or
// the status is the sight of a computer-operated character (which is not offered); reading the
// stopping value brings the friction it stands for up to date.
StatusValue StatusOperand(cCharaBase& chara, std::int32_t owner, std::int32_t status, std::int32_t index);
