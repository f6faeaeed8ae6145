#pragma once
// The sound effects: a table of short PCM WAVE files, each loaded once into a sound buffer and its
// duplicates, so the same effect can sound several times at once. Any thread asks the window thread
// to play one with PlaySE; the menus' cursor sounds call DS_Play directly from the game thread.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/audio/effect_voices.h"
#include "platform/host/message_queue.h"
#include "platform/services/checked.h"

// PlaySE's request to the window thread: wParam is the entry of g_SoundTable to play.
constexpr std::uint32_t WM_GAME_PLAYSE = WM_USER + 5;

// The system's own sounds take the first entries; database sound record k is entry k + 16.
constexpr int kSystemSoundCount = 17;
constexpr int kProjectSoundOffset = 16;

// One entry of the sound table.
struct SOUNDDATA {
  std::string path;                     // the wave file it was loaded from
  std::vector<SoundBufferPtr> buffers;  // empty while not loaded; 0 holds the samples, the rest duplicate it
  std::int32_t count = 0;
  std::int32_t next = 0;  // the buffer the next play takes
};

// How to load the entry of the same index.
struct SoundSlotDef {
  std::string name;
  std::int32_t dupCount = 1;
  std::int32_t volume = 0;    // 0 leaves the buffers at full volume
  std::int32_t reserved = 1;  // set to 1 by the start-up; not read here
};

// What the start-up made of the sound system: the format it asked for, the window, the voices'
// mixer source and the two tables given to DS_LoadAll.
struct PrimaryFormat {
  std::int32_t rate = 0;
  std::int32_t bits = 0;
  std::int32_t channels = 0;
  std::int32_t blockAlign = 0;
  std::int32_t bytesPerSec = 0;
};

class cDirectSound {
 public:
  void* m_hWnd = nullptr;
  PrimaryFormat m_Primary;
  std::shared_ptr<cEffectVoices> m_Voices;
  AudioDeviceKind m_Device = AudioDeviceKind::None;
  CheckedVector<SOUNDDATA>* m_Table = nullptr;
  CheckedVector<SoundSlotDef>* m_Defs = nullptr;
};

extern CheckedVector<SOUNDDATA> g_SoundTable;
extern CheckedVector<SoundSlotDef> g_SoundSlotDefs;
// Null until DS_Init and after DS_Release; every operation below does nothing without it.
extern std::unique_ptr<cDirectSound> g_DirectSound;

// The volume of the effects for the option's setting 0 to 10.
constexpr std::array<std::int32_t, 11> SoundVolumeTable = {-10000, -3000, -2000, -1300, -800, -500,
                                                           -300,   -150,  -80,   -30,   0};
// The table's row for an option value; a value outside 0..10 (a damaged option file) takes the
// nearest end.
std::int32_t SoundVolumeForOption(std::int32_t option);

// The start-up's part: sizes g_SoundTable and g_SoundSlotDefs to 16 + n rows for the database's n
// sound records, never fewer than the system's 17, and fills the rows: 0 to 16 from the system's
// sound files, 16 + k from database record k (k from 1), each with one buffer at full volume.
void BuildSoundTables(const std::vector<std::string>& systemFiles, const std::vector<std::string>& databaseFiles);
// DS_Init (hWnd, 22050, 8, 1) and DS_LoadAll at the volume of the option's setting. False, with the
// debug-log line, when the sound system does not start.
bool InitSoundEffects(void* hWnd, std::int32_t optionVolume);
// The option scene's volume change: buffer 0 of every entry to the setting's volume.
void ApplySoundVolumeOption(std::int32_t optionVolume);

// From any thread: has the window thread play entry index (WM_GAME_PLAYSE, sent).
void PlaySE(std::int32_t index);
// A project sound by its database record number; 0 is no sound.
void PlaySEOffset(std::int16_t number);
// The window thread's side of WM_GAME_PLAYSE: DS_Play (entry wParam, 0), the index checked.
void HandlePlaySeMessage(std::uintptr_t wParam);

// Opens the audio device (the null device when RealAudioWanted() is false or no real device opens,
// with one report line in the second case) and the effects' mixer source.
bool DS_Init(void* hWnd, std::int32_t rate, std::int32_t bits, std::int32_t channels);
// Remembers both tables and loads every entry not loaded yet with its row of defs; a volume of 0
// lets each row's own volume apply. Always true: an entry that fails stays silent.
bool DS_LoadAll(CheckedVector<SOUNDDATA>& table, CheckedVector<SoundSlotDef>& defs, std::int32_t volume);
// count buffers (at least 1) of the wave file name, at volume unless it is 0. False, the entry
// empty, when any part fails.
bool DS_Load(SOUNDDATA& entry, const std::string& name, std::int32_t count, std::int32_t volume);
void DS_Free(SOUNDDATA& entry);
// Frees the remembered table's entries and closes the audio device.
void DS_Release();
// Plays the entry's next buffer from its start; flags 0 once, DSBPLAY_LOOPING looping.
void DS_Play(SOUNDDATA& entry, std::uint32_t flags);
// Sets buffer index to volume (plus its current volume when relative is 1), clamped to
// -10000..0; the volume set, or 0 when there is no such buffer.
std::int32_t DS_SetVolume(SOUNDDATA& entry, std::int32_t index, std::int32_t volume, std::int32_t relative);
std::int32_t DS_GetVolume(SOUNDDATA& entry, std::int32_t index);
bool DS_Duplicate(SoundBufferPtr* out, const cSoundBuffer* source);
bool DS_CreateFromWave(SoundBufferPtr* out, const std::string& name);
