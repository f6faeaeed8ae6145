#pragma once
// One step of a key combination that starts a flow: which key slots must be held or released, how
// long a held key may have been down, and how the slots combine. A flow keeps its steps oldest
// first; stage play matches them against the player's input history.
//
// In a file: the record body, then u32 n and n key-state bytes. Older files may hold another number
// of slots than the 19 of today's layout; the states are kept as stored.
#include <cstdint>
#include <vector>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/label_list.h"

// Key slots: 0..9 are the direction key-run lists of the input (0 none, 1 left, 2 right, 3 up,
// 4 down, 5 up-left, 6 down-left, 7 up-right, 8 down-right, 9 any), 10..18 the button lists
// (10 no button, 11..18 buttons 1..8).
constexpr int kKeySlotCount = 19;
constexpr int kFirstButtonSlot = 10;

// A slot's state.
constexpr std::uint8_t kKeyIgnored = 0;
constexpr std::uint8_t kKeyHeld = 1;
constexpr std::uint8_t kKeyReleased = 2;

// How the slots of a step combine.
constexpr std::uint8_t kKeysAll = 0;
constexpr std::uint8_t kKeysAny = 1;
constexpr std::uint8_t kKeysExactlyOne = 2;

class cKeyCondition : public cDataRecord {
 public:
  // Registered for the current layout and reset.
  cKeyCondition();

  void RegisterFields(std::uint32_t version) override;
  // The body, then the key states.
  void Read(cRecordReader& in) override;
  void Write(cRecordWriter& out) override;

  // The registered members 0 and 19 ignored slots.
  void Reset();
  // A key step refers to nothing outside itself; kept so that its owner normalises every part.
  void Normalize() {}

  // The slot of a facing-relative step for a character facing left: left and right, up-left and
  // up-right, down-left and down-right change places; other slots stay.
  static int MirroredSlot(int slot);

  std::vector<std::uint8_t> m_KeyStates;  // one per slot (kKeyIgnored, kKeyHeld, kKeyReleased)
  std::uint8_t m_FacingRelative = 0;      // 1: the direction slots are for a character facing right
  std::int16_t m_ShortestHold = 0;        // steps a held slot must have been down at least
  std::int16_t m_LongestHold = 0;         // and at most
  std::uint8_t m_AnyHold = 0;             // non-zero: a held key matches whatever its hold time
  std::uint8_t m_Combination = 0;         // kKeys*
};

// A key-condition list in a file: u32 n, then n records. A count the file cannot hold is not acted
// on: the list keeps its contents and the file is damaged. A list that breaks off ends with the
// record that broke.
void ReadKeyConditionList(std::vector<cKeyCondition>& list, cRecordReader& in);
void WriteKeyConditionList(std::vector<cKeyCondition>& list, cRecordWriter& out);

// A slot's state ("--", "押", "離") and how the slots of a step combine.
const LabelList& KeyStateLabels();
const LabelList& KeyCombinationLabels();
