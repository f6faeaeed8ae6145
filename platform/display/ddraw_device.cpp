#include "platform/display/ddraw_device.h"

#include <algorithm>
#include <cstring>

#include "platform/display/display_faults.h"
#include "platform/host/screen.h"

DDPixelFormat PixelFormatMasks(PixelFormat format) {
  switch (format) {
    case PixelFormat::Index8:
      return {8, 0, 0, 0, 0};
    case PixelFormat::Rgb565:
      return {16, 0xF800, 0x07E0, 0x001F, 0};
    case PixelFormat::Argb1555:
      return {16, 0x7C00, 0x03E0, 0x001F, 0x8000};
    case PixelFormat::Xrgb8888:
      return {32, 0xFF0000, 0x00FF00, 0x0000FF, 0};
    case PixelFormat::Argb8888:
      return {32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000};
  }
  return {};
}

std::optional<PixelFormat> DisplayFormatOfDepth(int bpp) {
  switch (bpp) {
    case 8:
      return PixelFormat::Index8;
    case 16:
      return PixelFormat::Rgb565;
    case 32:
      return PixelFormat::Xrgb8888;
    default:
      return std::nullopt;
  }
}

// ---- palette

cDDPalette::cDDPalette(std::shared_ptr<cDirectDraw> owner) : m_Owner(std::move(owner)) { ++m_Owner->m_LiveObjects; }

cDDPalette::~cDDPalette() { --m_Owner->m_LiveObjects; }

HRESULT cDDPalette::SetEntries(int first, int count, const PALETTEENTRY* entries) {
  if (!entries || first < 0 || count < 0 || first + count > 256) return DDERR_INVALIDPARAMS;
  for (int i = 0; i < count; ++i) {
    const PALETTEENTRY& e = entries[i];
    m_Entries[first + i] = e;
    m_Colours[first + i] = (std::uint32_t{e.peRed} << 16) | (std::uint32_t{e.peGreen} << 8) | e.peBlue;
  }
  return DD_OK;
}

HRESULT cDDPalette::GetEntries(int first, int count, PALETTEENTRY* entries) const {
  if (!entries || first < 0 || count < 0 || first + count > 256) return DDERR_INVALIDPARAMS;
  std::copy_n(m_Entries.begin() + first, count, entries);
  return DD_OK;
}

// ---- DirectDraw object

std::shared_ptr<cDirectDraw> cDirectDraw::Create(int desktopBpp) {
  return std::make_shared<cDirectDraw>(sKey{}, desktopBpp);
}

cDirectDraw::cDirectDraw(sKey, int desktopBpp)
    : m_DesktopBpp(desktopBpp),
      m_Bpp(desktopBpp),
      m_Format(DisplayFormatOfDepth(desktopBpp).value_or(PixelFormat::Xrgb8888)) {}

cDirectDraw::~cDirectDraw() = default;

HRESULT cDirectDraw::SetCooperativeLevel(cScreen* window, bool fullScreen) {
  m_Window = window;
  m_FullScreen = fullScreen;
  return DD_OK;
}

HRESULT cDirectDraw::SetDisplayMode(std::int32_t width, std::int32_t height, int bpp, int refreshHz) {
  if (!m_FullScreen) return DDERR_WRONGMODE;
  std::optional<PixelFormat> format = DisplayFormatOfDepth(bpp);
  if (!format || width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    return DDERR_INVALIDMODE;
  if (refreshHz != 0 && g_DisplayFaults.refreshRateRefused) return DDERR_INVALIDMODE;
  m_Bpp = bpp;
  m_Format = *format;
  m_ModeSet = true;
  m_ModeWidth = width;
  m_ModeHeight = height;
  if (m_Window) m_Window->SetFullScreen(true);
  return DD_OK;
}

HRESULT cDirectDraw::RestoreDisplayMode() {
  if (m_ModeSet && m_Window) m_Window->SetFullScreen(false);
  m_ModeSet = false;
  m_Bpp = m_DesktopBpp;
  m_Format = DisplayFormatOfDepth(m_DesktopBpp).value_or(PixelFormat::Xrgb8888);
  return DD_OK;
}

HRESULT cDirectDraw::CreatePrimary(int backBufferCount, std::shared_ptr<cDDSurface>* out) {
  if (!out || m_Primary || backBufferCount < 0) return DDERR_INVALIDPARAMS;
  if (backBufferCount > 0 && !m_ModeSet) return DDERR_NOTFLIPPABLE;
  if (!DisplayFormatOfDepth(m_Bpp)) return DDERR_INVALIDMODE;
  std::int32_t width = m_ModeSet ? m_ModeWidth : (m_Window ? m_Window->Width() : 0);
  std::int32_t height = m_ModeSet ? m_ModeHeight : (m_Window ? m_Window->Height() : 0);
  std::vector<std::shared_ptr<cDDSurface>> chain;
  for (int i = 0; i <= backBufferCount; ++i) {
    auto surface = std::make_shared<cDDSurface>(cDDSurface::sKey{}, shared_from_this(), false, i == 0);
    std::size_t bytes = 0;
    if (!surface->m_Pixels.Create(width, height, m_Format)) return DDERR_OUTOFMEMORY;
    bytes = surface->m_Pixels.SizeBytes();
    if (!ReserveVideoMemory(bytes)) return DDERR_OUTOFVIDEOMEMORY;
    surface->m_VideoBytes = bytes;
    chain.push_back(std::move(surface));
  }
  std::shared_ptr<cDDSurface> primary = chain.front();
  primary->m_Chain.assign(chain.begin() + 1, chain.end());
  m_Primary = primary.get();
  *out = std::move(primary);
  return DD_OK;
}

HRESULT cDirectDraw::CreateOffscreen(std::int32_t width, std::int32_t height, bool systemMemory,
                                     std::shared_ptr<cDDSurface>* out) {
  if (!out || width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide)
    return DDERR_INVALIDPARAMS;
  auto surface = std::make_shared<cDDSurface>(cDDSurface::sKey{}, shared_from_this(), systemMemory, false);
  if (!surface->m_Pixels.Create(width, height, m_Format)) return DDERR_OUTOFMEMORY;
  if (!systemMemory) {
    if (!ReserveVideoMemory(surface->m_Pixels.SizeBytes())) return DDERR_OUTOFVIDEOMEMORY;
    surface->m_VideoBytes = surface->m_Pixels.SizeBytes();
  }
  *out = std::move(surface);
  return DD_OK;
}

HRESULT cDirectDraw::CreatePalette(const PALETTEENTRY* entries, std::shared_ptr<cDDPalette>* out) {
  if (!out || !entries) return DDERR_INVALIDPARAMS;
  auto palette = std::make_shared<cDDPalette>(shared_from_this());
  palette->SetEntries(0, 256, entries);
  *out = std::move(palette);
  return DD_OK;
}

HRESULT cDirectDraw::ShowPrimary() {
  if (m_Window) {
    const std::shared_ptr<cDDPalette>& palette = m_Primary->m_Palette;
    m_Window->SubmitFrame(m_Primary->m_Pixels.View(), palette ? palette->Colours().data() : nullptr);
  }
  return DD_OK;
}

HRESULT cDirectDraw::Flip() {
  if (!m_Primary || m_Primary->m_Chain.empty()) return DDERR_NOTFLIPPABLE;
  if (m_Primary->m_Lost) return DDERR_SURFACELOST;
  // The shown picture moves to the end of the chain; each back buffer moves one step forward.
  cPixelBuffer* previous = &m_Primary->m_Pixels;
  for (const std::shared_ptr<cDDSurface>& back : m_Primary->m_Chain) {
    previous->SwapPixels(back->m_Pixels);
    previous = &back->m_Pixels;
  }
  return ShowPrimary();
}

HRESULT cDirectDraw::BltToWindow(const cDDSurface& source) {
  if (!m_Primary) return DDERR_INVALIDPARAMS;
  if (m_Primary->m_Lost || source.m_Lost) return DDERR_SURFACELOST;
  cPixelBuffer& to = m_Primary->m_Pixels;
  const cPixelBuffer& from = source.m_Pixels;
  if (to.Format() != from.Format()) return DDERR_INVALIDPARAMS;
  const std::int32_t width = std::min(to.Width(), from.Width());
  const std::int32_t height = std::min(to.Height(), from.Height());
  if (m_Primary->m_Chain.empty()) {
    // A window's primary is never read back or flipped: the frame goes from the source to the
    // window in one conversion, without a copy into the primary first.
    if (m_Window) {
      PixelView view = from.View();
      view.width = width;
      view.height = height;
      const std::shared_ptr<cDDPalette>& palette = m_Primary->m_Palette;
      m_Window->SubmitFrame(view, palette ? palette->Colours().data() : nullptr);
    }
    return DD_OK;
  }
  // A primary with a flip chain (full screen) must hold what it shows: the next flip passes it on.
  const std::size_t rowBytes = static_cast<std::size_t>(width) * to.BytesPerPixel();
  for (std::int32_t y = 0; y < height; ++y) std::memcpy(to.Row(y), from.Row(y), rowBytes);
  return ShowPrimary();
}

void cDirectDraw::SimulateLoss() {
  for (cDDSurface* surface : m_Surfaces)
    if (!surface->m_SystemMemory) surface->Lose();
}

// ---- surfaces

cDDSurface::cDDSurface(sKey, std::shared_ptr<cDirectDraw> owner, bool systemMemory, bool primary)
    : m_Owner(std::move(owner)), m_SystemMemory(systemMemory), m_IsPrimary(primary) {
  ++m_Owner->m_LiveObjects;
  m_Owner->m_Surfaces.push_back(this);
}

cDDSurface::~cDDSurface() {
  ReturnVideoMemory(m_VideoBytes);
  auto& surfaces = m_Owner->m_Surfaces;
  surfaces.erase(std::remove(surfaces.begin(), surfaces.end(), this), surfaces.end());
  if (m_Owner->m_Primary == this) m_Owner->m_Primary = nullptr;
  --m_Owner->m_LiveObjects;
}

HRESULT cDDSurface::Lock(cPixelBuffer** pixels) {
  if (!pixels) return DDERR_INVALIDPARAMS;
  if (m_Lost) return DDERR_SURFACELOST;
  m_Pixels.OpenWrites();
  *pixels = &m_Pixels;
  return DD_OK;
}

HRESULT cDDSurface::Unlock() {
  m_Pixels.CloseWrites();
  return DD_OK;
}

HRESULT cDDSurface::LockForReading(const cPixelBuffer** pixels) const {
  if (!pixels) return DDERR_INVALIDPARAMS;
  if (m_Lost) return DDERR_SURFACELOST;
  *pixels = &m_Pixels;
  return DD_OK;
}

void cDDSurface::Lose() {
  m_Lost = true;
  m_Pixels.Fill(0);
}

HRESULT cDDSurface::Restore() {
  m_Lost = false;
  return DD_OK;
}

HRESULT cDDSurface::SetColorKey(std::uint32_t key) {
  m_ColorKey = key;
  return DD_OK;
}

HRESULT cDDSurface::SetPalette(std::shared_ptr<cDDPalette> palette) {
  if (m_Pixels.Format() != PixelFormat::Index8) return DDERR_INVALIDPARAMS;
  m_Palette = std::move(palette);
  return DD_OK;
}

HRESULT cDDSurface::GetAttachedBackBuffer(std::shared_ptr<cDDSurface>* out) const {
  if (!out || m_Chain.empty()) return DDERR_INVALIDPARAMS;
  *out = m_Chain.front();
  return DD_OK;
}

HRESULT cDDSurface::GetPixelFormat(DDPixelFormat* format) const {
  if (!format) return DDERR_INVALIDPARAMS;
  *format = PixelFormatMasks(m_Pixels.Format());
  return DD_OK;
}
