#include "platform/audio/sound_effects.h"

#include <algorithm>
#include <functional>
#include <mutex>
#include <new>
#include <stdexcept>

#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

CheckedVector<SOUNDDATA> g_SoundTable;
CheckedVector<SoundSlotDef> g_SoundSlotDefs;
std::unique_ptr<cDirectSound> g_DirectSound;

namespace {

// Guards the buffers, count and next of every entry: the window thread plays on request while the
// game thread plays cursor sounds and sets volumes, so two plays of one entry must not take the
// same duplicate. Held only for the few calls on the voices, never across file reading.
std::mutex s_TableLock;

// The entry's buffer index, or null. The caller holds s_TableLock.
cSoundBuffer* BufferAt(const SOUNDDATA& entry, std::int32_t index) {
  const std::int32_t count = std::min<std::int32_t>(entry.count, static_cast<std::int32_t>(entry.buffers.size()));
  if (index < 0 || index >= count) return nullptr;
  return entry.buffers[static_cast<std::size_t>(index)].get();
}

// Where entry stands in the remembered table, for the trace; -1 for an entry of another table.
int EntryIndex(const SOUNDDATA& entry) {
  const auto* table = g_DirectSound ? g_DirectSound->m_Table : nullptr;
  if (!table || table->empty()) return -1;
  const SOUNDDATA* first = table->data();
  const SOUNDDATA* end = first + table->size();
  if (std::less<const SOUNDDATA*>()(&entry, first) || !std::less<const SOUNDDATA*>()(&entry, end)) return -1;
  return static_cast<int>(&entry - first);
}

bool IsLoaded(const SOUNDDATA& entry) {
  std::lock_guard lock(s_TableLock);
  return !entry.buffers.empty();
}

void ReportNoDevice() {
  ReportLog("%s (%s)", SJ("サウンドデバイスを開けませんでした。音を出さずに続けます").c_str(),
            AudioDeviceError().c_str());
}

}  // namespace

std::int32_t SoundVolumeForOption(std::int32_t option) {
  const std::int32_t last = static_cast<std::int32_t>(SoundVolumeTable.size()) - 1;
  return SoundVolumeTable[static_cast<std::size_t>(std::clamp(option, 0, last))];
}

void PlaySE(std::int32_t index) { SendMainWindowMessage(WM_GAME_PLAYSE, static_cast<std::uintptr_t>(index), 0); }

void PlaySEOffset(std::int16_t number) {
  if (number == 0) return;
  PlaySE(number + kProjectSoundOffset);
}

void HandlePlaySeMessage(std::uintptr_t wParam) {
  const auto index = static_cast<std::int32_t>(wParam);
  // An empty table has no element to fall back on: the failure lines are written and nothing plays.
  if (g_SoundTable.empty()) {
    ReportBadVectorIndex(index, 0, CheckedElementSize<SOUNDDATA>());
    return;
  }
  DS_Play(g_SoundTable.At(index), 0);
}

bool DS_Init(void* hWnd, std::int32_t rate, std::int32_t bits, std::int32_t channels) {
  if (g_DirectSound) DS_Release();
  const bool wantReal = RealAudioWanted();
  const AudioDeviceKind device = OpenAudioDevice(wantReal);
  if (device == AudioDeviceKind::None) {
    LogF("DIRECTSOUNDCREATE_ERR!");
    return false;
  }
  // No sound server is no reason to stop the game: it runs silently on the null device.
  if (wantReal && device != AudioDeviceKind::Sdl) ReportNoDevice();

  auto ds = std::make_unique<cDirectSound>();
  ds->m_Device = device;
  ds->m_Voices = std::make_shared<cEffectVoices>();
  AddMixSource(ds->m_Voices);
  // The format the game asks for is kept; the mixer converts every effect from its own format.
  PrimaryFormat& f = ds->m_Primary;
  f.rate = rate;
  f.bits = bits;
  f.channels = channels;
  f.blockAlign = bits / 8 * channels;
  f.bytesPerSec = f.blockAlign * rate;
  ds->m_hWnd = hWnd;
  g_DirectSound = std::move(ds);
  return true;
}

bool DS_LoadAll(CheckedVector<SOUNDDATA>& table, CheckedVector<SoundSlotDef>& defs, std::int32_t volume) {
  if (!g_DirectSound) return true;
  g_DirectSound->m_Table = &table;
  g_DirectSound->m_Defs = &defs;
  // Rows beyond the shorter of the two have nothing to be loaded with, or nowhere to go.
  const int rows = std::min(table.Size(), defs.Size());
  for (int i = 0; i < rows; ++i) {
    if (IsLoaded(table.At(i))) continue;
    const SoundSlotDef& def = defs.At(i);
    DS_Load(table.At(i), def.name, def.dupCount, volume != 0 ? volume : def.volume);
  }
  return true;
}

bool DS_Load(SOUNDDATA& entry, const std::string& name, std::int32_t count, std::int32_t volume) {
  if (!g_DirectSound) return true;
  // Clearing an entry that holds buffers frees them first, so reloading never loses voices.
  DS_Free(entry);
  count = std::max(count, 1);

  // Until the whole entry is made the buffers are held here: any failure releases what was made
  // and leaves the entry empty and silent.
  std::vector<SoundBufferPtr> buffers;
  try {
    buffers.resize(static_cast<std::size_t>(count));
  } catch (const std::exception&) {
    LogF("%s%s", name.c_str(), SJ("のメモリ確保失敗！").c_str());
    return false;
  }
  if (!DS_CreateFromWave(&buffers[0], name)) return false;
  for (std::int32_t j = 1; j < count; ++j) {
    if (!DS_Duplicate(&buffers[static_cast<std::size_t>(j)], buffers[0].get())) {
      LogF("%s%s", name.c_str(), SJ("のメモリ共用バッファの生成失敗！").c_str());
      return false;
    }
  }
  {
    std::lock_guard lock(s_TableLock);
    entry.buffers = std::move(buffers);
    entry.count = count;
    entry.next = 0;
    entry.path = name;
  }
  if (volume != 0)
    for (std::int32_t j = 0; j < count; ++j) DS_SetVolume(entry, j, volume, 0);
  return true;
}

void DS_Free(SOUNDDATA& entry) {
  if (!g_DirectSound) return;
  std::vector<SoundBufferPtr> buffers;
  {
    std::lock_guard lock(s_TableLock);
    buffers = std::move(entry.buffers);
    entry.buffers.clear();
    entry.count = 0;
    entry.next = 0;
  }
  // The duplicates go before the buffer whose samples they share.
  for (std::size_t j = buffers.size(); j > 1; --j) buffers[j - 1].reset();
  buffers.clear();
}

void DS_Release() {
  if (!g_DirectSound) return;
  if (auto* table = g_DirectSound->m_Table)
    for (SOUNDDATA& entry : *table) DS_Free(entry);
  RemoveMixSource(g_DirectSound->m_Voices.get());
  g_DirectSound.reset();
  CloseAudioDevice();
}

void DS_Play(SOUNDDATA& entry, std::uint32_t flags) {
  if (!g_DirectSound) return;
  std::int32_t played = 0;
  {
    std::lock_guard lock(s_TableLock);
    if (entry.next < 0 || entry.next >= entry.count) entry.next = 0;
    cSoundBuffer* buffer = BufferAt(entry, entry.next);
    if (!buffer) return;
    // From the start, cutting off what this duplicate still played.
    buffer->Stop();
    buffer->Rewind();
    buffer->Play(flags);
    played = entry.next;
    if (++entry.next >= entry.count) entry.next = 0;
  }
  Trace(FormatString("sound play %d buffer %d", EntryIndex(entry), played));
}

std::int32_t DS_SetVolume(SOUNDDATA& entry, std::int32_t index, std::int32_t volume, std::int32_t relative) {
  if (!g_DirectSound) return 0;
  std::int32_t set = 0;
  {
    std::lock_guard lock(s_TableLock);
    cSoundBuffer* buffer = BufferAt(entry, index);
    if (!buffer) return 0;
    std::int64_t wanted = volume;
    if (relative == 1) wanted += buffer->GetVolume();
    set = static_cast<std::int32_t>(std::clamp<std::int64_t>(wanted, DSBVOLUME_MIN, DSBVOLUME_MAX));
    buffer->SetVolume(set);
  }
  Trace(FormatString("sound volume %d buffer %d %d", EntryIndex(entry), index, set));
  return set;
}

std::int32_t DS_GetVolume(SOUNDDATA& entry, std::int32_t index) {
  if (!g_DirectSound) return 0;
  std::lock_guard lock(s_TableLock);
  cSoundBuffer* buffer = BufferAt(entry, index);
  return buffer ? buffer->GetVolume() : 0;
}

bool DS_Duplicate(SoundBufferPtr* out, const cSoundBuffer* source) {
  if (!g_DirectSound) return true;
  if (!out || !source) return false;
  try {
    *out = source->Owner().Duplicate(*source);
  } catch (const std::bad_alloc&) {
    return false;
  }
  return *out != nullptr;
}

bool DS_CreateFromWave(SoundBufferPtr* out, const std::string& name) {
  if (!g_DirectSound) return true;
  if (!out) return false;
  WaveData wave;
  if (!ReadWaveFile(name, &wave)) {
    LogF("%s%s", name.c_str(), SJ("読み込み失敗！").c_str());
    return false;
  }
  // The one conversion an effect goes through: from here on it is mixed as it is.
  std::shared_ptr<const EffectSamples> samples = ConvertToMixFormat(wave.format, wave.samples);
  FreeWaveData(&wave);
  if (!samples) {
    LogF("%s%s", name.c_str(), SJ("生成失敗！").c_str());
    return false;
  }
  try {
    *out = g_DirectSound->m_Voices->CreateBuffer(std::move(samples));
  } catch (const std::bad_alloc&) {
    LogF("%s%s", name.c_str(), SJ("生成失敗！").c_str());
    return false;
  }
  return *out != nullptr;
}
