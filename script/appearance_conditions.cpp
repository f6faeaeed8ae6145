// Placeholder: the appearance conditions of cells, characters and items hold.
#include "script/event_scripts.h"

std::int32_t cEventScriptRuntime::CheckCellConditions(cMapCell&) { return 1; }
std::int32_t cEventScriptRuntime::CheckCharaConditions(cCharaBase&) { return 1; }
std::int32_t cEventScriptRuntime::CheckItemConditions(cItem&) { return 1; }
