#pragma once
// What the stored values of a character definition mean; row = stored value. The player reads
// none of them. The values of flight, invincibility and enlargement are those of the character
// states of the same names (CharaStateRows), and the effect modes those of the effect commands
// (EffectModeLabels).
#include "project/label_list.h"

// Who steers the character: 0 the player, 1 the computer.
const LabelList& CharaOperatorLabels();
// The input device of a player-steered character; there is one.
const LabelList& CharaPlayerLabels();
// The area in which the character sees.
const LabelList& SightShapeLabels();
// The box the character's body uses against other characters.
const LabelList& BodyBoxLabels();
// Where the character must be to be active, and how that combines with its activation group.
const LabelList& ActivityRangeLabels();
const LabelList& ActivationModeLabels();
// Switches shown as "OFF" and "ON": transparent, fixed facing, block character, scroll sync.
const LabelList& CharaOnOffLabels();
