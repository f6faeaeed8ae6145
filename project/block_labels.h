#pragma once
// What the stored values of a block mean. Row = stored value, except for the pass groups.
#include <cstdint>

#include "project/label_list.h"

extern const LabelList CellEffectLabels;     // the effect on a hero on the block; X is its value
extern const LabelList PassGroupLabels;      // row r names pass group r - 1: "なし" is -1
extern const LabelList InheritSourceLabels;  // 0 none, 1 common palette, 2 stage palette
extern const LabelList ItemSourceLabels;
extern const LabelList ChipSourceLabels;
extern const LabelList MarkModeLabels;
extern const LabelList SolidLabels;

// Choice lists of the editing program, kept with the vocabulary; the player never reads them.
extern const LabelList BlockOnOffLabels;
extern const LabelList BlockInheritCommonChoiceLabels;  // none or the common palette
extern const LabelList BlockInheritStageChoiceLabels;   // none or the stage palette
extern const LabelList BlockInheritNoneChoiceLabels;    // none alone
extern const LabelList BlockPaletteChoiceLabels;        // the stage palette or the common palette
extern const LabelList BlockItemCommonChoiceLabels;     // none or the common palette

// The label of a stored pass group.
inline const std::string& PassGroupLabel(std::int8_t group) { return PassGroupLabels[group + 1]; }
