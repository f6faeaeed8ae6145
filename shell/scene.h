#pragma once
// The base of every scene. A scene runs as a small state machine: its state indexes a table of
// handlers whose first entry is always the fade-in and whose last is always the fade-out; state -1
// means the scene's Enter has not run yet. A scene changes scene only through the manager's fields:
// a handler sets the next scene and then its state to the fade-out, and the fade-out, when the
// screen is dark, makes the next scene current.
#include <array>
#include <cstdint>
#include <vector>

#include "platform/display/surface.h"
#include "platform/input/input.h"

class cScene {
 public:
  using Handler = void (cScene::*)();
  static constexpr std::int32_t kNotEntered = -1;
  // A scene whose Enter failed: it does nothing more until the program has closed.
  static constexpr std::int32_t kBroken = -2;
  static constexpr std::size_t kMaxHandlers = 8;

  cScene();
  virtual ~cScene();
  cScene(const cScene&) = delete;
  cScene& operator=(const cScene&) = delete;

  virtual void Frame() {}
  virtual void Enter() {}
  virtual void FadeIn() {}
  virtual void FadeOut() {}
  // The play scene keeps the counted frames per second for its own display; others do not.
  virtual void SetCountedFps(std::int32_t) {}

  void CallFadeIn() { FadeIn(); }
  void CallFadeOut() { FadeOut(); }

  std::int32_t m_State = kNotEntered;
  std::int32_t m_SubStep = 0;

  std::int32_t HandlerCount() const { return static_cast<std::int32_t>(m_HandlerCount); }
  std::int32_t FadeOutState() const { return HandlerCount() - 1; }

 protected:
  // The table between the fade-in and the fade-out, in state order (at most kMaxHandlers - 2).
  void SetHandlers(std::initializer_list<Handler> middle);
  // The handler of the current state; nothing for a state outside the table.
  void CallStateHandler();
  // The frame of every menu scene: the menu key repeat, the button latch, Enter on the first frame
  // (guarded: a failure is reported and closes the program), then the state's handler.
  void MenuFrame();
  // Sets the manager's next scene and starts this scene's fade-out.
  void FadeOutTo(std::int32_t nextSlot);
  // The end of a menu scene's fade-out: clears the back surface to colour 16, resets the menu
  // cursor and makes the next scene current, this one previous. True when the fade has ended.
  bool MenuFadeOutStep(std::int32_t ownSlot);
  // One step of the screen fade-in at the manager's speed; state 1 once the fade has ended.
  void MenuFadeInStep();

 private:
  std::array<Handler, kMaxHandlers> m_Handlers{};
  std::size_t m_HandlerCount = 0;
};

// The first player's input as the scene frame left it (an idle input when there is no player).
const cInput& MenuInput();

// Runs a scene's Enter and reports what escapes it: the report log gets the line, WM_CLOSE goes to
// the main window, and the scene is marked broken. True when Enter ran through.
bool EnterSceneGuarded(cScene& scene);

// The menu scenes' own surfaces (menu panels and the like), released by the scene that made them.
extern std::vector<DDSURFACEDATA> g_MenuSurfaces;
extern std::vector<SurfaceDescriptor> g_MenuSurfaceDescriptors;
