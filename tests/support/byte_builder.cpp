#include "tests/support/byte_builder.h"

#include <bit>
#include <cstdio>

cByteBuilder& cByteBuilder::Little(std::uint64_t bits, int width) {
  for (int i = 0; i < width; ++i) m_Bytes.push_back(static_cast<std::uint8_t>(bits >> (8 * i)));
  return *this;
}

cByteBuilder& cByteBuilder::U8(std::uint8_t value) { return Little(value, 1); }
cByteBuilder& cByteBuilder::I8(std::int8_t value) { return Little(static_cast<std::uint8_t>(value), 1); }
cByteBuilder& cByteBuilder::U16(std::uint16_t value) { return Little(value, 2); }
cByteBuilder& cByteBuilder::I16(std::int16_t value) { return Little(static_cast<std::uint16_t>(value), 2); }
cByteBuilder& cByteBuilder::U32(std::uint32_t value) { return Little(value, 4); }
cByteBuilder& cByteBuilder::I32(std::int32_t value) { return Little(static_cast<std::uint32_t>(value), 4); }
cByteBuilder& cByteBuilder::F32(float value) { return Little(std::bit_cast<std::uint32_t>(value), 4); }
cByteBuilder& cByteBuilder::F64(double value) { return Little(std::bit_cast<std::uint64_t>(value), 8); }

cByteBuilder& cByteBuilder::Bytes(std::initializer_list<std::uint8_t> bytes) {
  m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

cByteBuilder& cByteBuilder::Bytes(std::string_view bytes) {
  m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

cByteBuilder& cByteBuilder::Bytes(const std::vector<std::uint8_t>& bytes) {
  m_Bytes.insert(m_Bytes.end(), bytes.begin(), bytes.end());
  return *this;
}

cByteBuilder& cByteBuilder::Str(std::string_view text) {
  U32(static_cast<std::uint32_t>(text.size() + 1));
  if (text.empty()) return *this;
  Bytes(text);
  return U8(0);
}

cByteBuilder& cByteBuilder::Append(const cByteBuilder& other) {
  m_Bytes.insert(m_Bytes.end(), other.m_Bytes.begin(), other.m_Bytes.end());
  return *this;
}

std::string HexBytes(const std::vector<std::uint8_t>& bytes) {
  std::string text;
  char digits[4];
  for (std::uint8_t byte : bytes) {
    std::snprintf(digits, sizeof digits, "%02X", byte);
    if (!text.empty()) text += ' ';
    text += digits;
  }
  return text;
}

std::string HexBytes(std::string_view bytes) { return HexBytes(std::vector<std::uint8_t>(bytes.begin(), bytes.end())); }
