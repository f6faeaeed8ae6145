#pragma once
// The title screen (scene slot 0): the project's title picture with the title menu of up to seven
// items, which starts every play mode; and the routines that prepare the progress record for a new
// game (a new story, a stage file).
#include <array>
#include <cstdint>

#include "shell/scene.h"

// Where the title menu's panel and the save-slot list stand.
struct TitleMenuPos {
  std::int32_t panelX = 192;
  std::int32_t panelY = 240;
  std::int32_t slotsX = 152;
  std::int32_t slotsY = 160;
};
extern const TitleMenuPos g_TitleMenuPos;

constexpr std::int32_t kTitleItemCount = 7;
constexpr std::int32_t kSlotRowsShown = 10;

// The fixed surfaces of the title scene.
constexpr std::int32_t kTitlePictureSurface = 47;
constexpr std::int32_t kGameModeSurface = 48;
constexpr std::int32_t kAccessorySurface = 49;
constexpr std::int32_t kWindowFrameSurface = 45;

class cTitleScene : public cScene {
 public:
  cTitleScene();
  ~cTitleScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  void OnMainMenu();
  void OnSaveSlots();

  // Makes the menu panel again (the menu-surface vector holds it alone) and draws it.
  void BuildTitleMenu();
  void DrawTitleMenu(DDSURFACEDATA* panel);
  void DrawTitleScreen();

  std::int32_t m_ItemCount = 0;
  std::array<std::int32_t, kTitleItemCount> m_ItemKinds{};
  std::int32_t m_ListTop = 0;
  std::int32_t m_VisibleRows = 0;
  std::int32_t m_PanelX = g_TitleMenuPos.panelX;
  std::int32_t m_PanelY = g_TitleMenuPos.panelY;

 private:
  // The menu shows the pictures of GameMode.bmp: the project asks for them and the picture is there.
  bool UsesModePicture() const;
  DDSURFACEDATA* Panel();
  void Decide(std::int32_t kind);
};

// A new story: the progress record reset, the world map's start cell, round 0 and the lives of
// story mode.
void StartNewStory();
// Loads a stage for free play, the direct start or the stage-file request (name at most 259 bytes;
// numbered: the newest name_NNN). 1 loaded, 0 not.
std::int32_t StartStageFile(const char* name, std::int32_t numbered);
// The stage-file dialog through the window thread, which also loads the chosen stage. 1 when a
// stage was chosen.
std::int32_t RequestStageFile();
