#include "script/event_scripts.h"

#include "script/conditions.h"

namespace {

// The one implementation, alive for the whole program.
cEventScriptRuntime g_EventScriptRuntime;

}  // namespace

void InstallEventScripts() { SetEventScripts(&g_EventScriptRuntime); }

void UninstallEventScripts() {
  if (EventScripts() == &g_EventScriptRuntime) SetEventScripts(nullptr);
}

// Stage play's appearance checks are the scripts' own, in their namespace apart from the seam's.
std::int32_t cEventScriptRuntime::CheckCellConditions(cMapCell& cell) { return script::CheckCellConditions(cell); }
std::int32_t cEventScriptRuntime::CheckCharaConditions(cCharaBase& chara) {
  return script::CheckCharaConditions(chara);
}
std::int32_t cEventScriptRuntime::CheckItemConditions(cItem& item) { return script::CheckItemConditions(item); }
