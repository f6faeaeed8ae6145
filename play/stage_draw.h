#pragma once
// One frame of a running stage on the back surface: the background layers and their scroll, the map
// cells of the back plane, the objects, the front layers and cells, the darkness, the presentation
// elements, the status bar and the time, the hint line of a test play and the screen colour.
//
// The draw pass changes the game: layers scroll, animations advance, ended deaths and presentation
// elements go, the time warning sounds. So it runs on every displayed frame, headless too.
#include <cstdint>

struct DDSURFACEDATA;
class cBlock;

// Planes of the background layers and the map cells: behind the objects, or in front of them.
constexpr std::int32_t kPlaneBack = 0;
constexpr std::int32_t kPlaneFront = 1;

// A stage shows at most this many background layers; layer i shows surface kBgLayerSurface + i.
constexpr std::int32_t kMaxBgLayers = 8;
constexpr std::int32_t kBgLayerSurface = 55;
// What the frame is filled with when no layer is shown at all.
constexpr std::uint32_t kNoLayerColour = 16;

// play: the logic ran this frame; frozen: the animated presentation elements keep still (1 on every
// frame but those of the logic step); countTime: the time warning may sound; hint: the hint line of a
// test play is shown. The logic step passes (1, 0, 1, 1), the other states (0, 1, 0, 1).
void DrawStage(std::int32_t play, std::int32_t frozen, std::int32_t countTime, std::int32_t hint);

// Advances the offsets of the automatically scrolling layers, once per drawn frame.
void ScrollBackgrounds();
// The shown layers of one plane, tiled over the whole frame.
void DrawBackgroundLayers(DDSURFACEDATA* dst, std::int32_t plane);
// The visible map cells of one plane.
void DrawMapCells(DDSURFACEDATA* dst, std::int32_t plane);
// One 32x32 cell with its mark.
void DrawBlock(const cBlock& block, DDSURFACEDATA* dst, std::int32_t x, std::int32_t y);

// Rebuilds the darkness picture of hero 0's field of view: darkness (at least 1280 x 960, its light
// hole in the middle) and the spot it is cut with. A picture that cannot be made shows the memory
// error and closes the program in order.
void BuildDarknessSurfaces(DDSURFACEDATA* darkness, DDSURFACEDATA* spot);
// Rows of g_SurfaceTable that hold them.
constexpr std::int32_t kDarknessSurface = 65;
constexpr std::int32_t kDarknessSpotSurface = 66;
