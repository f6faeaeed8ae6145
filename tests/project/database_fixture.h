#pragma once
// What the database tests share: a game folder with the report log and the record settings of
// start-up, the boxes shown, old-version bodies built from the layout tables, and a database
// whose every field holds something other than its default.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/database.h"
#include "project/record_table.h"
#include "tests/support/byte_builder.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

class DatabaseTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    SetBoxSink([this](const std::string& text, const std::string&, std::uint32_t) {
      m_Boxes.push_back(text);
      return IDOK;
    });
  }
  void TearDown() override {
    InitRecordSettings();
    GameFolderTest::TearDown();
  }

  // The report log as written (UTF-8).
  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }

  std::vector<std::string> m_Boxes;  // code page 932, as shown
};

// Reads a whole table image over table; true when the file was damaged.
template <class T>
bool ReadTableImage(CheckedVector<T>& table, const cByteBuilder& file) {
  cRecordReader in(file.Data());
  ReadRecordTable(table, in, T(), kMinRecordBytes);
  return in.Damaged();
}

// A table as its file holds it, written at the current version.
template <class T>
std::vector<std::uint8_t> TableImage(CheckedVector<T>& table) {
  cRecordWriter out;
  out.WriteU32(g_CurrentVersion);
  WriteRecordTable(table, out);
  return out.Bytes();
}

// Bodies of the animation records, laid out as a file of version v has them.
struct FrameFields {
  std::int32_t cell;
  std::int32_t time;
  std::int32_t lock;
};

inline cByteBuilder FrameBody(const FrameFields& f) {
  return cByteBuilder().U32(3).I32(f.cell).I32(f.time).I32(f.lock).U32(0);
}

inline cByteBuilder EntryBody(std::uint32_t v, const std::string& name, const std::vector<FrameFields>& frames,
                              std::int16_t a = 0, std::uint8_t flag = 1, std::int16_t b = 0) {
  cByteBuilder body;
  if (v >= 55) {
    body.U32(3).I16(a).U8(flag).I16(b);
  } else {
    body.U32(0);
  }
  body.U32(1).Str(name);
  body.Vector(frames, [](cByteBuilder& out, const FrameFields& f) { out.Append(FrameBody(f)); });
  return body;
}

inline cByteBuilder SetBody(std::uint32_t v, const std::string& name, const std::vector<cByteBuilder>& entries,
                            std::int32_t invincible = 4, std::int32_t block = 8, std::int32_t flight = 0) {
  cByteBuilder body;
  body.U32(v >= 119 ? 3 : 2).I32(invincible).I32(block);
  if (v >= 119) body.I32(flight);
  body.U32(1).Str(name);
  body.Vector(entries, [](cByteBuilder& out, const cByteBuilder& entry) { out.Append(entry); });
  return body;
}

// A character or screen effect body: the kind, the five parameters and the name.
inline cByteBuilder EffectKindBody(std::int32_t kind, const std::vector<std::int32_t>& params,
                                   const std::string& name) {
  cByteBuilder body;
  body.U32(2).I32(kind);
  for (std::int32_t p : params) body.I32(p);
  body.U32(1).Str(name);
  return body;
}

// A database with something other than the default in every field and lists of several lengths.
inline void FillSampleDatabase(cDatabase& db) {
  db.m_AnimeSets.assign(2, cAnimeSetDef());
  for (int i = 0; i < 2; ++i) {
    cAnimeSetDef& set = db.m_AnimeSets.At(i);
    set.m_Name = SJ("セット") + std::to_string(i);
    set.m_InvincibleCellOffset = 40 + i;
    set.m_BlockCellOffset = -80;
    set.m_FlightCellOffset = 120;
    set.m_Entries.resize(static_cast<std::size_t>(4 + i));
    for (int e = 0; e < set.m_Entries.Size(); ++e) {
      cAnimeEntry& entry = set.m_Entries.At(e);
      entry.m_Name = "entry" + std::to_string(e);
      entry.m_Frames.resize(static_cast<std::size_t>(e % 3));
      for (cAnimeEntryFrame& frame : entry.m_Frames) frame.m_Cell = e, frame.m_Time = 3, frame.m_LockMark = 1;
    }
  }
  db.m_Animes.assign(3, cAnimeEntry());
  for (int i = 0; i < 3; ++i) {
    cAnimeEntry& anime = db.m_Animes.At(i);
    anime.m_Name = SJ("アニメ") + std::to_string(i);
    anime.m_ValueA = static_cast<std::int16_t>(-7 * i);
    anime.m_FlagF = static_cast<std::uint8_t>(i);
    anime.m_ValueB = 300;
    anime.m_Frames.resize(static_cast<std::size_t>(i));
    for (int f = 0; f < anime.m_Frames.Size(); ++f) {
      anime.m_Frames.At(f).m_Cell = 10 * i + f;
      anime.m_Frames.At(f).m_Time = f + 2;
      anime.m_Frames.At(f).m_LockMark = f;
    }
  }
  db.m_CharaBitmaps.assign(3, cBmpCharaExcDef());
  for (int i = 0; i < 3; ++i) {
    cBmpCharaExcDef& bitmap = db.m_CharaBitmaps.At(i);
    bitmap.m_Name = "bmp" + std::to_string(i);
    bitmap.m_Number = 100 + i;
    bitmap.m_FileName = SJ("キャラ") + ".bmp";
    bitmap.m_LargeCells = i % 2;
    bitmap.m_CellScale = 3;
  }
  db.m_SwordTypes.assign(2, cSwordTypeDef());
  for (int i = 0; i < 2; ++i) {
    cSwordTypeDef& sword = db.m_SwordTypes.At(i);
    sword.m_Name = "sword" + std::to_string(i);
    sword.m_Number = 7;
    sword.m_LeftFileName = "left.bmp";
    sword.m_RightFileName = "right.bmp";
    sword.m_Parts.resize(static_cast<std::size_t>(i + 2));
    for (int p = 0; p < sword.m_Parts.Size(); ++p)
      for (int v = 0; v < 10; ++v) sword.m_Parts.At(p).m_Values[v] = 11 * v - p;
  }
  db.m_Effects.assign(3, cEffectDef());
  for (int i = 0; i < 3; ++i) {
    cEffectDef& effect = db.m_Effects.At(i);
    effect.m_Name = "effect" + std::to_string(i);
    effect.m_Number = 5;
    effect.m_FileName = "effect.bmp";
    effect.m_CellWidth = 48;
    effect.m_CellHeight = 16 + i;
    effect.m_FollowsScale = 1;
    effect.m_Frames.resize(static_cast<std::size_t>(i * 2));
    for (int f = 0; f < effect.m_Frames.Size(); ++f) effect.m_Frames.At(f).m_Cell = f, effect.m_Frames.At(f).m_Time = 9;
  }
  db.m_CharaEffects.assign(3, cCharaEffectDef());
  db.m_ScrEffects.assign(4, cScrEffectDef());
  for (int i = 0; i < 3; ++i) {
    db.m_CharaEffects.At(i).m_Name = "chara" + std::to_string(i);
    db.m_CharaEffects.At(i).m_Kind = i + 6;
    for (int p = 0; p < 5; ++p) db.m_CharaEffects.At(i).m_Params[p] = 100 * i + p;
  }
  for (int i = 0; i < 4; ++i) {
    db.m_ScrEffects.At(i).m_Name = "scr" + std::to_string(i);
    db.m_ScrEffects.At(i).m_Kind = i + 1;
    for (int p = 0; p < 5; ++p) db.m_ScrEffects.At(i).m_Params[p] = -p - i;
  }
  db.m_Pictures.assign(2, cPictureDef());
  db.m_Sounds.assign(3, cSoundDef());
  db.m_Bgms.assign(4, cBgmDef());
  const auto name = [](cNamedFileDef& def, int i, const char* what) {
    def.m_Name = std::string(what) + std::to_string(i);
    def.m_Number = i + 1;
    def.m_FileName = std::string(what) + ".file";
  };
  for (int i = 0; i < 2; ++i) name(db.m_Pictures.At(i), i, "picture");
  for (int i = 0; i < 3; ++i) name(db.m_Sounds.At(i), i, "sound");
  for (int i = 0; i < 4; ++i) name(db.m_Bgms.At(i), i, "bgm");
}
