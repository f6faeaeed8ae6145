#pragma once
// The play scene: the scene in which a stage is played. It holds what the objects of a stage read of
// it (the two camera axes, the objects by group, the heroes and the tile origin), and runs a small
// state machine: fade in, ready banners, play, pause menu, stage result, retry menu, game over, fade
// out. The stage set-up (stage_setup.cpp), the logic step (logic_step.cpp) and the menus and banners
// (play_states.cpp) are its other parts.
#include <array>
#include <atomic>
#include <cstdint>
#include <list>
#include <string>

#include "platform/services/checked.h"
#include "play/message_window.h"
#include "play/object_list.h"
#include "play/pause.h"
#include "play/screen_colour.h"
#include "play/scroll_axis.h"
#include "play/stage_draw_presentation.h"
#include "project/effect_players.h"
#include "shell/scene.h"

class cCharaBase;
class cChara;
class cHero;
class cSaveData;
class cShot;
struct cFlowRunner;
struct cCommandInstance;
struct DDSURFACEDATA;

// Objects belong to one of these groups; contacts happen only between different groups.
constexpr int kObjectGroups = 8;

// The states of the play scene (m_State).
enum PlaySceneState : std::int32_t {
  kPlayFadeIn = 0,
  kPlayReady = 1,
  kPlayRunning = 2,
  kPlayPauseMenu = 3,
  kPlayStageResult = 4,
  kPlayRetryMenu = 5,
  kPlayGameOver = 6,
  kPlayFadeOut = 7,
};

// The screen-out rules the logic step applies to characters (0, 1) and items (2).
constexpr int kObjectOutRules = 3;
// Ranking tables a stage result may enter.
constexpr int kRankTables = 5;
// Stage variables S of the code language: S0 .. S255, every index the message codes accept.
constexpr int kStageVarCount = 256;
// Bytes of the per-step activation table of the characters.
constexpr int kActivationBytes = 60;
// Frames a banner stays.
constexpr std::int32_t kBannerFrames = 80;

class cPlayScene : public cScene {
 public:
  cPlayScene();
  ~cPlayScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;
  void SetCountedFps(std::int32_t fps) override { m_CountedFps = fps; }

  // The state handlers between the fade-in and the fade-out.
  void OnReady();
  void OnPlay();
  void OnPauseMenu();
  void OnStageResult();
  void OnRetryMenu();
  void OnGameOver();

  // (Re)builds the whole stage from g_Stage: restart 0 the first start, else a retry or a replay's
  // new round; startBgm asks for the stage music even when it already plays.
  void SetStage(std::int32_t restart, std::int32_t startBgm);

  // Draws hero 0 and, once its death has been shown, decides what follows.
  void DrawHero(DDSURFACEDATA* surface, std::int32_t frozen);
  // Draws one character; 1 when a dying character's death has been shown completely (the caller
  // removes it).
  std::int32_t DrawChara(cChara& chara, DDSURFACEDATA* surface, std::int32_t frozen);
  // The start of a play from another scene: lives, score and totals, cameras, counters, replays.
  void ResetPlayProgress();

  // The logic of one frame of play: input, time and the logic steps; false when the frame ended the
  // play (a clear, the hero's death, a replay's restart) and is left undrawn.
  bool RunFrameLogic();

  // The small parts of the logic step.
  // 1 when the pause key is down: the pause sound, and the state kept for the return.
  std::int32_t CheckPauseKey();
  void TickPlayTime();
  // 1 when the time limit has run out on this call.
  std::int32_t TickTimeLimit(std::int32_t delta);
  void UpdateObjectPresence();
  std::int32_t ApplyCellEffect(cHero& hero);
  // Takes a character off the stage: every link to it goes, then its node.
  void RemoveChara(cChara& chara);

  // The map cell of the top left of the stage proper, on each axis.
  std::int32_t TileOriginX() const { return m_ScrollX.m_MarginCells; }
  std::int32_t TileOriginY() const { return m_ScrollY.m_MarginCells; }

  // Hero number n (0 is player 1), or null while there is none.
  cCharaBase* Hero(std::int32_t n) const;
  // Hero 0 as a hero, or null.
  cHero* Hero0() const;
  // The scene was entered without its pictures: it shows nothing more and closes in order.
  bool Failed() const { return m_State == kBroken; }

  std::int32_t m_SavedState = 0;
  std::int32_t m_SavedSubStep = 0;
  // Set by scripts: 0 none, 1 clear the stage, 2 kill the hero.
  std::int32_t m_StageEndRequest = 0;
  ScrollAxis m_ScrollX;
  ScrollAxis m_ScrollY;
  // The heroes and characters by their group 0..7.
  CheckedVector<cObjectList<cCharaBase*>> m_GroupCharas;
  // The shots and sword swings (play/shot.h) in firing order, and by their group 0..7.
  std::list<cShot> m_ShotList;
  CheckedVector<cObjectList<cShot*>> m_GroupShots;
  // The heroes in player order, as the stage set-up made them; the objects themselves live in the
  // hero container, which is never resized while they are listed here.
  CheckedVector<cCharaBase*> m_Heroes;

  // What the stage drawing shows over the objects: the elements the event scripts open, the screen
  // effect and the screen colour.
  std::list<cMessageWindow> m_Messages;
  std::list<cEffectInstance> m_Effects;
  std::list<cPicture> m_Pictures;
  cScrEffectPlayer m_ScreenEffect;
  cScreenColour m_ScreenColour;

  // Set by the window thread when WM_CLOSE arrives while the game thread is held elsewhere.
  std::atomic<std::int32_t> m_CloseRequested{0};
  // What the pause thread runs while a command or the result tally blocks the game thread.
  cPauseRequest m_PauseRequest;
  std::int32_t m_HeroCount = 1;
  // The logic step of the frame being run, 1 .. steps per frame, and the steps since the start.
  std::int32_t m_StepInFrame = 0;
  std::int32_t m_StepCount = 0;
  // One entry per logic step of a frame: 1 on the steps on which shots are tested against objects.
  CheckedVector<std::int32_t> m_ContactSchedule;
  // The time limit left, in units of 60 frames (0..999), and whether the stage has none.
  std::int32_t m_TimeLeft = 0;
  std::int32_t m_NoTimeLimit = 0;
  std::int32_t m_PlayFrames = 0;
  std::int32_t m_PlayTime = 0;  // 1/100 s, at most kMaxPlayTime
  std::int32_t m_BannerCounter = 0;
  std::int32_t m_StartBannerCounter = 0;
  std::uint32_t m_RandomSeed = 0;
  // Buttons still held from a menu or a message do not reach the game until all are released.
  std::int32_t m_SwallowButtons = 0;
  std::int32_t m_StatusChanged = 0;
  // What the event scripts are running: the character whose flows run or start, its runner and the
  // command instance being executed; null outside. Re-bound after any change of the vectors they
  // point into.
  cCharaBase* m_ExecChara = nullptr;
  cFlowRunner* m_ExecFlow = nullptr;
  cCommandInstance* m_ExecCommand = nullptr;
  // A message of a flow-command list stays open for the next one.
  std::int32_t m_MessageOpen = 0;
  CheckedVector<std::int32_t> m_StageVars;
  CheckedVector<std::uint8_t> m_ActivationTable;
  // Block characters found present by this step's presence pass. None: no object looks for block
  // characters to collide with this step (characters only become present in that pass).
  std::int32_t m_BlockCharasPresent = 0;
  std::int32_t m_FrameTime = 0;
  std::int32_t m_CountedFps = 0;
  std::int32_t m_NextCharaId = 0;
  std::int32_t m_NextItemId = 0;
  std::int32_t m_NextExtraId = 0;
  std::array<std::int32_t, kObjectOutRules> m_OutRuleOn{};
  // The map cells a toggling block summon has changed already; the summon empties it first.
  CheckedVector<std::int32_t> m_ToggledCells;
  // A block summon outside the map has been written to the report log (once per stage play).
  std::int32_t m_OutsideCellReported = 0;
  std::int32_t m_FrameCount = 0;
  std::int32_t m_NextStage = 0;
  std::int32_t m_RankEntryPossible = 0;
  CheckedVector<std::int32_t> m_RankPositions;
  CheckedVector<std::int32_t> m_RankValues;
  std::string m_EntryName;
  std::int32_t m_RankRegistered = 0;

 private:
  // Hero 0's step of one logic step; true when the frame ends here, undrawn.
  bool StepHero(cHero& hero);
  // The characters of one kind (block characters or the others) for one logic step; true when the
  // frame ends here, undrawn.
  bool StepCharas(bool blockCharas);
  // The end of the hero: a death (with its debug text when given), a kill, or a clear. Each ends the
  // frame undrawn.
  void KillHero(cHero& hero, const char* text);
  void ClearStage();
  // The parts of one frame of play.
  bool TakeInput();
  bool RunLogicStep(std::int32_t step);
  void ExpireObjects();
  void RemoveOutsideObjects();
  // The drawing of the menus of the pause and retry states.
  void DrawMenu(std::int32_t firstText, std::int32_t count);
  std::int32_t PauseMenuEntries() const;
  // The states' common exits.
  void Restart(std::int32_t startBgm);
  void LeaveTo(std::int32_t nextScene);
  // The stage drawing draws this scene's objects (the heroes, items and characters).
  void InstallDrawers();
  // The pictures of a first entry (false when one did not load).
  bool LoadPlaySurfaces();

  // The play surfaces were loaded by this scene, which gives them back.
  bool m_Entered = false;
};

// The play scene while a stage is played, else null.
extern cPlayScene* g_PlayScene;

// 1 / sqrt(2), computed once at start-up; the steering of a fleeing move uses it.
extern const double g_InvSqrt2;

// Life accounting after a lost life: 1 when play goes on (a test play, unlimited lives, or a life
// was taken), 0 when no life was left.
std::int32_t UseLife(cSaveData& progress);

// Rounds of replay play-back that have come to their end in this run: the play-back started over
// (the recorded input ran out, or the hero's death was shown) or the stage was cleared. Those who
// check a replay frame by frame stop there. Game thread only.
extern std::uint32_t g_ReplayRoundsEnded;

// The replay hot keys of the frame (F1 and F2); 1 when one was handled.
std::uint32_t ServeReplayHotKeys();

// What follows when the scripts change these during play:
// the sight range (in the definition) of a hero: its light radius follows, and the darkness overlay
// of a stage that darkens is built anew (the callers pass only the characters that have a light);
void SightChanged(cCharaBase& chara);
// the auto-scroll speed of axis 0 (across) or 1 (up and down): the axis takes it, switched as it is.
void ScrollSpeedChanged(std::int32_t axis);

// The marks of the contact schedule: steps entries, of which contacts (c, 0 = every step) are 1,
// spread evenly.
void BuildContactSchedule(CheckedVector<std::int32_t>& schedule, std::int32_t steps, std::int32_t contacts);

// Longest play time counted, in 1/100 s.
constexpr std::int32_t kMaxPlayTime = 599999;
