#pragma once
// The Direct3D back-end's objects, in memory: the Direct3D object (one adapter and its capabilities),
// the device with its back buffer, render target, pipeline states and present, textures with their
// level-0 surface, plain system-memory surfaces and vertex buffers. The drawing itself (textured
// quads, fills, blending) is done by the display's primitives on these buffers and states.
//
// As with the interfaces the game was written against, a texture's level-0 surface keeps its
// texture alive (an aliasing shared pointer), and a device can only be reset once every render
// target texture and every extra reference to its back buffer has been let go.
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/display/display_results.h"
#include "platform/display/pixel_buffer.h"

class cScreen;

// Values of the pipeline states, with the numbers of the interface the game was written against.
constexpr std::uint32_t D3DCULL_NONE = 1;
constexpr std::uint32_t D3DCULL_CCW = 3;
constexpr std::uint32_t D3DBLEND_ZERO = 1;
constexpr std::uint32_t D3DBLEND_ONE = 2;
constexpr std::uint32_t D3DBLEND_SRCALPHA = 5;
constexpr std::uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr std::uint32_t D3DMCS_COLOR1 = 1;
constexpr std::uint32_t D3DTADDRESS_WRAP = 1;
constexpr std::uint32_t D3DTEXF_POINT = 1;
constexpr std::uint32_t D3DTOP_DISABLE = 1;
constexpr std::uint32_t D3DTOP_SELECTARG1 = 2;
constexpr std::uint32_t D3DTOP_SELECTARG2 = 3;
constexpr std::uint32_t D3DTOP_MODULATE = 4;
constexpr std::uint32_t D3DTOP_ADD = 7;
constexpr std::uint32_t D3DTOP_SUBTRACT = 10;
constexpr std::uint32_t D3DTA_DIFFUSE = 0;
constexpr std::uint32_t D3DTA_CURRENT = 1;
constexpr std::uint32_t D3DTA_TEXTURE = 2;
constexpr std::uint32_t D3DTA_TFACTOR = 3;

constexpr std::uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr std::uint32_t D3DUSAGE_DYNAMIC = 0x200;

enum class D3DPool : std::uint8_t { Default, Managed, SystemMem };
enum class D3DSwapEffect : std::uint8_t { Discard, Copy };

// What the adapter offers.
struct D3DCaps {
  bool texturesPow2 = false;
  bool texturesSquareOnly = false;
  std::int32_t maxTextureWidth = kMaxSurfaceSide;
  std::int32_t maxTextureHeight = kMaxSurfaceSide;
  std::int32_t maxTextureBlendStages = 8;
  std::int32_t maxSimultaneousTextures = 8;
  bool alphaFullscreenFlipOrDiscard = true;
  // Vertices are transformed in software here.
  bool hardwareVertexProcessing = false;
};

struct D3DPresentParams {
  std::int32_t backBufferWidth = 0;  // 0: the window's size
  std::int32_t backBufferHeight = 0;
  PixelFormat backBufferFormat = PixelFormat::Xrgb8888;
  std::int32_t backBufferCount = 1;
  D3DSwapEffect swapEffect = D3DSwapEffect::Discard;
  bool windowed = true;
  bool lockableBackBuffer = true;
  std::int32_t fullScreenRefreshHz = 0;
  bool vsync = false;  // presentation interval: default (wait for the retrace) or immediate
};

struct D3DSurfaceDesc {
  PixelFormat format = PixelFormat::Argb8888;
  std::uint32_t usage = 0;
  D3DPool pool = D3DPool::Default;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct D3DRenderStates {
  std::uint32_t cullMode = D3DCULL_CCW;
  bool zEnable = false;
  bool alphaBlendEnable = false;
  std::uint32_t srcBlend = D3DBLEND_ONE;
  std::uint32_t destBlend = D3DBLEND_ZERO;
  std::uint32_t diffuseMaterialSource = D3DMCS_COLOR1;
  bool colorVertex = true;
  std::uint32_t textureFactor = 0xFFFFFFFF;
};

struct D3DSamplerStates {
  std::uint32_t addressU = D3DTADDRESS_WRAP;
  std::uint32_t addressV = D3DTADDRESS_WRAP;
  std::uint32_t minFilter = D3DTEXF_POINT;
  std::uint32_t magFilter = D3DTEXF_POINT;
};

struct D3DTextureStage {
  std::uint32_t colorOp = D3DTOP_MODULATE;
  std::uint32_t colorArg1 = D3DTA_TEXTURE;
  std::uint32_t colorArg2 = D3DTA_CURRENT;
  std::uint32_t alphaOp = D3DTOP_SELECTARG1;
  std::uint32_t alphaArg1 = D3DTA_TEXTURE;
  std::uint32_t alphaArg2 = D3DTA_CURRENT;
};

// One vertex of a textured quad: position (pre-transformed), diffuse colour, texture coordinates.
struct D3DVertex {
  float x = 0, y = 0, z = 0, rhw = 1;
  std::uint32_t diffuse = 0;
  float u = 0, v = 0;
};
static_assert(sizeof(D3DVertex) == 28);

// Four vertices, in the managed pool: kept across a device reset.
struct cVertexBuffer {
  std::array<D3DVertex, 4> m_Vertices{};
};

// What a device keeps of the resources made from it, shared with them so that a resource that
// outlives its device harms nothing.
struct D3DResourceBook;

class cD3DTexture {
 public:
  cD3DTexture(std::shared_ptr<D3DResourceBook> book, const D3DSurfaceDesc& desc);
  ~cD3DTexture();
  cD3DTexture(const cD3DTexture&) = delete;
  cD3DTexture& operator=(const cD3DTexture&) = delete;

  const D3DSurfaceDesc& Desc() const { return m_Desc; }
  cPixelBuffer& Level0() { return m_Level0; }

 private:
  friend class cD3DDevice;
  friend void LoseTextures(D3DResourceBook&);
  std::shared_ptr<D3DResourceBook> m_Book;
  D3DSurfaceDesc m_Desc;
  cPixelBuffer m_Level0;
  std::size_t m_VideoBytes = 0;
};

// Level 0 of a texture as a surface; holding it keeps the texture alive.
std::shared_ptr<cPixelBuffer> GetSurfaceLevel(const std::shared_ptr<cD3DTexture>& texture);

class cD3DDevice {
 public:
  cD3DDevice(const D3DCaps& caps, cScreen* window);
  ~cD3DDevice();
  cD3DDevice(const cD3DDevice&) = delete;
  cD3DDevice& operator=(const cD3DDevice&) = delete;

  // Makes the back buffer and shows the window as asked (full screen or not, vertical sync).
  HRESULT Setup(const D3DPresentParams& params);
  const D3DCaps& Caps() const { return m_Caps; }

  HRESULT CreateTexture(std::int32_t width, std::int32_t height, std::uint32_t usage, PixelFormat format, D3DPool pool,
                        std::shared_ptr<cD3DTexture>* out);
  // A plain surface in system memory.
  HRESULT CreateOffscreenPlainSurface(std::int32_t width, std::int32_t height, PixelFormat format,
                                      std::shared_ptr<cPixelBuffer>* out);
  HRESULT CreateVertexBuffer(std::unique_ptr<cVertexBuffer>* out);
  HRESULT GetBackBuffer(std::shared_ptr<cPixelBuffer>* out);

  HRESULT SetRenderTarget(const std::shared_ptr<cPixelBuffer>& surface);
  const std::shared_ptr<cPixelBuffer>& RenderTarget() const { return m_RenderTarget; }
  // Sets the pixels of rect (null: all) of the render target to colour, 0xAARRGGBB, converted to the
  // target's format; the rectangle is clipped to the target.
  HRESULT Clear(const PixelRect* rect, std::uint32_t colour);

  // Shows the back buffer in the window.
  HRESULT Present();
  HRESULT TestCooperativeLevel();
  HRESULT Reset(const D3DPresentParams& params);
  void SimulateLoss(int resetRefusals);
  bool Lost() const;

  // Pipeline states, read and set by the drawing code. A reset returns them to these defaults.
  D3DRenderStates m_RenderStates;
  std::array<D3DSamplerStates, 2> m_Samplers;
  D3DTextureStage m_Stage0;

 private:
  const D3DCaps m_Caps;
  cScreen* m_Window;
  std::shared_ptr<D3DResourceBook> m_Book;
  D3DPresentParams m_Params;
  std::shared_ptr<cPixelBuffer> m_BackBuffer;
  std::shared_ptr<cPixelBuffer> m_RenderTarget;
  int m_ResetRefusals = 0;
};

// The Direct3D object: the one adapter of this platform, software, and its devices.
class cDirect3D {
 public:
  // The adapter's capabilities, adjusted by the display fault switches.
  D3DCaps GetDeviceCaps() const;
  HRESULT CreateDevice(cScreen* focusWindow, bool hardwareVertexProcessing, const D3DPresentParams& params,
                       std::unique_ptr<cD3DDevice>* out) const;
};
