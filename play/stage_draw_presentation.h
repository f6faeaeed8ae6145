#pragma once
// The presentation elements of a running stage that the event-script commands create: shown
// pictures (play/picture.h), running effect instances (play/effect_instance.h), open message windows
// (their surfaces in g_MessageSurfaces; play/message_window.h); the screen effect is
// play/screen_effect.h. The stage drawing draws them once per frame and drops each one that reports
// its end.
#include <cstdint>
#include <list>

#include "platform/display/surface.h"
#include "play/effect_instance.h"
#include "play/picture.h"

extern std::list<DDSURFACEDATA> g_MessageSurfaces;
extern std::list<SurfaceDescriptor> g_MessageDescriptors;

// The stage drawing's walks over the play scene's lists: each draws its elements in order and removes
// those that end.
void DrawEffectInstances(DDSURFACEDATA* dst, std::int32_t frozen);
void DrawMessageWindows(DDSURFACEDATA* dst, std::int32_t frozen);

// Stage set-up: the message-window surfaces released and their lists emptied.
void ClearMessageLists();
