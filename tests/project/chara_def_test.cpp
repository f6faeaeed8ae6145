// Character definitions: the file layout of every version, the upgrades of older files, palette
// inheritance group by group, the normalisers, copies, offsets and damaged files.
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "project/block.h"
#include "project/chara_def_labels.h"
#include "project/palette_sizes.h"
#include "tests/project/chara_item_fixture.h"

namespace {

using namespace charatest;
using flowtest::FileOf;

class CharaDefTest : public CharaItemTest {
 protected:
  void SetUp() override {
    CharaItemTest::SetUp();
    for (int i = 0; i < m_CommonCharas.Size(); ++i) FillEntry(m_CommonCharas.At(i), i);
    for (int i = 0; i < m_StageCharas.Size(); ++i) FillEntry(m_StageCharas.At(i), 10 + i);
  }

  // A palette entry whose every member differs from those of OwnValues() and from the defaults,
  // each within the database of the fixture.
  static void FillEntry(cCharaDef& c, int tag) {
    c.m_PosX = 91;
    c.m_PosY = 92;
    c.m_StoredWord = 93;
    c.m_Name = "entry" + std::to_string(tag);
    c.m_Conditions.resize(2);
    c.m_Conditions[0].m_Kind = kConditionStageVar;
    c.m_ConditionMode = 1;
    c.m_KeepOnceMet = 1;
    c.m_Facing = 1;
    c.m_SpareByte1 = 61;
    c.m_OffsetXBase = 62;
    c.m_OffsetXStep = 63;
    c.m_OffsetXMirrored = 1;
    c.m_OffsetYBase = 64;
    c.m_OffsetYStep = 65;
    c.m_OffsetYMirrored = 1;
    c.m_ChipSource = kChipItem;
    c.m_ChipIndex = static_cast<std::int16_t>(100 + tag);
    c.m_ChipFrame = 66;
    c.m_AnimeSet = 4;
    c.m_Z = 8;
    c.m_Transparent = 1;
    c.m_AppearEffect = 9;
    c.m_AppearEffectMode = 2;
    c.m_AppearEffectLoop = 0;
    c.m_DeathEffect = 8;
    c.m_DeathEffectMode = 1;
    c.m_MarkMode = 2;
    c.m_MarkNumber = 67;
    c.m_Operator = 0;
    c.m_Player = 3;
    c.m_SpareByte2 = 68;
    c.m_CharaId = 69;
    c.m_Flight = 3;
    c.m_FixedFacing = 0;
    c.m_Invincible = 2;
    c.m_ColorEffect = 7;
    c.m_BlockChara = 1;
    c.m_Enlargement = 9;
    c.m_ScrollSync = 1;
    c.m_SightShape = 4;
    c.m_SightRange = 40;
    c.m_MaxHp = 7000;
    c.m_MaxSp = 7001;
    c.m_Stopping = 200;
    c.m_BodyBox = 3;
    c.m_BodyAttack = -7002;
    c.m_BodyImpact = -20;
    c.m_HitEffect = 7;
    c.m_Defence = 7003;
    c.m_ImpactResistance = 20;
    c.m_Score = 7004;
    c.m_SpareByte3 = 70;
    c.m_GroupActivation = 1;
    c.m_GroupNumber = 71;
    c.m_ActivityRange = 3;
    c.m_ActivationMode = 2;
    c.m_Flows.resize(2);
    c.m_Flows[0].m_Trigger = 7;
    c.m_Flows[0].m_Commands.resize(1);
    c.m_Flows[0].m_Commands[0].m_CommandNumber = kCharaSummonChara;
    NewEdShot(c.m_Flows[0].m_Commands[0].m_Shot);
    c.m_Flows[1].m_Conditions.resize(1);
  }
};

CharaValues OwnValues() {
  CharaValues v;
  v.name = "own";
  v.x = 12;
  v.y = 34;
  v.word = 0xDEADBEEF;
  v.facing = 0;
  v.spare1 = 5;
  v.offsetXBase = 1;
  v.offsetYStep = 2;
  v.chipIndex = 7;
  v.animeSet = 1;
  v.appearEffect = 1;
  v.deathEffect = 2;
  v.markNumber = 3;
  v.charaId = 4;
  v.flight = 1;
  v.invincible = 1;
  v.enlargement = 2;
  v.sightRange = 5;
  v.maxHp = 50;
  v.maxSp = 6;
  v.stopping = 20;
  v.bodyBox = 1;
  v.bodyAttack = 11;
  v.bodyImpact = 3;
  v.hitEffect = 1;
  v.defence = 12;
  v.impactResistance = 2;
  v.score = 100;
  v.groupNumber = 5;
  v.activityRange = 1;
  v.activationMode = 1;
  v.conditions = {ConditionBody(kConditionCommonVar, 3)};
  v.flows = {WaitFlow(2, 3)};
  return v;
}

// One member of a character, the property group that carries it (-1: none, never inherited) and a
// printable form of its value.
struct Member {
  const char* name;
  int group;
  std::function<std::string(const cCharaDef&)> value;
};

std::string Num(long long n) { return std::to_string(n); }

#define CHARA_MEMBER(label, group, member)                         \
  Member {                                                         \
    label, group, [](const cCharaDef& c) { return Num(c.member); } \
  }

const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {"position", -1, [](const cCharaDef& c) { return Num(c.m_PosX) + "," + Num(c.m_PosY); }},
      CHARA_MEMBER("stored word", -1, m_StoredWord),
      CHARA_MEMBER("condition mode", -1, m_ConditionMode),
      CHARA_MEMBER("keep once met", -1, m_KeepOnceMet),
      {"name", 0, [](const cCharaDef& c) { return c.m_Name; }},
      CHARA_MEMBER("operator", 1, m_Operator),
      CHARA_MEMBER("player", 1, m_Player),
      CHARA_MEMBER("spare byte 2", 2, m_SpareByte2),
      CHARA_MEMBER("character id", 3, m_CharaId),
      {"conditions", 4,
       [](const cCharaDef& c) {
         std::string s = Num(static_cast<long long>(c.m_Conditions.size()));
         for (const cConditionDef& d : c.m_Conditions) s += ":" + Num(d.m_Kind) + "/" + Num(d.m_Value);
         return s;
       }},
      CHARA_MEMBER("facing", 5, m_Facing),
      CHARA_MEMBER("spare byte 1", 6, m_SpareByte1),
      CHARA_MEMBER("offset x base", 7, m_OffsetXBase),
      CHARA_MEMBER("offset x step", 7, m_OffsetXStep),
      CHARA_MEMBER("offset x mirrored", 7, m_OffsetXMirrored),
      CHARA_MEMBER("offset y base", 8, m_OffsetYBase),
      CHARA_MEMBER("offset y step", 8, m_OffsetYStep),
      CHARA_MEMBER("offset y mirrored", 8, m_OffsetYMirrored),
      CHARA_MEMBER("chip source", 9, m_ChipSource),
      CHARA_MEMBER("chip index", 9, m_ChipIndex),
      CHARA_MEMBER("chip frame", 9, m_ChipFrame),
      CHARA_MEMBER("animation set", 10, m_AnimeSet),
      CHARA_MEMBER("Z", 11, m_Z),
      CHARA_MEMBER("transparent", 12, m_Transparent),
      CHARA_MEMBER("appearance effect", 13, m_AppearEffect),
      CHARA_MEMBER("appearance effect mode", 13, m_AppearEffectMode),
      CHARA_MEMBER("appearance effect loop", 13, m_AppearEffectLoop),
      CHARA_MEMBER("death effect", 14, m_DeathEffect),
      CHARA_MEMBER("death effect mode", 14, m_DeathEffectMode),
      CHARA_MEMBER("mark mode", 15, m_MarkMode),
      CHARA_MEMBER("mark number", 15, m_MarkNumber),
      CHARA_MEMBER("fixed facing", 16, m_FixedFacing),
      CHARA_MEMBER("flight", 17, m_Flight),
      CHARA_MEMBER("invincible", 18, m_Invincible),
      CHARA_MEMBER("colour effect", 18, m_ColorEffect),
      CHARA_MEMBER("block character", 19, m_BlockChara),
      CHARA_MEMBER("enlargement", 20, m_Enlargement),
      CHARA_MEMBER("scroll-synchronised", 21, m_ScrollSync),
      CHARA_MEMBER("sight shape", 22, m_SightShape),
      CHARA_MEMBER("sight range", 22, m_SightRange),
      CHARA_MEMBER("maximum HP", 23, m_MaxHp),
      CHARA_MEMBER("maximum SP", 24, m_MaxSp),
      CHARA_MEMBER("body box", 25, m_BodyBox),
      CHARA_MEMBER("body attack power", 26, m_BodyAttack),
      CHARA_MEMBER("body attack impact", 27, m_BodyImpact),
      CHARA_MEMBER("hit effect", 28, m_HitEffect),
      CHARA_MEMBER("defence", 29, m_Defence),
      CHARA_MEMBER("impact resistance", 30, m_ImpactResistance),
      CHARA_MEMBER("stopping", 31, m_Stopping),
      CHARA_MEMBER("activity range", 32, m_ActivityRange),
      CHARA_MEMBER("activation mode", 32, m_ActivationMode),
      CHARA_MEMBER("group number", 33, m_GroupNumber),
      CHARA_MEMBER("group activation", 33, m_GroupActivation),
      CHARA_MEMBER("score", 34, m_Score),
      CHARA_MEMBER("spare byte 3", 35, m_SpareByte3),
      {"flows", 36,
       [](const cCharaDef& c) {
         std::string s = Num(static_cast<long long>(c.m_Flows.size()));
         for (const cFlow& f : c.m_Flows)
           s += ":" + Num(f.m_Trigger) + "/" + Num(static_cast<long long>(f.m_Commands.size()));
         return s;
       }},
  };
  return members;
}

TEST_F(CharaDefTest, DefaultCharacterIsA151ByteRecord) {
  cCharaDef chara;
  EXPECT_EQ(chara.m_InheritFlags.size(), 37u);
  EXPECT_EQ(chara.Fields().size(), 53u);
  const std::vector<std::uint8_t> bytes = BodyOf(chara);
  // 53 arrays of 82 bytes and the name, position, stored word, 37 flags, two empty lists.
  EXPECT_EQ(bytes.size(), 151u);
  EXPECT_EQ(HexBytes(bytes), HexBytes(CharaRecord(556, CharaValues{}).Data()));

  // SetDefaults brings a filled record back to exactly that.
  cCharaDef used = m_StageCharas.At(2);
  used.m_InheritFlags.assign(40, 1);
  used.SetDefaults();
  EXPECT_EQ(HexBytes(BodyOf(used)), HexBytes(bytes));
}

struct GateCase {
  std::uint32_t version;
  std::int32_t defence;
  std::uint8_t effectModes;
  std::uint8_t bodyBox;
  std::uint8_t scrollSync;
  std::uint8_t colorEffect;
};

TEST_F(CharaDefTest, EveryVersionReadsItsOwnFieldList) {
  // The file holds defence 500, effect modes 2, body box 1, scroll sync 1 and colour effect 4 where
  // its version has them; what it lacks takes the upgrade's value.
  const GateCase cases[] = {
      {167, 0, 0, 0, 0, 1},   {168, 500, 0, 0, 0, 1}, {195, 500, 0, 0, 0, 1}, {196, 500, 2, 0, 0, 1},
      {200, 500, 2, 0, 0, 1}, {201, 500, 2, 1, 0, 1}, {209, 500, 2, 1, 0, 1}, {210, 500, 2, 1, 1, 1},
      {284, 500, 2, 1, 1, 1}, {285, 500, 2, 1, 1, 4}, {556, 500, 2, 1, 1, 4},
  };
  for (const GateCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version);
    CharaValues v = OwnValues();
    v.defence = 500;
    v.appearMode = 2;
    v.deathMode = 2;
    v.bodyBox = 1;
    v.scrollSync = 1;
    v.colorEffect = 4;
    v.activationMode = 2;  // the last field: read from its right place
    v.name = "tail";
    cCharaDef chara;
    std::size_t rest = 99;
    ASSERT_FALSE(ReadRecord(chara, FileOf(c.version, CharaRecord(c.version, v)), &rest));
    EXPECT_EQ(rest, 0u);
    EXPECT_EQ(chara.m_Defence, c.defence);
    EXPECT_EQ(chara.m_AppearEffectMode, c.effectModes);
    EXPECT_EQ(chara.m_DeathEffectMode, c.effectModes);
    EXPECT_EQ(chara.m_BodyBox, c.bodyBox);
    EXPECT_EQ(chara.m_ScrollSync, c.scrollSync);
    EXPECT_EQ(chara.m_ColorEffect, c.colorEffect);
    EXPECT_EQ(chara.m_ActivationMode, 2);
    EXPECT_EQ(chara.m_GroupNumber, 5);
    EXPECT_EQ(chara.m_Name, "tail");
    EXPECT_EQ(chara.m_StoredWord, 0xDEADBEEF);
    EXPECT_EQ(chara.m_Flows.size(), 1u);
    // Registered again for the current layout once read.
    EXPECT_EQ(chara.Fields().size(), 53u);
  }
}

std::vector<std::uint8_t> Counting(std::size_t count) {
  std::vector<std::uint8_t> flags(count);
  for (std::size_t i = 0; i < count; ++i) flags[i] = static_cast<std::uint8_t>(100 + i);
  return flags;
}

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

std::vector<std::uint8_t> FlagRun(int first, int last) {
  std::vector<std::uint8_t> run;
  for (int i = first; i <= last; ++i) run.push_back(static_cast<std::uint8_t>(i));
  return run;
}

struct FlagCase {
  const char* name;
  std::uint32_t version;
  std::vector<std::uint8_t> stored;
  std::vector<std::uint8_t> expected;
};

TEST_F(CharaDefTest, OldFlagListsGainTheGroupsThatCameLater) {
  const std::vector<std::uint8_t> one = {1};
  const FlagCase cases[] = {
      {"30 flags of 167, all set", 167, std::vector<std::uint8_t>(30, 1),
       Concat({std::vector<std::uint8_t>(33, 1), std::vector<std::uint8_t>(4, 0)})},
      // The 34 groups of 167 land on their current places, the three new ones set.
      {"34 flags of 167", 167, Counting(34),
       Concat({FlagRun(100, 120), one, FlagRun(121, 123), one, FlagRun(124, 126), one, FlagRun(127, 133)})},
      {"40 flags of 167: the surplus goes", 167, Counting(40),
       Concat({FlagRun(100, 120), one, FlagRun(121, 123), one, FlagRun(124, 126), one, FlagRun(127, 133)})},
      {"35 flags of 200", 200, Counting(35),
       Concat({FlagRun(100, 120), one, FlagRun(121, 123), one, FlagRun(124, 134)})},
      {"36 flags of 205", 205, Counting(36), Concat({FlagRun(100, 120), one, FlagRun(121, 135)})},
      {"36 flags of 210 stay", 210, Counting(36), Counting(36)},
      {"40 flags of 556 stay", 556, Counting(40), Counting(40)},
      {"no flags of 556 stay none", 556, {}, {}},
  };
  for (const FlagCase& c : cases) {
    SCOPED_TRACE(c.name);
    CharaValues v = OwnValues();
    v.flags = c.stored;
    cCharaDef chara;
    ASSERT_FALSE(ReadRecord(chara, FileOf(c.version, CharaRecord(c.version, v))));
    EXPECT_EQ(HexBytes(chara.m_InheritFlags), HexBytes(c.expected));
    // Index 0: the flags select nothing, whatever they say.
    EXPECT_EQ(chara.m_Name, "own");
  }
}

struct ValueCase {
  const char* name;
  std::uint32_t version;
  std::function<void(CharaValues&)> store;
  std::function<long long(const cCharaDef&)> read;
  long long expected;
};

TEST_F(CharaDefTest, OldValuesAreRenumbered) {
  auto bodyBox = [](std::uint8_t box) { return [box](CharaValues& v) { v.bodyBox = box; }; };
  auto readBodyBox = [](const cCharaDef& c) -> long long { return c.m_BodyBox; };
  auto chip = [](std::uint8_t source, std::int16_t index) {
    return [source, index](CharaValues& v) {
      v.chipSource = source;
      v.chipIndex = index;
    };
  };
  auto readChip = [](const cCharaDef& c) -> long long { return c.m_ChipIndex; };
  const ValueCase cases[] = {
      {"body box 2 of 205", 205, bodyBox(2), readBodyBox, 3},
      {"body box 3 of 205", 205, bodyBox(3), readBodyBox, 4},
      {"body box 1 of 205", 205, bodyBox(1), readBodyBox, 1},
      {"body box 0 of 205", 205, bodyBox(0), readBodyBox, 0},
      {"body box 2 of 206", 206, bodyBox(2), readBodyBox, 2},
      {"body box 2 of 556", 556, bodyBox(2), readBodyBox, 2},
      {"shot picture 7 of 218", 218, chip(kChipShot, 7), readChip, 8},
      {"shot picture 119 of 218", 218, chip(kChipShot, 119), readChip, 119},
      {"item picture 7 of 218", 218, chip(kChipItem, 7), readChip, 7},
      {"shot picture 7 of 219", 219, chip(kChipShot, 7), readChip, 7},
      {"enlargement 0", 556, [](CharaValues& v) { v.enlargement = 0; },
       [](const cCharaDef& c) -> long long { return c.m_Enlargement; }, 1},
      {"enlargement 0 of 167", 167, [](CharaValues& v) { v.enlargement = 0; },
       [](const cCharaDef& c) -> long long { return c.m_Enlargement; }, 1},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.name);
    CharaValues v = OwnValues();
    c.store(v);
    cCharaDef chara;
    ASSERT_FALSE(ReadRecord(chara, FileOf(c.version, CharaRecord(c.version, v))));
    EXPECT_EQ(c.read(chara), c.expected);
    // Written as the current version and read again, nothing is raised a second time.
    cCharaDef again;
    ASSERT_FALSE(ReadRecord(again, FileOf(556, BodyOf(chara))));
    EXPECT_EQ(c.read(again), c.expected);
  }
}

TEST_F(CharaDefTest, EachFlagCopiesExactlyItsGroup) {
  cCharaDef own;
  ASSERT_FALSE(ReadRecord(own, FileOf(556, CharaRecord(556, OwnValues()))));
  for (std::int8_t source : {kInheritCommon, kInheritStage}) {
    const cCharaDef& entry = source == kInheritCommon ? m_CommonCharas.At(3) : m_StageCharas.At(3);
    for (int group = 0; group < kCharaGroupCount; ++group) {
      SCOPED_TRACE(testing::Message() << "source " << int(source) << " group " << group);
      CharaValues v = OwnValues();
      v.inheritSource = source;
      v.inheritIndex = 3;
      v.flags.at(static_cast<std::size_t>(group)) = 1;
      cCharaDef chara;
      ASSERT_FALSE(ReadRecord(chara, FileOf(556, CharaRecord(556, v))));
      for (const Member& m : Members()) EXPECT_EQ(m.value(chara), m.value(m.group == group ? entry : own)) << m.name;
      EXPECT_EQ(chara.m_InheritSource, source);
      EXPECT_EQ(chara.m_InheritIndex, 3);
    }
  }
}

struct InheritCase {
  const char* name;
  std::int8_t source;
  std::int16_t index;
  std::size_t flagCount;  // all set
  bool inherits;
  std::int8_t sourceAfter;
  std::int16_t indexAfter;
};

TEST_F(CharaDefTest, InheritanceOnlyFromAnEntryThePaletteHas) {
  const InheritCase cases[] = {
      {"index 0 means none", kInheritCommon, 0, 37, false, kInheritCommon, 0},
      {"source 0 means none", kInheritNone, 2, 37, false, kInheritNone, 2},
      {"common entry 2", kInheritCommon, 2, 37, true, kInheritCommon, 2},
      {"stage entry 4 of 5", kInheritStage, 4, 37, true, kInheritStage, 4},
      // The source goes; the index stays, as with blocks, and is dropped with it when written.
      {"common entry 4 of 4", kInheritCommon, 4, 37, false, kInheritNone, 4},
      {"index -1 is no entry", kInheritStage, -1, 37, false, kInheritNone, -1},
      {"source 3 names no palette", 3, 2, 37, false, 3, 2},
      {"40 flags select 37 groups", kInheritCommon, 2, 40, true, kInheritCommon, 2},
      {"no flags select nothing", kInheritCommon, 2, 0, false, kInheritCommon, 2},
  };
  cCharaDef own;
  ASSERT_FALSE(ReadRecord(own, FileOf(556, CharaRecord(556, OwnValues()))));
  for (const InheritCase& c : cases) {
    SCOPED_TRACE(c.name);
    CharaValues v = OwnValues();
    v.inheritSource = c.source;
    v.inheritIndex = c.index;
    v.flags.assign(c.flagCount, 1);
    cCharaDef chara;
    ASSERT_FALSE(ReadRecord(chara, FileOf(556, CharaRecord(556, v))));
    const cCharaDef& from =
        c.inherits ? (c.source == kInheritCommon ? m_CommonCharas.At(c.index) : m_StageCharas.At(c.index)) : own;
    for (const Member& m : Members()) EXPECT_EQ(m.value(chara), m.value(m.group >= 0 ? from : own)) << m.name;
    EXPECT_EQ(chara.m_InheritSource, c.sourceAfter);
    EXPECT_EQ(chara.m_InheritIndex, c.indexAfter);
    // The flags are kept as stored and written back.
    EXPECT_EQ(chara.m_InheritFlags.size(), c.flagCount);
    const std::vector<std::uint8_t> bytes = BodyOf(chara);
    cCharaDef again;
    ASSERT_FALSE(ReadRecord(again, FileOf(556, bytes)));
    EXPECT_EQ(again.m_InheritFlags.size(), c.flagCount);
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(CharaDefTest, InheritedFlowsAreTheCharactersOwn) {
  CharaValues v = OwnValues();
  v.inheritSource = kInheritStage;
  v.inheritIndex = 1;
  v.flags[36] = 1;
  cCharaDef chara;
  ASSERT_FALSE(ReadRecord(chara, FileOf(556, CharaRecord(556, v))));
  ASSERT_EQ(chara.m_Flows.size(), 2u);
  const cFlowCommand& mine = chara.m_Flows[0].m_Commands.at(0);
  const cFlowCommand& theirs = m_StageCharas.At(1).m_Flows[0].m_Commands.at(0);
  ASSERT_TRUE(mine.m_Shot && theirs.m_Shot);
  EXPECT_NE(mine.m_Shot.get(), theirs.m_Shot.get());
  EXPECT_EQ(theirs.m_Shot.use_count(), 1);

  // A copy of the character holds records of its own as well.
  cCharaDef copy;
  copy = chara;
  copy.m_Flows[0].m_Commands[0].m_Shot->m_SummonIndex = 77;
  EXPECT_EQ(mine.m_Shot->m_SummonIndex, 0);
  EXPECT_EQ(HexBytes(BodyOf(copy)).size(), HexBytes(BodyOf(chara)).size());
}

struct NormalizeCase {
  const char* name;
  std::function<void(cCharaDef&, DatabaseSizes&)> set;
  std::function<long long(const cCharaDef&)> get;
  long long expected;
};

TEST_F(CharaDefTest, WritingNormalisesReferencesFirst) {
  auto chip = [](std::uint8_t source, std::int16_t index, int bitmaps) {
    return [=](cCharaDef& c, DatabaseSizes& db) {
      c.m_ChipSource = source;
      c.m_ChipIndex = index;
      db.charaBitmaps = bitmaps;
    };
  };
  auto chipIndex = [](const cCharaDef& c) -> long long { return c.m_ChipIndex; };
  auto inherit = [](std::int8_t source, std::int16_t index) {
    return [=](cCharaDef& c, DatabaseSizes&) {
      c.m_InheritSource = source;
      c.m_InheritIndex = index;
    };
  };
  auto inheritRef = [](const cCharaDef& c) -> long long { return c.m_InheritSource * 1000 + c.m_InheritIndex; };
  // Character effects and effects differ in size here, so each reference is seen to use its table.
  auto effects = [](std::int16_t appear, std::int16_t death, std::int16_t hit) {
    return [=](cCharaDef& c, DatabaseSizes& db) {
      db.charaEffects = 4;
      db.effects = 7;
      c.m_AppearEffect = appear;
      c.m_DeathEffect = death;
      c.m_HitEffect = hit;
    };
  };
  auto effectRefs = [](const cCharaDef& c) -> long long {
    return c.m_AppearEffect * 10000 + c.m_DeathEffect * 100 + c.m_HitEffect;
  };
  const NormalizeCase cases[] = {
      {"bitmap 9 of 10", chip(kChipCharaBitmap, 9, 10), chipIndex, 9},
      {"bitmap 10 of 10 becomes 1", chip(kChipCharaBitmap, 10, 10), chipIndex, 1},
      {"bitmap -1 becomes 1", chip(kChipCharaBitmap, -1, 10), chipIndex, 1},
      {"bitmap 5 of 2 becomes 1", chip(kChipCharaBitmap, 5, 2), chipIndex, 1},
      // Entry 1 does not exist either: no picture rather than a reference to nothing.
      {"bitmap 5 of 1 becomes 0", chip(kChipCharaBitmap, 5, 1), chipIndex, 0},
      {"bitmap 1 of 0 becomes 0", chip(kChipCharaBitmap, 1, 0), chipIndex, 0},
      {"other sheets are not checked", chip(kChipShot, 500, 0), chipIndex, 500},
      {"common entry 3 of 4", inherit(kInheritCommon, 3), inheritRef, 1003},
      {"common entry 4 of 4", inherit(kInheritCommon, 4), inheritRef, 0},
      {"stage entry 5 of 5", inherit(kInheritStage, 5), inheritRef, 0},
      {"stage entry -2", inherit(kInheritStage, -2), inheritRef, 0},
      {"source 3 is left alone", inherit(3, 700), inheritRef, 3700},
      {"effects in range", effects(3, 3, 6), effectRefs, 30306},
      {"effects beyond their tables", effects(4, 5, 7), effectRefs, 0},
      {"hit effect 5 is an effect", effects(-1, 0, 5), effectRefs, 5},
      {"animation set 4 of 5", [](cCharaDef& c, DatabaseSizes&) { c.m_AnimeSet = 4; },
       [](const cCharaDef& c) -> long long { return c.m_AnimeSet; }, 4},
      {"animation set 5 of 5", [](cCharaDef& c, DatabaseSizes&) { c.m_AnimeSet = 5; },
       [](const cCharaDef& c) -> long long { return c.m_AnimeSet; }, 0},
      {"animation set -1", [](cCharaDef& c, DatabaseSizes&) { c.m_AnimeSet = -1; },
       [](const cCharaDef& c) -> long long { return c.m_AnimeSet; }, 0},
      {"enlargement 0", [](cCharaDef& c, DatabaseSizes&) { c.m_Enlargement = 0; },
       [](const cCharaDef& c) -> long long { return c.m_Enlargement; }, 1},
      {"enlargement 10", [](cCharaDef& c, DatabaseSizes&) { c.m_Enlargement = 10; },
       [](const cCharaDef& c) -> long long { return c.m_Enlargement; }, 10},
  };
  const DatabaseSizes fixture = LoadContext().database;
  for (const NormalizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    LoadContext().database = fixture;
    cCharaDef chara;
    c.set(chara, LoadContext().database);
    const std::vector<std::uint8_t> bytes = BodyOf(chara);
    // What was written is what the record now holds, and what a reader gets back.
    EXPECT_EQ(c.get(chara), c.expected);
    cCharaDef again;
    ASSERT_FALSE(ReadRecord(again, FileOf(556, bytes)));
    EXPECT_EQ(c.get(again), c.expected);
  }
}

TEST_F(CharaDefTest, FlowsThatCanDoNothingAreRemoved) {
  CharaValues v = OwnValues();
  v.flows = {
      FlowBody({.trigger = 1}),                                       // nothing at all: goes
      FlowBody({.trigger = 2, .conditions = {ConditionBody(1, 5)}}),  // a condition
      FlowBody({.trigger = 3, .keys = {flowtest::KeyBody({})}}),      // a key step
      WaitFlow(4, 0),                                                 // a command
      FlowBody({.testOnly = 1, .trigger = 5}),                        // nothing and test-only
      FlowBody({.testOnly = 1, .trigger = 6, .conditions = {ConditionBody(1, 5)}}),
  };
  struct Case {
    bool testPlay;
    bool keepMarked;
    std::vector<int> triggers;
  };
  const Case cases[] = {
      {false, false, {2, 3, 4}},
      {true, false, {2, 3, 4, 6}},
      {false, true, {2, 3, 4, 6}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "test play " << c.testPlay << " keep marked " << c.keepMarked);
    LoadContext().testPlay = c.testPlay;
    LoadContext().keepMarkedFlows = c.keepMarked;
    cCharaDef chara;
    ASSERT_FALSE(ReadRecord(chara, FileOf(556, CharaRecord(556, v))));
    std::vector<int> triggers;
    for (const cFlow& flow : chara.m_Flows) triggers.push_back(flow.m_Trigger);
    EXPECT_EQ(triggers, c.triggers);
  }
  // A flow emptied in memory is gone once the character is written.
  cCharaDef chara;
  chara.m_Flows.resize(3);
  chara.m_Flows[1].m_Commands.resize(1);
  const std::vector<std::uint8_t> bytes = BodyOf(chara);
  EXPECT_EQ(chara.m_Flows.size(), 1u);
  // The default record and one flow (28 bytes) holding one default command (40 bytes).
  EXPECT_EQ(bytes.size(), 151u + 28 + 40);
}

TEST_F(CharaDefTest, FlowCommandsAreNormalisedWithTheDatabase) {
  // A sword runs as long as the swing of its type; a type the database lacks becomes type 0.
  cCharaDef chara;
  chara.m_Flows.resize(1);
  cFlowCommand& sword = chara.m_Flows[0].m_Commands.emplace_back();
  sword.m_CommandNumber = kCharaSword;
  NewEdShot(sword.m_Shot);
  sword.m_Shot->m_MoveKind = 7;
  sword.m_Sound = 10;
  const std::vector<std::uint8_t> bytes = BodyOf(chara);
  EXPECT_EQ(sword.m_Shot->m_MoveKind, 0);
  EXPECT_EQ(sword.m_UseTime, 3);
  EXPECT_EQ(sword.m_Sound, 0);
  cCharaDef again;
  ASSERT_FALSE(ReadRecord(again, FileOf(556, bytes)));
  EXPECT_EQ(again.m_Flows.at(0).m_Commands.at(0).m_UseTime, 3);
}

TEST_F(CharaDefTest, SummonsAreCheckedOnceThePalettesAreRead) {
  cCharaDef chara;
  chara.m_Flows.resize(1);
  cFlowCommand& summon = chara.m_Flows[0].m_Commands.emplace_back();
  summon.m_CommandNumber = kCharaSummonChara;
  NewEdShot(summon.m_Shot);
  summon.m_Shot->m_SummonPalette = 1;  // the stage palette: five characters
  summon.m_Shot->m_SummonIndex = 7;
  const std::vector<std::uint8_t> bytes = BodyOf(chara);
  cCharaDef read;
  ASSERT_FALSE(ReadRecord(read, FileOf(556, bytes)));
  // Reading leaves palette references alone: the palette may not be complete yet.
  cEdShot& shot = *read.m_Flows.at(0).m_Commands.at(0).m_Shot;
  EXPECT_EQ(shot.m_SummonIndex, 7);
  read.NormalizeSummons(PaletteSizes());
  EXPECT_EQ(shot.m_SummonIndex, 1);
  shot.m_SummonIndex = 4;
  read.NormalizeSummons(PaletteSizes());
  EXPECT_EQ(shot.m_SummonIndex, 4);

  const SummonPalettes sizes = PaletteSizes();
  EXPECT_EQ(sizes.charas[0], 4);
  EXPECT_EQ(sizes.charas[1], 5);
  EXPECT_EQ(sizes.items[0], 3);
  EXPECT_EQ(sizes.items[1], 4);
  EXPECT_EQ(sizes.blocks[0], 0);
}

struct OffsetCase {
  std::int16_t base;
  std::int16_t step;
  int n;
  int facing;
  std::uint8_t mirrored;
  double expected;
};

TEST_F(CharaDefTest, OffsetsGrowWithTheIndexAndTurnWithTheFacing) {
  const OffsetCase cases[] = {
      {8, 16, 2, 0, 1, 40},  {8, 16, 2, 1, 1, -40},
      {8, 16, 2, 1, 0, 40},  {8, 16, 2, 0, 0, 40},
      {8, 16, 0, 1, 1, -8},  {-8, 16, 0, 1, 1, 8},
      {0, -3, 5, 2, 1, -15}, {32767, 32767, 1000, 0, 0, 32767.0 + 32767000.0},
  };
  for (const OffsetCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.base << " + " << c.step << " x " << c.n << " facing " << c.facing);
    cCharaDef chara;
    chara.m_OffsetXBase = c.base;
    chara.m_OffsetXStep = c.step;
    chara.m_OffsetXMirrored = c.mirrored;
    chara.m_OffsetYBase = c.base;
    chara.m_OffsetYStep = c.step;
    chara.m_OffsetYMirrored = c.mirrored;
    EXPECT_EQ(chara.OffsetX(c.n, c.facing), c.expected);
    EXPECT_EQ(chara.OffsetY(c.n, c.facing), c.expected);
    // Each axis has its own mirror flag.
    chara.m_OffsetYMirrored = static_cast<std::uint8_t>(!c.mirrored);
    EXPECT_EQ(chara.OffsetX(c.n, c.facing), c.expected);
  }
}

TEST_F(CharaDefTest, WriteReadWriteIsByteIdentical) {
  CharaValues v = OwnValues();
  v.name = SJ("ソ\\キャラ");
  v.inheritSource = kInheritStage;
  v.inheritIndex = 3;
  v.flags.assign(40, 0);
  v.flags[38] = 1;  // selects no group
  v.conditionMode = 1;
  v.keepOnceMet = 1;
  v.facing = 1;
  v.offsetXStep = -9;
  v.offsetXMirrored = 1;
  v.offsetYBase = -4;
  v.offsetYMirrored = 1;
  v.chipSource = kChipCharaBitmap;
  v.chipIndex = 9;
  v.chipFrame = -2;
  v.z = 0;
  v.transparent = 1;
  v.appearMode = 2;
  v.appearLoop = 0;
  v.deathMode = 1;
  v.markMode = 1;
  v.op = 0;
  v.spare2 = 0;
  v.fixedFacing = 0;
  v.colorEffect = 3;
  v.blockChara = 1;
  v.scrollSync = 1;
  v.sightShape = 2;
  v.bodyImpact = -20;
  v.spare3 = 0;
  v.groupActivation = 1;
  v.conditions.push_back(ConditionBody(kConditionDistance, 12));
  v.flows.push_back(FlowBody({.id = 3, .group = 2, .trigger = 0, .conditions = {ConditionBody(2, 1)}}));
  const cByteBuilder record = CharaRecord(556, v);
  cCharaDef chara;
  ASSERT_FALSE(ReadRecord(chara, FileOf(556, record)));
  const std::vector<std::uint8_t> first = BodyOf(chara);
  EXPECT_EQ(HexBytes(first), HexBytes(record.Data()));
  cCharaDef again;
  ASSERT_FALSE(ReadRecord(again, FileOf(556, first)));
  EXPECT_EQ(HexBytes(BodyOf(again)), HexBytes(first));
}

TEST_F(CharaDefTest, DamagedFilesAreReportedAndNeverOverrun) {
  CharaValues v = OwnValues();
  v.flows.push_back(FlowBody({.trigger = 1, .conditions = {ConditionBody(1, 1)}}));
  ExpectEveryCutDamaged<cCharaDef>(FileOf(556, CharaRecord(556, v)));
  v.flags.assign(30, 1);
  ExpectEveryCutDamaged<cCharaDef>(FileOf(167, CharaRecord(167, v)));

  // Counts far beyond the file are never acted on: the lists keep what they had. The record is
  // cut right after the count being inflated: flags (0), conditions (1), flows (2).
  CharaValues head = OwnValues();
  head.flags.clear();
  head.conditions.clear();
  head.flows.clear();
  const std::uint32_t counts[] = {0xFFFFFFF0u, 0x7FFFFFFFu, 0x10000000u};
  for (std::size_t list = 0; list < 3; ++list) {
    SCOPED_TRACE(testing::Message() << "list " << list);
    std::vector<std::uint8_t> bytes = CharaRecord(556, head).Data();
    bytes.resize(bytes.size() - 4 * (3 - list));
    cCharaDef chara;
    chara.m_InheritFlags.assign(2, 9);
    chara.m_Conditions.resize(1);
    chara.m_Flows.resize(1);
    chara.m_Flows[0].m_Conditions.resize(1);
    EXPECT_TRUE(ReadRecord(chara, FileOf(556, cByteBuilder().Bytes(bytes).U32(counts[list]).Bytes({1, 2, 3, 4}))));
    EXPECT_EQ(chara.m_InheritFlags.size(), list == 0 ? 2u : 0u);
    EXPECT_EQ(chara.m_Conditions.size(), list <= 1 ? 1u : 0u);
    EXPECT_EQ(chara.m_Flows.size(), 1u);
  }

  // A body claiming more numbers than any version registers.
  cByteBuilder tooMany = CharaRecord(556, OwnValues());
  std::vector<std::uint8_t> bytes = tooMany.Data();
  bytes[0] = 60;
  cCharaDef chara;
  EXPECT_TRUE(ReadRecord(chara, FileOf(556, cByteBuilder().Bytes(bytes))));
  TakeMainWindowMessages(WM_CLOSE);
}

TEST_F(CharaDefTest, VocabularyRowsAreTheStoredValues) {
  EXPECT_EQ(CharaOperatorLabels()[0], SJ("プレイヤー"));
  EXPECT_EQ(CharaOperatorLabels()[1], SJ("コンピューター"));
  EXPECT_EQ(SightShapeLabels()[4], SJ("キャラの前方に正方形"));
  EXPECT_EQ(BodyBoxLabels()[3], SJ("32×32"));
  EXPECT_EQ(ActivityRangeLabels()[3], SJ("全範囲"));
  EXPECT_EQ(ActivationModeLabels()[2], SJ("範囲とグループが偽なら成立"));
  EXPECT_EQ(ActivationModeLabels().Size(), 4);
}

}  // namespace
