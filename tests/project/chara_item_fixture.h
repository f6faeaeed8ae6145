#pragma once
// Shared by the character and item tests: the load context of the flow tests (small database
// tables, three sword types) with palettes of characters and items bound into it, and the file
// layouts of both records written out by hand from their field tables for any version.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "project/chara_def.h"
#include "project/command_vocabulary.h"
#include "project/item_def.h"
#include "tests/project/flow_fixture.h"

namespace charatest {

using flowtest::CommandBody;
using flowtest::CommandSpec;
using flowtest::ConditionBody;
using flowtest::FlowBody;
using flowtest::FlowSpec;

// Every member of a character that its file holds, in file order. The defaults are those of a new
// definition.
struct CharaValues {
  std::int8_t inheritSource = 0;
  std::int16_t inheritIndex = 0;
  std::uint8_t conditionMode = 0;
  std::uint8_t keepOnceMet = 0;
  std::uint8_t facing = 0;
  std::uint8_t spare1 = 0;
  std::int16_t offsetXBase = 0;
  std::int16_t offsetXStep = 0;
  std::int16_t offsetYBase = 0;
  std::int16_t offsetYStep = 0;
  std::uint8_t offsetXMirrored = 0;
  std::uint8_t offsetYMirrored = 0;
  std::int16_t chipIndex = 0;
  std::uint8_t chipSource = 1;
  std::int16_t chipFrame = 0;
  std::int16_t animeSet = 0;
  std::uint8_t z = 3;
  std::uint8_t transparent = 0;
  std::int16_t appearEffect = 0;
  std::uint8_t appearMode = 0;  // from 196
  std::uint8_t appearLoop = 1;
  std::int16_t deathEffect = 0;
  std::uint8_t deathMode = 0;  // from 196
  std::uint8_t markMode = 0;
  std::int16_t markNumber = 0;
  std::uint8_t op = 1;
  std::uint8_t player = 0;
  std::uint8_t spare2 = 1;
  std::uint8_t charaId = 0;
  std::uint8_t flight = 0;
  std::uint8_t fixedFacing = 1;
  std::uint8_t invincible = 0;
  std::uint8_t colorEffect = 0;  // from 285
  std::uint8_t blockChara = 0;
  std::uint8_t enlargement = 1;
  std::uint8_t scrollSync = 0;  // from 210
  std::uint8_t sightShape = 0;
  std::uint8_t sightRange = 0;
  std::int32_t maxHp = 10;
  std::int32_t maxSp = 0;
  std::int16_t stopping = 10;
  std::uint8_t bodyBox = 0;  // from 201
  std::int32_t bodyAttack = 0;
  std::int8_t bodyImpact = 0;
  std::int16_t hitEffect = 0;
  std::int32_t defence = 0;  // from 168
  std::uint8_t impactResistance = 0;
  std::int32_t score = 0;
  std::uint8_t spare3 = 1;
  std::uint8_t groupActivation = 0;
  std::int16_t groupNumber = 0;
  std::uint8_t activityRange = 0;
  std::uint8_t activationMode = 0;
  std::string name;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::uint32_t word = 0;
  std::vector<std::uint8_t> flags = std::vector<std::uint8_t>(37, 0);
  std::vector<cByteBuilder> conditions;
  std::vector<cByteBuilder> flows;
};

// Arrays in a character body: 47 below 168, 48 from 168, 50 from 196, 51 from 201, 52 from 210,
// 53 from 285.
inline std::uint32_t CharaArrays(std::uint32_t v) {
  if (v < 168) return 47;
  if (v < 196) return 48;
  if (v < 201) return 50;
  if (v < 210) return 51;
  if (v < 285) return 52;
  return 53;
}

// A whole character as a file of version v holds it.
inline cByteBuilder CharaRecord(std::uint32_t v, const CharaValues& c) {
  cByteBuilder b;
  b.U32(CharaArrays(v)).I8(c.inheritSource).I16(c.inheritIndex).U8(c.conditionMode).U8(c.keepOnceMet);
  b.U8(c.facing).U8(c.spare1).I16(c.offsetXBase).I16(c.offsetXStep).I16(c.offsetYBase).I16(c.offsetYStep);
  b.U8(c.offsetXMirrored).U8(c.offsetYMirrored).I16(c.chipIndex).U8(c.chipSource).I16(c.chipFrame);
  b.I16(c.animeSet).U8(c.z).U8(c.transparent).I16(c.appearEffect);
  if (v >= 196) b.U8(c.appearMode);
  b.U8(c.appearLoop).I16(c.deathEffect);
  if (v >= 196) b.U8(c.deathMode);
  b.U8(c.markMode).I16(c.markNumber).U8(c.op).U8(c.player).U8(c.spare2).U8(c.charaId);
  b.U8(c.flight).U8(c.fixedFacing).U8(c.invincible);
  if (v >= 285) b.U8(c.colorEffect);
  b.U8(c.blockChara).U8(c.enlargement);
  if (v >= 210) b.U8(c.scrollSync);
  b.U8(c.sightShape).U8(c.sightRange).I32(c.maxHp).I32(c.maxSp).I16(c.stopping);
  if (v >= 201) b.U8(c.bodyBox);
  b.I32(c.bodyAttack).I8(c.bodyImpact).I16(c.hitEffect);
  if (v >= 168) b.I32(c.defence);
  b.U8(c.impactResistance).I32(c.score).U8(c.spare3).U8(c.groupActivation).I16(c.groupNumber);
  b.U8(c.activityRange).U8(c.activationMode).U32(1).Str(c.name);
  b.I16(c.x).I16(c.y).U32(c.word).U32(static_cast<std::uint32_t>(c.flags.size())).Bytes(c.flags);
  b.Vector(c.conditions, [](cByteBuilder& out, const cByteBuilder& item) { out.Append(item); });
  b.Vector(c.flows, [](cByteBuilder& out, const cByteBuilder& item) { out.Append(item); });
  return b;
}

// Every member of an item that its file holds, in file order (show message before obtainability).
struct ItemValues {
  std::int8_t inheritSource = 0;
  std::int16_t inheritIndex = 0;
  std::uint8_t conditionMode = 0;
  std::uint8_t keepOnceMet = 0;
  std::int16_t word94 = 0;
  std::int16_t word96 = 0;
  std::int16_t chipIndex = 0;
  std::uint8_t chipSource = 2;
  std::int16_t chipFrame = 0;
  std::uint8_t byte104 = 6;
  std::uint8_t hidden = 0;
  std::uint8_t markMode = 0;
  std::int16_t markNumber = 0;
  std::uint8_t showMessage = 1;
  std::uint8_t obtainability = 0;
  std::uint8_t size = 1;
  std::int16_t sound = 0;
  std::string name;
  std::int16_t x = 0;
  std::int16_t y = 0;
  std::vector<std::uint8_t> flags = std::vector<std::uint8_t>(13, 0);
  std::vector<cByteBuilder> conditions;
  std::vector<cByteBuilder> commands;
};

// A whole item as a file holds it (the layout is the same in every version).
inline cByteBuilder ItemRecord(const ItemValues& i) {
  cByteBuilder b;
  b.U32(17).I8(i.inheritSource).I16(i.inheritIndex).U8(i.conditionMode).U8(i.keepOnceMet).I16(i.word94);
  b.I16(i.word96).I16(i.chipIndex).U8(i.chipSource).I16(i.chipFrame).U8(i.byte104).U8(i.hidden).U8(i.markMode);
  b.I16(i.markNumber).U8(i.showMessage).U8(i.obtainability).U8(i.size).I16(i.sound).U32(1).Str(i.name);
  b.I16(i.x).I16(i.y).U32(static_cast<std::uint32_t>(i.flags.size())).Bytes(i.flags);
  b.Vector(i.conditions, [](cByteBuilder& out, const cByteBuilder& item) { out.Append(item); });
  b.Vector(i.commands, [](cByteBuilder& out, const cByteBuilder& item) { out.Append(item); });
  return b;
}

// A flow that survives normalisation: one wait command with a sound.
inline cByteBuilder WaitFlow(std::uint8_t trigger, std::int16_t sound) {
  CommandSpec wait{.set = kCharaCommandSet, .number = kCharaWait, .useTime = 5, .sound = sound};
  return FlowBody({.trigger = trigger, .commands = {CommandBody(wait)}});
}

// The flow test context with palettes: four characters and three items in the common palette,
// five characters and four items in the stage's.
class CharaItemTest : public flowtest::FlowTest {
 protected:
  void SetUp() override {
    FlowTest::SetUp();
    m_CommonCharas.resize(4);
    m_StageCharas.resize(5);
    m_CommonItems.resize(3);
    m_StageItems.resize(4);
    Bind();
  }

  // Points the load context at the palettes of this test (again after they were changed).
  void Bind() {
    LoadContext().commonPalette.charas = &m_CommonCharas;
    LoadContext().stagePalette.charas = &m_StageCharas;
    LoadContext().commonPalette.items = &m_CommonItems;
    LoadContext().stagePalette.items = &m_StageItems;
  }

  CheckedVector<cCharaDef> m_CommonCharas;
  CheckedVector<cCharaDef> m_StageCharas;
  CheckedVector<cItemDef> m_CommonItems;
  CheckedVector<cItemDef> m_StageItems;
};

// Reads one record from a whole file image; true when the file was damaged. rest gets the bytes
// left over.
inline bool ReadRecord(cDataRecord& record, const cByteBuilder& file, std::size_t* rest = nullptr) {
  cRecordReader in(file.Data());
  record.Read(in);
  if (rest) *rest = in.Left();
  return in.Damaged();
}

// Every cut of a file image short of its end; each must read as damaged.
template <class Record>
void ExpectEveryCutDamaged(const cByteBuilder& whole) {
  for (std::size_t cut = 0; cut < whole.Size(); ++cut) {
    SCOPED_TRACE(testing::Message() << "cut at " << cut << " of " << whole.Size());
    const std::vector<std::uint8_t> part(whole.Data().begin(), whole.Data().begin() + static_cast<long>(cut));
    Record record;
    EXPECT_TRUE(ReadRecord(record, cByteBuilder().Bytes(part)));
  }
}

}  // namespace charatest
