#pragma once
// The scene manager: owns the scene objects, knows the current, next and previous scene and the play
// mode, and runs one frame per call on the game thread: pacing, lost-surface recovery, input, the
// scene switch, the scene's own frame, the frame-rate text and the present.
#include <array>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

#include "platform/display/surface.h"
#include "project/save_data.h"
#include "shell/scene.h"

class cInput;

// Scene slots: the values of current, next and previous.
constexpr std::int32_t kSceneTitle = 0;
constexpr std::int32_t kSceneWorldMap = 1;
constexpr std::int32_t kSceneWorldMapMenu = 2;
constexpr std::int32_t kSceneChallenge = 3;
constexpr std::int32_t kScenePlay = 4;
constexpr std::int32_t kSceneOption = 5;
constexpr std::int32_t kSceneSlotCount = 6;

// Play modes: story, challenge and free play are named with the progress record; replay play-back.
constexpr std::int32_t kPlayReplay = 3;

// Title choices: the title menu item decided last.
constexpr std::int32_t kTitleNewStory = 0;
constexpr std::int32_t kTitleContinue = 1;
constexpr std::int32_t kTitleChallenge = 2;
constexpr std::int32_t kTitleFreePlay = 3;
constexpr std::int32_t kTitleReplay = 4;
constexpr std::int32_t kTitleOption = 5;
constexpr std::int32_t kTitleQuit = 6;

constexpr std::int32_t kDefaultFrameRate = 60;
constexpr std::int32_t kDefaultFadeSpeed = 10;
constexpr int kWorkTimeRing = 16;

// How the last frame reached the screen.
enum class PresentKind : std::int32_t {
  None,
  Direct3D,           // DDPresent
  WindowAfterVBlank,  // DirectDraw window: at the vertical blank, then the blit
  WindowAtOnce,       // DirectDraw window, above 60 frames per second: the blit only
  Flip,               // DirectDraw full screen: the flip chain
  Copy,               // DirectDraw full screen: the back surface copied onto the primary
};

// Makes the scene of a slot. Without one a slot gets its own scene: title, world map, world-map menu,
// challenge, play or option.
using SceneFactory = std::unique_ptr<cScene> (*)();

class cSceneManager {
 public:
  cSceneManager();
  ~cSceneManager();
  cSceneManager(const cSceneManager&) = delete;
  cSceneManager& operator=(const cSceneManager&) = delete;

  // 1 normally; 0 when a lost DirectDraw surface could not be restored (the caller closes).
  int Frame();
  // Makes the object of slot exist and deletes every other. A failure to make it is reported and
  // closes the program in order; the frame then calls no scene.
  void SetScene(std::int32_t slot);
  void DeleteScenes();
  void WaitNextFrame();
  void PresentFrame();
  // DirectDraw: brings a lost primary and the surfaces that live beside the fixed table back; 0
  // when a picture cannot be loaded again. Direct3D: 1.
  int RestoreLostSurfaces();
  void PollInput();
  // The same into another player-1 input (the pause thread polls its own copy).
  void PollInput(cInput& input);

  // The object of a slot, or null (also for a slot outside 0..5).
  cScene* Scene(std::int32_t slot) const;
  void SetSceneFactory(std::int32_t slot, SceneFactory factory);

  // The frame-rate text on the back surface as ShowFps asks: 2 the bare text, any other non-zero
  // value a text window, 0 nothing. The work time enters the ring first.
  void DrawFrameRate(std::int32_t showFps);

  // Fields of the game's flow.
  std::int32_t m_Current = kSceneTitle;
  std::int32_t m_Next = kSceneTitle;
  std::int32_t m_Previous = kSceneTitle;
  std::int32_t m_TitleChoice = kTitleNewStory;
  std::int32_t m_PlayMode = kPlayStory;
  std::int32_t m_ChallengeRow = 0;
  std::int32_t m_ChallengeTop = 0;
  std::int32_t m_RankingFlag = 0;
  std::int32_t m_FrameRate = kDefaultFrameRate;
  std::int32_t m_FadeSpeed = kDefaultFadeSpeed;

  // What the frame measured.
  std::int32_t m_Fps = 0;
  std::int32_t m_WorkMs = 0;
  std::array<std::int32_t, kWorkTimeRing> m_WorkRing{};
  std::int32_t m_WorkRingIndex = 0;
  std::int32_t m_WorkMean = 0;
  PresentKind m_LastPresent = PresentKind::None;

  // Surfaces of the scenes that the DirectDraw restore brings back after the fixed table, in the
  // order registered (the scenes that own them register them once).
  void AddRestoreSurfaces(std::vector<DDSURFACEDATA>* surfaces);
  void AddRestoreSurfaces(std::list<DDSURFACEDATA>* surfaces);

 private:
  bool CreateScene(std::int32_t slot);
  int RestoreSurface(DDSURFACEDATA& record);

  std::array<std::unique_ptr<cScene>, kSceneSlotCount> m_Scenes;
  std::array<SceneFactory, kSceneSlotCount> m_Factories{};
  // A slot whose creation failed is not tried again every frame while it stays current.
  std::int32_t m_FailedSlot = -1;
  // One of the two set per entry, in the order registered.
  struct sRestoreSet {
    std::vector<DDSURFACEDATA>* vector = nullptr;
    std::list<DDSURFACEDATA>* list = nullptr;
  };
  std::vector<sRestoreSet> m_RestoreSets;
};

extern cSceneManager g_SceneManager;

// The frame-rate text's places.
constexpr std::int32_t kFpsTextX = 549;
constexpr std::int32_t kFpsTextY = 469;
constexpr std::int32_t kFpsWindowX = 495;
constexpr std::int32_t kFpsWindowY = 463;
