#include "shell/scene.h"

#include <exception>
#include <new>

#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/palette_fade.h"
#include "platform/input/input.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "shell/menu_cursor.h"
#include "shell/scene_manager.h"

std::vector<DDSURFACEDATA> g_MenuSurfaces;
std::vector<SurfaceDescriptor> g_MenuSurfaceDescriptors;

const cInput& MenuInput() {
  static const cInput idle;
  return g_Inputs.empty() ? idle : g_Inputs[0];
}

cScene::cScene() { SetHandlers({}); }

cScene::~cScene() = default;

void cScene::SetHandlers(std::initializer_list<Handler> middle) {
  m_HandlerCount = 0;
  m_Handlers[m_HandlerCount++] = &cScene::CallFadeIn;
  for (Handler handler : middle)
    if (m_HandlerCount < kMaxHandlers - 1) m_Handlers[m_HandlerCount++] = handler;
  m_Handlers[m_HandlerCount++] = &cScene::CallFadeOut;
}

void cScene::CallStateHandler() {
  if (m_State < 0 || m_State >= HandlerCount()) return;
  (this->*m_Handlers[static_cast<std::size_t>(m_State)])();
}

void cScene::MenuFrame() {
  if (m_State == kBroken) return;
  if (!g_Inputs.empty()) {
    g_Inputs[0].AutoRepeat();
    g_Inputs[0].TriggerButtons(3);
  }
  if (m_State == kNotEntered) {
    if (!EnterSceneGuarded(*this)) return;
    m_State = 0;
  }
  CallStateHandler();
}

void cScene::FadeOutTo(std::int32_t nextSlot) {
  g_SceneManager.m_Next = nextSlot;
  m_State = FadeOutState();
}

bool cScene::MenuFadeOutStep(std::int32_t ownSlot) {
  if (!ScreenFadeOut(g_FadePalette, 0, 255, 0, 0, 0, g_SceneManager.m_FadeSpeed, g_Palette, false)) return false;
  DDClear(&g_BackSurface, 16);
  g_MenuCursor.Reset();
  g_SceneManager.m_Previous = ownSlot;
  g_SceneManager.m_Current = g_SceneManager.m_Next;
  return true;
}

void cScene::MenuFadeInStep() {
  if (ScreenFadeIn(g_FadePalette, 0, 255, 0, 0, 0, g_SceneManager.m_FadeSpeed, g_Palette, false)) m_State = 1;
}

namespace {

// The scene goes no further and the program closes in order; the reason stays in the report log.
void ReportSceneFailure(cScene& scene, const char* what) {
  ReportLogAndLog("%s", what);
  LogFAndClose("%s", what);
  scene.m_State = cScene::kBroken;
}

}  // namespace

bool EnterSceneGuarded(cScene& scene) {
  try {
    scene.Enter();
    return true;
  } catch (const char* text) {
    ReportSceneFailure(scene, text ? text : "");
  } catch (const std::bad_alloc&) {
    scene.m_State = cScene::kBroken;
    MemoryErrBox();
  } catch (const std::exception& e) {
    ReportSceneFailure(scene, e.what());
  } catch (...) {
    ReportSceneFailure(scene, "scene Enter failed");
  }
  return false;
}
