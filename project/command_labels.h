#pragma once
// The label lists of the command parameters and of flows: the names the editing program shows for
// stored values. The player reads none of them; they are kept so that a stored value has one
// meaning throughout (row = stored value, last row empty).
#include "project/label_list.h"

// "向き変更" P0.
const LabelList& FacingChoiceLabels();
// "ジャンプ": how the height is taken, and the unit of the height.
const LabelList& JumpKindLabels();
const LabelList& JumpUnitLabels();
// "フローの操作" P0 (operation) and P1 (which flows).
const LabelList& FlowOperationLabels();
const LabelList& FlowOperationTargetLabels();
// "ステージクリア" P0.
const LabelList& StageClearLabels();
// "メッセージ" P0 (position) and P6, also the duration of "ピクチャーの表示" (P8).
const LabelList& MessagePositionLabels();
const LabelList& DisplayDurationLabels();
// "ターゲットの設定" P0 (whom) and P2 (search range).
const LabelList& TargetChoiceLabels();
const LabelList& TargetSearchRangeLabels();
// "ステータスの操作": P0 what, P1 and P10 variable scope, P5 operation, P6 operand, P15 HP/SP calculation.
const LabelList& StatusKindLabels();
const LabelList& VariableScopeLabels();
const LabelList& StatusOperationLabels();
const LabelList& OperandLabels();
const LabelList& HpSpCalculationLabels();
// "キャラエフェクトの実行" and "画面エフェクトの実行" P1.
const LabelList& EffectModeLabels();
// "ピクチャーの表示" position.
const LabelList& PicturePositionLabels();
// "背景の変更" P1.
const LabelList& BackgroundVisibilityLabels();
// Palette of the summon commands and of "アイテムの取得", and the list with the common palette alone.
const LabelList& PaletteChoiceLabels();
const LabelList& CommonPaletteOnlyLabels();
// "フローの変更" P0 (what) and P1 (flow id, 0 removing all).
const LabelList& FlowChangeLabels();
const LabelList& FlowChangeIdLabels();

// The trigger of a flow.
const LabelList& FlowTriggerLabels();
// Flow ids ("-", "A".."Z") and groups ("-", "a".."z"): 27 rows each.
const LabelList& FlowIdLabels();
const LabelList& FlowGroupLabels();

// Subjects of the status commands and conditions.
const LabelList& SelfTargetLabels();
const LabelList& SelfTargetSystemLabels();
const LabelList& HeroTargetLabels();
const LabelList& HeroTargetSystemLabels();
