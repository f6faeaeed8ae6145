#pragma once
// The option screen (scene slot 5), reached from the title: the player changes the palette of 8-bit
// mode, music on or off, the sound-effect volume, the ranking registration mode and the registration
// name. Palette and volume changes are seen and heard at once; music on or off takes effect when the
// scene is left, and Option.dat is written then, whether anything changed or not.
#include <array>
#include <cstdint>
#include <memory>

#include "shell/scene.h"

// Option item kinds: the position of an entry in the project's option menu.
constexpr std::int32_t kOptionItemPalette = 0;
constexpr std::int32_t kOptionItemMusic = 1;
constexpr std::int32_t kOptionItemSoundVolume = 2;
constexpr std::int32_t kOptionItemRankingMode = 3;
constexpr std::int32_t kOptionItemRankName = 4;
constexpr std::int32_t kOptionItemBack = 5;
constexpr std::int32_t kOptionItemKinds = 6;

// Where the panel puts things.
constexpr std::int32_t kOptionRowsY = 96;
constexpr std::int32_t kOptionRowHeight = 16;
constexpr std::int32_t kOptionCursorX = 48;
constexpr std::int32_t kOptionLabelX = 64;
constexpr std::int32_t kOptionValueCursorX = 192;
constexpr std::int32_t kOptionValueX = 208;
constexpr std::int32_t kOptionHeadingY = 32;

class cOptionScene : public cScene {
 public:
  cOptionScene();
  ~cOptionScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  void OnOptionMenu();

  // Makes the 640x480 panel again (the menu-surface vector holds it alone) and draws it.
  void BuildOptionPanel();
  void DrawOptionPanel(DDSURFACEDATA* panel);
  void DrawOptionScreen();

  std::int32_t m_ItemCount = 0;
  std::array<std::int32_t, kOptionItemKinds> m_ItemKinds{};
  std::int32_t m_ChosenKind = 0;
  std::int32_t m_OldValue = 0;
  std::int32_t* m_EditedField = nullptr;
  std::int32_t m_Minimum = 0;
  std::int32_t m_Maximum = 0;

 private:
  DDSURFACEDATA* Panel();
  void ChooseItem();
  void EditValue();
  // Begins editing the field of kinds 0-3.
  void BeginEdit(std::int32_t kind);
  // What a new value of the edited field changes at once: the palette of 8-bit mode, the volume.
  void ApplyEditedValue();
  // The cursor's row brought inside the menu.
  std::int32_t CursorRow() const;
};

std::unique_ptr<cScene> MakeOptionScene();

// The music manager as the music option wants it: released, and started again when music is on.
// The window thread's side of RequestRestartMusic: the manager is the window thread's alone.
void RestartMusic();

// The name-entry dialog on the window thread, editing g_Option.m_RankName; returns when it has
// closed. Returns at once as well when the request could not be sent or shutdown begins while it
// is open, so the game thread never waits for a window that is going away.
void RequestNameEntry();
