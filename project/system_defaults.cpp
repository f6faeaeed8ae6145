// The settings of a new project, and the fill-up that gives lists read from a file at least the rows
// later code indexes. Both take their rows from the same tables, so a list that an old or damaged
// file left short ends with exactly what a new project would have there.
#include <array>

#include "platform/host/text_codec.h"
#include "project/font_faces.h"
#include "project/system_data.h"

namespace {

// Which hero status groups a new project carries from stage to stage, and which of them a miss
// forgets.
constexpr std::array<std::uint8_t, kCarryFlagCount> kCarryFlags = {
    1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 1, 1, 0, 1, 1, 1, 0, 0, 0};
constexpr std::array<std::uint8_t, kCarryFlagCount> kCarryResetFlags = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};

struct StatusBarRow {
  std::int32_t shown;
  std::int32_t icon;
  const char* label;
  std::int32_t digits;
};
// Total score, stage score, HP gauge, SP gauge, lives.
constexpr StatusBarRow kStatusBar[kStatusBarItemCount] = {
    {1, 1, "スコア", 4},
    {1, 1, "スコア", 3},
    {1, 1, "HP", 0},
    {1, 1, "SP", 0},
    {1, 1, "人", 2},
};

// By play mode: story, challenge, free play, replay play-back.
constexpr std::array<std::int32_t, kPlayModeCount> kStartingLives = {5, 5, 5, 99};
constexpr std::array<std::int32_t, kPlayModeCount> kUnlimitedLives = {1, 1, 1, 1};

struct RankingSetRow {
  std::int32_t enabled;
  std::array<std::uint8_t, kRankingKindCount> flags;
};
constexpr RankingSetRow kRankingSets[kPlayModeCount] = {
    {1, {1, 1, 1, 1, 1}},
    {1, {1, 1, 1, 1, 1}},
    {1, {1, 1, 1, 1, 1}},
    {0, {0, 0, 0, 0, 0}},
};

const char* const kUiTexts[kUiTextCount] = {
    "ワールド",
    "ステージ",
    "スコア",
    "ハイスコア",
    "トータルスコア",
    "スコア",
    "残り時間",
    "クリア時間",
    "残りHP",
    "残りSP",
    "ステージに挑む",
    "やっぱりやめる",
    "セーブする",
    "やっぱりやめる",
    "オートセーブＯＮ",
    "オートセーブＯＦＦ",
    "保存先が不明です！一度は「セーブ」して下さい！",
    "タイトルへ戻る",
    "やっぱりやめる",
    "しゅうりょう",
    "つづける",
    "リトライ",
    "リトライ",
    "マップへ戻る",
    "Vキーでジャンルの切り替え",
    "スペースキーでタイトルへ戻る",
    "スペースキーで終了",
    "F3キーでランキングへ登録",
};

const char* const kTitleMenu[kTitleMenuSize] = {
    "はじめから", "つづきから", "チャレンジ", "フリー", "リプレイ", "オプション", "しゅうりょう",
};
const char* const kSaveMenu[kSaveMenuSize] = {"セーブ", "オートセーブ", "もどる", "タイトルへ"};
const char* const kOptionMenu[kOptionMenuSize] = {"", "BGM", "SE", "ランキング登録", "ランキング登録名", "もどる"};

struct IniKeyRow {
  const char* name;
  std::int32_t kind;
  std::int32_t intValue;
  const char* stringValue;
};
constexpr IniKeyRow kIniKeys[kSystemIniKeyCount] = {
    {"Direct3D", cSystemIniKey::kIntKey, 2, ""},
    {"WindowMode", cSystemIniKey::kIntKey, 0, ""},
    {"Bpp", cSystemIniKey::kIntKey, 0, ""},
    {"VSync", cSystemIniKey::kIntKey, 2, ""},
    {"ShowFps", cSystemIniKey::kIntKey, 1, ""},
    {"FreeStage", cSystemIniKey::kStringKey, 0, ""},
};

constexpr std::int32_t kMenuBgm = 0;
constexpr std::uint8_t kMenuBgmLoop = 1;

// Default row k of each list.
std::uint8_t CarryFlag(int k) { return kCarryFlags[static_cast<std::size_t>(k)]; }
std::uint8_t CarryResetFlag(int k) { return kCarryResetFlags[static_cast<std::size_t>(k)]; }
std::int32_t StartingLives(int k) { return kStartingLives[static_cast<std::size_t>(k)]; }
std::int32_t UnlimitedLives(int k) { return kUnlimitedLives[static_cast<std::size_t>(k)]; }
std::string UiText(int k) { return SJ(kUiTexts[k]); }
std::string SoundFile(int) { return std::string(); }
std::int32_t MenuBgm(int) { return kMenuBgm; }
std::uint8_t MenuBgmLoop(int) { return kMenuBgmLoop; }

// ShowNumber stays 0: a new project prints no number over its gauges.
cStatusBarItem StatusBarItem(int k) {
  cStatusBarItem item;
  item.Reset();
  item.m_Shown = kStatusBar[k].shown;
  item.m_Icon = kStatusBar[k].icon;
  item.m_Label = SJ(kStatusBar[k].label);
  item.m_Digits = kStatusBar[k].digits;
  return item;
}

cSystemFlagSet RankingSet(int k) {
  cSystemFlagSet set;
  set.m_Enabled = kRankingSets[k].enabled;
  set.m_Flags.assign(kRankingSets[k].flags.begin(), kRankingSets[k].flags.end());
  return set;
}

cSystemMenuItem MenuItem(const char* utf8Label) {
  cSystemMenuItem item;
  item.m_Label = SJ(utf8Label);
  return item;
}
cSystemMenuItem TitleMenuItem(int k) { return MenuItem(kTitleMenu[k]); }
cSystemMenuItem SaveMenuItem(int k) { return MenuItem(kSaveMenu[k]); }
cSystemMenuItem OptionMenuItem(int k) { return MenuItem(kOptionMenu[k]); }

cSystemIniKey IniKey(int k) {
  const IniKeyRow& row = kIniKeys[k];
  cSystemIniKey key;
  if (row.kind == cSystemIniKey::kIntKey) {
    key.SetInt(row.name, row.intValue);
  } else {
    key.SetString(row.name, row.stringValue);
  }
  return key;
}

// Rows from the list's own length up to length come from row(k); rows beyond length stay.
template <class T, class Row>
void FillUp(std::vector<T>& list, int length, Row row) {
  for (int k = static_cast<int>(list.size()); k < length; ++k) list.push_back(row(k));
}

template <class T, class Row>
void Fill(CheckedVector<T>& list, int length, Row row) {
  list.clear();
  FillUp(list, length, row);
}

}  // namespace

void cSystemData::SetDefaults() {
  Reset();
  m_ScorePerExtraLife = 100;
  m_HideStageWhilePaused = 1;
  m_MessageFontLetters = 0;
  m_FontFaceIndex = kDefaultFontFaceIndex;
  m_ReplayRecording = 1;
  m_TitleMenuImages = 1;
  m_StoryRestoreOnRetry = 1;
  m_ChallengeRestoreOnRetry = 1;
  m_FreeRestoreOnRetry = 1;
  m_StoryPauseRetry = 1;
  m_ChallengePauseRetry = 1;
  m_SystemColourStep = 16;
  Fill(m_CarryFlags, kCarryFlagCount, CarryFlag);
  Fill(m_CarryResetFlags, kCarryFlagCount, CarryResetFlag);
  Fill(m_StatusBarItems, kStatusBarItemCount, StatusBarItem);
  Fill(m_RankingSets, kPlayModeCount, RankingSet);
  Fill(m_TitleMenu, kTitleMenuSize, TitleMenuItem);
  Fill(m_SaveMenu, kSaveMenuSize, SaveMenuItem);
  Fill(m_OptionMenu, kOptionMenuSize, OptionMenuItem);
  m_WorldMapKeepsLives = 1;
  m_StoryRetryMenu = 1;
  m_WorldMapLivesWindow = 1;
  m_ChallengeStageCount = 40;
  m_ChallengeAllOpen = 1;
  Fill(m_StartingLives, kPlayModeCount, StartingLives);
  Fill(m_UnlimitedLives, kPlayModeCount, UnlimitedLives);
  m_StoryShowStageScores = 1;
  m_StoryShowTotalScore = 1;
  m_ChallengeShowStageScores = 1;
  m_ChallengeShowTotalScore = 1;
  Fill(m_UiTexts, kUiTextCount, UiText);
  Fill(m_SoundFiles, kSystemSoundCount, SoundFile);
  Fill(m_MenuBgm, kMenuMusicSlotCount, MenuBgm);
  Fill(m_MenuBgmLoop, kMenuMusicSlotCount, MenuBgmLoop);
  Fill(m_SystemIniKeys, kSystemIniKeyCount, IniKey);
}

// Later code reads these lists by fixed index (menus, texts, lives by play mode, sound slots), and
// an old or damaged file may hold fewer rows than that; a short list must never close the game.
void cSystemData::PadToFixedLengths() {
  FillUp(m_CarryFlags, kCarryFlagCount, CarryFlag);
  FillUp(m_CarryResetFlags, kCarryFlagCount, CarryResetFlag);
  FillUp(m_StatusBarItems, kStatusBarItemCount, StatusBarItem);
  FillUp(m_StartingLives, kPlayModeCount, StartingLives);
  FillUp(m_UnlimitedLives, kPlayModeCount, UnlimitedLives);
  FillUp(m_RankingSets, kPlayModeCount, RankingSet);
  // The ranking screens look at every kind's flag; a kind the file does not name is not kept.
  for (cSystemFlagSet& set : m_RankingSets)
    if (set.m_Flags.Size() < kRankingKindCount) set.m_Flags.resize(kRankingKindCount, 0);
  FillUp(m_UiTexts, kUiTextCount, UiText);
  FillUp(m_SoundFiles, kSystemSoundCount, SoundFile);
  FillUp(m_MenuBgm, kMenuMusicSlotCount, MenuBgm);
  FillUp(m_MenuBgmLoop, kMenuMusicSlotCount, MenuBgmLoop);
  FillUp(m_TitleMenu, kTitleMenuSize, TitleMenuItem);
  FillUp(m_SaveMenu, kSaveMenuSize, SaveMenuItem);
  FillUp(m_OptionMenu, kOptionMenuSize, OptionMenuItem);
  FillUp(m_SystemIniKeys, kSystemIniKeyCount, IniKey);
}
