#pragma once
// Replays: the record of one attempt at a stage. Player 1's two input words of every frame are
// kept as two independent run-length coded streams (stream A the first word, stream B the second),
// with the random seed of the attempt. A replay file holds the stage as it was at the start, this
// record and the progress record of the start:
//
//   u32 version; the stage (the stage file's layout, header parts from the header copy);
//   the record body (u32 1, the seed, u32 0); u32 nA and nA u16 values of A; the same for B;
//   u32 mA and mA u32 run lengths of A; the same for B; from version 173 the progress record.
//
// Stage play records while a stage is played (when the project's replay switch is on) and plays a
// replay back in replay mode; F1 saves the attempt in progress, F2 the one before it.
#include <cstdint>
#include <string>

#include "platform/services/checked.h"
#include "platform/services/record.h"

class cSaveData;
class cScreen;
class cStageData;

// Replay files: user_data\rpl4\, extension "rpl4_" and the format version.
constexpr const char* kReplayFolder = "user_data\\rpl4\\";
constexpr const char* kReplayExtension = "rpl4_556";
// Files before this version end after the input streams.
constexpr std::uint32_t kReplayProgressSince = 173;
// The scene manager's title choice while a replay plays back: no hot keys then.
constexpr std::int32_t kTitleChoiceReplay = 4;
// Frames between two "nothing recorded" sounds.
constexpr std::int32_t kReplayHotKeyCooldown = 60;

class cReplayRecord : public cDataRecord {
 public:
  // The seed registered and 0, the streams empty, the cursors at the start.
  cReplayRecord();
  // A copy starts its play-back from the beginning.
  cReplayRecord(const cReplayRecord& src);
  // The streams and the seed; the cursors stay as they were.
  cReplayRecord& operator=(const cReplayRecord& src);

  // The seed, for every version.
  void RegisterFields(std::uint32_t version) override;
  // The seed, then the values of A and B and the run lengths of A and B, each a u32 count and its
  // elements. The cursors are not touched. A run list that does not match its value list, or a run
  // of 0 frames, can only come from a damaged file and marks it so.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  // Appends one frame. A frame with the same word as the last run only lengthens that run, so the
  // streams grow only when the input changes.
  void RecordFrameInput(const std::uint16_t words[2]);
  // The next frame's two words and 0; 1 (words untouched) when either stream is used up.
  std::uint32_t PlayFrameInput(std::uint16_t words[2]);
  // Empties both streams, keeping their storage, and puts the cursors at the start.
  void ClearStreams();
  void RewindPlayback();
  // True when the streams hold the invariant: each run list as long as its values, no run of 0.
  bool StreamsValid() const;
  bool Empty() const { return m_ValuesA.empty(); }

  // Writes the replay file at path: the stage with the header parts of header, this record and
  // progress. 1 only when the whole file was written and put in place; 0 otherwise, and a file that
  // was there before stays as it was.
  std::int32_t WriteReplayFile(const char* path, cStageData& stage, const cStageData& header, cSaveData& progress);
  // Reads the replay file at path into stage, its header copy into header (without record lists),
  // the streams into this record and, from version 173, progress. 1 when read. 0 when the file does
  // not open; 0 after a report (and WM_CLOSE) when it is damaged or its stage has no hero to play.
  // On 0 this record and progress are as they were; the stage is reset after a damaged read.
  std::int32_t ReadReplayFile(const char* path, cStageData& stage, cStageData& header, cSaveData& progress);

  CheckedVector<std::uint16_t> m_ValuesA;
  CheckedVector<std::uint16_t> m_ValuesB;
  CheckedVector<std::uint32_t> m_RunsA;
  CheckedVector<std::uint32_t> m_RunsB;
  std::uint32_t m_Seed = 0;

  // Play-back cursors; never stored.
  std::uint32_t m_IndexA = 0;
  std::uint32_t m_IndexB = 0;
  std::uint32_t m_TakenA = 0;  // frames already taken from the current run of A
  std::uint32_t m_TakenB = 0;
};

extern cReplayRecord g_ReplayRecord;      // the attempt in progress, recorded or played back
extern cReplayRecord g_PrevReplayRecord;  // the attempt before it

// The project's replay switch: attempts are recorded and the hot keys save them only while it is on.
bool ReplayRecordingOn();

// The save-as dialog for a replay. name (the stage name of the save data) proposes the first free
// name_ij.rpl4_556 in user_data\rpl4\; an empty name, or one too long for a path, proposes nothing.
// The replay folder is made when it is missing. 1 with the chosen path, 0 when the dialog was
// cancelled (path then unspecified). owner is the window the dialog belongs to; the caller makes the
// display give way to the dialog.
std::uint32_t ChooseReplaySavePath(std::string& path, const char* name, cScreen* owner = nullptr);

// What stage play knows of the frame when it asks for the replay hot keys.
struct PlayHotKeys {
  std::int32_t titleChoice = 0;  // the scene manager's title choice
  bool f1Held = false;           // save the attempt in progress
  bool f2Held = false;           // save the attempt before it
};
// Frames left before the empty-recording sound may come again; process-wide, 0 at start.
extern std::int32_t g_ReplayHotKeyCooldown;
// 1 from a save request until neither F1 nor F2 is held; process-wide, 0 at start.
extern std::int32_t g_ReplaySaveKeyLatched;
// Called by stage play in every frame of its play, pause, result, retry and game-over states. 1
// when a save was requested of the window thread (and it has finished), else 0. A key held down
// asks for one save, not one a frame.
std::uint32_t HandlePlayHotKeys(const PlayHotKeys& keys);
// The title menu's replay item: the window thread runs the replay open dialog and reads the chosen
// replay. 1 when a replay was chosen.
std::uint32_t RequestWindowAction();
