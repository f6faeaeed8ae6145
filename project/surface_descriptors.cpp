// The fixed surface rows. The scenes load them in groups by index, so a row never moves: the play
// scene composes rows 63 and 64 from 20 and 21, the fonts take 45 and 50, the world map puts its
// background file into 54, and the play scene its background layers into 55 to 62.
#include "project/surface_descriptors.h"

#include "platform/host/text_codec.h"

namespace {

// Argument order of the constructor: name, colourKey, systemMemory, softwareTexture, shared,
// paletteMap, optional, mirrorCellWidth, mirrorCellHeight, width, height.
SurfaceDescriptor Sheet(const char* name, std::int32_t colourKey, std::int32_t systemMemory = 0,
                        std::int32_t shared = 0, std::int32_t optional = 0, std::int32_t mirrorCellWidth = 0) {
  return SurfaceDescriptor(name, colourKey, systemMemory, 0, shared, 0, optional, mirrorCellWidth, 0, 0, 0);
}

// An empty surface made at the given size ("E": no bitmap).
SurfaceDescriptor Empty(std::int32_t colourKey, std::int32_t systemMemory, std::int32_t shared, std::int32_t width,
                        std::int32_t height) {
  return SurfaceDescriptor("E", colourKey, systemMemory, 0, shared, 0, 0, 0, 0, width, height);
}

// Only the first character sheet must be there; a game may use fewer than eight.
constexpr std::int32_t CharaOptional(int sheet) { return sheet == 1 ? 0 : 1; }

}  // namespace

// Rows 22 to 39 repeat rows 4 to 21 in system memory, each showing its row - 18 under Direct3D.
SurfaceDescriptor g_SurfaceDescriptors[kSurfaceTableSize] = {
    Sheet("bmp\\plt\\Palette.bmp", 0, 1),  // 0
    Sheet("bmp\\Debug.bmp", 1),            // 1
    Sheet("bmp\\Block.bmp", 1),            // 2
    Sheet("bmp\\Block.bmp", 1, 1, 1),      // 3
    // 4 to 19: each character sheet, then the same sheet mirrored in 32-dot cells.
    Sheet("bmp\\Character1.bmp", 1, 0, 0, CharaOptional(1)),
    Sheet("bmp\\Character1.bmp", 1, 0, 0, CharaOptional(1), 32),
    Sheet("bmp\\Character2.bmp", 1, 0, 0, CharaOptional(2)),
    Sheet("bmp\\Character2.bmp", 1, 0, 0, CharaOptional(2), 32),
    Sheet("bmp\\Character3.bmp", 1, 0, 0, CharaOptional(3)),
    Sheet("bmp\\Character3.bmp", 1, 0, 0, CharaOptional(3), 32),
    Sheet("bmp\\Character4.bmp", 1, 0, 0, CharaOptional(4)),
    Sheet("bmp\\Character4.bmp", 1, 0, 0, CharaOptional(4), 32),
    Sheet("bmp\\Character5.bmp", 1, 0, 0, CharaOptional(5)),
    Sheet("bmp\\Character5.bmp", 1, 0, 0, CharaOptional(5), 32),
    Sheet("bmp\\Character6.bmp", 1, 0, 0, CharaOptional(6)),
    Sheet("bmp\\Character6.bmp", 1, 0, 0, CharaOptional(6), 32),
    Sheet("bmp\\Character7.bmp", 1, 0, 0, CharaOptional(7)),
    Sheet("bmp\\Character7.bmp", 1, 0, 0, CharaOptional(7), 32),
    Sheet("bmp\\Character8.bmp", 1, 0, 0, CharaOptional(8)),
    Sheet("bmp\\Character8.bmp", 1, 0, 0, CharaOptional(8), 32),
    Sheet("bmp\\Shot.bmp", 1),              // 20
    Sheet("bmp\\Shot.bmp", 1, 0, 0, 0, 16),  // 21
    // 22 to 39
    Sheet("bmp\\Character1.bmp", 1, 1, 1, CharaOptional(1)),
    Sheet("bmp\\Character1.bmp", 1, 1, 1, CharaOptional(1), 32),
    Sheet("bmp\\Character2.bmp", 1, 1, 1, CharaOptional(2)),
    Sheet("bmp\\Character2.bmp", 1, 1, 1, CharaOptional(2), 32),
    Sheet("bmp\\Character3.bmp", 1, 1, 1, CharaOptional(3)),
    Sheet("bmp\\Character3.bmp", 1, 1, 1, CharaOptional(3), 32),
    Sheet("bmp\\Character4.bmp", 1, 1, 1, CharaOptional(4)),
    Sheet("bmp\\Character4.bmp", 1, 1, 1, CharaOptional(4), 32),
    Sheet("bmp\\Character5.bmp", 1, 1, 1, CharaOptional(5)),
    Sheet("bmp\\Character5.bmp", 1, 1, 1, CharaOptional(5), 32),
    Sheet("bmp\\Character6.bmp", 1, 1, 1, CharaOptional(6)),
    Sheet("bmp\\Character6.bmp", 1, 1, 1, CharaOptional(6), 32),
    Sheet("bmp\\Character7.bmp", 1, 1, 1, CharaOptional(7)),
    Sheet("bmp\\Character7.bmp", 1, 1, 1, CharaOptional(7), 32),
    Sheet("bmp\\Character8.bmp", 1, 1, 1, CharaOptional(8)),
    Sheet("bmp\\Character8.bmp", 1, 1, 1, CharaOptional(8), 32),
    Sheet("bmp\\Shot.bmp", 1, 1, 1),
    Sheet("bmp\\Shot.bmp", 1, 1, 1, 0, 16),
    Sheet("bmp\\Item.bmp", 1),                    // 40
    Sheet("bmp\\Item.bmp", 1, 1, 1),              // 41
    Sheet("bmp\\Item_Mini.bmp", 1),               // 42
    Sheet("bmp\\Mark.bmp", 1),                    // 43
    Sheet("bmp\\Mark.bmp", 1, 1, 1),              // 44
    Sheet("bmp\\Window.bmp", 0),                  // 45
    Sheet("bmp\\StatusWindow.bmp", 0),            // 46
    Sheet("bmp\\Title.bmp", 0),                   // 47
    Sheet("bmp\\GameMode.bmp", 1, 0, 0, 1),       // 48: the title scene's alone
    Sheet("bmp\\Accessory.bmp", 1),               // 49
    Sheet("bmp\\Symbol.bmp", 1),                  // 50
    Sheet("bmp\\Word.bmp", 1),                    // 51
    Sheet("bmp\\WorldMapChip.bmp", 1),            // 52
    Sheet("bmp\\WorldEvent.bmp", 1, 1),           // 53
    Sheet("bmp\\WorldBack.bmp", 0, 1, 0, 1),      // 54
    Sheet(SJ("背景その1.bmp").c_str(), 0, 0, 0, 1),  // 55: the back layer, drawn without a key colour
    Sheet(SJ("背景その2.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その3.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その4.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その5.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その6.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その7.bmp").c_str(), 1, 0, 0, 1),
    Sheet(SJ("背景その8.bmp").c_str(), 1, 0, 0, 1),  // 62
    Empty(1, 1, 0, 256, 960),                       // 63
    Empty(1, 1, 0, 256, 960),                       // 64
    Empty(1, 1, 0, 640, 480),                       // 65
    Empty(0, 1, 0, 640, 480),                       // 66
    Empty(1, 0, 0, 640, 480),                       // 67
    Empty(1, 1, 1, 640, 480),                       // 68
};

const SurfaceLink g_SurfaceLinks[kSurfaceLinkCount] = {
    {3, 2},   {22, 4},  {23, 5},  {24, 6},  {25, 7},  {26, 8},  {27, 9},  {28, 10},
    {29, 11}, {30, 12}, {31, 13}, {32, 14}, {33, 15}, {34, 16}, {35, 17}, {36, 18},
    {37, 19}, {38, 20}, {39, 21}, {41, 40}, {44, 43}, {68, 67},
};

void LinkSourceSurfaces() {
  for (const SurfaceLink& link : g_SurfaceLinks) g_SurfaceTable[link.row].shared = &g_SurfaceTable[link.source];
}
