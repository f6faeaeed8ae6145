#pragma once
// The display draws into memory, where nothing is ever lost and the "video memory" never runs out.
// The game still has its roads for those events (restoring lost surfaces, resetting a lost device,
// falling back to system memory), so the device objects can be made to fail on purpose. Tests set
// these switches; the program never does.
#include <cstddef>
#include <cstdint>

struct DisplayFaults {
  // Bytes of video memory the devices offer; 0 = no limit. Video-memory surfaces and render-target
  // textures beyond it fail with the out-of-video-memory result.
  std::size_t videoMemoryBytes = 0;
  // The Direct3D device also refuses software vertex processing (it always refuses hardware
  // vertex processing unless the capabilities below offer it).
  bool softwareVertexProcessingFails = false;
  // Asked refresh rates are refused when setting a display mode (the mode itself is offered).
  bool refreshRateRefused = false;
  // The Direct3D adapter has hardware vertex processing.
  bool hardwareVertexProcessing = false;
  // The Direct3D adapter needs textures with power-of-two sides, and square ones.
  bool texturesPow2 = false;
  bool texturesSquare = false;
  // The largest texture side the Direct3D adapter takes; 0 = its own limit.
  std::int32_t maxTextureSide = 0;
};

extern DisplayFaults g_DisplayFaults;

// Every switch back to its default; video memory in use is kept.
void ResetDisplayFaults();

// Video memory in use. Reserve fails (and reserves nothing) when the limit would be passed.
bool ReserveVideoMemory(std::size_t bytes);
void ReturnVideoMemory(std::size_t bytes);
std::size_t VideoMemoryInUse();

// Makes the active back-end lose its display, as a mode switch or another program taking the screen
// would. DirectDraw: the primary and every video-memory surface are lost, their pixels gone, until
// restored. Direct3D: the device is lost, its render targets' pixels gone; TestCooperativeLevel
// answers "lost" resetRefusals times before it allows the reset.
void InjectDisplayLoss(int resetRefusals = 0);
