#pragma once
// Checking a replay frame by frame: the digest of every presented frame is compared with a
// recorded list (--verify-replay FILE --digests LIST), or written to one (--record-digests LIST).
//
// A digest list is a text file, one frame a line, the frame number and the total then the area
// digests in hexadecimal, in the order of kDigestAreaNames; lines starting with '#' are comments:
//
//   # frame total scene random cameras heroes charas items
//   1 9f0c... 3a11... ...
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "play/state_digest.h"

// Lists longer than this are not read: no run records that many frames.
constexpr std::uintmax_t kMaxDigestListBytes = 64u << 20;

std::string FormatDigestLine(std::uint32_t frame, const StateDigest& digest);
// False when the line is not a frame line of the list's form (its total must match its areas).
bool ParseDigestLine(std::string_view line, std::uint32_t* frame, StateDigest* digest);
// The frames of a list, frame 1 first; false with the reason when the file does not read or is
// not a list (frames out of order, a malformed line, too large).
bool ReadDigestList(const std::string& path, std::vector<StateDigest>* frames, std::string* error);
// Written beside the target and renamed over it; false with the reason when any write failed.
bool WriteDigestList(const std::string& path, const std::vector<StateDigest>& frames, std::string* error);

// The names of the areas in which two digests differ, separated by ", ".
std::string DifferingAreas(const StateDigest& expected, const StateDigest& actual);

class cReplayCheck {
 public:
  enum class Mode { kOff, kVerify, kRecord };

  // Verify against expected frames, or record.
  void StartVerify(std::vector<StateDigest> expected);
  void StartRecord(std::string listPath, bool stopAtRoundEnd);
  bool Active() const { return m_Mode != Mode::kOff; }
  bool Done() const { return m_Done; }

  // After frame n was presented, with its digest and whether a replay round has ended in it. True
  // once: on the frame after which the run should close (a difference, the end of the round, or a
  // verified run past its list). Frames after that are not looked at.
  bool OnFrame(std::uint32_t n, const StateDigest& digest, bool roundOver);

  // The end of the run: the verdict (verify) or the list written (record), as one line in
  // *message. 0 when the replay matched or the list was written, else 1.
  int Finish(std::string* message);

 private:
  bool Differ(std::string text);

  Mode m_Mode = Mode::kOff;
  bool m_Done = false;
  bool m_StopAtRoundEnd = false;
  bool m_RoundOver = false;
  std::uint32_t m_Frames = 0;
  std::vector<StateDigest> m_Digests;  // expected (verify) or seen (record)
  std::string m_ListPath;
  std::string m_Difference;  // empty while none was found
};
