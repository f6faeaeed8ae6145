#include "shell/scene_manager.h"

#include <exception>
#include <new>

#include "platform/display/display.h"
#include "platform/display/font.h"
#include "platform/host/clock.h"
#include "platform/host/trace.h"
#include "platform/input/input.h"
#include "platform/input/key_config.h"
#include "platform/services/boxes.h"
#include "platform/services/format.h"
#include "platform/services/log.h"
#include "platform/services/timers.h"
#include "play/play_scene.h"
#include "shell/challenge_scene.h"
#include "shell/option_scene.h"
#include "shell/system_ini.h"
#include "shell/title_scene.h"
#include "shell/world_map_menu_scene.h"
#include "shell/world_map_scene.h"

cSceneManager g_SceneManager;

namespace {

// Deleted in this order when another slot becomes current.
constexpr std::array<std::int32_t, kSceneSlotCount> kDeleteOrder = {kSceneTitle,     kSceneWorldMapMenu,
                                                                    kSceneWorldMap,  kSceneChallenge,
                                                                    kScenePlay,      kSceneOption};

std::unique_ptr<cScene> MakeTitleScene() { return std::make_unique<cTitleScene>(); }

bool ValidSlot(std::int32_t slot) { return slot >= 0 && slot < kSceneSlotCount; }

}  // namespace

cSceneManager::cSceneManager() {
  // A handful of entries; the frame never adds to it afterwards.
  m_RestoreSets.reserve(8);
  AddRestoreSurfaces(&g_MenuSurfaces);
}

cSceneManager::~cSceneManager() { DeleteScenes(); }

cScene* cSceneManager::Scene(std::int32_t slot) const { return ValidSlot(slot) ? m_Scenes[slot].get() : nullptr; }

void cSceneManager::SetSceneFactory(std::int32_t slot, SceneFactory factory) {
  if (ValidSlot(slot)) m_Factories[slot] = factory;
}

void cSceneManager::DeleteScenes() {
  for (std::int32_t slot : kDeleteOrder) {
    m_Scenes[slot].reset();
  }
}

void cSceneManager::SetScene(std::int32_t slot) {
  for (std::int32_t other : kDeleteOrder) {
    if (other == slot || !m_Scenes[other]) continue;
    m_Scenes[other].reset();
  }
  if (!ValidSlot(slot)) return;
  if (slot != m_FailedSlot) m_FailedSlot = -1;
  if (m_Scenes[slot] || slot == m_FailedSlot) return;
  if (!CreateScene(slot)) m_FailedSlot = slot;
}

bool cSceneManager::CreateScene(std::int32_t slot) {
  try {
    SceneFactory factory = m_Factories[slot];
    if (factory)
      m_Scenes[slot] = factory();
    else if (slot == kSceneTitle)
      m_Scenes[slot] = MakeTitleScene();
    else if (slot == kScenePlay)
      m_Scenes[slot] = std::make_unique<cPlayScene>();
    else if (slot == kSceneWorldMap)
      m_Scenes[slot] = MakeWorldMapScene();
    else if (slot == kSceneWorldMapMenu)
      m_Scenes[slot] = MakeWorldMapMenuScene();
    else if (slot == kSceneChallenge)
      m_Scenes[slot] = MakeChallengeScene();
    else
      m_Scenes[slot] = MakeOptionScene();
  } catch (const std::bad_alloc&) {
    MemoryErrBox();
  } catch (const char* text) {
    ReportLogAndLog("%s", text ? text : "");
    LogFAndClose("%s", text ? text : "");
  } catch (const std::exception& e) {
    ReportLogAndLog("%s", e.what());
    LogFAndClose("%s", e.what());
  } catch (...) {
    ReportLogAndLog("scene %d could not be made", slot);
    LogFAndClose("scene %d could not be made", slot);
  }
  if (!m_Scenes[slot]) return false;
  Trace(FormatString("scene switch %d -> %d", m_Previous, slot));
  return true;
}

void cSceneManager::WaitNextFrame() {
  // Frames are paced by the clock at the manager's rate whatever the back-end: a vertical sync only
  // keeps the picture from tearing, so a fast monitor does not make the game fast. The wait sleeps
  // until the frame is due (the frame times are whole milliseconds).
  if (m_FrameRate <= 0) return;
  WaitFrameLimit(static_cast<std::uint32_t>(m_FrameRate));
}

void cSceneManager::PollInput() {
  if (!g_Inputs.empty()) PollInput(g_Inputs[0]);
}

void cSceneManager::PollInput(cInput& input) {
  if (g_KeyConfig.m_UseConfig == 0)
    input.Poll(0, kPollJoystick | kPollKeyboard, kPollRetryFrames);
  else
    input.PollConfigured(1, kPollRetryFrames);
}

void cSceneManager::DrawFrameRate(std::int32_t showFps) {
  if (showFps == 0) return;
  m_WorkRing[static_cast<std::size_t>(m_WorkRingIndex)] = m_WorkMs;
  m_WorkRingIndex = (m_WorkRingIndex + 1) % kWorkTimeRing;
  if (m_WorkRingIndex == 0) {
    std::int32_t sum = 0;
    for (std::int32_t ms : m_WorkRing) sum += ms;
    m_WorkMean = sum / kWorkTimeRing;
  }
  if (showFps == 2)
    g_Fonts[0].Printf(&g_BackSurface, kFpsTextX, kFpsTextY, "FPS%2d(%2d)", m_Fps, m_WorkMean);
  else
    g_Fonts[1].PrintfWindow(&g_BackSurface, kFpsWindowX, kFpsWindowY, 0, 0, "FPS%2d(%2d)", m_Fps, m_WorkMean);
}

int cSceneManager::Frame() {
  WaitNextFrame();
  StopwatchStart();
  if (!RestoreLostSurfaces()) return 0;
  PollInput();
  SetScene(m_Current);
  if (cScene* scene = Scene(m_Current)) scene->Frame();
  m_Fps = static_cast<std::int32_t>(CountFPS());
  m_WorkMs = static_cast<std::int32_t>(StopwatchElapsed());
  if (g_PlayScene) g_PlayScene->SetCountedFps(m_Fps);
  DrawFrameRate(g_SystemIni.ShowFps);
  PresentFrame();
  return 1;
}
