#include "platform/audio/vox.h"

#include <algorithm>
#include <new>

#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"

cVox::~cVox() { Release(); }

bool cVox::Init() {
  if (m_Module) FreeVoxModule(m_Module);
  m_Module = LoadVoxModule("Vox.dll");
  m_CreateVox = m_Module ? GetVoxProc(m_Module, "CreateVox") : nullptr;
  if (!m_CreateVox) {
    if (m_Module) FreeVoxModule(m_Module);
    m_Module = nullptr;
    ErrMesBox("%s", SJ("oggの初期化に失敗！").c_str());
    return false;
  }
  return true;
}

bool cVox::Create(int n) {
  for (const auto& player : m_Players)
    if (player) player->Release();
  m_Players.clear();
  m_Count = 0;
  m_Current = -1;
  if (!m_CreateVox) return false;
  try {
    m_Players.resize(static_cast<std::size_t>(std::max(n, 0)));
  } catch (const std::bad_alloc&) {
    MemoryErrBox();
    return false;
  }
  m_Count = static_cast<std::int32_t>(m_Players.size());
  for (auto& player : m_Players) {
    player = m_CreateVox();
    if (!player) {
      MemoryErrBox();
      return false;
    }
  }
  return true;
}

cVoxPlayer* cVox::Player(int channel) const {
  if (channel < 0 || channel >= static_cast<int>(m_Players.size())) return nullptr;
  return m_Players[static_cast<std::size_t>(channel)].get();
}

bool cVox::Play(int channel, const std::string& name, int loop) {
  if (name.empty()) return false;
  Stop();
  // Without the library there are no players: the channel has nothing to play on.
  cVoxPlayer* player = Player(channel);
  if (!player) return false;
  player->Close();
  if (!player->Load(name.c_str())) {
    m_Current = -1;
    return false;
  }
  player->SetLoop(loop ? kVoxLoopForever : 0);
  player->Play();
  m_Current = channel;
  return true;
}

void cVox::Stop() {
  if (m_Current != -1)
    if (cVoxPlayer* player = Player(m_Current)) player->Stop();
  m_Current = -1;
}

void cVox::Release() {
  for (const auto& player : m_Players)
    if (player) player->Release();
  m_Players.clear();
  m_Count = 0;
  m_Current = -1;
  if (m_Module) FreeVoxModule(m_Module);
  m_Module = nullptr;
  m_CreateVox = nullptr;
}
