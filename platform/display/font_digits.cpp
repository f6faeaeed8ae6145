// The digit strips of the three fonts, and the start-up's and the shutdown's fonts.
#include "platform/display/blit.h"
#include "platform/display/display.h"
#include "platform/display/font.h"

DDSURFACEDATA g_FontSurfaces[kFontCount];

// Empty surfaces with the colour key, in video memory.
const SurfaceDescriptor g_FontSurfaceDescriptors[kFontCount] = {
    SurfaceDescriptor("", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    SurfaceDescriptor("", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    SurfaceDescriptor("", 1, 0, 0, 0, 0, 0, 0, 0, 0, 0),
};

namespace {

// A picture of the surface table, or none for an index outside it.
DDSURFACEDATA* TableEntry(std::int32_t index) {
  return index >= 0 && index < kSurfaceTableSize ? &g_SurfaceTable[index] : nullptr;
}

}  // namespace

std::int32_t CreateFonts(Font* fonts, const FontSetting* settings, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) {
    const FontSetting& s = settings[i];
    fonts[i].Create(s.face.c_str(), s.width, s.height, s.pitch, s.lineHeight, static_cast<std::uint32_t>(s.palNum),
                    TableEntry(s.windowImage), s.frameWidth, static_cast<std::uint32_t>(s.framePalNum),
                    TableEntry(s.letterImage));
  }
  return 1;
}

std::int32_t CreateDigitImages(DDSURFACEDATA* surfaces, const SurfaceDescriptor* descriptors, std::int32_t count,
                               Font* fonts, const FontSetting* settings) {
  for (std::int32_t i = 0; i < count; ++i) {
    const SurfaceDescriptor& d = descriptors[i];
    // A strip that cannot be made stays empty; the digits drawn from it are missing, nothing more.
    DDCreateSurface(&surfaces[i], 10 * settings[i].pitch, settings[i].lineHeight, d.colourKey, d.systemMemory,
                    d.softwareTexture, d.shared, 0);
    DrawDigitStrip(&surfaces[i], &fonts[i]);
  }
  return 1;
}

void DrawDigitStrip(DDSURFACEDATA* lpSD, Font* font) {
  if (!lpSD || !font) return;
  DDFillRect(lpSD, 0, 0, lpSD->width, lpSD->height, 0);
  font->Draw(lpSD, 0, 0, "0123456789", 0);
}

void CreateGameFonts(const std::string& face, std::int32_t messageFontLetters, std::int32_t messageFontCentred) {
  for (FontSetting& setting : g_FontSettings) setting.face = face;
  CreateFonts(g_Fonts, g_FontSettings, kFontCount);
  g_Fonts[1].bLetters = messageFontLetters;
  g_Fonts[1].bCenterGlyphs = messageFontCentred;
  CreateDigitImages(g_FontSurfaces, g_FontSurfaceDescriptors, kFontCount, g_Fonts, g_FontSettings);
}

void ReleaseGameFonts() {
  for (Font& font : g_Fonts) font.Release();
  for (DDSURFACEDATA& strip : g_FontSurfaces) DDReleaseSurface(&strip);
}
