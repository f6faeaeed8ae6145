#pragma once
// A vocabulary list: the row number is the stored value it names, and the last row is empty.
// Labels are written in the source as UTF-8 and turned into the game's bytes once, when the list
// is first used.
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"

class LabelList {
 public:
  LabelList(std::initializer_list<const char*> utf8Labels) {
    m_Labels.reserve(utf8Labels.size() + 1);
    for (const char* label : utf8Labels) m_Labels.push_back(Utf8ToCp932(label));
    m_Labels.emplace_back();
  }

  // The label of a stored value; the empty end row for a value outside the list.
  const std::string& operator[](int value) const {
    return value >= 0 && value < Size() ? m_Labels[static_cast<std::size_t>(value)] : m_Labels.back();
  }
  // Rows including the empty end.
  int Size() const { return static_cast<int>(m_Labels.size()); }

 private:
  std::vector<std::string> m_Labels;
};
