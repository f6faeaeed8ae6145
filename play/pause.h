#pragma once
// Blocking requests of stage play: a message waiting for its key or time, a game wait, an effect run
// to its end, a picture shown until a key, the extra-life message. The game thread fills the play
// scene's request and waits while the pause thread keeps the screen alive: it paces, polls its own
// copy of the input, draws the frozen stage with the play scene's lists and presents, until the
// request is satisfied or the program is closing.
#include <cstdint>

class cPlayScene;

// The kinds of blocking request.
constexpr std::int32_t kPauseGameWait = 0;
constexpr std::int32_t kPauseMessage = 1;
constexpr std::int32_t kPauseEffect = 2;
constexpr std::int32_t kPausePicture = 3;
constexpr std::int32_t kPauseExtraLife = 4;

// Frames a key-waiting message ignores its key, unless it follows an open message.
constexpr std::int32_t kMessageKeyDelay = 10;
// A close seen by the pause thread ends it by itself after this long, should its WM_QUIT be lost.
constexpr std::uint32_t kPauseCloseGraceMs = 2000;
// The thread message the message and extra-life callers post before they wait.
constexpr std::uint32_t kPauseStartMessage = 0x8000;

struct cPauseRequest {
  std::int32_t m_PauseKind = 0, m_KeyDelay = 0, m_WaitKey = 0, m_PauseFrames = 0, m_PauseCounter = 0;
};

void InitPauseRequest(cPauseRequest& request, std::int32_t kind, std::int32_t waitKey, std::int32_t frames,
                      std::int32_t messageOpen);

// Thread procedure of thPause; arg is the play scene. 0 when the program was closing already, else 1.
std::uint32_t PauseThreadProc(void* arg);

// Runs the play scene's filled m_PauseRequest to its end while the game logic stands still (the
// screen kept alive); postStartMessage: the message and extra-life callers' thread message 0x8000.
void RunPause(cPlayScene& scene, bool postStartMessage);

// The window thread's close reaches the play scene while it exists: it marks m_CloseRequested so
// that the game thread closes again once the pause thread has ended.
void AttachCloseRoad(cPlayScene& scene);
void DetachCloseRoad(cPlayScene& scene);
