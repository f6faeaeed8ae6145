// The order of a ranking table: where a value goes, and what inserting it keeps.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/ranking.h"

namespace rankingtest {
namespace {

// A table of the given order whose first places hold values (names "p0", "p1", ...), the rest unused.
cRankTable TableOf(std::int32_t descending, const std::vector<std::int32_t>& values, int places = kRankPlaces) {
  cRankTable table;
  table.m_Descending = descending;
  table.m_Entries.resize(static_cast<std::size_t>(places));
  for (std::size_t i = 0; i < values.size(); ++i) {
    table.m_Entries[i].m_Used = 1;
    table.m_Entries[i].m_Name = "p" + std::to_string(i);
    table.m_Entries[i].m_Value = values[i];
  }
  return table;
}

std::vector<std::int32_t> UsedValues(const cRankTable& table) {
  std::vector<std::int32_t> values;
  for (const cRankEntry& entry : table.m_Entries)
    if (entry.m_Used) values.push_back(entry.m_Value);
  return values;
}

TEST(RankTableTest, FindRankTakesTheFirstUnusedPlaceOrTheFirstValueItStrictlyBeats) {
  struct Case {
    std::int32_t descending;
    std::vector<std::int32_t> held;
    std::int32_t value;
    std::int32_t place;
  };
  const Case cases[] = {
      {1, {500, 300, 300}, 300, 3},  // equal values rank below the earlier ones
      {1, {500, 300, 300}, 301, 1},
      {1, {500, 300, 300}, 500, 1},
      {1, {500, 300, 300}, 501, 0},
      {0, {4500, 5200}, 4500, 1},    // clear times: the lower value first
      {0, {4500, 5200}, 4499, 0},
      {0, {4500, 5200}, 9999, 2},
      {1, {}, -7, 0},                // an empty table takes anything at the top
      {1, {0, -5}, -4, 1},           // signed comparisons
      {0, {-5, 0}, -6, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "descending " << c.descending << " value " << c.value);
    EXPECT_EQ(TableOf(c.descending, c.held).FindRank(c.value), c.place);
  }
}

TEST(RankTableTest, AFullTableKeepsItsLengthAndDropsOnlyWhatFallsOffTheEnd) {
  std::vector<std::int32_t> full;
  for (int i = 0; i < kRankPlaces; ++i) full.push_back(1000 - 10 * i);  // 1000 .. 810
  cRankTable table = TableOf(1, full);

  // Beating none (or only equalling the last) leaves the table as it was.
  EXPECT_EQ(table.FindRank(810), -1);
  table.Insert("zzz", 810);
  EXPECT_EQ(UsedValues(table), full);
  EXPECT_EQ(table.m_Entries.Size(), kRankPlaces);

  // Beating the last replaces it.
  table.Insert("new", 811);
  ASSERT_EQ(table.m_Entries.Size(), kRankPlaces);
  EXPECT_EQ(table.m_Entries[19].m_Value, 811);
  EXPECT_EQ(table.m_Entries[19].m_Name, "new");
  EXPECT_EQ(table.m_Entries[18].m_Value, 820);

  // In the middle: the rest move down one place, the last falls off.
  table.Insert("mid", 955);
  EXPECT_EQ(table.m_Entries[5].m_Name, "mid");
  EXPECT_EQ(table.m_Entries[5].m_Used, 1);
  EXPECT_EQ(table.m_Entries[6].m_Value, 950);
  EXPECT_EQ(table.m_Entries[6].m_Name, "p5");
  EXPECT_EQ(table.m_Entries[19].m_Value, 820);
}

TEST(RankTableTest, InsertIntoAPartlyUsedTableFillsThePlaceBeforeTheUnusedOnes) {
  cRankTable table = TableOf(1, {500, 300, 300});
  table.Insert("abc", 300);
  EXPECT_EQ(UsedValues(table), (std::vector<std::int32_t>{500, 300, 300, 300}));
  EXPECT_EQ(table.m_Entries[3].m_Name, "abc");
  EXPECT_EQ(table.m_Entries.Size(), kRankPlaces);
}

TEST(RankTableTest, TablesOfOtherLengthsKeepTheirLength) {
  // A file may hold 25 places: inserting keeps 25. An empty table stays empty.
  cRankTable long25 = TableOf(1, {9, 8, 7}, 25);
  long25.Insert("x", 10);
  EXPECT_EQ(long25.m_Entries.Size(), 25);
  EXPECT_EQ(UsedValues(long25), (std::vector<std::int32_t>{10, 9, 8, 7}));

  cRankTable empty = TableOf(1, {}, 0);
  EXPECT_EQ(empty.FindRank(5), -1);
  empty.Insert("x", 5);
  EXPECT_TRUE(empty.m_Entries.empty());
}

TEST(RankTableTest, ResetMakesTwentyPlacesKeepingThoseThereAndTheOrderAscending) {
  for (int places : {3, 20, 25}) {
    SCOPED_TRACE(places);
    cRankTable table = TableOf(1, {7, 6, 5}, places);
    table.Reset();
    EXPECT_EQ(table.m_Descending, 0);
    ASSERT_EQ(table.m_Entries.Size(), kRankPlaces);
    EXPECT_EQ(UsedValues(table), (std::vector<std::int32_t>{7, 6, 5}));
    EXPECT_EQ(table.m_Entries[19].m_Used, 0);
  }
}

TEST(RankFileTest, DefaultAndResetRankingsHoldFiveEmptyTablesInTheirOrders) {
  cRankFile file;
  auto check = [](const cRankFile& f) {
    ASSERT_EQ(f.m_Tables.Size(), kRankTableCount);
    const std::int32_t orders[kRankTableCount] = {1, 1, 0, 1, 1};
    for (int t = 0; t < kRankTableCount; ++t) {
      EXPECT_EQ(f.m_Tables[t].m_Descending, orders[t]) << t;
      ASSERT_EQ(f.m_Tables[t].m_Entries.Size(), kRankPlaces);
      for (const cRankEntry& entry : f.m_Tables[t].m_Entries) EXPECT_EQ(entry.m_Used, 0);
    }
  };
  check(file);
  file.m_Tables.resize(2);
  file.m_Tables[0].Insert("abc", 5);
  file.m_Tables[1].m_Descending = 0;
  file.Reset();
  check(file);
  check(g_Ranking);
}

}  // namespace
}  // namespace rankingtest
