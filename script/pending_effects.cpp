#include "script/pending_effects.h"
void DoRunEffect(cCharaBase&, const cFlowCommand&) {}
void DoShowPicture(cCharaBase&, const cFlowCommand&) {}
void DoRunScrEffect(cCharaBase&, const cFlowCommand&) {}
void CmdRunEffect(cCharaBase&, cCommandInstance&) {}
void CmdShowPicture(cCharaBase&, cCommandInstance&) {}
void CmdRunScrEffect(cCharaBase&, cCommandInstance&) {}
