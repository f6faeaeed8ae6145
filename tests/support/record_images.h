#pragma once
// A record and its bytes, both ways, for the record tests: what a record reads from a hand-built
// image, and what it writes.
#include <cstdint>
#include <vector>

#include "platform/services/record.h"
#include "tests/support/byte_builder.h"

// Reads one record from a whole file image (its version word first); true when the file was damaged.
inline bool ReadImage(cDataRecord& record, const cByteBuilder& file) {
  cRecordReader in(file.Data());
  record.Read(in);
  return in.Damaged();
}

// The body that a record writes.
inline std::vector<std::uint8_t> BodyOf(cDataRecord& record) {
  cRecordWriter out;
  record.Write(out);
  return out.Bytes();
}

// The whole file our writer makes of a record: the version word, then the body.
inline std::vector<std::uint8_t> FileImageOf(cDataRecord& record) {
  cRecordWriter out;
  out.WriteU32(g_CurrentVersion);
  record.Write(out);
  return out.Bytes();
}
