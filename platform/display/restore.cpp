// The way back after the display is lost: the Direct3D device reset with every dynamic surface made
// again, and the DirectDraw restore of lost surfaces with their pictures.
#include <algorithm>
#include <mutex>
#include <vector>

#include "platform/display/bitmap_surface.h"
#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/display/present.h"
#include "platform/host/screen.h"
#include "platform/host/text_codec.h"
#include "platform/services/log.h"

namespace {

// Made on first use: a client made at that moment (a function's static object) is destroyed
// before the book, and can still leave it.
struct sClientBook {
  std::mutex lock;
  std::vector<cRestoreClient*> clients;
};

sClientBook& ClientBook() {
  static sClientBook book;
  return book;
}

// A copy, so that a client may register or unregister others while it is called.
std::vector<cRestoreClient*> RestoreClients() {
  sClientBook& book = ClientBook();
  std::lock_guard lock(book.lock);
  return book.clients;
}

bool FullScreenD3D() { return g_DisplayContext && !g_DisplayContext->presentParams.windowed; }

// Step 6 of the reset: one record made again in place, with its number, vertex buffer and flags.
void RecreateRecord(DDSURFACEDATA* lpSD, std::int32_t index) {
  D3DSurfacePart& dt = *lpSD->lpDT;
  LogF("i = %d lpSD->szSurfaceType = %s lpSD->szFileName = %s Size = (%d,%d)", index, lpSD->szSurfaceType.c_str(),
       lpSD->szFileName.c_str(), lpSD->width, lpSD->height);
  const std::int32_t shared = lpSD->shared != nullptr;
  if (HasPictureFile(*lpSD)) {
    // A copy: the creation writes the name back into the record it is read from.
    const std::string fileName = lpSD->szFileName;
    CreateSurfaceFromFile(lpSD, fileName, dt.colourKey, g_DisplayParams.bpp, lpSD->systemMemory, dt.software, shared, 0,
                          lpSD->mirrorCellWidth, lpSD->mirrorCellHeight, 1);
  } else {
    DDCreateSurface(lpSD, lpSD->width, lpSD->height, dt.colourKey, lpSD->systemMemory, dt.software, shared, 1);
    // The picture it held is gone; its owner draws it again.
    dt.recreated = 1;
  }
}

}  // namespace

void RegisterRestoreClient(cRestoreClient* client) {
  if (!client) return;
  sClientBook& book = ClientBook();
  std::lock_guard lock(book.lock);
  if (std::find(book.clients.begin(), book.clients.end(), client) == book.clients.end()) book.clients.push_back(client);
}

void UnregisterRestoreClient(cRestoreClient* client) {
  sClientBook& book = ClientBook();
  std::lock_guard lock(book.lock);
  std::erase(book.clients, client);
}

bool DDRestoreSurface() {
  if (!DisplayIsD3D()) {
    LogF("%s", SJ("DDではDDRestoreSurfaceは未対応").c_str());
    return true;
  }
  if (!lpDevice) return false;
  // The device resets only once nothing outside it holds a render target; system-memory textures,
  // system surfaces and vertex buffers live through the reset.
  for (DDSURFACEDATA* record : g_DynamicSurfaces) {
    if (!record->lpDT || !record->lpDT->renderTarget || record->lpDT->software) continue;
    record->lpDT->texture.reset();
    record->lpDT->lpSurface.reset();
  }
  for (cRestoreClient* client : RestoreClients()) client->OnLostDevice();
  if (g_BackSurface.lpDT) g_BackSurface.lpDT->lpSurface.reset();

  if (lpDevice->TestCooperativeLevel() != D3DERR_DEVICENOTRESET) return false;
  if (FAILED(lpDevice->Reset(g_DisplayContext->presentParams))) return false;
  SetDefaultRenderStates();
  if (!g_BackSurface.lpDT) g_BackSurface.lpDT = std::make_unique<D3DSurfacePart>();
  lpDevice->GetBackBuffer(&g_BackSurface.lpDT->lpSurface);

  std::int32_t index = 0;
  // A copy of the list: a record made again must not be listed twice, and the walk must not follow
  // changes the creations make.
  for (DDSURFACEDATA* record : std::vector<DDSURFACEDATA*>(g_DynamicSurfaces.begin(), g_DynamicSurfaces.end())) {
    if (record->lpDT) RecreateRecord(record, index);
    ++index;
  }
  // The reset bound the back buffer; the context may be drawing to the virtual back buffer.
  DDSURFACEDATA* target = g_DisplayContext->renderTarget;
  if (target && target->lpDT && target->lpDT->lpSurface) lpDevice->SetRenderTarget(target->lpDT->lpSurface);

  for (cRestoreClient* client : RestoreClients()) client->Restore();
  if (FullScreenD3D() && g_DisplayParams.hWnd) g_DisplayParams.hWnd->SetMinimised(false);
  return true;
}

bool DDRestore() {
  if (DisplayIsD3D()) {
    LogF("%s", SJ("D3DではDDRestoreは未対応").c_str());
    return true;
  }
  if (!g_PrimarySurface.lpDDPart || !g_PrimarySurface.lpDDPart->surface) return true;
  cDDSurface& primary = *g_PrimarySurface.lpDDPart->surface;
  if (primary.IsLost() != DDERR_SURFACELOST) return true;
  primary.Restore();
  if (g_BackSurface.lpDDPart && g_BackSurface.lpDDPart->surface &&
      g_BackSurface.lpDDPart->surface->IsLost() == DDERR_SURFACELOST)
    g_BackSurface.lpDDPart->surface->Restore();

  DDSURFACEDATA* table = g_DisplayParams.surfaceTable;
  for (std::int32_t i = 0; table && i < g_DisplayParams.count; ++i) {
    DDSURFACEDATA& entry = table[i];
    if (!entry.lpDDPart || !entry.lpDDPart->surface) continue;
    cDDSurface& surface = *entry.lpDDPart->surface;
    if (surface.IsLost() != DDERR_SURFACELOST) continue;
    surface.Restore();
    // A picture that cannot be read again leaves what the restore left.
    if (!surface.SystemMemory() && HasPictureFile(entry)) RestoreSurfaceBitmap(&entry, g_DisplayParams.bpp);
  }
  if (g_DisplayParams.bpp == 8 && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 256, g_FadePalette);
  for (cRestoreClient* client : RestoreClients()) client->Restore();
  return true;
}

std::intptr_t HandleDeviceLostMessage() { return DDRestoreSurface() ? 1 : 0; }

bool ReportDeviceLost() { return SendMainWindowMessage(WM_GAME_DEVICELOST, 0, 0).value_or(0) != 0; }
