#pragma once
// Temporary: the effect, picture and screen-effect workers until their branches are merged.
#include <cstdint>
class cCharaBase;
class cFlowCommand;
struct cCommandInstance;
void DoRunEffect(cCharaBase& object, const cFlowCommand& command);
void DoShowPicture(cCharaBase& object, const cFlowCommand& command);
void DoRunScrEffect(cCharaBase& object, const cFlowCommand& command);
void CmdRunEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdShowPicture(cCharaBase& chara, cCommandInstance& instance);
void CmdRunScrEffect(cCharaBase& chara, cCommandInstance& instance);
