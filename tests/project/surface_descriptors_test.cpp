#include "project/surface_descriptors.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/host/text_codec.h"

namespace {

struct ExpectedRow {
  int row;
  std::string name;
  std::int32_t colourKey, systemMemory, shared, optional, mirrorCellWidth, width, height;
};

void ExpectRow(const ExpectedRow& want) {
  SCOPED_TRACE("row " + std::to_string(want.row));
  const SurfaceDescriptor& got = g_SurfaceDescriptors[want.row];
  EXPECT_EQ(got.name, want.name);
  EXPECT_EQ(got.colourKey, want.colourKey);
  EXPECT_EQ(got.systemMemory, want.systemMemory);
  EXPECT_EQ(got.shared, want.shared);
  EXPECT_EQ(got.optional, want.optional);
  EXPECT_EQ(got.mirrorCellWidth, want.mirrorCellWidth);
  EXPECT_EQ(got.width, want.width);
  EXPECT_EQ(got.height, want.height);
}

TEST(SurfaceDescriptorsTest, RowsAroundEveryGroupBoundary) {
  const ExpectedRow rows[] = {
      {0, "bmp\\plt\\Palette.bmp", 0, 1, 0, 0, 0, 0, 0},
      {1, "bmp\\Debug.bmp", 1, 0, 0, 0, 0, 0, 0},
      {2, "bmp\\Block.bmp", 1, 0, 0, 0, 0, 0, 0},
      {3, "bmp\\Block.bmp", 1, 1, 1, 0, 0, 0, 0},
      {4, "bmp\\Character1.bmp", 1, 0, 0, 0, 0, 0, 0},
      {5, "bmp\\Character1.bmp", 1, 0, 0, 0, 32, 0, 0},
      {6, "bmp\\Character2.bmp", 1, 0, 0, 1, 0, 0, 0},
      {13, "bmp\\Character5.bmp", 1, 0, 0, 1, 32, 0, 0},
      {18, "bmp\\Character8.bmp", 1, 0, 0, 1, 0, 0, 0},
      {19, "bmp\\Character8.bmp", 1, 0, 0, 1, 32, 0, 0},
      {20, "bmp\\Shot.bmp", 1, 0, 0, 0, 0, 0, 0},
      {21, "bmp\\Shot.bmp", 1, 0, 0, 0, 16, 0, 0},
      {22, "bmp\\Character1.bmp", 1, 1, 1, 0, 0, 0, 0},
      {23, "bmp\\Character1.bmp", 1, 1, 1, 0, 32, 0, 0},
      {37, "bmp\\Character8.bmp", 1, 1, 1, 1, 32, 0, 0},
      {38, "bmp\\Shot.bmp", 1, 1, 1, 0, 0, 0, 0},
      {39, "bmp\\Shot.bmp", 1, 1, 1, 0, 16, 0, 0},
      {40, "bmp\\Item.bmp", 1, 0, 0, 0, 0, 0, 0},
      {41, "bmp\\Item.bmp", 1, 1, 1, 0, 0, 0, 0},
      {42, "bmp\\Item_Mini.bmp", 1, 0, 0, 0, 0, 0, 0},
      {43, "bmp\\Mark.bmp", 1, 0, 0, 0, 0, 0, 0},
      {44, "bmp\\Mark.bmp", 1, 1, 1, 0, 0, 0, 0},
      {45, "bmp\\Window.bmp", 0, 0, 0, 0, 0, 0, 0},
      {46, "bmp\\StatusWindow.bmp", 0, 0, 0, 0, 0, 0, 0},
      {47, "bmp\\Title.bmp", 0, 0, 0, 0, 0, 0, 0},
      {48, "bmp\\GameMode.bmp", 1, 0, 0, 1, 0, 0, 0},
      {49, "bmp\\Accessory.bmp", 1, 0, 0, 0, 0, 0, 0},
      {50, "bmp\\Symbol.bmp", 1, 0, 0, 0, 0, 0, 0},
      {51, "bmp\\Word.bmp", 1, 0, 0, 0, 0, 0, 0},
      {52, "bmp\\WorldMapChip.bmp", 1, 0, 0, 0, 0, 0, 0},
      {53, "bmp\\WorldEvent.bmp", 1, 1, 0, 0, 0, 0, 0},
      {54, "bmp\\WorldBack.bmp", 0, 1, 0, 1, 0, 0, 0},
      {55, SJ("背景その1.bmp"), 0, 0, 0, 1, 0, 0, 0},
      {56, SJ("背景その2.bmp"), 1, 0, 0, 1, 0, 0, 0},
      {62, SJ("背景その8.bmp"), 1, 0, 0, 1, 0, 0, 0},
      {63, "E", 1, 1, 0, 0, 0, 256, 960},
      {64, "E", 1, 1, 0, 0, 0, 256, 960},
      {65, "E", 1, 1, 0, 0, 0, 640, 480},
      {66, "E", 0, 1, 0, 0, 0, 640, 480},
      {67, "E", 1, 0, 0, 0, 0, 640, 480},
      {68, "E", 1, 1, 1, 0, 0, 640, 480},
  };
  for (const ExpectedRow& row : rows) ExpectRow(row);
}

TEST(SurfaceDescriptorsTest, CharacterSheetsAndTheirCopiesFollowTheSheetNumber) {
  for (int k = 1; k <= 8; ++k) {
    const std::string name = "bmp\\Character" + std::to_string(k) + ".bmp";
    const std::int32_t optional = k == 1 ? 0 : 1;
    ExpectRow({2 * k + 2, name, 1, 0, 0, optional, 0, 0, 0});
    ExpectRow({2 * k + 3, name, 1, 0, 0, optional, 32, 0, 0});
    ExpectRow({2 * k + 20, name, 1, 1, 1, optional, 0, 0, 0});
    ExpectRow({2 * k + 21, name, 1, 1, 1, optional, 32, 0, 0});
  }
}

TEST(SurfaceDescriptorsTest, OnlyTheListedRowsAreOptionalAndNoRowUsesTheUnusedValues) {
  std::set<int> optional;
  for (int row = 6; row <= 19; ++row) optional.insert(row);
  for (int row = 24; row <= 37; ++row) optional.insert(row);
  for (int row : {48, 54, 55, 56, 57, 58, 59, 60, 61, 62}) optional.insert(row);
  for (int row = 0; row < kSurfaceTableSize; ++row) {
    SCOPED_TRACE("row " + std::to_string(row));
    const SurfaceDescriptor& d = g_SurfaceDescriptors[row];
    EXPECT_EQ(d.optional, optional.count(row) ? 1 : 0);
    EXPECT_EQ(d.softwareTexture, 0);
    EXPECT_EQ(d.paletteMap, 0);
    EXPECT_EQ(d.mirrorCellHeight, 0);
    // Only the empty surfaces carry a size.
    EXPECT_EQ(d.width != 0, d.name == "E");
    EXPECT_FALSE(d.name.empty());
  }
}

TEST(SurfaceDescriptorsTest, LinkTableNamesEverySharedRowAndASourceWithTheSameImage) {
  std::set<int> linked;
  for (const SurfaceLink& link : g_SurfaceLinks) {
    SCOPED_TRACE("row " + std::to_string(link.row));
    EXPECT_TRUE(linked.insert(link.row).second);
    ASSERT_GE(link.source, 0);
    ASSERT_LT(link.row, kSurfaceTableSize);
    const SurfaceDescriptor& row = g_SurfaceDescriptors[link.row];
    const SurfaceDescriptor& source = g_SurfaceDescriptors[link.source];
    EXPECT_EQ(row.shared, 1);
    EXPECT_EQ(source.shared, 0);
    EXPECT_EQ(row.name, source.name);
    EXPECT_EQ(row.mirrorCellWidth, source.mirrorCellWidth);
    if (link.row >= 22 && link.row <= 39) {
      EXPECT_EQ(link.source, link.row - 18);
    }
  }
  const std::set<int> expected = {3,  22, 23, 24, 25, 26, 27, 28, 29, 30, 31, 32,
                                  33, 34, 35, 36, 37, 38, 39, 41, 44, 68};
  EXPECT_EQ(linked, expected);
  for (int row = 0; row < kSurfaceTableSize; ++row) EXPECT_EQ(g_SurfaceDescriptors[row].shared, expected.count(row));
}

// Sets every link to a marker, links, and puts the table back as it found it.
class LinkSourceSurfacesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int i = 0; i < kSurfaceTableSize; ++i) {
      m_Saved[i] = g_SurfaceTable[i].shared;
      m_SavedWidths[i] = g_SurfaceTable[i].width;
      g_SurfaceTable[i].shared = &m_Marker;
      g_SurfaceTable[i].width = 1000 + i;
    }
  }
  void TearDown() override {
    for (int i = 0; i < kSurfaceTableSize; ++i) {
      g_SurfaceTable[i].shared = m_Saved[i];
      g_SurfaceTable[i].width = m_SavedWidths[i];
    }
  }

  DDSURFACEDATA m_Marker;
  DDSURFACEDATA* m_Saved[kSurfaceTableSize] = {};
  std::int32_t m_SavedWidths[kSurfaceTableSize] = {};
};

TEST_F(LinkSourceSurfacesTest, LinksTheSharedElementsToTheirSourcesAndTouchesNothingElse) {
  LinkSourceSurfaces();
  const std::pair<int, int> spots[] = {{3, 2}, {22, 4}, {23, 5}, {39, 21}, {41, 40}, {44, 43}, {68, 67}};
  for (const auto& [row, source] : spots) EXPECT_EQ(g_SurfaceTable[row].shared, &g_SurfaceTable[source]) << row;
  int linked = 0;
  for (int i = 0; i < kSurfaceTableSize; ++i) {
    SCOPED_TRACE("element " + std::to_string(i));
    EXPECT_EQ(g_SurfaceTable[i].width, 1000 + i);
    if (g_SurfaceDescriptors[i].shared) {
      ++linked;
      EXPECT_NE(g_SurfaceTable[i].shared, &m_Marker);
    } else {
      EXPECT_EQ(g_SurfaceTable[i].shared, &m_Marker);
    }
  }
  EXPECT_EQ(linked, kSurfaceLinkCount);
  // A second call changes nothing.
  LinkSourceSurfaces();
  EXPECT_EQ(g_SurfaceTable[39].shared, &g_SurfaceTable[21]);
  EXPECT_EQ(g_SurfaceTable[1].shared, &m_Marker);
}

}  // namespace
