#pragma once
// The parameter tables of character and screen effects: five rows per kind {label, lowest, highest,
// default}, row = 5 x kind + parameter (parameter 0 is always the running time in tenths of a
// second; kind 0's rows and the parameters a kind does not use have an empty label), and the kind
// names. The editing program shows them; the player takes the defaults of the parameters that old
// files lack from them.
#include <span>

#include "project/label_list.h"
#include "project/param_desc.h"

constexpr int kEffectParamCount = 5;
constexpr int kCharaEffectKindCount = 16;  // kinds 1 .. 16; 0 is the plain draw
constexpr int kScrEffectKindCount = 13;    // kinds 1 .. 13; 0 is none

std::span<const ParamDesc> CharaEffectParams();
std::span<const ParamDesc> ScrEffectParams();

// Kind names, row = kind - 1: "破裂" .. "ぼかし" and "移動" .. "モザイク".
const LabelList& CharaEffectKindNames();
const LabelList& ScrEffectKindNames();

// Speed notes, row = kind - 1: "Direct3D有効時：" note, a line feed, "Direct3D無効時：" note.
const LabelList& CharaEffectNotes();
const LabelList& ScrEffectNotes();

// Parameter param of kind in one of the two tables; null outside it.
const ParamDesc* EffectParamRow(std::span<const ParamDesc> table, int kind, int param);
