// The sample's database: one animation set that every character of the sample uses, a few
// animations, a sparkle effect, a sword, the project sounds and the music.
#include <algorithm>
#include <iterator>

#include "platform/host/text_codec.h"
#include "project/database.h"
#include "tools/sample_parts.h"

const std::array<SampleSoundFile, 17> kSystemSoundFiles = {{
    {"wave\\Cursor.wav", "カーソル"},
    {"wave\\Decide.wav", "決定"},
    {"wave\\Cancel.wav", "キャンセル"},
    {"wave\\Buzzer.wav", "ブザー"},
    {"wave\\Start.wav", "スタート"},
    {"wave\\Save.wav", "セーブ"},
    {"wave\\Switch.wav", "切り替え"},
    {"wave\\Damage.wav", "ダメージ"},
    {"wave\\Miss.wav", "ミス"},
    {"wave\\Defeat.wav", "やっつけた"},
    {"wave\\Item.wav", "アイテム"},
    {"wave\\Pause.wav", "ポーズ"},
    {"wave\\Clear.wav", "クリア"},
    {"wave\\GameOver.wav", "ゲームオーバー"},
    {"wave\\Warning.wav", "残り時間"},
    {"wave\\OneUp.wav", "1UP"},
    {"wave\\Shot.wav", "ショット"},
}};

const std::array<SampleSoundFile, kSampleSoundCount> kProjectSoundFiles = {{
    {"", "なし"},
    {"wave\\Jump.wav", "ジャンプ"},
    {"wave\\Coin.wav", "コイン"},
    {"wave\\Stomp.wav", "ふみつけ"},
    {"wave\\Life.wav", "1UPキノコ"},
    {"wave\\Goal.wav", "ゴール"},
    {"wave\\Block.wav", "ブロック"},
}};

const std::array<const char*, kSampleMusicCount> kMusicFiles = {
    "", "bgm\\Title.mid", "bgm\\WorldMap.mid", "bgm\\Stage.mid", "bgm\\Challenge.ogg", "bgm\\Castle.mid",
};

namespace {

cAnimeEntry Animation(const char* name, std::initializer_list<std::pair<std::int32_t, std::int32_t>> frames) {
  cAnimeEntry entry;
  entry.m_Name = SJ(name);
  entry.m_Frames.clear();
  for (const auto& [cell, time] : frames) {
    cAnimeEntryFrame frame;
    frame.m_Cell = cell;
    frame.m_Time = time;
    entry.m_Frames.push_back(frame);
  }
  return entry;
}

// The character sheet's columns: 0 standing, 1 and 2 walking, 3 in the air; the same four again
// from 4 for the invincible look and from 8 for the block-character look (the set's offsets).
cAnimeSetDef StandardSet() {
  cAnimeSetDef set;
  set.m_Name = SJ("標準");
  set.m_InvincibleCellOffset = 4;
  set.m_BlockCellOffset = 8;
  set.m_FlightCellOffset = 0;
  set.m_Entries.clear();
  set.m_Entries.push_back(Animation("立ち", {{0, 1}}));
  set.m_Entries.push_back(Animation("立ち移動", {{1, 1}, {2, 1}}));
  set.m_Entries.push_back(Animation("飛行", {{3, 1}}));
  set.m_Entries.push_back(Animation("飛行移動", {{3, 1}}));
  return set;
}

template <class Def>
Def NamedFile(const char* name, const char* file) {
  Def def;
  def.m_Name = SJ(name);
  def.m_FileName = file;
  return def;
}

}  // namespace

void BuildSampleDatabase(cDatabase& database) {
  database.SetDefaults();
  database.m_AnimeSets.assign(1, StandardSet());
  // No dedicated character bitmaps: only entry 0, "none", so stage play loads no sheet of them.
  database.m_CharaBitmaps.assign(1, cBmpCharaExcDef());

  database.m_Animes.clear();
  database.m_Animes.push_back(Animation("なし", {{0, 1}}));
  database.m_Animes.push_back(Animation("ジャンプ", {{3, 2}, {0, 1}}));
  database.m_Animes.push_back(Animation("くるくる", {{0, 1}, {1, 1}, {0, 1}, {2, 1}}));

  cEffectDef sparkle;
  sparkle.m_Name = SJ("きらきら");
  sparkle.m_FileName = "bmp\\effect\\Sparkle.bmp";
  sparkle.m_Frames.clear();
  for (std::int32_t cell = 0; cell < 4; ++cell) {
    cEffectFrame frame;
    frame.m_Cell = cell;
    frame.m_Time = 1;
    sparkle.m_Frames.push_back(frame);
  }
  database.m_Effects.assign(1, cEffectDef());
  database.m_Effects.push_back(sparkle);

  // A shake for the goal and a flash for a hurt character, so both effect tables hold a real entry.
  cScrEffectDef shake;
  shake.m_Name = SJ("ゆれ");
  shake.m_Kind = 2;
  shake.m_Params[0] = 5;
  shake.m_Params[1] = 4;
  shake.m_Params[2] = 6;
  // Entry 0 of both effect tables stands for "none": kind 0, as the player makes it on loading.
  database.m_ScrEffects.assign(1, cScrEffectDef());
  database.m_ScrEffects.At(0).m_Kind = 0;
  database.m_ScrEffects.push_back(shake);
  cCharaEffectDef flash;
  flash.m_Name = SJ("点滅");
  flash.m_Kind = 6;
  flash.m_Params[0] = 10;
  flash.m_Params[1] = 4;
  database.m_CharaEffects.assign(1, cCharaEffectDef());
  database.m_CharaEffects.At(0).m_Kind = 0;
  database.m_CharaEffects.push_back(flash);

  // The firing stage's sword: one part of 32 x 16 held in front of its owner for 0.2 s.
  cSwordTypeDef sword;
  sword.m_Name = SJ("つるぎ");
  sword.m_LeftFileName = kSwordLeftFile;
  sword.m_RightFileName = kSwordRightFile;
  constexpr std::int32_t kPart[10] = {0, 0, 1, 0, 0, 0, 0, 32, 16, 2};
  std::copy(std::begin(kPart), std::end(kPart), sword.m_Parts.At(0).m_Values);
  database.m_SwordTypes.push_back(sword);

  database.m_Pictures.assign(1, cPictureDef());
  database.m_Pictures.push_back(NamedFile<cPictureDef>("看板", "bmp\\picture\\Sign.bmp"));

  database.m_Sounds.clear();
  for (const SampleSoundFile& sound : kProjectSoundFiles) database.m_Sounds.push_back(NamedFile<cSoundDef>(sound.name, sound.path));

  // The music manager plays the name of a music row; the file name says the same for the editor.
  database.m_Bgms.clear();
  for (const char* file : kMusicFiles) database.m_Bgms.push_back(NamedFile<cBgmDef>(file, file));
  database.m_CharaEffectsReversed.clear();
  database.m_ScrEffectsReversed.clear();
}
