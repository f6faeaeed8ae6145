// The fonts themselves: making one for the active back-end, taking it through a loss of the display,
// and freeing it. The list of fonts, the three settings and the three fonts are defined here
// together, list first, so that a font destroyed at exit still finds the list.
#include "platform/display/font.h"

#include <algorithm>
#include <bit>
#include <mutex>
#include <set>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/present.h"
#include "platform/host/glyphs.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/text.h"

std::list<Font*> g_FontList;

FontSetting g_FontSettings[kFontCount] = {
    {SJ("ＭＳ ゴシック"), 0, 9, 10, 10, 241, 45, 1, 240, 50},
    {SJ("ＭＳ ゴシック"), 0, 16, 16, 16, 241, 45, 1, 240, 50},
    {SJ("ＭＳ ゴシック"), 0, 30, 32, 32, 241, 45, 1, 240, 50},
};

Font g_Fonts[kFontCount];

namespace {

// The longest face name a font keeps, as the system's font descriptions hold it.
constexpr std::size_t kFaceNameBytes = 31;

// The fonts take part in the display's restores through one client that walks g_FontList. It
// registers itself when it is made (the first font made) and leaves the list when it is destroyed
// at exit; the list is made during that registration, so it outlives the client.
class cFontRestore : public cRestoreClient {
 public:
  cFontRestore() { RegisterRestoreClient(this); }
  ~cFontRestore() override { UnregisterRestoreClient(this); }
  cFontRestore(const cFontRestore&) = delete;
  cFontRestore& operator=(const cFontRestore&) = delete;

  void OnLostDevice() override {
    for (Font* font : g_FontList) font->OnLostDevice();
  }
  void Restore() override {
    for (Font* font : g_FontList) font->Restore();
    // A reset makes the digit strips again empty; they are drawn again at once, or every number
    // drawn from them would vanish after the reset.
    for (int i = 0; i < kFontCount; ++i) {
      DDSURFACEDATA& strip = g_FontSurfaces[i];
      if (!strip.lpDT || !strip.lpDT->recreated) continue;
      DrawDigitStrip(&strip, &g_Fonts[i]);
      strip.lpDT->recreated = 0;
    }
  }
};

cFontRestore& FontRestore() {
  static cFontRestore client;
  return client;
}

// The palette entry of a text colour; a number beyond the palette takes entry 0.
const PALETTEENTRY& PaletteEntryOf(std::uint32_t palNum) {
  if (palNum > 255) {
    LogF("Font::Create Err dwPalNum = %u", palNum);
    return g_Palette[0];
  }
  return g_Palette[palNum];
}

// DirectDraw: a 16-bit channel is scaled up to 0..255 for the text colour.
std::uint32_t ScaledChannel(std::uint8_t value, std::uint32_t max) {
  return max != 0 ? std::min<std::uint32_t>(255, value * 255u / max) : value;
}

// DirectDraw: the pixel of the display format that the text colour comes out as. At 8 bits the
// font's own palette number; above, the colour's channels cut to the format's bits.
std::uint32_t TextPixelOf(std::uint32_t colorRef, std::uint32_t palNum) {
  const std::int32_t bpp = g_DisplayParams.bpp;
  if (bpp == 8) return palNum & 0xFF;
  const std::uint32_t red = colorRef & 0xFF, green = (colorRef >> 8) & 0xFF, blue = (colorRef >> 16) & 0xFF;
  if (bpp == 16) {
    const std::uint32_t* m = g_ColorMasks.data() + kSurfaceMasks;
    auto cut = [](std::uint32_t value, std::uint32_t mask, std::uint32_t shift) {
      const int bits = std::popcount(mask);
      return bits == 0 ? 0u : (value >> (8 - std::min(bits, 8))) << shift;
    };
    return cut(red, m[kMaskR], m[kMaskRShift]) | cut(green, m[kMaskG], m[kMaskGShift]) |
           cut(blue, m[kMaskB], m[kMaskBShift]);
  }
  return (red << 16) | (green << 8) | blue;
}

// Face names that had no Debian stand-in, each written to the debug log once.
void NoteFallbackFace(const std::string& face, const FontFile& file) {
  static std::mutex lock;
  static std::set<std::string> noted;
  std::lock_guard guard(lock);
  if (!noted.insert(face).second) return;
  LogF("Font face %s -> %s (%s)", face.c_str(), Utf8ToCp932(file.family).c_str(), file.path.string().c_str());
}

std::unique_ptr<cGlyphFont> OpenGlyphs(const std::string& face, std::int32_t height, std::int32_t width,
                                       GlyphRendering rendering) {
  const std::optional<FontFile> file = FindFontFile(face);
  if (!file) {
    LogF("CreateFont Err %s", face.c_str());
    return nullptr;
  }
  if (file->fallback) NoteFallbackFace(face, *file);
  std::unique_ptr<cGlyphFont> glyphs = cGlyphFont::Open(*file, height, width, rendering);
  if (!glyphs) LogF("CreateFont Err %s (%s)", face.c_str(), file->path.string().c_str());
  return glyphs;
}

}  // namespace

cD3DXFont::cD3DXFont(std::unique_ptr<cGlyphFont> glyphs) : m_Glyphs(std::move(glyphs)) {}
cD3DXFont::~cD3DXFont() = default;

Font::Font() = default;

Font::~Font() {
  Release();
  g_FontList.remove(this);
}

std::string CutFaceName(const char* face) {
  std::string cut;
  if (!face) return cut;
  const char* p = face;
  while (*p) {
    const std::size_t n = IsDoubleByte(p) ? 2 : 1;
    if (cut.size() + n > kFaceNameBytes) break;
    cut.append(p, n);
    p += n;
  }
  return cut;
}

cGlyphFont* Font::Glyphs() const {
  if (hFont) return hFont.get();
  return lpFont ? lpFont->Glyphs() : nullptr;
}

void Font::Create(const char* face, std::int32_t width, std::int32_t height, std::int32_t pitch,
                  std::int32_t lineHeight, std::uint32_t palNum, DDSURFACEDATA* windowImage, std::int32_t frameWidth,
                  std::uint32_t framePalNum, DDSURFACEDATA* letterImage) {
  const bool d3d = DisplayIsD3D();
  const std::string faceName = CutFaceName(face);
  nWidth = width;
  nHeight = height;
  nPitch = pitch;
  nLineHeight = lineHeight;
  dwPalNum = palNum;
  const PALETTEENTRY& entry = PaletteEntryOf(palNum);
  if (d3d) {
    lpszFace = faceName;
    dwColor = 0xFF000000u | (std::uint32_t{entry.peRed} << 16) | (std::uint32_t{entry.peGreen} << 8) | entry.peBlue;
  } else {
    std::uint32_t red = entry.peRed, green = entry.peGreen, blue = entry.peBlue;
    if (g_DisplayParams.bpp == 16) {
      const std::uint32_t* m = g_ColorMasks.data() + kSurfaceMasks;
      red = ScaledChannel(entry.peRed, m[kMaskR]);
      green = ScaledChannel(entry.peGreen, m[kMaskG]);
      blue = ScaledChannel(entry.peBlue, m[kMaskB]);
    }
    dwColor = red | (green << 8) | (blue << 16);
    m_TextPixel = TextPixelOf(dwColor, palNum);
  }
  lpWindowSD = windowImage;
  nFrameWidth = frameWidth;
  dwFramePalNum = framePalNum;
  lpLetterSD = letterImage;
  bLetters = letterImage ? 1 : 0;

  if (d3d) {
    // The Direct3D font is made at the height asked, its width from the face.
    lpFont.reset();
    lpSprite.reset();
    if (std::unique_ptr<cGlyphFont> glyphs = OpenGlyphs(faceName, height, 0, GlyphRendering::Grey))
      lpFont = std::make_unique<cD3DXFont>(std::move(glyphs));
    lpSprite = std::make_unique<cD3DXSprite>();
  } else {
    hFont = OpenGlyphs(faceName, height, width, GlyphRendering::Mono);
  }

  if (!HasSurface(Work)) {
    const std::int32_t workWidth = g_BackSurface.width > 0 ? g_BackSurface.width : g_DisplayParams.width;
    const std::int32_t workHeight = g_BackSurface.height > 0 ? g_BackSurface.height : g_DisplayParams.height;
    const bool made = DDCreateSurface(&Work, workWidth, workHeight, 1, 0, 0, 0, 0);
    if (!made && !d3d) {
      LogFAndClose("DDCreateSurface Font::Work");
      return;
    }
  }
  std::int32_t* counter = d3d ? (g_DisplayContext ? &g_DisplayContext->fontCounter : nullptr)
                              : (g_DDContext ? &g_DDContext->fontCounter : nullptr);
  if (counter) nId = (*counter)++;
  // A font made again stays once in the list.
  if (std::find(g_FontList.begin(), g_FontList.end(), this) == g_FontList.end()) g_FontList.push_back(this);
  RegisterRestoreClient(&FontRestore());
}

void Font::OnLostDevice() {
  if (lpFont) lpFont->OnLostDevice();
  if (lpSprite) lpSprite->OnLostDevice();
}

void Font::Restore() {
  if (DisplayIsD3D()) {
    if (lpFont) lpFont->OnResetDevice();
    if (lpSprite) lpSprite->OnResetDevice();
    return;
  }
  // Its content need not come back: the work surface is filled before every use.
  if (Work.lpDDPart && Work.lpDDPart->surface && Work.lpDDPart->surface->IsLost() == DDERR_SURFACELOST)
    Work.lpDDPart->surface->Restore();
}

void Font::Release() {
  lpFont.reset();
  lpSprite.reset();
  hFont.reset();
  DDReleaseSurface(&Work);
  // The pictures belong to others and may go with the font: a released font keeps no way to them.
  lpWindowSD = nullptr;
  lpLetterSD = nullptr;
}
