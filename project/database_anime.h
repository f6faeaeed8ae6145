#pragma once
// The animation records of the database: animation sets (the four basic animations of a character),
// animations, and their frames.
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"

// One frame of an animation.
class cAnimeEntryFrame : public cDataRecord {
 public:
  cAnimeEntryFrame();
  void RegisterFields(std::uint32_t version) override;

  std::int32_t m_Cell = 0;      // cell number of the picture to show
  std::int32_t m_Time = 1;      // tenths of a second: 6 frames of 1/60 s each
  std::int32_t m_LockMark = 0;  // non-zero: from this frame on the animation cannot be interrupted
};

// One animation: an entry of a set, and the element of the animation table.
class cAnimeEntry : public cDataRecord {
 public:
  cAnimeEntry();
  void RegisterFields(std::uint32_t version) override;
  // The base body, then u32 frame count and the frames.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;
  // Name empty, one default frame, A 0, F 1, B 0.
  void SetDefaults();

  std::string m_Name;
  CheckedVector<cAnimeEntryFrame> m_Frames;
  // Kept for the editing program; the player does not use them.
  std::int16_t m_ValueA = 0;
  std::uint8_t m_FlagF = 1;
  std::int16_t m_ValueB = 0;
};

// The entries a set indexes: standing, walking, flying, flying movement.
constexpr int kAnimeSetEntries = 4;

class cAnimeSetDef : public cDataRecord {
 public:
  cAnimeSetDef();
  void RegisterFields(std::uint32_t version) override;
  // The base body, then u32 entry count and the entries; files older than 128 get their set made
  // four entries long with the flying ones named.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;
  // Offsets 4, 8, 0; four entries "立ち", "立ち移動", "飛行", "飛行移動".
  void SetDefaults();

  std::string m_Name;
  std::int32_t m_InvincibleCellOffset = 4;  // added to the cell while the invincible value holds
  std::int32_t m_BlockCellOffset = 8;       // added while the block-character value holds
  std::int32_t m_FlightCellOffset = 0;      // added while the flight value holds
  CheckedVector<cAnimeEntry> m_Entries;
};
