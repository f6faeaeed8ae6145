#pragma once
// Surface records: every image the game draws lives in a DDSURFACEDATA, whose pixels belong to the
// active back-end (a DirectDraw surface, or a Direct3D texture with its surfaces and vertex buffer).
// Records are made empty, created (empty or from a bitmap file), released, and created again; the
// fixed table g_SurfaceTable holds the 69 records that g_SurfaceDescriptors describes.
#include <cstdint>
#include <initializer_list>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "platform/display/d3d_device.h"
#include "platform/display/ddraw_device.h"

// The Direct3D part of a record.
struct D3DSurfacePart {
  std::int32_t textureNumber = 0;
  std::shared_ptr<cPixelBuffer> lpSurface;        // level 0 of the texture, or the back buffer
  std::shared_ptr<cPixelBuffer> lpSystemSurface;  // system-memory copy of a render target, for reading it
  std::unique_ptr<cVertexBuffer> vertexBuffer;    // every draw from or onto the record writes its quad here
  std::shared_ptr<cD3DTexture> texture;
  D3DSurfaceDesc levelDesc;
  std::int32_t software = 0;      // 1: a system-memory texture instead of a render target
  std::int32_t colourKey = 0;     // 1: draws from the record leave out the key colour
  std::int32_t recreated = 0;     // 1: an empty surface made again after a device reset
  std::int32_t renderTarget = 0;  // 1: a render-target texture or the back buffer
  bool listed = false;            // in g_DynamicSurfaces
};

// The DirectDraw part of a record.
struct DDSurfacePart {
  std::shared_ptr<cDDSurface> surface;
  // For each pixel (pitch in pixels times height), the first palette index of its colour; empty
  // when the record has no map.
  std::vector<std::uint8_t> paletteIndexMap;
};

struct DDSURFACEDATA {
  DDSURFACEDATA() = default;
  // Records move (the per-scene vectors grow); a listed record takes its place in
  // g_DynamicSurfaces along. Copies would share one image between two owners, so there are none.
  DDSURFACEDATA(DDSURFACEDATA&& other) noexcept;
  DDSURFACEDATA& operator=(DDSURFACEDATA&& other) noexcept;
  ~DDSURFACEDATA();

  std::unique_ptr<D3DSurfacePart> lpDT;
  std::unique_ptr<DDSurfacePart> lpDDPart;
  std::string szSurfaceType;  // "BackBuffer", "VirBackBuffer", "WorkSD", "OffScreen", "OffScreenFromFile"
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t textureWidth = 0;
  std::int32_t textureHeight = 0;
  std::string szFileName;  // the bitmap, "E" for an empty Direct3D surface, empty for none
  std::int32_t systemMemory = 0;
  std::int32_t mirrorCellWidth = 0;
  std::int32_t mirrorCellHeight = 0;
  DDSURFACEDATA* shared = nullptr;  // Direct3D: the record whose image this one shows
};

// One row of a surface table's description.
struct SurfaceDescriptor {
  static constexpr std::size_t kMaxName = 259;

  SurfaceDescriptor() = default;
  // The name is cut to kMaxName bytes.
  SurfaceDescriptor(const char* name, std::int32_t colourKey, std::int32_t systemMemory, std::int32_t softwareTexture,
                    std::int32_t shared, std::int32_t paletteMap, std::int32_t optional, std::int32_t mirrorCellWidth,
                    std::int32_t mirrorCellHeight, std::int32_t width, std::int32_t height);

  std::string name;  // bitmap path, or "E" for an empty surface
  std::int32_t colourKey = 0;
  std::int32_t systemMemory = 0;
  std::int32_t softwareTexture = 0;
  std::int32_t shared = 0;
  std::int32_t paletteMap = 0;
  std::int32_t optional = 0;  // a failure to create this entry is ignored
  std::int32_t mirrorCellWidth = 0;
  std::int32_t mirrorCellHeight = 0;
  std::int32_t width = 0;  // size of an empty surface
  std::int32_t height = 0;
};

constexpr std::int32_t kSurfaceTableSize = 69;
extern DDSURFACEDATA g_SurfaceTable[kSurfaceTableSize];

// Every Direct3D record created with a texture of its own (not shared) outside a device restore, in
// creation order; the device restore walks it.
extern std::list<DDSURFACEDATA*> g_DynamicSurfaces;

// Result codes of the file creation; a Direct3D failure can also come back as its result.
constexpr std::int32_t SURFACE_OK = 0;
constexpr std::int32_t MIRROR_ERR = 1;
constexpr std::int32_t CREATESURFACE_ERR = 4;
constexpr std::int32_t LOADIMAGE_ERR = 8;
constexpr std::int32_t SETCOLORKEY_ERR = 9;

// True when the record holds an image: a texture of its own or a shared one (Direct3D), or a
// DirectDraw surface.
bool HasSurface(const DDSURFACEDATA& record);
// True when the record's picture comes from a bitmap file ("E" and "" are empty surfaces).
bool HasPictureFile(const DDSURFACEDATA& record);

void AllocSurfaceParts(DDSURFACEDATA* lpSD);
bool DDCreateSurface(DDSURFACEDATA* lpSD, std::int32_t width, std::int32_t height, std::int32_t colourKey,
                     std::int32_t systemMemory, std::int32_t softwareTexture, std::int32_t shared,
                     std::int32_t restoring);
std::int32_t CreateSurfaceFromFile(DDSURFACEDATA* lpSD, const std::string& fileName, std::int32_t colourKey,
                                   std::int32_t bpp, std::int32_t systemMemory, std::int32_t softwareTexture,
                                   std::int32_t shared, std::int32_t paletteMap, std::int32_t mirrorCellWidth,
                                   std::int32_t mirrorCellHeight, std::int32_t restoring);
// False for every failure code; 4, 8 and 9 are named in the debug log.
bool CheckSurfaceResult(std::int32_t code);
// (Re)creates the listed table entries from the descriptors DDInit stored.
bool LoadSurfaceList(DDSURFACEDATA* table, const std::int32_t* indices, std::int32_t count);
bool LoadSurfaceList(DDSURFACEDATA* table, std::initializer_list<std::int32_t> indices);
bool BitmapExceedsSize(std::int32_t* exceeds, const std::string& fileName, std::int32_t maxWidth,
                       std::int32_t maxHeight);
void DDReleaseSurface(DDSURFACEDATA* lpSD);

void ReleaseSurfaceVector(std::vector<DDSURFACEDATA>& surfaces);
void ReleaseSurfaceList(std::list<DDSURFACEDATA>& surfaces);
bool AddSurfaceToVector(std::vector<DDSURFACEDATA>& surfaces, std::vector<SurfaceDescriptor>& descriptors,
                        std::int32_t width, std::int32_t height, std::int32_t colourKey, std::int32_t systemMemory,
                        std::int32_t softwareTexture, std::int32_t shared);
bool AddSurfaceToList(std::list<DDSURFACEDATA>& surfaces, std::list<SurfaceDescriptor>& descriptors, std::int32_t width,
                      std::int32_t height, std::int32_t colourKey, std::int32_t systemMemory,
                      std::int32_t softwareTexture, std::int32_t shared);
bool RemoveSurfaceFromList(std::list<DDSURFACEDATA>& surfaces, std::list<SurfaceDescriptor>& descriptors,
                           const DDSURFACEDATA* lpSD);

void ResolveSharedSurface(DDSURFACEDATA** p);
// Sizes below 1 become 1; then as the device needs: powers of two, square.
void RoundTextureSize(std::int32_t* width, std::int32_t* height);
bool CheckMaxTextureSize(std::int32_t width, std::int32_t height);
