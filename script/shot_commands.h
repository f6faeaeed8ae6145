#pragma once
// The handlers of "ショット", "ソード" and the three summon commands: they decide when a volley, a
// swing or a summon happens while the command runs, and with which sound; what it places is the
// firing code's (play/firing.h).
class cCharaBase;
struct cCommandInstance;

// The volley (summon) at the command's first step and then every tenth of a second.
void CmdShot(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonBlock(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonChara(cCharaBase& chara, cCommandInstance& instance);
void CmdSummonItem(cCharaBase& chara, cCommandInstance& instance);
// One swing at the command's first step, however long the command lasts.
void CmdSword(cCharaBase& chara, cCommandInstance& instance);
