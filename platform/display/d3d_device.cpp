#include "platform/display/d3d_device.h"

#include <algorithm>
#include <bit>

#include "platform/display/display_faults.h"
#include "platform/host/screen.h"

struct D3DResourceBook {
  // Textures of the default pool (render targets): lost with the device, and in the way of a reset.
  std::vector<cD3DTexture*> defaultTextures;
  bool lost = false;
};

void LoseTextures(D3DResourceBook& book) {
  for (cD3DTexture* texture : book.defaultTextures) texture->m_Level0.Fill(0);
}

cD3DTexture::cD3DTexture(std::shared_ptr<D3DResourceBook> book, const D3DSurfaceDesc& desc)
    : m_Book(std::move(book)), m_Desc(desc) {
  if (m_Desc.pool == D3DPool::Default) m_Book->defaultTextures.push_back(this);
}

cD3DTexture::~cD3DTexture() {
  ReturnVideoMemory(m_VideoBytes);
  auto& list = m_Book->defaultTextures;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

std::shared_ptr<cPixelBuffer> GetSurfaceLevel(const std::shared_ptr<cD3DTexture>& texture) {
  if (!texture) return nullptr;
  return std::shared_ptr<cPixelBuffer>(texture, &texture->Level0());
}

// ---- device

cD3DDevice::cD3DDevice(const D3DCaps& caps, cScreen* window)
    : m_Caps(caps), m_Window(window), m_Book(std::make_shared<D3DResourceBook>()) {}

cD3DDevice::~cD3DDevice() = default;

HRESULT cD3DDevice::Setup(const D3DPresentParams& params) {
  D3DPresentParams p = params;
  if (p.backBufferWidth == 0) p.backBufferWidth = m_Window ? m_Window->Width() : 0;
  if (p.backBufferHeight == 0) p.backBufferHeight = m_Window ? m_Window->Height() : 0;
  if (p.backBufferFormat != PixelFormat::Xrgb8888 && p.backBufferFormat != PixelFormat::Rgb565 &&
      p.backBufferFormat != PixelFormat::Argb1555)
    return D3DERR_INVALIDCALL;
  auto backBuffer = std::make_shared<cPixelBuffer>();
  if (!backBuffer->Create(p.backBufferWidth, p.backBufferHeight, p.backBufferFormat)) return D3DERR_OUTOFVIDEOMEMORY;
  m_Params = p;
  m_BackBuffer = std::move(backBuffer);
  m_RenderTarget = m_BackBuffer;
  m_RenderStates = {};
  m_Samplers = {};
  m_Stage0 = {};
  if (m_Window) {
    m_Window->SetFullScreen(!p.windowed);
    m_Window->SetVsync(p.vsync);
  }
  return D3D_OK;
}

HRESULT cD3DDevice::CreateTexture(std::int32_t width, std::int32_t height, std::uint32_t usage, PixelFormat format,
                                  D3DPool pool, std::shared_ptr<cD3DTexture>* out) {
  if (!out || width <= 0 || height <= 0 || width > m_Caps.maxTextureWidth || height > m_Caps.maxTextureHeight)
    return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPool::Default) return D3DERR_INVALIDCALL;
  if (m_Caps.texturesPow2 && (!std::has_single_bit(static_cast<std::uint32_t>(width)) ||
                              !std::has_single_bit(static_cast<std::uint32_t>(height))))
    return D3DERR_INVALIDCALL;
  if (m_Caps.texturesSquareOnly && width != height) return D3DERR_INVALIDCALL;
  auto texture = std::make_shared<cD3DTexture>(m_Book, D3DSurfaceDesc{format, usage, pool, width, height});
  if (!texture->m_Level0.Create(width, height, format)) return E_OUTOFMEMORY;
  if (pool == D3DPool::Default) {
    if (!ReserveVideoMemory(texture->m_Level0.SizeBytes())) return D3DERR_OUTOFVIDEOMEMORY;
    texture->m_VideoBytes = texture->m_Level0.SizeBytes();
  }
  *out = std::move(texture);
  return D3D_OK;
}

HRESULT cD3DDevice::CreateOffscreenPlainSurface(std::int32_t width, std::int32_t height, PixelFormat format,
                                                std::shared_ptr<cPixelBuffer>* out) {
  if (!out) return D3DERR_INVALIDCALL;
  auto surface = std::make_shared<cPixelBuffer>();
  if (!surface->Create(width, height, format)) return width <= 0 || height <= 0 ? D3DERR_INVALIDCALL : E_OUTOFMEMORY;
  *out = std::move(surface);
  return D3D_OK;
}

HRESULT cD3DDevice::CreateVertexBuffer(std::unique_ptr<cVertexBuffer>* out) {
  if (!out) return D3DERR_INVALIDCALL;
  *out = std::make_unique<cVertexBuffer>();
  return D3D_OK;
}

HRESULT cD3DDevice::GetBackBuffer(std::shared_ptr<cPixelBuffer>* out) {
  if (!out || !m_BackBuffer) return D3DERR_INVALIDCALL;
  *out = m_BackBuffer;
  return D3D_OK;
}

HRESULT cD3DDevice::SetRenderTarget(const std::shared_ptr<cPixelBuffer>& surface) {
  if (!surface) return D3DERR_INVALIDCALL;
  // Every copy sets the target and then sets the usual one back: most calls change nothing, and
  // then the shared pointer's counts are left alone.
  if (m_RenderTarget != surface) m_RenderTarget = surface;
  return D3D_OK;
}

HRESULT cD3DDevice::Clear(const PixelRect* rect, std::uint32_t colour) {
  if (!m_RenderTarget) return D3DERR_INVALIDCALL;
  cPixelBuffer& target = *m_RenderTarget;
  PixelRect whole{0, 0, target.Width(), target.Height()};
  target.FillRect(rect ? *rect : whole, PackColour(target.Format(), colour));
  return D3D_OK;
}

HRESULT cD3DDevice::Present() {
  if (m_Book->lost) return D3DERR_DEVICELOST;
  if (!m_BackBuffer) return D3DERR_INVALIDCALL;
  if (m_Window) m_Window->SubmitFrame(m_BackBuffer->View(), nullptr);
  return D3D_OK;
}

HRESULT cD3DDevice::TestCooperativeLevel() {
  if (!m_Book->lost) return D3D_OK;
  if (m_ResetRefusals > 0) {
    --m_ResetRefusals;
    return D3DERR_DEVICELOST;
  }
  return D3DERR_DEVICENOTRESET;
}

HRESULT cD3DDevice::Reset(const D3DPresentParams& params) {
  if (m_Book->lost && m_ResetRefusals > 0) return D3DERR_DEVICELOST;
  // The device's own binding of a render target does not count; every other reference does.
  m_RenderTarget.reset();
  if (!m_Book->defaultTextures.empty() || (m_BackBuffer && m_BackBuffer.use_count() > 1)) {
    m_RenderTarget = m_BackBuffer;
    return D3DERR_INVALIDCALL;
  }
  m_BackBuffer.reset();
  HRESULT hr = Setup(params);
  if (FAILED(hr)) return hr;
  m_Book->lost = false;
  return D3D_OK;
}

void cD3DDevice::SimulateLoss(int resetRefusals) {
  m_Book->lost = true;
  m_ResetRefusals = std::max(resetRefusals, 0);
  LoseTextures(*m_Book);
  if (m_BackBuffer) m_BackBuffer->Fill(0);
}

bool cD3DDevice::Lost() const { return m_Book->lost; }

// ---- Direct3D object

D3DCaps cDirect3D::GetDeviceCaps() const {
  D3DCaps caps;
  caps.hardwareVertexProcessing = g_DisplayFaults.hardwareVertexProcessing;
  caps.texturesPow2 = g_DisplayFaults.texturesPow2;
  caps.texturesSquareOnly = g_DisplayFaults.texturesSquare;
  if (g_DisplayFaults.maxTextureSide > 0) caps.maxTextureWidth = caps.maxTextureHeight = g_DisplayFaults.maxTextureSide;
  return caps;
}

HRESULT cDirect3D::CreateDevice(cScreen* focusWindow, bool hardwareVertexProcessing, const D3DPresentParams& params,
                                std::unique_ptr<cD3DDevice>* out) const {
  if (!out) return D3DERR_INVALIDCALL;
  D3DCaps caps = GetDeviceCaps();
  if (hardwareVertexProcessing && !caps.hardwareVertexProcessing) return D3DERR_NOTAVAILABLE;
  if (!hardwareVertexProcessing && g_DisplayFaults.softwareVertexProcessingFails) return D3DERR_NOTAVAILABLE;
  auto device = std::make_unique<cD3DDevice>(caps, focusWindow);
  HRESULT hr = device->Setup(params);
  if (FAILED(hr)) return hr;
  *out = std::move(device);
  return D3D_OK;
}
