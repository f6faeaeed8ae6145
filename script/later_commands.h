#pragma once
// The handlers of the character commands that later work fills in: shots and summons, status
// operations, items, and the presentation commands. Until then each is a
// documented seam that does nothing (see later_commands.cpp).
class cCharaBase;
struct cCommandInstance;

void CmdShot(cCharaBase& chara, cCommandInstance& instance);
void CmdSword(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonBlock(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonChara(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonItem(cCharaBase& chara, cCommandInstance& instance);
void CmdStatusOperation(cCharaBase& chara, cCommandInstance& instance);
void CmdStatusOperation2(cCharaBase& chara, cCommandInstance& instance);
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
void CmdRunCode(cCharaBase& chara, cCommandInstance& instance);
