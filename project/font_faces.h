#pragma once
// The font faces of the project settings: FontFaceIndex is a row of FontFaceTable, and that row's
// name becomes the face of all three fonts at start-up.
#include <string>

#include "project/label_list.h"

// The row of "ＭＳ Ｐゴシック": the face of a new project.
constexpr int kDefaultFontFaceIndex = 60;

// 122 face names and the empty end row.
extern const LabelList FontFaceTable;

// The face of a row; rows that name no face (negative, the end row, beyond it) give the default.
const std::string& FontFaceName(int row);
