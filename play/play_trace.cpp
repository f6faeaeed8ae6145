#include "play/play_trace.h"

#include <array>

#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "play/hero.h"
#include "play/play_scene.h"
#include "play/state_digest.h"
#include "project/save_data.h"

namespace {

constexpr std::array<const char*, 8> kStateNames = {"fade-in", "ready", "play",      "pause",
                                                    "result",  "retry", "game-over", "fade-out"};

}  // namespace

void TracePlayState(std::int32_t state) {
  const char* name = state >= 0 && state < static_cast<std::int32_t>(kStateNames.size())
                         ? kStateNames[static_cast<std::size_t>(state)]
                         : "stopped";
  Trace(FormatString("play state %d %s", static_cast<int>(state), name));
}

std::string PlayStateLine(std::uint32_t frame, std::int32_t scene) {
  const std::string digest =
      FormatString(" digest=%016llx", static_cast<unsigned long long>(ComputeStateDigest(scene).m_Total));
  const cHero* hero = g_PlayScene != nullptr ? g_PlayScene->Hero0() : nullptr;
  if (hero == nullptr)
    return FormatString("frame=%u scene=%d x1=0.00 y1=0.00 x2=0.00 y2=0.00 vx=0.00 vy=0.00 hp=0 score=%d lives=%d time=0",
                        frame, static_cast<int>(scene), static_cast<int>(g_SaveData.m_Score),
                        static_cast<int>(g_SaveData.m_Lives)) +
           digest;
  return FormatString("frame=%u scene=%d x1=%.2f y1=%.2f x2=%.2f y2=%.2f vx=%.2f vy=%.2f hp=%d score=%d lives=%d time=%d",
                      frame, static_cast<int>(scene), hero->m_X1, hero->m_Y1, hero->m_X2, hero->m_Y2, hero->m_Vx,
                      hero->m_Vy, static_cast<int>(hero->m_Hp), static_cast<int>(g_SaveData.m_Score),
                      static_cast<int>(g_SaveData.m_Lives), static_cast<int>(g_PlayScene->m_TimeLeft)) +
         digest;
}
