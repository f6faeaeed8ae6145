#pragma once
// The handlers of the character commands that later work fills in: taking an item and the
// presentation commands. Until then each is a documented seam that does nothing (see
// later_commands.cpp).
class cCharaBase;
struct cCommandInstance;

void CmdGetItem(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeGraphic(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeBaseAnimeSet(cCharaBase& chara, cCommandInstance& instance);
void CmdRunAnime(cCharaBase& chara, cCommandInstance& instance);
void CmdRunEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdRunCharaEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdRunScrEffect(cCharaBase& chara, cCommandInstance& instance);
void CmdShowPicture(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeScreenColour(cCharaBase& chara, cCommandInstance& instance);
void CmdChangeBackground(cCharaBase& chara, cCommandInstance& instance);
void CmdPlaySE(cCharaBase& chara, cCommandInstance& instance);
void CmdPlayBGM(cCharaBase& chara, cCommandInstance& instance);
