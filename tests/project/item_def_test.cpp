// Item definitions: the file layout, the shot-sheet upgrade, palette inheritance group by group,
// the normalisers, palette look-ups, copies and damaged files.
#include <functional>
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "project/block.h"
#include "project/palette_sizes.h"
#include "tests/project/chara_item_fixture.h"

namespace {

using namespace charatest;
using flowtest::FileOf;

class ItemDefTest : public CharaItemTest {
 protected:
  void SetUp() override {
    CharaItemTest::SetUp();
    for (int i = 0; i < m_CommonItems.Size(); ++i) FillEntry(m_CommonItems.At(i), i);
    for (int i = 0; i < m_StageItems.Size(); ++i) FillEntry(m_StageItems.At(i), 10 + i);
  }

  // A palette entry whose every member differs from those of OwnValues() and from the defaults.
  static void FillEntry(cItemDef& item, int tag) {
    item.m_PosX = 91;
    item.m_PosY = 92;
    item.m_Name = "entry" + std::to_string(tag);
    item.m_Conditions.resize(2);
    item.m_Conditions[0].m_Kind = kConditionStageVar;
    item.m_ConditionMode = 1;
    item.m_KeepOnceMet = 1;
    item.m_Word94 = -94;
    item.m_Word96 = -96;
    item.m_ChipSource = kChipCharaBitmap;
    item.m_ChipIndex = static_cast<std::int16_t>(100 + tag);
    item.m_ChipFrame = 3;
    item.m_Byte104 = 104;
    item.m_Hidden = 1;
    item.m_MarkMode = 1;
    item.m_MarkNumber = 44;
    item.m_Size = 5;
    item.m_Obtainability = kItemNotTakable;
    item.m_ShowMessage = 0;
    item.m_Sound = 9;
    item.m_Commands.resize(3);
    item.m_Commands[0].m_CommandSet = kFlowCommandSet;
    item.m_Commands[0].m_CommandNumber = kFlowGetItem;
    item.m_Commands[0].m_Params = {1, 3};
  }
};

ItemValues OwnValues() {
  ItemValues v;
  v.name = "own";
  v.x = 12;
  v.y = 34;
  v.word94 = 1;
  v.word96 = 2;
  v.chipIndex = 7;
  v.chipFrame = 1;
  v.byte104 = 4;
  v.markNumber = 2;
  v.obtainability = kItemAnyTimes;
  v.size = 2;
  v.sound = 3;
  v.conditions = {ConditionBody(kConditionCommonVar, 3)};
  v.commands = {CommandBody({.set = kFlowCommandSet, .number = kFlowSound, .params = {4}})};
  return v;
}

// One member of an item, the property group that carries it (-1: none) and a printable value.
struct Member {
  const char* name;
  int group;
  std::function<std::string(const cItemDef&)> value;
};

std::string Num(long long n) { return std::to_string(n); }

#define ITEM_MEMBER(label, group, member)                         \
  Member {                                                        \
    label, group, [](const cItemDef& i) { return Num(i.member); } \
  }

const std::vector<Member>& Members() {
  static const std::vector<Member> members = {
      {"position", -1, [](const cItemDef& i) { return Num(i.m_PosX) + "," + Num(i.m_PosY); }},
      {"name", 0, [](const cItemDef& i) { return i.m_Name; }},
      {"conditions", 1,
       [](const cItemDef& i) {
         std::string s = Num(static_cast<long long>(i.m_Conditions.size()));
         for (const cConditionDef& c : i.m_Conditions) s += ":" + Num(c.m_Kind) + "/" + Num(c.m_Value);
         return s;
       }},
      ITEM_MEMBER("condition mode", 1, m_ConditionMode),
      ITEM_MEMBER("keep once met", 1, m_KeepOnceMet),
      ITEM_MEMBER("word 94", 2, m_Word94),
      ITEM_MEMBER("word 96", 3, m_Word96),
      ITEM_MEMBER("chip source", 4, m_ChipSource),
      ITEM_MEMBER("chip index", 4, m_ChipIndex),
      ITEM_MEMBER("chip frame", 4, m_ChipFrame),
      ITEM_MEMBER("byte 104", 5, m_Byte104),
      ITEM_MEMBER("hidden", 6, m_Hidden),
      ITEM_MEMBER("mark mode", 7, m_MarkMode),
      ITEM_MEMBER("mark number", 7, m_MarkNumber),
      ITEM_MEMBER("size", 8, m_Size),
      ITEM_MEMBER("obtainability", 9, m_Obtainability),
      ITEM_MEMBER("show message", 10, m_ShowMessage),
      ITEM_MEMBER("pick-up sound", 11, m_Sound),
      {"commands", 12,
       [](const cItemDef& i) {
         std::string s = Num(static_cast<long long>(i.m_Commands.size()));
         for (const cFlowCommand& c : i.m_Commands) s += ":" + Num(c.m_CommandSet) + "/" + Num(c.m_CommandNumber);
         return s;
       }},
  };
  return members;
}

TEST_F(ItemDefTest, DefaultItemIsA65ByteRecord) {
  cItemDef item;
  EXPECT_EQ(item.m_InheritFlags.size(), 13u);
  EXPECT_EQ(item.Fields().size(), 17u);
  const std::vector<std::uint8_t> bytes = BodyOf(item);
  // 17 arrays of 24 bytes and the name, position, 13 flags, two empty lists.
  EXPECT_EQ(bytes.size(), 65u);
  EXPECT_EQ(HexBytes(bytes), HexBytes(ItemRecord(ItemValues{}).Data()));

  cItemDef used = m_StageItems.At(1);
  used.m_InheritFlags.assign(20, 1);
  used.SetDefaults();
  EXPECT_EQ(HexBytes(BodyOf(used)), HexBytes(bytes));
}

struct ChipCase {
  std::uint32_t version;
  std::uint8_t source;
  std::int16_t index;
  std::int16_t expected;
};

TEST_F(ItemDefTest, OldFilesCountTheShotSheetFromOneLower) {
  const ChipCase cases[] = {
      {218, kChipShot, 7, 8}, {218, kChipShot, 119, 119}, {218, kChipShot, -1, 0}, {218, kChipShot, 0, 1},
      {218, kChipItem, 7, 7}, {219, kChipShot, 7, 7},     {556, kChipShot, 7, 7},
  };
  for (const ChipCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "version " << c.version << " source " << int(c.source) << " index " << c.index);
    ItemValues v = OwnValues();
    v.chipSource = c.source;
    v.chipIndex = c.index;
    cItemDef item;
    std::size_t rest = 99;
    ASSERT_FALSE(ReadRecord(item, FileOf(c.version, ItemRecord(v)), &rest));
    EXPECT_EQ(rest, 0u);
    EXPECT_EQ(item.m_ChipIndex, c.expected);
    EXPECT_EQ(item.m_Sound, 3);  // read from its right place
    cItemDef again;
    ASSERT_FALSE(ReadRecord(again, FileOf(556, BodyOf(item))));
    EXPECT_EQ(again.m_ChipIndex, c.expected);
  }
}

TEST_F(ItemDefTest, EachFlagCopiesExactlyItsGroup) {
  cItemDef own;
  ASSERT_FALSE(ReadRecord(own, FileOf(556, ItemRecord(OwnValues()))));
  for (std::int8_t source : {kInheritCommon, kInheritStage}) {
    const cItemDef& entry = source == kInheritCommon ? m_CommonItems.At(2) : m_StageItems.At(2);
    for (int group = 0; group < kItemGroupCount; ++group) {
      SCOPED_TRACE(testing::Message() << "source " << int(source) << " group " << group);
      ItemValues v = OwnValues();
      v.inheritSource = source;
      v.inheritIndex = 2;
      v.flags.at(static_cast<std::size_t>(group)) = 1;
      cItemDef item;
      ASSERT_FALSE(ReadRecord(item, FileOf(556, ItemRecord(v))));
      for (const Member& m : Members()) EXPECT_EQ(m.value(item), m.value(m.group == group ? entry : own)) << m.name;
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

TEST_F(ItemDefTest, InheritanceOnlyFromAnEntryThePaletteHas) {
  const InheritCase cases[] = {
      {"index 0 keeps its own values", kInheritStage, 0, 13, false, kInheritStage, 0},
      {"source 0 means none", kInheritNone, 2, 13, false, kInheritNone, 2},
      {"common entry 2 of 3", kInheritCommon, 2, 13, true, kInheritCommon, 2},
      {"stage entry 3 of 4", kInheritStage, 3, 13, true, kInheritStage, 3},
      {"common entry 3 of 3", kInheritCommon, 3, 13, false, kInheritNone, 3},
      {"source -1 names no palette", -1, 2, 13, false, -1, 2},
      {"15 flags select 13 groups", kInheritCommon, 1, 15, true, kInheritCommon, 1},
  };
  cItemDef own;
  ASSERT_FALSE(ReadRecord(own, FileOf(556, ItemRecord(OwnValues()))));
  for (const InheritCase& c : cases) {
    SCOPED_TRACE(c.name);
    ItemValues v = OwnValues();
    v.inheritSource = c.source;
    v.inheritIndex = c.index;
    v.flags.assign(c.flagCount, 1);
    cItemDef item;
    ASSERT_FALSE(ReadRecord(item, FileOf(556, ItemRecord(v))));
    const cItemDef& from =
        c.inherits ? (c.source == kInheritCommon ? m_CommonItems.At(c.index) : m_StageItems.At(c.index)) : own;
    for (const Member& m : Members()) EXPECT_EQ(m.value(item), m.value(m.group >= 0 ? from : own)) << m.name;
    EXPECT_EQ(item.m_InheritSource, c.sourceAfter);
    EXPECT_EQ(item.m_InheritIndex, c.indexAfter);
    EXPECT_EQ(item.m_InheritFlags.size(), c.flagCount);
  }
}

TEST_F(ItemDefTest, InheritedCommandsAreTheItemsOwn) {
  cItemDef& entry = m_StageItems.At(3);
  entry.m_Commands[1].m_CommandSet = kFlowCommandSet;
  entry.m_Commands[1].m_CommandNumber = kFlowChange;
  NewEdShot(entry.m_Commands[2].m_Shot);
  ItemValues v = OwnValues();
  v.inheritSource = kInheritStage;
  v.inheritIndex = 3;
  v.flags[12] = 1;
  cItemDef item;
  ASSERT_FALSE(ReadRecord(item, FileOf(556, ItemRecord(v))));
  ASSERT_EQ(item.m_Commands.size(), 3u);
  ASSERT_TRUE(item.m_Commands[2].m_Shot);
  EXPECT_NE(item.m_Commands[2].m_Shot.get(), entry.m_Commands[2].m_Shot.get());
  EXPECT_EQ(entry.m_Commands[2].m_Shot.use_count(), 1);
  // The inherited commands are normalised as the item's own: "フローの変更" keeps two parameters.
  EXPECT_EQ(item.m_Commands[1].m_Params.size(), 2u);
  EXPECT_TRUE(entry.m_Commands[1].m_Params.empty());
}

struct NormalizeCase {
  const char* name;
  std::function<void(cItemDef&)> set;
  std::function<long long(const cItemDef&)> get;
  long long expected;
};

TEST_F(ItemDefTest, WritingNormalisesFirst) {
  auto sound = [](std::int16_t s) { return [s](cItemDef& i) { i.m_Sound = s; }; };
  auto getSound = [](const cItemDef& i) -> long long { return i.m_Sound; };
  auto size = [](std::uint8_t s) { return [s](cItemDef& i) { i.m_Size = s; }; };
  auto getSize = [](const cItemDef& i) -> long long { return i.m_Size; };
  auto inherit = [](std::int8_t source, std::int16_t index) {
    return [=](cItemDef& i) {
      i.m_InheritSource = source;
      i.m_InheritIndex = index;
    };
  };
  auto inheritRef = [](const cItemDef& i) -> long long { return i.m_InheritSource * 1000 + i.m_InheritIndex; };
  const NormalizeCase cases[] = {
      {"sound 9 of 10", sound(9), getSound, 9},
      {"sound 10 of 10", sound(10), getSound, 0},
      {"sound -1", sound(-1), getSound, 0},
      {"size 0", size(0), getSize, 1},
      {"size 3", size(3), getSize, 3},
      {"stage entry 3 of 4", inherit(kInheritStage, 3), inheritRef, 2003},
      {"stage entry 4 of 4", inherit(kInheritStage, 4), inheritRef, 0},
      {"common entry -1", inherit(kInheritCommon, -1), inheritRef, 0},
      {"source 3 is left alone", inherit(3, 99), inheritRef, 3099},
      {"a command's parameters take its row's length",
       [](cItemDef& i) {
         cFlowCommand& c = i.m_Commands.emplace_back();
         c.m_CommandSet = kFlowCommandSet;
         c.m_CommandNumber = kFlowChange;
         c.m_Params = {1, 2, 3, 4, 5};
       },
       [](const cItemDef& i) -> long long { return static_cast<long long>(i.m_Commands.at(0).m_Params.size()); }, 2},
  };
  for (const NormalizeCase& c : cases) {
    SCOPED_TRACE(c.name);
    cItemDef item;
    c.set(item);
    const std::vector<std::uint8_t> bytes = BodyOf(item);
    EXPECT_EQ(c.get(item), c.expected);
    cItemDef again;
    ASSERT_FALSE(ReadRecord(again, FileOf(556, bytes)));
    EXPECT_EQ(c.get(again), c.expected);
  }
}

TEST_F(ItemDefTest, PickUpsAreCheckedOnceThePalettesAreRead) {
  cItemDef item;
  cFlowCommand& get = item.m_Commands.emplace_back();
  get.m_CommandSet = kFlowCommandSet;
  get.m_CommandNumber = kFlowGetItem;
  get.m_Params = {0, 3};  // common item 3 of 3
  cItemDef read;
  ASSERT_FALSE(ReadRecord(read, FileOf(556, BodyOf(item))));
  EXPECT_EQ(read.m_Commands.at(0).m_Params.at(1), 3);
  read.NormalizeSummons(PaletteSizes());
  EXPECT_EQ(read.m_Commands.at(0).m_Params.at(1), 1);
  read.m_Commands.at(0).m_Params.at(0) = 1;  // stage item 3 of 4
  read.m_Commands.at(0).m_Params.at(1) = 3;
  read.NormalizeSummons(PaletteSizes());
  EXPECT_EQ(read.m_Commands.at(0).m_Params.at(1), 3);
}

struct EntryCase {
  std::int8_t source;
  std::int16_t index;
  const char* name;  // of the entry found; null for none
};

TEST_F(ItemDefTest, PaletteEntriesAreFoundOnlyWhereTheyExist) {
  const EntryCase cases[] = {
      {1, 0, "entry0"}, {1, 2, "entry2"}, {2, 3, "entry13"}, {1, 3, nullptr},  {2, 4, nullptr},
      {2, -1, nullptr}, {0, 1, nullptr},  {3, 1, nullptr},   {-1, 1, nullptr},
  };
  for (const EntryCase& c : cases) {
    SCOPED_TRACE(testing::Message() << "source " << int(c.source) << " index " << c.index);
    const cItemDef* entry = GetItemPaletteEntry(c.source, c.index);
    if (!c.name) {
      EXPECT_EQ(entry, nullptr);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->m_Name, c.name);
  }
  // A palette that is not there has no entries.
  LoadContext().stagePalette.items = nullptr;
  EXPECT_EQ(GetItemPaletteEntry(2, 0), nullptr);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(ItemDefTest, WriteReadWriteIsByteIdentical) {
  ItemValues v = OwnValues();
  v.name = SJ("ソ\\アイテム");
  v.inheritSource = kInheritCommon;
  v.inheritIndex = 2;
  v.flags.assign(15, 0);
  v.flags[14] = 1;  // selects no group
  v.conditionMode = 1;
  v.keepOnceMet = 1;
  v.word94 = -32768;
  v.word96 = 32767;
  v.chipSource = kChipShot;
  v.chipFrame = -2;
  v.byte104 = 0;
  v.hidden = 1;
  v.markMode = 1;
  v.showMessage = 0;
  v.obtainability = kItemNotTakable;
  v.size = 10;
  v.conditions.push_back(ConditionBody(kConditionDistance, 12));
  v.commands.push_back(CommandBody({.set = kFlowCommandSet, .number = kFlowGetItem, .params = {1, 2}}));
  const cByteBuilder record = ItemRecord(v);
  cItemDef item;
  ASSERT_FALSE(ReadRecord(item, FileOf(556, record)));
  const std::vector<std::uint8_t> first = BodyOf(item);
  EXPECT_EQ(HexBytes(first), HexBytes(record.Data()));
  cItemDef again;
  ASSERT_FALSE(ReadRecord(again, FileOf(556, first)));
  EXPECT_EQ(HexBytes(BodyOf(again)), HexBytes(first));
}

TEST_F(ItemDefTest, DamagedFilesAreReportedAndNeverOverrun) {
  ExpectEveryCutDamaged<cItemDef>(FileOf(556, ItemRecord(OwnValues())));
  ItemValues old = OwnValues();
  old.chipSource = kChipShot;
  ExpectEveryCutDamaged<cItemDef>(FileOf(218, ItemRecord(old)));

  // Counts far beyond the file: flags (0), conditions (1), commands (2), each cut right after.
  ItemValues head = OwnValues();
  head.flags.clear();
  head.conditions.clear();
  head.commands.clear();
  const std::uint32_t counts[] = {0xFFFFFFFFu, 0x40000000u, 0x7FFFFFFFu};
  for (std::size_t list = 0; list < 3; ++list) {
    SCOPED_TRACE(testing::Message() << "list " << list);
    std::vector<std::uint8_t> bytes = ItemRecord(head).Data();
    bytes.resize(bytes.size() - 4 * (3 - list));
    cItemDef item;
    item.m_Commands.resize(2);
    EXPECT_TRUE(ReadRecord(item, FileOf(556, cByteBuilder().Bytes(bytes).U32(counts[list]).Bytes({1, 2, 3}))));
    EXPECT_EQ(item.m_InheritFlags.size(), list == 0 ? 13u : 0u);
    EXPECT_EQ(item.m_Commands.size(), 2u);
  }
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(ItemDefTest, VocabularyRowsAreTheStoredValues) {
  EXPECT_EQ(ObtainabilityLabels()[kItemOnce], SJ("1回だけ取れる"));
  EXPECT_EQ(ObtainabilityLabels()[kItemAnyTimes], SJ("何回でも取れる"));
  EXPECT_EQ(ObtainabilityLabels()[kItemNotTakable], SJ("取れない"));
  EXPECT_EQ(ObtainabilityLabels().Size(), 4);
}

}  // namespace
