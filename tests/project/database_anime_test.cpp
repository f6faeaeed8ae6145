// Animation sets and animations read from files of older versions, and the frame lists derived
// from the animations and effects.
#include "project/database_frames.h"
#include "tests/project/database_fixture.h"

namespace {

using DatabaseAnimeTest = DatabaseTest;

std::vector<std::string> EntryNames(const cAnimeSetDef& set) {
  std::vector<std::string> names;
  for (const cAnimeEntry& entry : set.m_Entries) names.push_back(entry.m_Name);
  return names;
}

TEST_F(DatabaseAnimeTest, OldSetsGetExactlyFourEntriesWithTheFlyingPairNamed) {
  struct SetCase {
    std::uint32_t version;
    int stored;                      // entries the file holds, named e0, e1, ...
    std::vector<std::string> names;  // after reading
  };
  const std::string fly = SJ("飛行");
  const std::string flyMove = SJ("飛行移動");
  const SetCase cases[] = {
      {127, 2, {"e0", "e1", fly, flyMove}},
      {127, 6, {"e0", "e1", fly, flyMove}},
      {127, 0, {"", "", fly, flyMove}},
      {100, 4, {"e0", "e1", fly, flyMove}},
      {128, 2, {"e0", "e1"}},
      {128, 6, {"e0", "e1", "e2", "e3", "e4", "e5"}},
  };
  for (const SetCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << c.version << ", " << c.stored << " entries");
    std::vector<cByteBuilder> entries;
    for (int i = 0; i < c.stored; ++i)
      entries.push_back(EntryBody(c.version, "e" + std::to_string(i), {{i, 2, 0}, {i + 1, 3, 0}}));
    CheckedVector<cAnimeSetDef> table;
    ASSERT_FALSE(
        ReadTableImage(table, cByteBuilder().U32(c.version).U32(1).Append(SetBody(c.version, "set", entries))));
    ASSERT_EQ(table.Size(), 1);
    const cAnimeSetDef& set = table.At(0);
    EXPECT_EQ(EntryNames(set), c.names);
    // Entries the file held keep their frames; entries added are new animations of one default frame.
    for (int i = 0; i < set.m_Entries.Size(); ++i) {
      const cAnimeEntry& entry = set.m_Entries.At(i);
      if (i < c.stored) {
        ASSERT_EQ(entry.m_Frames.Size(), 2);
        EXPECT_EQ(entry.m_Frames.At(1).m_Cell, i + 1);
      } else {
        ASSERT_EQ(entry.m_Frames.Size(), 1);
        EXPECT_EQ(entry.m_Frames.At(0).m_Cell, 0);
        EXPECT_EQ(entry.m_Frames.At(0).m_Time, 1);
        EXPECT_EQ(entry.m_FlagF, 1);
      }
    }
  }
}

TEST_F(DatabaseAnimeTest, FieldsAnOldFileLacksKeepTheirDefaults) {
  // Version 54: an animation without A, F and B; version 118: a set without the flight offset.
  CheckedVector<cAnimeEntry> animes;
  ASSERT_FALSE(ReadTableImage(animes, cByteBuilder().U32(54).U32(1).Append(EntryBody(54, "old", {{5, 2, 1}}))));
  ASSERT_EQ(animes.Size(), 1);
  EXPECT_EQ(animes.At(0).m_Name, "old");
  EXPECT_EQ(animes.At(0).m_ValueA, 0);
  EXPECT_EQ(animes.At(0).m_FlagF, 1);
  EXPECT_EQ(animes.At(0).m_ValueB, 0);
  ASSERT_EQ(animes.At(0).m_Frames.Size(), 1);
  EXPECT_EQ(animes.At(0).m_Frames.At(0).m_LockMark, 1);

  // From 55 on the three are stored and kept.
  ASSERT_FALSE(ReadTableImage(animes, cByteBuilder().U32(55).U32(1).Append(EntryBody(55, "new", {}, -3, 0, 9))));
  EXPECT_EQ(animes.At(0).m_ValueA, -3);
  EXPECT_EQ(animes.At(0).m_FlagF, 0);
  EXPECT_EQ(animes.At(0).m_ValueB, 9);
  EXPECT_TRUE(animes.At(0).m_Frames.empty());

  CheckedVector<cAnimeSetDef> sets;
  ASSERT_FALSE(ReadTableImage(
      sets, cByteBuilder().U32(118).U32(1).Append(SetBody(118, "s", {EntryBody(118, "a", {})}, 1, 2, 99))));
  EXPECT_EQ(sets.At(0).m_InvincibleCellOffset, 1);
  EXPECT_EQ(sets.At(0).m_BlockCellOffset, 2);
  EXPECT_EQ(sets.At(0).m_FlightCellOffset, 0);
  ASSERT_FALSE(ReadTableImage(
      sets, cByteBuilder().U32(119).U32(1).Append(SetBody(119, "s", {EntryBody(119, "a", {})}, 1, 2, 99))));
  EXPECT_EQ(sets.At(0).m_FlightCellOffset, 99);
}

TEST_F(DatabaseAnimeTest, CarriageReturnsLeaveNestedAndOwnTexts) {
  WriteHostFile("data/database/AnimeSet.dat",
                cByteBuilder().U32(556).U32(1).Append(SetBody(556, "set\r\n", {EntryBody(556, "a\r\nb", {})})).Text());
  CheckedVector<cAnimeSetDef> table;
  ASSERT_EQ(LoadAnimeSetTable(table, "data\\database\\AnimeSet.dat"), 1);
  EXPECT_EQ(table.At(0).m_Name, "set\n");
  EXPECT_EQ(table.At(0).m_Entries.At(0).m_Name, "a\nb");
}

TEST_F(DatabaseAnimeTest, ShortSetsOfNewFilesArePaddedToFourWithAReportLine) {
  WriteHostFile("data/database/AnimeSet.dat", cByteBuilder()
                                                  .U32(556)
                                                  .U32(2)
                                                  .Append(SetBody(556, "full",
                                                                  {EntryBody(556, "a", {}), EntryBody(556, "b", {}),
                                                                   EntryBody(556, "c", {}), EntryBody(556, "d", {})}))
                                                  .Append(SetBody(556, "short", {EntryBody(556, "a", {})}))
                                                  .Text());
  CheckedVector<cAnimeSetDef> table;
  ASSERT_EQ(LoadAnimeSetTable(table, "data\\database\\AnimeSet.dat"), 1);
  EXPECT_EQ(EntryNames(table.At(0)), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(EntryNames(table.At(1)), (std::vector<std::string>{"a", "", "", ""}));
  EXPECT_EQ(table.At(1).m_Entries.At(3).m_Frames.Size(), 1);
  EXPECT_EQ(ReportText(),
            "data\\database\\AnimeSet.dat : アニメーションセット 1 のアニメが 1 個しかないので 4 個にしました\n");
}

// The animations of a database as lists of frames {cell, time, lock mark}.
void SetAnimes(cDatabase& db, const std::vector<std::vector<FrameFields>>& animes) {
  db.m_Animes.assign(animes.size(), cAnimeEntry());
  db.m_Effects.assign(animes.size(), cEffectDef());
  for (std::size_t i = 0; i < animes.size(); ++i) {
    db.m_Animes[i].m_Frames.resize(animes[i].size());
    db.m_Effects[i].m_Frames.resize(animes[i].size());
    for (std::size_t j = 0; j < animes[i].size(); ++j) {
      db.m_Animes[i].m_Frames[j].m_Cell = animes[i][j].cell;
      db.m_Animes[i].m_Frames[j].m_Time = animes[i][j].time;
      db.m_Animes[i].m_Frames[j].m_LockMark = animes[i][j].lock;
      db.m_Effects[i].m_Frames[j].m_Cell = animes[i][j].cell;
      db.m_Effects[i].m_Frames[j].m_Time = animes[i][j].time;
    }
  }
}

std::string Show(const AnimeFrameList& list) {
  std::string text;
  for (const AnimeFrame& f : list)
    text += "(" + std::to_string(f.value) + "," + std::to_string(f.duration) + "," + std::to_string(f.locked) + ")";
  return text;
}

TEST_F(DatabaseAnimeTest, FrameListsOfAnimationsAndEffects) {
  cDatabase db;
  SetAnimes(db, {
                    {{3, 2, 0}, {4, 5, 1}},                                        // 0: "なし"
                    {},                                                            // 1: no frames
                    {{10, 1, 0}, {11, 1, 0}, {12, 2, 1}, {13, 1, 0}, {14, 1, 1}},  // 2: lock marks on frames 2 and 4
                    {{7, 0x7FFFFFFF, 0}, {8, -0x7FFFFFFF, 0}},                     // 3: times that overflow once x 6
                });
  std::vector<AnimeFrameList> animes = {AnimeFrameList(3)};  // whatever was there goes
  BuildAnimeFrameLists(animes, db);
  ASSERT_EQ(animes.size(), 4u);
  EXPECT_EQ(Show(animes[0]), "(3,0,1)(4,0,1)(-2,0,1)");
  EXPECT_EQ(Show(animes[1]), "(-4,0,0)");
  EXPECT_EQ(Show(animes[2]), "(10,6,0)(11,6,0)(12,12,1)(13,6,1)(14,6,1)(-4,0,0)");
  EXPECT_EQ(Show(animes[3]), "(7,2147483647,0)(8,-2147483648,0)(-4,0,0)");

  std::vector<AnimeFrameList> effects;
  BuildEffectFrameLists(effects, db);
  ASSERT_EQ(effects.size(), 4u);
  EXPECT_EQ(Show(effects[0]), "(3,0,1)(4,0,1)(-2,0,1)");
  EXPECT_EQ(Show(effects[1]), "(-4,0,0)");
  EXPECT_EQ(Show(effects[2]), "(10,6,0)(11,6,0)(12,12,0)(13,6,0)(14,6,0)(-4,0,0)");
}

TEST_F(DatabaseAnimeTest, FrameListsOfTheDefaultDatabase) {
  std::vector<AnimeFrameList> animes;
  BuildAnimeFrameLists(animes, cDatabase());
  ASSERT_EQ(animes.size(), 2u);
  EXPECT_EQ(Show(animes[0]), "(0,0,1)(-2,0,1)");
  EXPECT_EQ(Show(animes[1]), "(0,6,0)(-4,0,0)");
  std::vector<AnimeFrameList> effects;
  BuildEffectFrameLists(effects, cDatabase());
  EXPECT_EQ(effects.size(), 2u);
  EXPECT_EQ(Show(effects[0]), "(-2,0,1)");
  EXPECT_EQ(Show(effects[1]), "(-4,0,0)");
}

}  // namespace
