// The database as start-up loads it: the ten files in order, the first missing or damaged one
// named in a box, byte-identical round trips of every table, the mends of tables that later code
// could not use, and damaged files that never crash anything.
#include <filesystem>
#include <functional>

#include "project/database_derived.h"
#include "project/project_paths.h"
#include "tests/project/database_fixture.h"

namespace {

// The ten file tables in loading order: their path row and their image in a database.
struct TableRow {
  int pathRow;
  std::function<std::vector<std::uint8_t>(cDatabase&)> image;
  std::function<bool(cDatabase&, const cByteBuilder&)> readOver;  // true when damaged
};

template <class T>
TableRow Row(int pathRow, CheckedVector<T> cDatabase::*table) {
  return {pathRow, [table](cDatabase& db) { return TableImage(db.*table); },
          [table](cDatabase& db, const cByteBuilder& file) {
            (db.*table).clear();
            return ReadTableImage(db.*table, file);
          }};
}

const std::vector<TableRow>& Tables() {
  static const std::vector<TableRow> rows = {
      Row(kPathAnimeSet, &cDatabase::m_AnimeSets),
      Row(kPathAnime, &cDatabase::m_Animes),
      Row(kPathCharaBitmaps, &cDatabase::m_CharaBitmaps),
      Row(kPathSwordType, &cDatabase::m_SwordTypes),
      Row(kPathEffect, &cDatabase::m_Effects),
      Row(kPathCharaEffect, &cDatabase::m_CharaEffects),
      Row(kPathScrEffect, &cDatabase::m_ScrEffects),
      Row(kPathPicture, &cDatabase::m_Pictures),
      Row(kPathSound, &cDatabase::m_Sounds),
      Row(kPathBgm, &cDatabase::m_Bgms),
  };
  return rows;
}

std::string HostPath(int pathRow) {
  std::string path = ProjectPathTable[static_cast<std::size_t>(pathRow)];
  for (char& c : path)
    if (c == '\\') c = '/';
  return path;
}

class DatabaseLoadTest : public DatabaseTest {
 protected:
  void SetUp() override {
    DatabaseTest::SetUp();
    std::filesystem::create_directories("data/database");
    FillSampleDatabase(m_Sample);
  }

  // The sample's ten files in data\database\.
  void SaveSample() { ASSERT_EQ(m_Sample.SaveDatabase(), 1); }

  // Derives everything start-up derives from a loaded database.
  static void Derive(cDatabase& db) {
    std::vector<AnimeFrameList> animes, effects;
    std::vector<cCharaEffectPlayer> chara, charaReversed;
    std::vector<cScrEffectPlayer> screen, screenReversed;
    DeriveDatabaseTables(db, animes, effects, chara, charaReversed, screen, screenReversed);
  }

  cDatabase m_Sample;
};

TEST_F(DatabaseLoadTest, DefaultTables) {
  cDatabase db;
  const DatabaseSizes sizes = DatabaseSizesOf(db);
  EXPECT_EQ(sizes.animeSets, 1);
  EXPECT_EQ(sizes.animes, 2);
  EXPECT_EQ(sizes.charaBitmaps, 2);
  EXPECT_EQ(sizes.swordTypes, 1);
  EXPECT_EQ(sizes.effects, 2);
  EXPECT_EQ(sizes.charaEffects, 2);
  EXPECT_EQ(sizes.scrEffects, 2);
  EXPECT_EQ(sizes.pictures, 2);
  EXPECT_EQ(sizes.sounds, 2);
  EXPECT_EQ(sizes.musics, 2);
  EXPECT_TRUE(db.m_CharaEffectsReversed.empty());
  EXPECT_TRUE(db.m_ScrEffectsReversed.empty());
  EXPECT_EQ(db.m_Animes.At(0).m_Name, SJ("なし"));
  EXPECT_EQ(db.m_Animes.At(1).m_Name, SJ("アクションA"));
  EXPECT_EQ(db.m_AnimeSets.At(0).m_Entries.At(1).m_Name, SJ("立ち移動"));
  EXPECT_EQ(db.m_SwordTypes.At(0).m_Parts.At(0).m_Values[9], 1);
  EXPECT_EQ(db.m_SwordTypes.At(0).m_Parts.At(0).m_Values[2], 1);
  EXPECT_EQ(db.m_CharaEffects.At(0).m_Kind, 1);
  EXPECT_EQ(db.m_CharaBitmaps.At(1).m_CellScale, 2);
  EXPECT_EQ(db.m_Effects.At(1).m_CellWidth, 32);
  EXPECT_TRUE(db.m_Effects.At(1).m_Frames.empty());
}

TEST_F(DatabaseLoadTest, EveryTableRoundTripsByteForByte) {
  for (cDatabase* source : {&m_Sample, &g_Database}) {
    for (std::size_t i = 0; i < Tables().size(); ++i) {
      SCOPED_TRACE(ProjectPathTable[static_cast<std::size_t>(Tables()[i].pathRow)]);
      const std::vector<std::uint8_t> first = Tables()[i].image(*source);
      cDatabase copy;
      cByteBuilder file;
      file.Bytes(first);
      ASSERT_FALSE(Tables()[i].readOver(copy, file));
      EXPECT_EQ(HexBytes(Tables()[i].image(copy)), HexBytes(first));
    }
  }
}

TEST_F(DatabaseLoadTest, LoadsAllTenFilesAndSetsEntryZeroToNone) {
  SaveSample();
  cDatabase db;
  ASSERT_EQ(db.LoadDatabase(), 1);
  EXPECT_TRUE(m_Boxes.empty());
  EXPECT_EQ(db.m_CharaEffects.At(0).m_Kind, 0);
  EXPECT_EQ(db.m_ScrEffects.At(0).m_Kind, 0);
  EXPECT_EQ(db.m_CharaEffects.At(1).m_Kind, 7);
  // The rest is the sample as it was written.
  m_Sample.ResetNoneEffects();
  for (const TableRow& table : Tables()) EXPECT_EQ(table.image(db), table.image(m_Sample)) << table.pathRow;
  const DatabaseSizes sizes = DatabaseSizesOf(db);
  EXPECT_EQ(sizes.animeSets, 2);
  EXPECT_EQ(sizes.scrEffects, 4);
  EXPECT_EQ(sizes.musics, 4);
  EXPECT_EQ(ReportText(), "");
}

TEST_F(DatabaseLoadTest, FirstMissingOrDamagedFileIsNamedAndTheTablesBeforeItStayLoaded) {
  const cDatabase defaults;
  for (bool damage : {false, true}) {
    for (std::size_t k = 0; k < Tables().size(); ++k) {
      const std::string path = ProjectPathTable[static_cast<std::size_t>(Tables()[k].pathRow)];
      SCOPED_TRACE(::testing::Message() << path << (damage ? " damaged" : " missing"));
      SaveSample();
      if (damage) {
        // The file ends one byte early.
        const std::string bytes = ReadHostFile(HostPath(Tables()[k].pathRow));
        WriteHostFile(HostPath(Tables()[k].pathRow), bytes.substr(0, bytes.size() - 1));
      } else {
        std::filesystem::remove(HostPath(Tables()[k].pathRow));
      }
      m_Boxes.clear();
      ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
      cDatabase db;
      EXPECT_EQ(db.LoadDatabase(), 0);
      EXPECT_EQ(m_Boxes, std::vector<std::string>{path + SJ(" のロードに失敗！")});
      EXPECT_EQ(ReportText(), damage ? path + " が破損しています！\n" : "");
      cDatabase fresh;
      for (std::size_t i = 0; i < Tables().size(); ++i)
        EXPECT_EQ(Tables()[i].image(db), Tables()[i].image(i < k ? m_Sample : fresh)) << "table " << i;
      // Entry 0 is reset only after a whole load.
      EXPECT_EQ(db.m_CharaEffects.At(0).m_Kind, k > 5 ? 6 : 1);
    }
  }
}

TEST_F(DatabaseLoadTest, TheFourthFileMissingNamesSwordType) {
  SaveSample();
  std::filesystem::remove("data/database/SwordType.dat");
  cDatabase db;
  EXPECT_EQ(db.LoadDatabase(), 0);
  EXPECT_EQ(m_Boxes, std::vector<std::string>{SJ("data\\database\\SwordType.dat のロードに失敗！")});
  EXPECT_EQ(db.m_AnimeSets.Size(), 2);
  EXPECT_EQ(db.m_Animes.Size(), 3);
  EXPECT_EQ(db.m_CharaBitmaps.Size(), 3);
  EXPECT_EQ(db.m_SwordTypes.Size(), 1);
  EXPECT_EQ(db.m_Bgms.Size(), 2);
}

TEST_F(DatabaseLoadTest, EmptyEffectTablesGetOneEntryForNone) {
  m_Sample.m_CharaEffects.clear();
  m_Sample.m_ScrEffects.clear();
  SaveSample();
  cDatabase db;
  ASSERT_EQ(db.LoadDatabase(), 1);
  ASSERT_EQ(db.m_CharaEffects.Size(), 1);
  ASSERT_EQ(db.m_ScrEffects.Size(), 1);
  EXPECT_EQ(db.m_CharaEffects.At(0).m_Kind, 0);
  EXPECT_EQ(db.m_ScrEffects.At(0).m_Kind, 0);
  EXPECT_EQ(ReportText(),
            "data\\database\\CharaEffect.dat : エントリが1つもないので既定のエントリを1つ加えました\n"
            "data\\database\\ScrEffect.dat : エントリが1つもないので既定のエントリを1つ加えました\n");
  Derive(db);
  EXPECT_EQ(TakeMainWindowMessages(WM_CLOSE), 0);
}

TEST_F(DatabaseLoadTest, CellSizesThatWouldDivideByZeroAreMended) {
  struct BitmapCase {
    std::int32_t largeCells;
    std::int32_t scale;
    std::int32_t mended;
  };
  const BitmapCase bitmaps[] = {{1, 0, 1}, {1, -3, 1}, {1, 17, 16}, {1, 16, 16}, {1, 1, 1}, {0, 0, 0}, {0, -5, -5}};
  m_Sample.m_CharaBitmaps.assign(std::size(bitmaps), cBmpCharaExcDef());
  for (std::size_t i = 0; i < std::size(bitmaps); ++i) {
    m_Sample.m_CharaBitmaps[i].m_LargeCells = bitmaps[i].largeCells;
    m_Sample.m_CharaBitmaps[i].m_CellScale = bitmaps[i].scale;
  }
  m_Sample.m_Effects.At(1).m_CellWidth = 0;
  m_Sample.m_Effects.At(2).m_CellHeight = -4;
  SaveSample();
  cDatabase db;
  ASSERT_EQ(db.LoadDatabase(), 1);
  for (std::size_t i = 0; i < std::size(bitmaps); ++i)
    EXPECT_EQ(db.m_CharaBitmaps[i].m_CellScale, bitmaps[i].mended) << i;
  EXPECT_EQ(db.m_Effects.At(1).m_CellWidth, 1);
  EXPECT_EQ(db.m_Effects.At(1).m_CellHeight, 17);
  EXPECT_EQ(db.m_Effects.At(2).m_CellWidth, 48);
  EXPECT_EQ(db.m_Effects.At(2).m_CellHeight, 1);
  EXPECT_EQ(ReportText(),
            "data\\database\\Bmp_CharaExc.dat : 専用bmp 0 のセル倍率 0 を 1 にしました\n"
            "data\\database\\Bmp_CharaExc.dat : 専用bmp 1 のセル倍率 -3 を 1 にしました\n"
            "data\\database\\Bmp_CharaExc.dat : 専用bmp 2 のセル倍率 17 を 16 にしました\n"
            "data\\database\\Effect.dat : エフェクト 1 のセルの大きさ 0 x 17 を 1 x 17 にしました\n"
            "data\\database\\Effect.dat : エフェクト 2 のセルの大きさ 48 x -4 を 48 x 1 にしました\n");
}

TEST_F(DatabaseLoadTest, HugeCountsAreDamageNotAllocations) {
  struct CountCase {
    const char* name;
    int pathRow;
    cByteBuilder file;
  };
  const CountCase cases[] = {
      {"table count", kPathPicture, cByteBuilder().U32(556).U32(0xFFFFFFFF)},
      {"table count just past the bytes", kPathPicture, cByteBuilder().U32(556).U32(2).Bytes({0, 0, 0, 0, 0, 0, 0, 0})},
      {"frame count", kPathAnime,
       cByteBuilder().U32(556).U32(1).U32(3).I16(0).U8(1).I16(0).U32(1).Str("a").U32(0x40000000)},
      {"entry count", kPathAnimeSet,
       cByteBuilder().U32(556).U32(1).U32(3).I32(4).I32(8).I32(0).U32(1).Str("s").U32(0x7FFFFFFF)},
      {"part count", kPathSwordType,
       cByteBuilder().U32(556).U32(1).U32(1).I32(0).U32(3).Str("").Str("").Str("").U32(0x10000000)},
      {"effect frame count", kPathEffect,
       cByteBuilder().U32(556).U32(1).U32(4).I32(0).I32(32).I32(32).I32(0).U32(2).Str("").Str("").U32(0xFFFFFFF0)},
  };
  for (const CountCase& c : cases) {
    SCOPED_TRACE(c.name);
    SaveSample();
    WriteHostFile(HostPath(c.pathRow), c.file.Text());
    m_Boxes.clear();
    cDatabase db;
    EXPECT_EQ(db.LoadDatabase(), 0);
    EXPECT_EQ(m_Boxes, std::vector<std::string>{ProjectPathTable[static_cast<std::size_t>(c.pathRow)] +
                                                SJ(" のロードに失敗！")});
  }
}

// Every cut of every table file is damaged; every word of it made all ones or all zeros is read
// and derived from without a crash (the sanitizer build watches the memory).
TEST_F(DatabaseLoadTest, DamagedTablesNeverCrash) {
  for (const TableRow& table : Tables()) {
    SCOPED_TRACE(ProjectPathTable[static_cast<std::size_t>(table.pathRow)]);
    const std::vector<std::uint8_t> image = table.image(m_Sample);
    for (std::size_t cut = 0; cut < image.size(); ++cut) {
      cDatabase db;
      cByteBuilder file;
      file.Bytes(std::vector<std::uint8_t>(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(cut)));
      EXPECT_TRUE(table.readOver(db, file)) << "cut at " << cut;
    }
  }
  SaveSample();
  for (const TableRow& table : Tables()) {
    SCOPED_TRACE(ProjectPathTable[static_cast<std::size_t>(table.pathRow)]);
    const std::vector<std::uint8_t> image = table.image(m_Sample);
    for (std::size_t at = 4; at + 4 <= image.size(); at += 4) {
      for (std::uint8_t fill : {0x00, 0xFF}) {
        std::string bytes(image.begin(), image.end());
        for (std::size_t b = at; b < at + 4; ++b) bytes[b] = static_cast<char>(fill);
        WriteHostFile(HostPath(table.pathRow), bytes);
        cDatabase db;
        if (db.LoadDatabase() == 1) Derive(db);
      }
    }
    WriteHostFile(HostPath(table.pathRow), std::string(image.begin(), image.end()));
  }
  TakeMainWindowMessages(WM_CLOSE);
}

}  // namespace
