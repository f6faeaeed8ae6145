#include "platform/display/palette.h"


#include "platform/display/display.h"
#include "platform/host/bmp.h"
#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"

std::uint32_t g_TransparentPixel = 0;
PALETTEENTRY g_Palette[256];
PALETTEENTRY g_FadePalette[256];

namespace {

const std::uint32_t* SurfaceMasks() { return g_ColorMasks.data() + kSurfaceMasks; }

// The pixels of a record for reading, whichever back-end holds them; null when they cannot be had.
cPixelBuffer* RecordPixels(DDSURFACEDATA* lpSD) {
  if (DisplayIsD3D()) return lpSD->lpDT ? lpSD->lpDT->lpSurface.get() : nullptr;
  if (!lpSD->lpDDPart || !lpSD->lpDDPart->surface) return nullptr;
  cPixelBuffer* pixels = nullptr;
  return SUCCEEDED(lpSD->lpDDPart->surface->Lock(&pixels)) ? pixels : nullptr;
}

void ReleaseRecordPixels(DDSURFACEDATA* lpSD) {
  if (!DisplayIsD3D() && lpSD->lpDDPart && lpSD->lpDDPart->surface) lpSD->lpDDPart->surface->Unlock();
}

// The palette image as a system-memory surface without key, as the palette set-up reads it.
std::int32_t LoadPaletteImage(DDSURFACEDATA* image, const std::string& path) {
  return CreateSurfaceFromFile(image, path, 0, g_DisplayParams.bpp, 1, 0, 0, 0, 0, 0, 0);
}

}  // namespace

bool DDLoadPaletteFromFile(PALETTEENTRY out[256], const std::string& palettePath, std::int32_t) {
  std::optional<cBitmap> bitmap = LoadBmpFile(palettePath);
  if (!bitmap) return false;
  // A table shorter than 256 entries leaves the rest black.
  std::array<BmpColour, 256> table = bitmap->ColourTable256();
  for (int i = 0; i < 256; ++i) {
    std::uint8_t flags = i < 10 || i >= 246 ? 2 : 1;
    out[i] = {table[i].red, table[i].green, table[i].blue, flags};
  }
  const std::int32_t bpp = g_DisplayParams.bpp;
  if (bpp == 8 && !DisplayIsD3D()) {
    if (g_lpDDPalette) g_lpDDPalette->SetEntries(0, 256, out);
  } else if (bpp == 16 || bpp == 24 || bpp == 32) {
    DDSURFACEDATA image;
    bool loaded = LoadPaletteImage(&image, palettePath) == SURFACE_OK;
    if (loaded) ReadSurfaceRGB(out, &image);
    DDReleaseSurface(&image);
    if (!loaded) return false;
  }
  return true;
}

bool DDSetTransmit(const std::string& palettePath) {
  DDSURFACEDATA image;
  if (!CheckSurfaceResult(LoadPaletteImage(&image, palettePath))) {
    LogF(SJ("%s 作成失敗！").c_str(), palettePath.c_str());
    return false;
  }
  cPixelBuffer* pixels = RecordPixels(&image);
  if (!pixels) {
    DebugMesBox("FAILED( Lock )");
    LogF("%s", SJ("Lock 失敗！").c_str());
    DDReleaseSurface(&image);
    return false;
  }
  const std::uint32_t pixel = pixels->Pixel(0, 0);
  const std::int32_t bpp = g_DisplayParams.bpp;
  if (DisplayIsD3D()) {
    if (bpp == 16) {
      g_TransparentPixel = pixel & 0xFFFF;
      std::optional<cBitmap> bitmap = palettePath.empty() ? std::nullopt : LoadBmpFile(palettePath);
      if (bitmap && bitmap->BitsPerPixel() == 8) {
        BmpColour first = bitmap->ColourTable256()[0];
        g_DisplayContext->key16R = first.red;
        g_DisplayContext->key16G = first.green;
        g_DisplayContext->key16B = first.blue;
      }
    } else if (bpp == 32) {
      DDSetTransmit(static_cast<std::uint8_t>(pixel >> 16), static_cast<std::uint8_t>(pixel >> 8),
                    static_cast<std::uint8_t>(pixel));
    }
  } else if (g_DDContext) {
    g_TransparentPixel = pixel;
    if (bpp == 32) {
      g_DDContext->keyB = static_cast<std::uint8_t>(pixel);
      g_DDContext->keyG = static_cast<std::uint8_t>(pixel >> 8);
      g_DDContext->keyR = static_cast<std::uint8_t>(pixel >> 16);
    }
  }
  ReleaseRecordPixels(&image);
  DDReleaseSurface(&image);
  return true;
}

bool DDSetTransmit(std::uint8_t cbRed, std::uint8_t cbGreen, std::uint8_t cbBlue) {
  const std::int32_t bpp = g_DisplayParams.bpp;
  const std::uint32_t* m = SurfaceMasks();
  if (DisplayIsD3D()) {
    DisplayContext& context = *g_DisplayContext;
    context.keyB = cbBlue;
    context.keyG = cbGreen;
    context.keyR = cbRed;
    if (bpp == 32) {
      context.transparent32 = 0;
      context.opaqueKey32 = 0xFF000000u | (std::uint32_t{cbRed} << 16) | (std::uint32_t{cbGreen} << 8) | cbBlue;
      context.transparent16 = context.opaqueKey16 = 0;
      g_TransparentPixel = context.transparent32;
    } else if (bpp == 16) {
      // The channels come in the 16-bit ranges already: masked, not scaled.
      context.transparent32 = context.opaqueKey32 = 0;
      context.transparent16 = 0;
      context.opaqueKey16 = static_cast<std::uint16_t>(
          ((cbRed & m[kMaskR]) << m[kMaskRShift]) | ((cbGreen & m[kMaskG]) << m[kMaskGShift]) |
          ((cbBlue & m[kMaskB]) << m[kMaskBShift]) | ((m[kMaskA] & 1) << m[kMaskAShift]));
      g_TransparentPixel = context.opaqueKey16;
    }
    return true;
  }
  if (!g_DDContext) return true;
  if (bpp == 32) {
    g_TransparentPixel = (std::uint32_t{cbRed} << 16) | (std::uint32_t{cbGreen} << 8) | cbBlue;
    g_DDContext->keyB = cbBlue;
    g_DDContext->keyG = cbGreen;
    g_DDContext->keyR = cbRed;
  } else if (bpp == 16) {
    std::uint32_t r = cbRed * m[kMaskR] / 255, g = cbGreen * m[kMaskG] / 255, b = cbBlue * m[kMaskB] / 255;
    g_TransparentPixel = (r << m[kMaskRShift]) | (g << m[kMaskGShift]) | (b << m[kMaskBShift]);
    LogF("%s", SJ("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！").c_str());
    auto back = [](std::uint32_t c, std::uint32_t mask) { return mask ? static_cast<int>(c * 255 / mask) : 0; };
    DebugMesBox("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", static_cast<int>(g_TransparentPixel), cbRed, cbGreen,
                cbBlue, back(r, m[kMaskR]), back(g, m[kMaskG]), back(b, m[kMaskB]));
  }
  return true;
}

std::uint32_t PalNumToRGB(std::uint32_t dwPalNum) {
  if (dwPalNum > 255) {
    LogF("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", static_cast<int>(dwPalNum));
    return 0;
  }
  const PALETTEENTRY& e = g_Palette[dwPalNum];
  const std::uint32_t rgb = (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
  if (g_DisplayParams.bpp == 8) return dwPalNum;
  if (DisplayIsD3D()) return dwPalNum == 0 ? g_DisplayContext->transparent32 : 0xFF000000u | rgb;
  if (g_DisplayParams.bpp == 16) return RGBToPixel(&e);
  return rgb;
}

std::uint16_t RGBToPixel(const PALETTEENTRY* entry) {
  if (DisplayIsD3D() || !entry) return 0;
  const std::uint32_t* m = SurfaceMasks();
  return static_cast<std::uint16_t>(((entry->peBlue & m[kMaskB]) << m[kMaskBShift]) |
                                    ((entry->peGreen & m[kMaskG]) << m[kMaskGShift]) |
                                    ((entry->peRed & m[kMaskR]) << m[kMaskRShift]));
}

void ReadColorMasks(std::uint32_t maskSet[8]) {
  if (DisplayIsD3D() || !g_PrimarySurface.lpDDPart || !g_PrimarySurface.lpDDPart->surface) return;
  DDPixelFormat format;
  if (FAILED(g_PrimarySurface.lpDDPart->surface->GetPixelFormat(&format))) return;
  const std::uint32_t channels[3] = {format.rBitMask, format.gBitMask, format.bBitMask};
  for (int c = 0; c < 3; ++c) {
    std::uint32_t shift = 0;
    while (shift < format.rgbBitCount && shift < 32 && !(channels[c] & (1u << shift))) ++shift;
    const bool found = shift < format.rgbBitCount && shift < 32;
    maskSet[kMaskRShift + c] = found ? shift : 0;
    maskSet[kMaskR + c] = found ? channels[c] >> shift : 0;
  }
}

bool ReadSurfaceRGB(PALETTEENTRY out[256], DDSURFACEDATA* lpSD) {
  if (!lpSD) return true;
  cPixelBuffer* pixels = RecordPixels(lpSD);
  if (!pixels) return true;
  const std::uint32_t* m = SurfaceMasks();
  const bool d3d = DisplayIsD3D();
  for (int r = 0; r < 16; ++r) {
    for (int c = 0; c < 16; ++c) {
      PALETTEENTRY& e = out[r * 16 + c];
      const std::int32_t y = 8 + r;
      // A palette image too small for the block gives black for the colours it does not hold.
      if (c >= pixels->Width() || y >= pixels->Height()) {
        e.peRed = e.peGreen = e.peBlue = 0;
        continue;
      }
      const std::uint32_t p = pixels->Pixel(c, y);
      if (pixels->BytesPerPixel() == 2) {
        std::uint32_t red = (p >> m[kMaskRShift]) & m[kMaskR];
        std::uint32_t green = (p >> m[kMaskGShift]) & m[kMaskG];
        std::uint32_t blue = (p >> m[kMaskBShift]) & m[kMaskB];
        if (d3d) {
          red = m[kMaskR] ? red * 255 / m[kMaskR] : 0;
          green = m[kMaskG] ? green * 255 / m[kMaskG] : 0;
          blue = m[kMaskB] ? blue * 255 / m[kMaskB] : 0;
        }
        e.peRed = static_cast<std::uint8_t>(red);
        e.peGreen = static_cast<std::uint8_t>(green);
        e.peBlue = static_cast<std::uint8_t>(blue);
      } else if (pixels->BytesPerPixel() == 4) {
        e.peRed = static_cast<std::uint8_t>(p >> 16);
        e.peGreen = static_cast<std::uint8_t>(p >> 8);
        e.peBlue = static_cast<std::uint8_t>(p);
        if (!d3d) e.peFlags = static_cast<std::uint8_t>(p >> 24);
      }
    }
  }
  ReleaseRecordPixels(lpSD);
  return true;
}
