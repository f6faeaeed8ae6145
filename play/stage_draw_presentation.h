#pragma once
// The presentation elements of a running stage that the event-script commands create: shown
// pictures (each with its own surface in g_PictureSurfaces and that surface's descriptor at the same
// place in g_PictureDescriptors), running effect instances, open message windows (their surfaces in
// g_MessageSurfaces). The stage drawing draws them once per frame and drops each one that reports
// its end.
//
// The pictures and effect instances arrive with the commands that make them. Until then no command
// creates one and the lists stay empty; the per-element operations below are what the stage drawing
// asks of an element, defined for records that hold nothing yet: such a record has nothing to show
// and reports its end. The message windows are play/message_window.h, the screen effect
// play/screen_effect.h.
#include <cstdint>
#include <list>

#include "platform/display/surface.h"

// A shown picture. The stage drawing draws the pictures of one layer at a time.
struct cPicture {
  std::int32_t m_Layer = 0;
};

// A running effect of the database's effect table, shown at a place of the stage.
struct cEffectInstance {};

extern std::list<DDSURFACEDATA> g_PictureSurfaces;
extern std::list<SurfaceDescriptor> g_PictureDescriptors;
extern std::list<DDSURFACEDATA> g_MessageSurfaces;
extern std::list<SurfaceDescriptor> g_MessageDescriptors;

// One frame of a picture drawn from its surface src; 1 once it has ended.
std::int32_t DrawPicture(cPicture& picture, DDSURFACEDATA* dst, DDSURFACEDATA* src, std::int32_t frozen);
// One frame of an effect instance; 1 once it has ended.
std::int32_t DrawEffectInstance(cEffectInstance& effect, DDSURFACEDATA* dst, std::int32_t frozen);

// The stage drawing's walks over the play scene's lists: each draws its elements in order and removes
// those that end (a picture with its surface and descriptor).
void DrawPictures(DDSURFACEDATA* dst, std::int32_t layer, std::int32_t frozen);
void DrawEffectInstances(DDSURFACEDATA* dst, std::int32_t frozen);
void DrawMessageWindows(DDSURFACEDATA* dst, std::int32_t frozen);

// Stage set-up: the picture surfaces released and the picture lists (the play scene's included)
// emptied; the message-window surfaces released and their lists emptied.
void ClearPictureLists();
void ClearMessageLists();
