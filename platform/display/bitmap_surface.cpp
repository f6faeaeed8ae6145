#include "platform/display/bitmap_surface.h"

#include <algorithm>
#include <limits>
#include <unordered_map>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/host/bmp.h"

namespace {

// The palette index of a colour that an 8-bit display has no index for: the nearest colour of the
// game palette, the first of equals, as a palette display shows a true-colour picture.
class cNearestIndex {
 public:
  std::uint8_t Of(std::uint32_t rgb) {
    auto found = m_Cache.find(rgb);
    if (found != m_Cache.end()) return found->second;
    int r = static_cast<int>((rgb >> 16) & 0xFF), g = static_cast<int>((rgb >> 8) & 0xFF),
        b = static_cast<int>(rgb & 0xFF);
    int best = 0;
    int bestDistance = std::numeric_limits<int>::max();
    for (int i = 0; i < 256; ++i) {
      int dr = r - g_Palette[i].peRed, dg = g - g_Palette[i].peGreen, db = b - g_Palette[i].peBlue;
      int distance = dr * dr + dg * dg + db * db;
      if (distance < bestDistance) {
        bestDistance = distance;
        best = i;
      }
    }
    m_Cache.emplace(rgb, static_cast<std::uint8_t>(best));
    return static_cast<std::uint8_t>(best);
  }

 private:
  std::unordered_map<std::uint32_t, std::uint8_t> m_Cache;
};

// A 24 or 32-bit colour as a 16-bit display pixel: the key colour becomes the transparent pixel, and
// any other colour that happens to pack to the transparent pixel is moved one step, so that nothing
// opaque turns transparent.
std::uint32_t SixteenBitPixel(std::uint32_t rgb) {
  const DDContext& context = *g_DDContext;
  std::uint32_t r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (b == context.key16B && g == context.key16G && r == context.key16R) return g_TransparentPixel;
  const std::uint32_t* m = g_ColorMasks.data() + kSurfaceMasks;
  std::uint32_t pixel = (((r * m[kMaskR]) / 255) << m[kMaskRShift]) | (((g * m[kMaskG]) / 255) << m[kMaskGShift]) |
                        (((b * m[kMaskB]) / 255) << m[kMaskBShift]);
  if (pixel == g_TransparentPixel) {
    bool blueAtMaximum = ((pixel >> m[kMaskBShift]) & m[kMaskB]) == m[kMaskB];
    pixel = blueAtMaximum ? pixel - 1 : pixel + 1;
  }
  return pixel & 0xFFFF;
}

// A colour as a pixel of a 16 or 32-bit surface the way a plain copy of a picture converts it: the
// top bits of each channel.
std::uint32_t CopiedPixel(PixelFormat format, std::uint32_t rgb) {
  if (format == PixelFormat::Xrgb8888 || format == PixelFormat::Argb8888) return rgb & 0xFFFFFF;
  return PackColour(format, 0xFF000000u | rgb);
}

// The first palette index of each pixel's colour, for the pixel rules that work on indices.
void BuildPaletteIndexMap(DDSurfacePart& part, const cPixelBuffer& pixels, std::int32_t width, std::int32_t height) {
  std::unordered_map<std::uint32_t, std::uint8_t> firstIndex;
  for (int i = 255; i >= 0; --i) {
    const PALETTEENTRY& e = g_Palette[i];
    std::uint32_t key = pixels.BytesPerPixel() == 2
                            ? RGBToPixel(&e)
                            : (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
    firstIndex[key] = static_cast<std::uint8_t>(i);
  }
  const std::int32_t pitchPixels = pixels.Pitch() / pixels.BytesPerPixel();
  // A colour that is in no palette entry maps to index 0.
  part.paletteIndexMap.assign(static_cast<std::size_t>(pitchPixels) * pixels.Height(), 0);
  for (std::int32_t y = 0; y < height; ++y) {
    for (std::int32_t x = 0; x < width; ++x) {
      std::uint32_t pixel = pixels.Pixel(x, y);
      if (pixels.BytesPerPixel() == 4) pixel &= 0xFFFFFF;
      auto found = firstIndex.find(pixel);
      if (found != firstIndex.end())
        part.paletteIndexMap[static_cast<std::size_t>(y) * pitchPixels + x] = found->second;
    }
  }
}

}  // namespace

bool CopyBitmapToSurface(DDSURFACEDATA* lpSD, const cBitmap& bitmap, const std::string& fileName, std::int32_t,
                         std::int32_t paletteMap, std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight) {
  if (!lpSD->lpDDPart || !lpSD->lpDDPart->surface || !g_DDContext) return false;
  DDSurfacePart& part = *lpSD->lpDDPart;
  cDDSurface& surface = *part.surface;
  cPixelBuffer* pixels = nullptr;
  // The picture is cut to the surface it goes into.
  const std::int32_t width = std::min(bitmap.Width(), surface.Pixels().Width());
  const std::int32_t height = std::min(bitmap.Height(), surface.Pixels().Height());

  // A surface that cannot be locked (lost) keeps what it holds.
  if (SUCCEEDED(surface.Lock(&pixels))) {
    // The surface's own format chooses the conversion: it is the display depth the caller names,
    // and it is what the pixels really are.
    const PixelFormat format = pixels->Format();
    const bool indices = format == PixelFormat::Index8;
    const bool deepBitmap = bitmap.BitsPerPixel() > 8;
    const bool keyed16 = (format == PixelFormat::Rgb565 || format == PixelFormat::Argb1555) &&
                         (bitmap.BitsPerPixel() == 24 || bitmap.BitsPerPixel() == 32);
    cNearestIndex nearest;
    // Only whole mirror cells are drawn; a cell position that falls outside the surface is left out.
    const std::int32_t columns = MirroredExtent(bitmap.Width(), mirrorCellWidth);
    const std::int32_t rows = MirroredExtent(bitmap.Height(), mirrorCellHeight);
    for (std::int32_t y = 0; y < rows; ++y) {
      const std::int32_t toY = MirroredPosition(y, mirrorCellHeight);
      if (toY >= height) continue;
      for (std::int32_t x = 0; x < columns; ++x) {
        const std::int32_t toX = MirroredPosition(x, mirrorCellWidth);
        if (toX >= width) continue;
        std::uint32_t value;
        if (indices)
          value = deepBitmap ? nearest.Of(bitmap.PixelRgb(x, y)) : bitmap.PixelIndex(x, y);
        else if (keyed16)
          value = SixteenBitPixel(bitmap.PixelRgb(x, y));
        else
          value = CopiedPixel(format, bitmap.PixelRgb(x, y));
        pixels->SetPixel(toX, toY, value);
      }
    }
    surface.Unlock();
  }

  lpSD->width = width;
  lpSD->height = height;
  lpSD->mirrorCellWidth = mirrorCellWidth;
  lpSD->mirrorCellHeight = mirrorCellHeight;
  lpSD->szFileName = fileName;

  part.paletteIndexMap.clear();
  if (paletteMap && SUCCEEDED(surface.Lock(&pixels)) && pixels->Format() != PixelFormat::Index8) {
    BuildPaletteIndexMap(part, *pixels, width, height);
    surface.Unlock();
  }
  return true;
}

bool ReloadSurfaceBitmap(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t bpp, std::int32_t paletteMap,
                         std::int32_t mirrorCellWidth, std::int32_t mirrorCellHeight) {
  if (DisplayIsD3D() || fileName.empty()) return true;
  if (!lpSD) return false;
  std::optional<cBitmap> bitmap = LoadBmpFile(fileName);
  if (!bitmap) return false;
  return CopyBitmapToSurface(lpSD, *bitmap, fileName, bpp, paletteMap, mirrorCellWidth, mirrorCellHeight);
}

bool RestoreSurfaceBitmap(DDSURFACEDATA* lpSD, std::int32_t bpp) {
  if (DisplayIsD3D()) return true;
  if (!lpSD || !lpSD->lpDDPart) return false;
  // Copied first: the reload stores the name into the record it reads it from.
  const std::string fileName = lpSD->szFileName;
  return ReloadSurfaceBitmap(lpSD, fileName, bpp, !lpSD->lpDDPart->paletteIndexMap.empty(), lpSD->mirrorCellWidth,
                             lpSD->mirrorCellHeight);
}

bool CreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* source, std::int32_t mirrorCellWidth,
                  std::int32_t mirrorCellHeight) {
  if (mirrorCellWidth == 0 || mirrorCellHeight != 0 || !DisplayIsD3D()) return true;
  if (mirrorCellWidth < 0 || !lpSD || !source || !lpSD->lpDT || !source->lpDT || !lpSD->lpDT->lpSurface ||
      !source->lpDT->lpSurface)
    return false;
  cPixelBuffer& to = *lpSD->lpDT->lpSurface;
  const cPixelBuffer& from = *source->lpDT->lpSurface;
  if (to.Format() != from.Format()) return false;
  if (lpSD->lpDT->renderTarget) to.Fill(PackColour(to.Format(), g_DisplayContext->transparent32));
  // Each cell drawn from its own right edge leftwards: what a quad with a source of width -m gives,
  // texel for texel, since the texels are opaque or fully transparent.
  const std::int32_t m = mirrorCellWidth;
  const std::int32_t rows = std::min({source->height, from.Height(), to.Height()});
  const std::int32_t cells = source->width / m;
  for (std::int32_t y = 0; y < rows; ++y) {
    for (std::int32_t i = 0; i < cells; ++i) {
      for (std::int32_t c = 0; c < m; ++c) {
        const std::int32_t toX = i * m + c;
        const std::int32_t fromX = i * m + m - 1 - c;
        if (toX < to.Width() && fromX < from.Width()) to.SetPixel(toX, y, from.Pixel(fromX, y));
      }
    }
  }
  return true;
}

HRESULT CreateTextureFromBitmap(cD3DDevice& device, const cBitmap& bitmap, std::int32_t width, std::int32_t height,
                                std::uint32_t usage, PixelFormat format, D3DPool pool, std::uint32_t colourKey,
                                std::shared_ptr<cD3DTexture>* out) {
  std::shared_ptr<cD3DTexture> texture;
  HRESULT hr = device.CreateTexture(width, height, usage, format, pool, &texture);
  if (FAILED(hr)) return hr;
  cPixelBuffer& level = texture->Level0();
  const std::uint32_t key = colourKey & 0xFFFFFF;
  const std::int32_t columns = std::min(bitmap.Width(), level.Width());
  const std::int32_t rows = std::min(bitmap.Height(), level.Height());
  for (std::int32_t y = 0; y < rows; ++y) {
    for (std::int32_t x = 0; x < columns; ++x) {
      std::uint32_t rgb = bitmap.PixelRgb(x, y);
      level.SetPixel(x, y, rgb == key ? 0 : PackColour(format, 0xFF000000u | rgb));
    }
  }
  *out = std::move(texture);
  return D3D_OK;
}
