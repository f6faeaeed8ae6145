#include "play/play_scene.h"

#include <cmath>

cPlayScene* g_PlayScene = nullptr;

const double g_InvSqrt2 = 1.0 / std::sqrt(2.0);

cPlayScene::cPlayScene() : m_GroupCharas(kObjectGroups) {}

cPlayScene::~cPlayScene() {
  // Objects that outlive the scene (the global containers) must not reach a scene that is gone.
  if (g_PlayScene == this) g_PlayScene = nullptr;
}

cCharaBase* cPlayScene::Hero(std::int32_t n) const {
  if (n < 0 || n >= m_Heroes.Size()) return nullptr;
  return m_Heroes[static_cast<std::size_t>(n)];
}
