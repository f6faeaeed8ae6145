// Effect, character-effect and screen-effect records, the resource records' numbers, the body
// layout examples, the effect parameter tables and the effect-player templates.
#include <cmath>

#include "project/effect_params.h"
#include "project/effect_players.h"
#include "tests/project/database_fixture.h"

namespace {

using DatabaseEffectsTest = DatabaseTest;

TEST_F(DatabaseEffectsTest, ParameterAddedIn511GetsItsDefaultInOlderFiles) {
  struct KindCase {
    bool screen;
    std::uint32_t version;
    std::int32_t kind;
    std::vector<std::int32_t> after;  // the five parameters read from 10, 20, 30, 40, 50
  };
  const KindCase cases[] = {
      {false, 510, 4, {10, 20, 30, 40, 2}},   {false, 510, 5, {10, 20, 30, 40, 2}},
      {false, 510, 10, {10, 20, 30, 2, 50}},  {false, 510, 6, {10, 20, 30, 40, 50}},
      {false, 510, 1, {10, 20, 30, 40, 50}},  {false, 511, 4, {10, 20, 30, 40, 50}},
      {false, 511, 10, {10, 20, 30, 40, 50}}, {true, 510, 6, {10, 20, 30, 40, 8}},
      {true, 510, 7, {10, 20, 30, 40, 10}},   {true, 510, 10, {10, 20, 30, 8, 50}},
      {true, 510, 4, {10, 20, 30, 40, 50}},   {true, 511, 6, {10, 20, 30, 40, 50}},
      {true, 100, 7, {10, 20, 30, 40, 10}},
  };
  for (const KindCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.screen ? "screen" : "character") << " kind " << c.kind << " version "
                                      << c.version);
    const cByteBuilder file =
        cByteBuilder().U32(c.version).U32(1).Append(EffectKindBody(c.kind, {10, 20, 30, 40, 50}, "e"));
    std::vector<std::int32_t> params;
    if (c.screen) {
      CheckedVector<cScrEffectDef> table;
      ASSERT_FALSE(ReadTableImage(table, file));
      params.assign(std::begin(table.At(0).m_Params), std::end(table.At(0).m_Params));
    } else {
      CheckedVector<cCharaEffectDef> table;
      ASSERT_FALSE(ReadTableImage(table, file));
      params.assign(std::begin(table.At(0).m_Params), std::end(table.At(0).m_Params));
    }
    EXPECT_EQ(params, c.after);
  }
}

TEST_F(DatabaseEffectsTest, BodiesAsTheFilesLayThemOut) {
  cEffectFrame frame;
  frame.m_Cell = 3;
  frame.m_Time = 2;
  cRecordWriter out;
  frame.Write(out);
  EXPECT_EQ(HexBytes(out.Bytes()), "02 00 00 00 03 00 00 00 02 00 00 00 00 00 00 00");

  cCharaEffectDef chara;
  cRecordWriter charaOut;
  chara.Write(charaOut);
  // Two arrays, kind 1 and five zero parameters, one empty name.
  EXPECT_EQ(HexBytes(charaOut.Bytes()),
            "02 00 00 00 01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 "
            "01 00 00 00 01 00 00 00");

  cSwordPartDef part;
  cRecordWriter partOut;
  part.Write(partOut);
  ASSERT_EQ(partOut.Bytes().size(), 48u);
  EXPECT_EQ(HexBytes(std::vector<std::uint8_t>(partOut.Bytes().begin(), partOut.Bytes().begin() + 16)),
            "0A 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00");
}

TEST_F(DatabaseEffectsTest, SwordPartsOlderThan138KeepTheirMirrorDefaults) {
  // No number before 151; eight values per part before 138: 1, 2, then 5 to 10.
  cByteBuilder part = cByteBuilder().U32(8);
  for (std::int32_t v : {1, 2, 5, 6, 7, 8, 9, 10}) part.I32(v);
  part.U32(0);
  const cByteBuilder sword =
      cByteBuilder().U32(0).U32(3).Str("s").Str("l.bmp").Str("r.bmp").U32(2).Append(part).Append(part);
  CheckedVector<cSwordTypeDef> table;
  ASSERT_FALSE(ReadTableImage(table, cByteBuilder().U32(137).U32(1).Append(sword)));
  ASSERT_EQ(table.At(0).m_Parts.Size(), 2);
  const std::int32_t(&values)[10] = table.At(0).m_Parts.At(1).m_Values;
  EXPECT_EQ(std::vector<std::int32_t>(values, values + 10), (std::vector<std::int32_t>{1, 2, 1, 0, 5, 6, 7, 8, 9, 10}));
  EXPECT_EQ(table.At(0).m_Number, 0);
  EXPECT_EQ(table.At(0).m_RightFileName, "r.bmp");
}

// The number of the resource records is kept only from version 153 on.
TEST_F(DatabaseEffectsTest, ResourceNumbersOfFilesOlderThan153AreNotKept) {
  struct NumberCase {
    std::uint32_t version;
    std::int32_t number;  // expected, when the file stores 77 where its version has the field
  };
  const NumberCase cases[] = {{150, 0}, {151, 0}, {152, 0}, {153, 77}, {556, 77}};
  for (const NumberCase& c : cases) {
    SCOPED_TRACE(::testing::Message() << "version " << c.version);
    const std::uint32_t v = c.version;
    const auto number = [v](cByteBuilder& body, std::uint32_t from) {
      if (v >= from) body.I32(77);
    };

    cByteBuilder named = cByteBuilder().U32(v >= 151 ? 1 : 0);
    number(named, 151);
    named.U32(2).Str("n").Str("f");
    CheckedVector<cPictureDef> pictures;
    CheckedVector<cSoundDef> sounds;
    CheckedVector<cBgmDef> bgms;
    const cByteBuilder namedFile = cByteBuilder().U32(v).U32(1).Append(named);
    ASSERT_FALSE(ReadTableImage(pictures, namedFile));
    ASSERT_FALSE(ReadTableImage(sounds, namedFile));
    ASSERT_FALSE(ReadTableImage(bgms, namedFile));
    EXPECT_EQ(pictures.At(0).m_Number, c.number);
    EXPECT_EQ(sounds.At(0).m_Number, c.number);
    EXPECT_EQ(bgms.At(0).m_FileName, "f");
    EXPECT_EQ(bgms.At(0).m_Number, c.number);

    // Dedicated bitmaps store it from 152 and their cells from 172.
    cByteBuilder bitmap = cByteBuilder().U32((v >= 152 ? 1 : 0) + (v >= 172 ? 2 : 0));
    number(bitmap, 152);
    if (v >= 172) bitmap.I32(1).I32(4);
    bitmap.U32(2).Str("n").Str("f");
    CheckedVector<cBmpCharaExcDef> bitmaps;
    ASSERT_FALSE(ReadTableImage(bitmaps, cByteBuilder().U32(v).U32(1).Append(bitmap)));
    EXPECT_EQ(bitmaps.At(0).m_Number, c.number);
    EXPECT_EQ(bitmaps.At(0).m_LargeCells, v >= 172 ? 1 : 0);
    EXPECT_EQ(bitmaps.At(0).m_CellScale, v >= 172 ? 4 : 2);

    cByteBuilder effect = cByteBuilder().U32(v >= 151 ? 4 : 3);
    number(effect, 151);
    effect.I32(16).I32(24).I32(1).U32(2).Str("n").Str("f").U32(1).U32(2).I32(5).I32(6).U32(0);
    CheckedVector<cEffectDef> effects;
    ASSERT_FALSE(ReadTableImage(effects, cByteBuilder().U32(v).U32(1).Append(effect)));
    EXPECT_EQ(effects.At(0).m_Number, c.number);
    EXPECT_EQ(effects.At(0).m_CellHeight, 24);
    ASSERT_EQ(effects.At(0).m_Frames.Size(), 1);
    EXPECT_EQ(effects.At(0).m_Frames.At(0).m_Time, 6);
  }
}

// A frame count beyond what the file holds is damage, and the list never grows past the bytes there
// are (one frame, and at most the one that broke off).
TEST_F(DatabaseEffectsTest, EffectFrameCountBeyondTheFileIsDamage) {
  for (std::uint32_t count : {2u, 0x40000000u, 0xFFFFFFFFu}) {
    cByteBuilder effect = cByteBuilder().U32(4).I32(0).I32(16).I32(24).I32(1).U32(2).Str("n").Str("f");
    effect.U32(count).U32(2).I32(5).I32(6).U32(0);
    CheckedVector<cEffectDef> effects;
    EXPECT_TRUE(ReadTableImage(effects, cByteBuilder().U32(g_CurrentVersion).U32(1).Append(effect))) << count;
    for (const cEffectDef& def : effects) EXPECT_LE(def.m_Frames.size(), 2u) << count;
  }
}

// Every kind's first parameter is the running time, every default lies in its range, and kind 0 and
// the parameters a kind does not use are empty rows.
TEST_F(DatabaseEffectsTest, ParameterTablesAreWellFormed) {
  struct TableCase {
    const char* name;
    std::span<const ParamDesc> table;
    int kinds;
    const LabelList& names;
  };
  const TableCase tables[] = {
      {"character", CharaEffectParams(), kCharaEffectKindCount, CharaEffectKindNames()},
      {"screen", ScrEffectParams(), kScrEffectKindCount, ScrEffectKindNames()},
  };
  for (const TableCase& t : tables) {
    SCOPED_TRACE(t.name);
    ASSERT_EQ(t.table.size(), static_cast<std::size_t>((t.kinds + 1) * kEffectParamCount));
    EXPECT_EQ(t.names.Size(), t.kinds + 1);
    EXPECT_EQ(t.names[t.kinds], "");
    for (int p = 0; p < kEffectParamCount; ++p) EXPECT_EQ(EffectParamRow(t.table, 0, p)->label, "");
    for (int kind = 1; kind <= t.kinds; ++kind) {
      SCOPED_TRACE(::testing::Message() << "kind " << kind);
      EXPECT_NE(t.names[kind - 1], "");
      const ParamDesc* time = EffectParamRow(t.table, kind, 0);
      EXPECT_EQ(time->label, SJ("実行時間(1/10s)"));
      EXPECT_EQ(time->lowest, 1);
      EXPECT_EQ(time->highest, 9999);
      for (int p = 0; p < kEffectParamCount; ++p) {
        const ParamDesc* row = EffectParamRow(t.table, kind, p);
        if (row->label.empty()) continue;
        EXPECT_LE(row->lowest, row->defaultValue) << "parameter " << p;
        EXPECT_LE(row->defaultValue, row->highest) << "parameter " << p;
      }
    }
    EXPECT_EQ(EffectParamRow(t.table, t.kinds + 1, 0), nullptr);
    EXPECT_EQ(EffectParamRow(t.table, 1, kEffectParamCount), nullptr);
    EXPECT_EQ(EffectParamRow(t.table, -1, 0), nullptr);
  }
  // The speed notes: one per kind, both halves on their own lines.
  EXPECT_EQ(CharaEffectNotes().Size(), kCharaEffectKindCount + 1);
  EXPECT_EQ(CharaEffectNotes()[0], SJ("Direct3D有効時：\nDirect3D無効時："));
  EXPECT_EQ(CharaEffectNotes()[7], SJ("Direct3D有効時：回転Aと回転Bは同じ\nDirect3D無効時：やや遅い。巨大キャラには描画精度重視"));
  EXPECT_EQ(CharaEffectNotes()[15], SJ("Direct3D有効時：遅い\nDirect3D無効時：画面が16bit色以上でのみ有効。遅い"));
  EXPECT_EQ(CharaEffectKindNames()[0], SJ("破裂"));
  EXPECT_EQ(CharaEffectKindNames()[15], SJ("ぼかし"));
  EXPECT_EQ(ScrEffectKindNames()[12], SJ("モザイク"));
  EXPECT_EQ(ScrEffectNotes().Size(), kScrEffectKindCount + 1);
  EXPECT_EQ(ScrEffectNotes()[0], SJ("Direct3D有効時：\nDirect3D無効時："));
  EXPECT_EQ(ScrEffectNotes()[8], SJ("Direct3D有効時：\nDirect3D無効時：遅い"));
  EXPECT_EQ(ScrEffectNotes()[12], SJ("Direct3D有効時：遅過ぎ\nDirect3D無効時：画面が16bit色以上だと遅過ぎ"));
  EXPECT_EQ(ScrEffectNotes()[kScrEffectKindCount], "");
  EXPECT_EQ(DirectionLabels()[3], SJ("下"));
  EXPECT_EQ(DirectionLabels().Size(), 5);
}

void SetEffect(cEffectKindDef& def, std::int32_t kind, std::vector<std::int32_t> params) {
  def.m_Kind = kind;
  for (int p = 0; p < 5; ++p) def.m_Params[p] = params[static_cast<std::size_t>(p)];
}

std::vector<std::int32_t> ParamsOf(const cEffectKindDef& def) { return {def.m_Params, def.m_Params + 5}; }

TEST_F(DatabaseEffectsTest, CharacterTemplatesRunForwardsAndBackwards) {
  cDatabase db;
  db.m_CharaEffects.assign(6, cCharaEffectDef());
  SetEffect(db.m_CharaEffects.At(0), 0, {9, 9, 9, 9, 9});
  SetEffect(db.m_CharaEffects.At(1), 7, {10, 0, 1440, 0, 0});  // 回転A
  SetEffect(db.m_CharaEffects.At(2), 6, {10, 2, 0, 0, 0});     // 点滅: parameter 2 is its interval
  SetEffect(db.m_CharaEffects.At(3), 4, {5, 0, 32, 2, 2});     // 波（横）
  SetEffect(db.m_CharaEffects.At(4), 11, {0, 32, 64, 0, 0});   // a time of 0, outside its range
  SetEffect(db.m_CharaEffects.At(5), 14, {0, 9999, 0, 0, 0});  // 半透明 for a time of 0
  db.FillReversedEffects();
  std::vector<cCharaEffectPlayer> normal, reversed;
  BuildCharaEffectTemplates(normal, reversed, db);
  ASSERT_EQ(normal.size(), 6u);
  ASSERT_EQ(reversed.size(), 6u);

  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(normal[i].m_Number, i);
    EXPECT_EQ(normal[i].m_Def, &db.m_CharaEffects.At(i));
    EXPECT_EQ(reversed[i].m_Def, &db.m_CharaEffectsReversed.At(i));
  }
  // Kind 0: the number and the definition only.
  EXPECT_EQ(normal[0].m_Start, 0);
  EXPECT_EQ(normal[0].m_Step, 0.0);
  EXPECT_EQ(ParamsOf(db.m_CharaEffectsReversed.At(0)), (std::vector<std::int32_t>{9, 9, 9, 9, 9}));

  EXPECT_EQ(normal[1].m_Start, 0);
  EXPECT_EQ(normal[1].m_End, 1440);
  EXPECT_EQ(normal[1].m_Current, 0.0);
  EXPECT_DOUBLE_EQ(normal[1].m_Step, 24.0);
  EXPECT_EQ(reversed[1].m_Start, 1440);
  EXPECT_EQ(reversed[1].m_End, 0);
  EXPECT_EQ(reversed[1].m_Current, 1440.0);
  EXPECT_DOUBLE_EQ(reversed[1].m_Step, 24.0);
  EXPECT_EQ(ParamsOf(db.m_CharaEffectsReversed.At(1)), (std::vector<std::int32_t>{10, 1440, 0, 0, 0}));
  EXPECT_EQ(ParamsOf(db.m_CharaEffects.At(1)), (std::vector<std::int32_t>{10, 0, 1440, 0, 0}));

  // The blink counts its time both ways and keeps its interval.
  for (const cCharaEffectPlayer* blink : {&normal[2], &reversed[2]}) {
    EXPECT_EQ(blink->m_Start, 0);
    EXPECT_EQ(blink->m_End, 10);
    EXPECT_DOUBLE_EQ(blink->m_Step, 1.0 / 6.0);
  }
  EXPECT_EQ(ParamsOf(db.m_CharaEffectsReversed.At(2)), (std::vector<std::int32_t>{10, 2, 0, 0, 0}));

  EXPECT_EQ(reversed[3].m_Start, 32);
  EXPECT_DOUBLE_EQ(reversed[3].m_Step, 32.0 / 30.0);
  EXPECT_TRUE(std::isfinite(normal[4].m_Step));
  EXPECT_DOUBLE_EQ(normal[4].m_Step, 32.0 / 6.0);
  EXPECT_EQ(normal[5].m_End, 1) << "a time of 0 counts as one tenth";
}

TEST_F(DatabaseEffectsTest, ScreenTemplatesRunForwardsAndBackwards) {
  cDatabase db;
  db.m_ScrEffects.assign(5, cScrEffectDef());
  SetEffect(db.m_ScrEffects.At(0), 0, {1, 2, 3, 4, 5});
  SetEffect(db.m_ScrEffects.At(1), 1, {10, 1, 2, 3, 4});     // 移動
  SetEffect(db.m_ScrEffects.At(2), 2, {10, 4, 4, 0, 0});     // 振動（横）
  SetEffect(db.m_ScrEffects.At(3), 6, {10, 0, 640, 4, 8});   // 波（横）
  SetEffect(db.m_ScrEffects.At(4), 10, {10, 640, 0, 8, 0});  // 円
  db.FillReversedEffects();
  std::vector<cScrEffectPlayer> normal, reversed;
  BuildScrEffectTemplates(normal, reversed, db);
  ASSERT_EQ(reversed.size(), 5u);

  EXPECT_EQ(ParamsOf(db.m_ScrEffectsReversed.At(0)), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  // A move runs from its end point back to its start point.
  EXPECT_EQ(normal[1].m_ValueA, 1);
  EXPECT_EQ(normal[1].m_ValueB, 2);
  EXPECT_EQ(reversed[1].m_ValueA, 3);
  EXPECT_EQ(reversed[1].m_ValueB, 4);
  EXPECT_DOUBLE_EQ(reversed[1].m_Step, 1.0 / 6.0);
  EXPECT_EQ(ParamsOf(db.m_ScrEffectsReversed.At(1)), (std::vector<std::int32_t>{10, 3, 4, 1, 2}));
  // A shake is the same both ways.
  EXPECT_EQ(ParamsOf(db.m_ScrEffectsReversed.At(2)), (std::vector<std::int32_t>{10, 4, 4, 0, 0}));
  EXPECT_DOUBLE_EQ(reversed[2].m_Step, 1.0 / 6.0);
  EXPECT_EQ(normal[3].m_Current, 0.0);
  EXPECT_EQ(reversed[3].m_Current, 640.0);
  EXPECT_DOUBLE_EQ(reversed[3].m_Step, 640.0 / 60.0);
  EXPECT_EQ(ParamsOf(db.m_ScrEffectsReversed.At(3)), (std::vector<std::int32_t>{10, 640, 0, 4, 8}));
  EXPECT_EQ(reversed[4].m_Current, 0.0);
  EXPECT_EQ(normal[4].m_Current, 640.0);
}

TEST_F(DatabaseEffectsTest, DefaultPlayersRunNothing) {
  const cCharaEffectPlayer chara;
  EXPECT_EQ(chara.m_Number, 0);
  EXPECT_EQ(chara.m_Def, nullptr);
  EXPECT_EQ(chara.m_Mode, 0);
  EXPECT_EQ(chara.m_Loop, 0);
  const cScrEffectPlayer screen;
  EXPECT_EQ(screen.m_Number, 0);
  EXPECT_EQ(screen.m_Def, nullptr);
  EXPECT_EQ(screen.m_Mode, 0);
  EXPECT_EQ(screen.m_Loop, 0);
}

}  // namespace
