#pragma once
// Clearing a small record of stage play made of 32-bit words (a pair or a handful of i32 values)
// while keeping its second word: the record starts over but keeps what that word names.
#include <cstdint>
#include <cstring>
#include <type_traits>

template <class T>
void ZeroSmallRecord(T& record) {
  static_assert(std::is_trivially_copyable_v<T>, "a record of plain words");
  static_assert(sizeof(T) % sizeof(std::int32_t) == 0 && sizeof(T) >= 2 * sizeof(std::int32_t),
                "at least two 32-bit words");
  auto* bytes = reinterpret_cast<unsigned char*>(&record);
  std::int32_t second = 0;
  std::memcpy(&second, bytes + sizeof(std::int32_t), sizeof second);
  std::memset(bytes, 0, sizeof(T));
  std::memcpy(bytes + sizeof(std::int32_t), &second, sizeof second);
}
