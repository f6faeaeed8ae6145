// Seams of the character commands that later work fills in. Each runs for its command's duration
// and changes nothing yet: a flow that uses one still keeps its timing, so the commands around it
// behave as they will. Each says which work fills it.
#include "script/later_commands.h"

// Taking an item: the item-command work.
void CmdGetItem(cCharaBase&, cCommandInstance&) {}

// Graphics, animations, effects, pictures, the screen colour, the background, sounds and music: the
// presentation work.
void CmdChangeGraphic(cCharaBase&, cCommandInstance&) {}
void CmdChangeBaseAnimeSet(cCharaBase&, cCommandInstance&) {}
void CmdRunAnime(cCharaBase&, cCommandInstance&) {}
void CmdRunEffect(cCharaBase&, cCommandInstance&) {}
void CmdRunCharaEffect(cCharaBase&, cCommandInstance&) {}
void CmdRunScrEffect(cCharaBase&, cCommandInstance&) {}
void CmdShowPicture(cCharaBase&, cCommandInstance&) {}
void CmdChangeScreenColour(cCharaBase&, cCommandInstance&) {}
void CmdChangeBackground(cCharaBase&, cCommandInstance&) {}
void CmdPlaySE(cCharaBase&, cCommandInstance&) {}
void CmdPlayBGM(cCharaBase&, cCommandInstance&) {}
