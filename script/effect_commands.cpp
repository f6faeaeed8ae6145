#include "script/effect_commands.h"

#include <cmath>

#include "platform/display/display.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "play/chara_base.h"
#include "play/dots.h"
#include "play/effect_instance.h"
#include "play/hero.h"
#include "play/pause.h"
#include "play/picture.h"
#include "play/play_scene.h"
#include "project/database.h"
#include "project/flow_command.h"
#include "script/conditions.h"
#include "script/move_commands.h"

namespace {

// Frames per tenth of a second.
constexpr std::int64_t kFramesPerTenth = 6;
// The view the screen modes place on: 640 x 480, centre (320, 240), cells of 32 dots.
constexpr double kViewCentreX = 320.0;
constexpr double kViewCentreY = 240.0;
constexpr double kCellSize = 32.0;

// The low 16 bits of a number parameter: the commands store table numbers in 16 bits.
std::int32_t TableNumber(std::int32_t p) { return p & 0xFFFF; }

// |percent| of a cell size, with the sign of percent, rounded half away from zero.
std::int32_t PercentOfCell(std::int32_t percent, std::int32_t cell) {
  double v = std::fabs(static_cast<double>(percent)) * cell * 0.01;
  if (percent < 0) v = -v;
  return TruncDot(v >= 0.0 ? v + 0.5 : v - 0.5);
}

// The definition of picture `number`, or null: 0 names none, and a number outside the table is
// reported as every checked table read is.
const cPictureDef* PictureDefOf(std::int32_t number) {
  const auto& table = g_Database.m_Pictures;
  if (number == 0) return nullptr;
  if (number >= table.Size()) {
    ReportBadVectorIndex(number, table.Size(), CheckedElementSize<cPictureDef>());
    return nullptr;
  }
  return &table[static_cast<std::size_t>(number)];
}

// A new surface of g_PictureSurfaces with the picture's file, its descriptor beside it; null after
// the failure box, the log line and the close, with both lists as they were.
DDSURFACEDATA* LoadPictureSurface(const cPictureDef& def) {
  const std::string& file = def.m_FileName;
  g_PictureDescriptors.emplace_back(file.c_str(), 1, 1, 0, 0, 0, 0, 0, 0, 0, 0);
  DDSURFACEDATA* surface = &g_PictureSurfaces.emplace_back();
  const std::int32_t result = CreateSurfaceFromFile(surface, file, 1, g_DisplayParams.bpp, 1, 0, 0, 0, 0, 0, 0);
  if (CheckSurfaceResult(result)) return surface;
  RemoveSurfaceFromList(g_PictureSurfaces, g_PictureDescriptors, surface);
  ErrMesBox(SJ("%s 読み込み失敗！").c_str(), file.c_str());
  LogFAndClose(SJ("%s 読み込み失敗！").c_str(), file.c_str());
  return nullptr;
}

// The first picture shown with an ID equal to id.
std::list<cPicture>::iterator FindPictureById(std::list<cPicture>& pictures, std::int32_t id) {
  for (auto it = pictures.begin(); it != pictures.end(); ++it)
    if (it->m_UseId != 0 && it->m_PictureId == id) return it;
  return pictures.end();
}

}  // namespace

void EffectPosition(double& x, double& y, std::int32_t w, std::int32_t h, const cCharaBase& object,
                    std::int32_t mode, std::int32_t column, std::int32_t row, std::int32_t offsetX,
                    std::int32_t offsetY) {
  const cPlayScene* scene = g_PlayScene;
  const double cx = scene != nullptr ? scene->m_ScrollX.m_Pos : 0.0;
  const double cy = scene != nullptr ? scene->m_ScrollY.m_Pos : 0.0;
  const std::int32_t halfW = w >> 1;
  const std::int32_t halfH = h >> 1;
  const cCharaBase* centre = nullptr;
  if (mode == kPositionCharaCentre) centre = &object;
  if (mode == kPositionHeroCentre && scene != nullptr) centre = scene->Hero0();
  switch (mode) {
    case kPositionCharaCentre:
    case kPositionHeroCentre:
      // Without a hero there is nothing to centre on: the view's centre stands in.
      if (centre == nullptr) break;
      x = centre->ScreenCentreX() + cx - halfW + offsetX;
      y = centre->ScreenCentreY() + cy - halfH + offsetY;
      return;
    case kPositionScreenCell:
      x = column * kCellSize + cx + offsetX;
      y = row * kCellSize + cy + offsetY;
      return;
    case kPositionStageCell: {
      const std::int32_t marginX = scene != nullptr ? scene->m_ScrollX.m_MarginCells : 0;
      const std::int32_t marginY = scene != nullptr ? scene->m_ScrollY.m_MarginCells : 0;
      x = (static_cast<double>(marginX) + column) * kCellSize + offsetX;
      y = (static_cast<double>(marginY) + row) * kCellSize + offsetY;
      return;
    }
    default:
      break;
  }
  x = cx + kViewCentreX - halfW + offsetX;
  y = cy + kViewCentreY - halfH + offsetY;
}

void DoRunEffect(cCharaBase& object, const cFlowCommand& command) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr || scene->m_CloseRequested.load() != 0) return;
  const std::int32_t p0 = CommandParam(command, kEffectNumber);
  if (p0 == 0) {
    scene->m_Effects.clear();
    return;
  }
  // A number that names no effect (0 in its low 16 bits, or beyond the table) runs nothing.
  const std::int32_t number = TableNumber(p0);
  const cEffectDef* def = EffectDefOf(number);
  if (def == nullptr) return;
  const std::int32_t size = CommandParam(command, kEffectSize);
  const std::int32_t w = PercentOfCell(size, def->m_CellWidth);
  const std::int32_t h = PercentOfCell(size, def->m_CellHeight);
  double x = 0.0, y = 0.0;
  EffectPosition(x, y, w, h, object, CommandParam(command, kEffectPosition), CommandParam(command, kEffectColumn),
                 CommandParam(command, kEffectRow), CommandParam(command, kEffectOffsetX),
                 CommandParam(command, kEffectOffsetY));
  const std::int32_t wait = CommandParam(command, kEffectWait);
  scene->m_Effects.emplace_back().SetupAt(number, x, y, w, h, wait);
  if (wait == 0) return;
  // The instance keeps animating through the wait and ends by itself on its last frame.
  InitPauseRequest(scene->m_PauseRequest, kPauseEffect, 0, EffectLengthFrames(number), 0);
  RunPause(*scene, false);
}

void DoShowPicture(cCharaBase& object, const cFlowCommand& command) {
  cPlayScene* scene = g_PlayScene;
  if (scene == nullptr || scene->m_CloseRequested.load() != 0) return;
  std::list<cPicture>& pictures = scene->m_Pictures;
  const std::int32_t p0 = CommandParam(command, kPictureNumber);
  const std::int32_t useId = CommandParam(command, kPictureUseId);
  const std::int32_t id = CommandParam(command, kPictureId);
  if (p0 == 0 && useId == 0) {
    ClearPictureLists();
    return;
  }
  auto replaced = useId != 0 ? FindPictureById(pictures, id) : pictures.end();
  const cPictureDef* def = PictureDefOf(TableNumber(p0));
  if (def == nullptr) {
    // Nothing to show: with an ID the picture it names goes all the same.
    if (replaced != pictures.end()) ErasePicture(pictures, replaced);
    return;
  }
  // The new picture is loaded before the one it replaces goes: a failure leaves every list as it was.
  DDSURFACEDATA* surface = LoadPictureSurface(*def);
  if (surface == nullptr) return;
  auto place = replaced != pictures.end() ? ErasePicture(pictures, replaced) : pictures.end();

  const std::int32_t scale = CommandParam(command, kPictureScale);
  const std::int32_t w = PercentOfRounded(surface->width, scale);
  const std::int32_t h = PercentOfRounded(surface->height, scale);
  double x = 0.0, y = 0.0;
  EffectPosition(x, y, w, h, object, CommandParam(command, kPicturePosition), CommandParam(command, kPictureColumn),
                 CommandParam(command, kPictureRow), CommandParam(command, kPictureOffsetX),
                 CommandParam(command, kPictureOffsetY));
  const std::int32_t endMode = CommandParam(command, kPictureEndMode);
  const std::int32_t frames = ClampToInt32(CommandParam(command, kPictureTime) * kFramesPerTenth);
  const std::int32_t stopGame = CommandParam(command, kPictureStopGame);
  cPicture picture;
  SetupPicture(picture, static_cast<std::uint16_t>(TableNumber(p0)), x, y, w, h, CommandParam(command, kPictureFixed),
               CommandParam(command, kPictureLayer), scale, endMode, frames, stopGame, useId, id);
  picture.m_Surface = surface;
  const cPicture* shown = &*pictures.insert(place, picture);
  if (stopGame == 0) return;

  // "Until the stage ends" has no end while the game stands still: it waits for the key as mode 0.
  if (endMode == kPictureTimed)
    InitPauseRequest(scene->m_PauseRequest, kPausePicture, 0, frames, 0);
  else
    InitPauseRequest(scene->m_PauseRequest, kPausePicture, 1, 0, 0);
  RunPause(*scene, false);
  // Taken out by identity: pictures before it may have ended during the wait.
  RemovePicture(pictures, shown);
}
