#pragma once
// The music manager: background music from five music slots (title, world map, challenge, option,
// stage), each naming an OGG Vorbis file, played by the OGG library's players, or a standard MIDI
// file, played by the MIDI stream player. The name's extension picks the engine; a name that is
// neither is tried as OGG first, then as MIDI.
//
// Only the window thread uses the manager: the game thread asks for music with WM_GAME_BGM. It is on
// only while the music option is: start-up initialises it when the option is set, and the option
// scene releases it and, with music on, initialises it again.
#include <cstdint>
#include <string>

#include "platform/audio/midi_stream.h"
#include "platform/audio/vox.h"
#include "platform/host/message_queue.h"
#include "platform/services/checked.h"

// The game thread's music request: wParam 0 to 3 a menu slot, 4 the stage music (lParam its number).
constexpr std::uint32_t WM_GAME_BGM = WM_USER + 6;

constexpr int kBgmSlotCount = 5;

// Which engine a slot's file is for.
enum BgmFileKind : std::int32_t {
  kBgmFileEither = 0,  // try OGG, then MIDI
  kBgmFileOgg = 1,
  kBgmFileMidi = 2,
};

// What plays on a channel.
enum BgmEngine : std::int32_t {
  kBgmEngineNone = 0,
  kBgmEngineOgg = 1,
  kBgmEngineMidi = 2,
};

// The file names of the music slots, one row per slot, rewritten by cBgm::SetFile.
extern CheckedVector<std::string> g_BgmOggNames;
extern CheckedVector<std::string> g_BgmMidiNames;

class cBgm {
 public:
  cBgm() = default;
  ~cBgm();
  cBgm(const cBgm&) = delete;
  cBgm& operator=(const cBgm&) = delete;

  // Turns the manager on with channels channels and slots slots named by the two tables (each grows
  // to slots rows when shorter). False, with the debug-log line, when the OGG library does not
  // start; MIDI music then still plays.
  bool Init(int channels, CheckedVector<std::string>& oggNames, CheckedVector<std::string>& midiNames, int slots);
  // n MIDI channels (empty), n OGG players and n idle engines.
  bool SetChannels(int n);
  // Chooses the slot's engine by the name's extension (the text after its last dot, with case): "mid"
  // or "MID" for MIDI, the stored name ending in "mid"; "ogg" or "OGG" for OGG; any other for both
  // (false); no extension empties both rows (false).
  bool SetFile(int slot, const std::string& name);
  // Plays slot on channel. A slot that plays already goes on unless force is set. Starting one
  // engine stops the other's music, or, for MIDI under OGG with pause set, pauses it.
  bool Play(int channel, int slot, int loop, int pause, int force);
  // Stops every player; the slot stays current, so a play of it without force does nothing.
  void Stop();
  // Turns the manager off and frees every player.
  void Release();

  bool Enabled() const { return m_Enabled != 0; }
  int Current() const { return m_Current; }
  const CheckedVector<BgmFileKind>& Kinds() const { return m_Kinds; }
  const CheckedVector<BgmEngine>& Engines() const { return m_Engines; }
  const cVox& Vox() const { return m_Vox; }
  const cMidiList& MidiPlayers() const { return m_Midi; }

 private:
  bool PlayOgg(int channel, int slot, int loop, int pause);
  bool PlayMidi(int channel, int slot, int loop);

  std::uint32_t m_Enabled = 0;
  cVox m_Vox;
  CheckedVector<std::string>* m_OggNames = nullptr;
  cMidiList m_Midi;
  CheckedVector<std::string>* m_MidiNames = nullptr;
  std::int32_t m_Current = -1;
  CheckedVector<BgmFileKind> m_Kinds;
  CheckedVector<BgmEngine> m_Engines;
};

extern cBgm g_Bgm;
