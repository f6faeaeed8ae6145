#include "script/event_scripts.h"

namespace {

// The one implementation, alive for the whole program.
cEventScriptRuntime g_EventScriptRuntime;

}  // namespace

void InstallEventScripts() { SetEventScripts(&g_EventScriptRuntime); }

void UninstallEventScripts() {
  if (EventScripts() == &g_EventScriptRuntime) SetEventScripts(nullptr);
}
