#pragma once
// The rows the pixel-loop tests try every loop on: lengths around the vector widths (none, one,
// just under, at and over 8, a ragged 31, a screen row), and the places where the marked pixels
// (the key, or an extreme value) fall in them.
#include <cstdint>

constexpr std::int32_t kRowLengths[] = {0, 1, 7, 8, 9, 31, 640};

enum class RowMarks { None, All, First, Last, Alternate };
constexpr RowMarks kRowMarks[] = {RowMarks::None, RowMarks::All, RowMarks::First, RowMarks::Last,
                                  RowMarks::Alternate};

// Whether pixel i of a row of n is marked.
constexpr bool MarkedAt(RowMarks marks, std::int32_t i, std::int32_t n) {
  switch (marks) {
    case RowMarks::None:
      return false;
    case RowMarks::All:
      return true;
    case RowMarks::First:
      return i == 0;
    case RowMarks::Last:
      return i == n - 1;
    case RowMarks::Alternate:
      return i % 2 == 0;
  }
  return false;
}
