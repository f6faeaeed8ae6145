#pragma once
// Hand-built file images for tests: values appended little-endian with explicit widths, texts as
// record files store them, counted vectors. Old-version files are written from the layout tables
// with this, not with the program's own writers, so a writer fault cannot hide a reader fault.
//
//   cByteBuilder file;
//   file.U32(300).U32(2).I16(7).I32(-1).U32(1).Str("abc");
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

class cByteBuilder {
 public:
  cByteBuilder& U8(std::uint8_t value);
  cByteBuilder& I8(std::int8_t value);
  cByteBuilder& U16(std::uint16_t value);
  cByteBuilder& I16(std::int16_t value);
  cByteBuilder& U32(std::uint32_t value);
  cByteBuilder& I32(std::int32_t value);
  cByteBuilder& F32(float value);
  cByteBuilder& F64(double value);
  cByteBuilder& Bytes(std::initializer_list<std::uint8_t> bytes);
  cByteBuilder& Bytes(std::string_view bytes);
  cByteBuilder& Bytes(const std::vector<std::uint8_t>& bytes);
  // u32 length + 1, then the text and a NUL; an empty text is the word 1 alone.
  cByteBuilder& Str(std::string_view text);
  // A counted vector: the u32 count, then each item appended by add(builder, item).
  template <class T, class Add>
  cByteBuilder& Vector(const std::vector<T>& items, Add add) {
    U32(static_cast<std::uint32_t>(items.size()));
    for (const T& item : items) add(*this, item);
    return *this;
  }
  cByteBuilder& Append(const cByteBuilder& other);

  const std::vector<std::uint8_t>& Data() const { return m_Bytes; }
  std::string Text() const { return std::string(m_Bytes.begin(), m_Bytes.end()); }
  std::size_t Size() const { return m_Bytes.size(); }

 private:
  cByteBuilder& Little(std::uint64_t bits, int width);

  std::vector<std::uint8_t> m_Bytes;
};

// "01 00 0A": bytes as test failures show them.
std::string HexBytes(const std::vector<std::uint8_t>& bytes);
std::string HexBytes(std::string_view bytes);
