#pragma once
// The two presentation commands that place something in the stage: エフェクトの実行 runs an effect
// of the database, ピクチャーの表示 shows a picture; either may hold the game until it is over.
// The character command handlers and the command lists of items call the same workers.
#include <cstdint>

class cCharaBase;
class cFlowCommand;

// The position modes the two commands share.
enum EffectPositionMode : std::int32_t {
  kPositionScreenCentre = 0,
  kPositionCharaCentre = 1,
  kPositionHeroCentre = 2,
  kPositionScreenCell = 3,
  kPositionStageCell = 4,
};

// エフェクトの実行's parameters.
enum RunEffectParam : std::int32_t {
  kEffectNumber = 0,
  kEffectPosition = 1,
  kEffectColumn = 2,
  kEffectRow = 3,
  kEffectOffsetX = 4,
  kEffectOffsetY = 5,
  kEffectSize = 6,  // percent of the cell
  kEffectWait = 7,
  kRunEffectParamCount = 8,
};

// ピクチャーの表示's parameters.
enum ShowPictureParam : std::int32_t {
  kPictureNumber = 0,
  kPicturePosition = 1,
  kPictureColumn = 2,
  kPictureRow = 3,
  kPictureOffsetX = 4,
  kPictureOffsetY = 5,
  kPictureLayer = 6,
  kPictureScale = 7,  // percent; 100 is the picture's own size
  kPictureEndMode = 8,
  kPictureTime = 9,  // tenths of a second
  kPictureStopGame = 10,
  kPictureFixed = 11,
  kPictureUseId = 12,
  kPictureId = 13,
  kShowPictureParamCount = 14,
};

// Number 0 removes every running effect. Otherwise the effect at the given place and size; with
// the wait set the game holds until it has run its frames.
void DoRunEffect(cCharaBase& object, const cFlowCommand& command);
// Number 0 removes every picture, or with an ID only the first picture shown with that ID. Otherwise
// the picture is shown, in the place of the picture with the same ID when there is one; with the
// stop set the game holds for its time or key and the picture goes afterwards.
void DoShowPicture(cCharaBase& object, const cFlowCommand& command);

// The stage position (top left) of a w x h thing placed by a position mode: centred on the view, on
// the object, on hero 0, or at a cell of the view or of the stage, then moved by the offsets. An
// unknown mode places it as mode 0 does.
void EffectPosition(double& x, double& y, std::int32_t w, std::int32_t h, const cCharaBase& object,
                    std::int32_t mode, std::int32_t column, std::int32_t row, std::int32_t offsetX,
                    std::int32_t offsetY);
