// Seams of the character commands that later work fills in. Each runs for its command's duration
// and changes nothing yet: a flow that uses one still keeps its timing, so the commands around it
// behave as they will. Each says which work fills it.
#include "script/later_commands.h"

// Shots, the sword and the three summons: the shot and summon work (the command's shot record).
void CmdShot(cCharaBase&, cCommandInstance&) {}
void CmdSword(cCharaBase&, cCommandInstance&) {}
void CmdSummonBlock(cCharaBase&, cCommandInstance&) {}
void CmdSummonChara(cCharaBase&, cCommandInstance&) {}
void CmdSummonItem(cCharaBase&, cCommandInstance&) {}

// The two status operations: the status-operation work.
void CmdStatusOperation(cCharaBase&, cCommandInstance&) {}
void CmdStatusOperation2(cCharaBase&, cCommandInstance&) {}

// Taking an item: the item-command work.
void CmdGetItem(cCharaBase&, cCommandInstance&) {}

// Graphics, animations, effects, pictures, the screen colour, the background, sounds, music and
// code: the presentation work.
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
void CmdRunCode(cCharaBase&, cCommandInstance&) {}
