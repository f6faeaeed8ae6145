#pragma once
// A character definition (キャラ): everything on a stage that moves and acts by itself, heroes and
// all others. The same record is an entry of the common palette, an entry of a stage's own palette
// and a character placed on a stage; like a block, it may take groups of its properties from a
// palette entry (palette_inherit.h), copied in when it is read.
//
// In a file: the record body (the numbers below and the name), position x and y (i16), the stored
// word (u32), u32 n and n inherit flags, the condition list, the flow list.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/condition.h"
#include "project/flow.h"
#include "project/palette_inherit.h"

struct SummonPalettes;

// The property groups of a character, as its inherit flags index them.
constexpr int kCharaGroupCount = 37;

// The least a character takes in a file: the two counts of the record base, the position, the
// stored word and the three list counts. For the readers of character lists.
constexpr std::size_t kMinCharaDefBytes = 28;

class cCharaDef : public cDataRecord {
 public:
  // Registered for the current layout, with the defaults below and 37 clear inherit flags.
  cCharaDef();

  // Every member back to the defaults of a new record, the lists emptied (palette entry 0, and
  // stage play before it fills a character).
  void SetDefaults();

  void RegisterFields(std::uint32_t version) override;
  // Body, position, stored word, flags, conditions and flows; test-only flows dropped outside a test
  // play; the upgrades of older files; then InheritCharaDef and Normalize.
  void Read(cRecordReader& in) override;
  // Normalize first, then the file layout above.
  void Write(cRecordWriter& out) override;

  // Drops references that the palettes and the database cannot satisfy, gives a character at least
  // its own size, and removes flows that can never do anything.
  void Normalize();
  // The second half: palette references of the summon commands of every flow. Not part of reading:
  // the palette and stage normalisers call it once every palette is in memory.
  void NormalizeSummons(const SummonPalettes& palettes);

  // Where the n-th object of a placement lands relative to the placement point, in dots: base +
  // step x n, turned round for a character facing right (facing 1) when that axis is mirrored.
  double OffsetX(int n, int facing) const;
  double OffsetY(int n, int facing) const;

  std::int16_t m_PosX = 0;                     // column of a placed character, in map cells
  std::int16_t m_PosY = 0;                     // row
  std::uint32_t m_StoredWord = 0;              // kept after the position; copied, never interpreted
  std::int8_t m_InheritSource = 0;             // kInherit*
  std::int16_t m_InheritIndex = 0;             // palette entry; 0 means no inheritance
  CheckedVector<std::uint8_t> m_InheritFlags;  // one per property group; non-zero: inherited
  std::string m_Name;
  CheckedVector<cConditionDef> m_Conditions;  // appearance conditions, tested on the character itself
  std::uint8_t m_ConditionMode = 0;           // 0 all conditions, 1 at least one
  std::uint8_t m_KeepOnceMet = 0;             // non-zero: once the conditions held, the character stays
  std::uint8_t m_Facing = 0;                  // initial facing: 0 left, 1 right
  std::uint8_t m_SpareByte1 = 0;
  std::int16_t m_OffsetXBase = 0;  // placement offset in dots (OffsetX)
  std::int16_t m_OffsetXStep = 0;
  std::int16_t m_OffsetYBase = 0;
  std::int16_t m_OffsetYStep = 0;
  std::uint8_t m_OffsetXMirrored = 0;  // non-zero: the offset changes sign for a character facing right
  std::uint8_t m_OffsetYMirrored = 0;
  std::int16_t m_ChipIndex = 0;         // picture within the chip source; 0 = no picture
  std::uint8_t m_ChipSource = 1;        // kChip* of block.h; the character sheets by default
  std::int16_t m_ChipFrame = 0;         // column or frame within the sheet
  std::int16_t m_AnimeSet = 0;          // database animation set
  std::uint8_t m_Z = 3;                 // drawing order, 0..8
  std::uint8_t m_Transparent = 0;       // 0 "OFF", 1 "ON"
  std::int16_t m_AppearEffect = 0;      // database character effect at set-up; 0 none
  std::uint8_t m_AppearEffectMode = 0;  // EffectModeLabels
  std::uint8_t m_AppearEffectLoop = 1;  // non-zero: the effect loops
  std::int16_t m_DeathEffect = 0;       // database character effect at death; 0 none
  std::uint8_t m_DeathEffectMode = 0;   // EffectModeLabels
  std::uint8_t m_MarkMode = 0;          // as for blocks
  std::int16_t m_MarkNumber = 0;        // frame of the mark sheet, 0..119
  std::uint8_t m_Operator = 1;          // CharaOperatorLabels: 0 the player, 1 the computer
  std::uint8_t m_Player = 0;            // input device whose keys the key conditions read
  std::uint8_t m_SpareByte2 = 1;
  std::uint8_t m_CharaId = 0;      // 0..99; target searches can select by it
  std::uint8_t m_Flight = 0;       // the values of the 飛行 state
  std::uint8_t m_FixedFacing = 1;  // 0 "OFF", 1 "ON"
  std::uint8_t m_Invincible = 0;   // the values of the 無敵 state
  std::uint8_t m_ColorEffect = 0;  // animated colour applied when drawn; 0 none
  std::uint8_t m_BlockChara = 0;   // non-zero: others stand on it and collide with it
  std::uint8_t m_Enlargement = 1;  // 1..10: v scales the area by v squared
  std::uint8_t m_ScrollSync = 0;   // moves with the auto-scroll
  std::uint8_t m_SightShape = 0;   // SightShapeLabels
  std::uint8_t m_SightRange = 0;   // hbl, 0..40
  std::int32_t m_MaxHp = 10;
  std::int32_t m_MaxSp = 0;
  std::int16_t m_Stopping = 10;   // 0..200
  std::uint8_t m_BodyBox = 0;     // BodyBoxLabels
  std::int32_t m_BodyAttack = 0;  // body attack power
  std::int8_t m_BodyImpact = 0;   // -20..20
  std::int16_t m_HitEffect = 0;   // database effect where the body hits another; 0 none
  std::int32_t m_Defence = 0;
  std::uint8_t m_ImpactResistance = 0;  // 0..20
  std::int32_t m_Score = 0;             // added to the score when the character dies
  std::uint8_t m_SpareByte3 = 1;
  std::uint8_t m_GroupActivation = 0;  // non-zero: takes part in activation group m_GroupNumber
  std::int16_t m_GroupNumber = 0;
  std::uint8_t m_ActivityRange = 0;   // ActivityRangeLabels
  std::uint8_t m_ActivationMode = 0;  // ActivationModeLabels
  CheckedVector<cFlow> m_Flows;
};

// Copies the flagged property groups from the palette entry that chara names (the character lists
// of the common palette and of the stage palette).
void InheritCharaDef(cCharaDef& chara);

// One copy operation per property group, indexed by the inherit flag. The condition mode and the
// keep-once-met flag belong to no group and are never inherited.
extern const std::array<GroupCopy<cCharaDef>, kCharaGroupCount> CharaDefGroupCopyTable;
