// The sample's database: one animation set that every character of the sample uses, a few
// animations, effects, pictures, character and screen effects, a sword, the project sounds and the music.
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

using FramePlan = std::initializer_list<std::pair<std::int32_t, std::int32_t>>;

// Animation or effect frames from (cell, tenths of a second) pairs.
template <class Frame>
void SetFrames(CheckedVector<Frame>& list, FramePlan frames) {
  list.clear();
  for (const auto& [cell, time] : frames) {
    Frame frame;
    frame.m_Cell = cell;
    frame.m_Time = time;
    list.push_back(frame);
  }
}

cAnimeEntry Animation(const char* name, FramePlan frames) {
  cAnimeEntry entry;
  entry.m_Name = SJ(name);
  SetFrames(entry.m_Frames, frames);
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

// An effect of cell x cell dots.
cEffectDef Effect(const char* name, const char* file, std::int32_t cell, std::int32_t followsScale, FramePlan frames) {
  cEffectDef effect;
  effect.m_Name = SJ(name);
  effect.m_FileName = file;
  effect.m_CellWidth = effect.m_CellHeight = cell;
  effect.m_FollowsScale = followsScale;
  SetFrames(effect.m_Frames, frames);
  return effect;
}

// A character or screen effect of a kind with its five parameters.
template <class Def>
Def EffectKind(const char* name, std::int32_t kind, std::array<std::int32_t, 5> params) {
  Def def;
  def.m_Name = SJ(name);
  def.m_Kind = kind;
  std::copy(params.begin(), params.end(), def.m_Params);
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

  database.m_Effects.assign(1, cEffectDef());
  database.m_Effects.push_back(Effect("きらきら", "bmp\\effect\\Sparkle.bmp", 32, 0, {{0, 1}, {1, 1}, {2, 1}, {3, 1}}));
  // A burst of 48-dot cells that hits make as large as the attacker.
  database.m_Effects.push_back(
      Effect("ばくはつ", "bmp\\effect\\Burst.bmp", 48, 1, {{0, 1}, {1, 1}, {2, 2}, {3, 1}, {4, 1}}));

  // A shake for the goal and a flash for a hurt character, so both effect tables hold a real entry;
  // a wave and a spin for the presentation stage.
  // Entry 0 of both effect tables stands for "none": kind 0, as the player makes it on loading.
  database.m_ScrEffects.assign(1, cScrEffectDef());
  database.m_ScrEffects.At(0).m_Kind = 0;
  database.m_ScrEffects.push_back(EffectKind<cScrEffectDef>("ゆれ", 2, {5, 4, 6, 0, 0}));
  database.m_ScrEffects.push_back(EffectKind<cScrEffectDef>("なみ", 6, {10, 0, 32, 4, 8}));
  database.m_CharaEffects.assign(1, cCharaEffectDef());
  database.m_CharaEffects.At(0).m_Kind = 0;
  database.m_CharaEffects.push_back(EffectKind<cCharaEffectDef>("点滅", 6, {10, 4, 0, 0, 0}));
  database.m_CharaEffects.push_back(EffectKind<cCharaEffectDef>("かいてん", 7, {10, 0, 1440, 0, 0}));

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
  database.m_Pictures.push_back(NamedFile<cPictureDef>("たれまく", "bmp\\picture\\Banner.bmp"));
  database.m_Pictures.push_back(NamedFile<cPictureDef>("ひとやすみ", "bmp\\picture\\Rest.bmp"));

  database.m_Sounds.clear();
  for (const SampleSoundFile& sound : kProjectSoundFiles) database.m_Sounds.push_back(NamedFile<cSoundDef>(sound.name, sound.path));

  // The music manager plays the name of a music row; the file name says the same for the editor.
  database.m_Bgms.clear();
  for (const char* file : kMusicFiles) database.m_Bgms.push_back(NamedFile<cBgmDef>(file, file));
  database.m_CharaEffectsReversed.clear();
  database.m_ScrEffectsReversed.clear();
}
