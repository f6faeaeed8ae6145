#pragma once
// The DirectDraw back-end's objects, in memory: the DirectDraw object with its display mode, the
// surfaces (the primary with its flip chain, offscreen surfaces in "video" or system memory) and the
// palette. They keep the rules the game relies on: surfaces have the display's pixel format, a
// colour key, can be lost and restored; the primary is what the window shows.
//
// Objects are shared (std::shared_ptr) as the game's interface pointers were counted: a surface keeps
// its DirectDraw object alive, so a surface still held when the display is released shows up as a
// leak.
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "platform/display/display_results.h"
#include "platform/display/palette_entry.h"
#include "platform/display/pixel_buffer.h"

class cScreen;
class cDDSurface;
class cDirectDraw;

// The pixel format a surface describes: bits per pixel and channel masks.
struct DDPixelFormat {
  std::uint32_t rgbBitCount = 0;
  std::uint32_t rBitMask = 0;
  std::uint32_t gBitMask = 0;
  std::uint32_t bBitMask = 0;
  std::uint32_t aBitMask = 0;
};
DDPixelFormat PixelFormatMasks(PixelFormat format);
// The surface format of a display depth; none for depths this display does not draw in (24).
std::optional<PixelFormat> DisplayFormatOfDepth(int bpp);

class cDDPalette {
 public:
  explicit cDDPalette(std::shared_ptr<cDirectDraw> owner);
  ~cDDPalette();
  cDDPalette(const cDDPalette&) = delete;
  cDDPalette& operator=(const cDDPalette&) = delete;

  HRESULT SetEntries(int first, int count, const PALETTEENTRY* entries);
  HRESULT GetEntries(int first, int count, PALETTEENTRY* entries) const;
  // The entries as 0x00RRGGBB, for showing an indexed frame.
  const std::array<std::uint32_t, 256>& Colours() const { return m_Colours; }

 private:
  std::shared_ptr<cDirectDraw> m_Owner;
  std::array<PALETTEENTRY, 256> m_Entries{};
  std::array<std::uint32_t, 256> m_Colours{};
};

class cDirectDraw : public std::enable_shared_from_this<cDirectDraw> {
 public:
  // desktopBpp: the depth of the desktop, which windowed surfaces take.
  static std::shared_ptr<cDirectDraw> Create(int desktopBpp);
  ~cDirectDraw();

  // fullScreen: exclusive full-screen use of window; otherwise normal (windowed) use.
  HRESULT SetCooperativeLevel(cScreen* window, bool fullScreen);
  // Full screen only. The window becomes full screen at the depth asked; refresh 0 = any.
  HRESULT SetDisplayMode(std::int32_t width, std::int32_t height, int bpp, int refreshHz);
  HRESULT RestoreDisplayMode();
  PixelFormat DisplayFormat() const { return m_Format; }
  int DisplayBpp() const { return m_Bpp; }

  // The primary: the window's picture, with backBufferCount attached back buffers to flip through
  // (full screen only; 0 = no flip chain). Its size is that of the display mode, or of the window.
  HRESULT CreatePrimary(int backBufferCount, std::shared_ptr<cDDSurface>* out);
  // An offscreen surface in the display format, in video memory or (systemMemory) in system memory.
  HRESULT CreateOffscreen(std::int32_t width, std::int32_t height, bool systemMemory, std::shared_ptr<cDDSurface>* out);
  HRESULT CreatePalette(const PALETTEENTRY* entries, std::shared_ptr<cDDPalette>* out);

  // Full screen: the back buffer becomes the shown picture (and the shown one the last back buffer).
  HRESULT Flip();
  // Copies source into the primary at the window's client area and shows it. A window's primary
  // (no flip chain) is not written: the window is handed the source's pixels, converted once.
  HRESULT BltToWindow(const cDDSurface& source);

  // Every surface of this object that lives in video memory, and the primary, are lost.
  void SimulateLoss();
  // Surfaces and palettes of this object that still exist.
  int LiveObjects() const { return m_LiveObjects; }

 private:
  friend class cDDSurface;
  friend class cDDPalette;
  struct sKey {};

 public:
  cDirectDraw(sKey, int desktopBpp);

 private:
  HRESULT ShowPrimary();

  int m_DesktopBpp;
  int m_Bpp;
  PixelFormat m_Format;
  cScreen* m_Window = nullptr;
  bool m_FullScreen = false;
  bool m_ModeSet = false;
  std::int32_t m_ModeWidth = 0;
  std::int32_t m_ModeHeight = 0;
  int m_LiveObjects = 0;
  std::vector<cDDSurface*> m_Surfaces;  // every live surface, for losing them
  cDDSurface* m_Primary = nullptr;
};

class cDDSurface {
 public:
  ~cDDSurface();
  cDDSurface(const cDDSurface&) = delete;
  cDDSurface& operator=(const cDDSurface&) = delete;

  // The pixels, for reading and writing; fails while the surface is lost. Until the matching Unlock
  // the surface counts as being written.
  HRESULT Lock(cPixelBuffer** pixels);
  HRESULT Unlock();
  // The pixels for a copy that only reads them (as a blit reads its source); fails while lost.
  HRESULT LockForReading(const cPixelBuffer** pixels) const;
  HRESULT IsLost() const { return m_Lost ? DDERR_SURFACELOST : DD_OK; }
  // Gives a lost surface its memory back; its pixels are whatever the memory holds (zero here).
  HRESULT Restore();

  HRESULT SetColorKey(std::uint32_t key);
  std::optional<std::uint32_t> ColorKey() const { return m_ColorKey; }
  HRESULT SetPalette(std::shared_ptr<cDDPalette> palette);
  const std::shared_ptr<cDDPalette>& Palette() const { return m_Palette; }
  HRESULT GetAttachedBackBuffer(std::shared_ptr<cDDSurface>* out) const;
  int BackBufferCount() const { return static_cast<int>(m_Chain.size()); }
  HRESULT GetPixelFormat(DDPixelFormat* format) const;

  // The pixels without the lost check, for drawing code that has checked IsLost itself.
  cPixelBuffer& Pixels() { return m_Pixels; }
  const cPixelBuffer& Pixels() const { return m_Pixels; }
  bool SystemMemory() const { return m_SystemMemory; }
  bool IsPrimary() const { return m_IsPrimary; }

 private:
  friend class cDirectDraw;
  struct sKey {};

 public:
  cDDSurface(sKey, std::shared_ptr<cDirectDraw> owner, bool systemMemory, bool primary);

 private:
  void Lose();

  std::shared_ptr<cDirectDraw> m_Owner;
  cPixelBuffer m_Pixels;
  bool m_SystemMemory;
  bool m_IsPrimary;
  bool m_Lost = false;
  std::size_t m_VideoBytes = 0;
  std::optional<std::uint32_t> m_ColorKey;
  std::shared_ptr<cDDPalette> m_Palette;
  // A primary's attached back buffers, in flip order.
  std::vector<std::shared_ptr<cDDSurface>> m_Chain;
};
