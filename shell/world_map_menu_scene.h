#pragma once
// The world-map menu (scene slot 2): opened from the world map with the cancel button in story mode.
// It offers the save menu's entries of the project: save the progress into one of the story slots,
// switch auto-save on or off, go back to the map, or give up to the title. An entry's meaning is its
// position in the project's save menu; the project only chooses which are shown and their labels.
#include <array>
#include <cstdint>
#include <memory>

#include "shell/scene.h"

// A place on the screen of the menu's windows.
struct WorldMapMenuPoint {
  std::int32_t x = 0;
  std::int32_t y = 0;
};

// Indices of g_WorldMapMenuPos.
constexpr std::int32_t kMapMenuPosEntries = 0;
constexpr std::int32_t kMapMenuPosTotalScore = 1;
constexpr std::int32_t kMapMenuPosSlotList = 2;
constexpr std::int32_t kMapMenuPosSaveConfirm = 3;
constexpr std::int32_t kMapMenuPosAutoSave = 4;
constexpr std::int32_t kMapMenuPosMessage = 5;
constexpr std::int32_t kMapMenuPosToTitle = 6;
constexpr std::int32_t kMapMenuPosCount = 7;

// The windows' places. A centred window's x depends on the project's texts, so the pages work it
// out again every frame and keep it here.
extern std::array<WorldMapMenuPoint, kMapMenuPosCount> g_WorldMapMenuPos;

// Positions of the save menu's entries: the meaning of each.
constexpr std::int32_t kMapMenuSave = 0;
constexpr std::int32_t kMapMenuAutoSave = 1;
constexpr std::int32_t kMapMenuBack = 2;
constexpr std::int32_t kMapMenuToTitle = 3;
// Only these four have a page; further entries of a project's save menu are left out.
constexpr std::int32_t kMapMenuEntryMax = 4;

// The fixed surfaces of the menu.
constexpr std::int32_t kMapMenuWindowSurface = 45;
constexpr std::int32_t kMapMenuAccessorySurface = 49;
constexpr std::int32_t kMapMenuSymbolSurface = 50;

class cWorldMapMenuScene : public cScene {
 public:
  cWorldMapMenuScene();
  ~cWorldMapMenuScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  // States 1 to 5, in this order after the fade-in.
  void OnMenu();
  void OnSave();
  void OnAutoSave();
  void OnBack();
  void OnToTitle();

  void DrawMenuPage();
  void DrawMenuWindow();
  void DrawTotalScore();

  std::int32_t m_ShownCount = 0;
  std::array<std::int32_t, kMapMenuEntryMax> m_ShownEntries{};
  std::int32_t m_ListTop = 0;
  std::int32_t m_ListRows = 0;

 private:
  void DrawSlotList();
  // Leaves a page for the entry list, giving it back its cursor.
  void BackToEntryList();
};

std::unique_ptr<cScene> MakeWorldMapMenuScene();
