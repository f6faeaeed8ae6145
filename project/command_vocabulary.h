#pragma once
// The two command tables of the event scripts. A command is named by its set (which table) and its
// number (the row of that table); the row fixes how many integer parameters the command keeps, and
// so the length of every command's parameter vector after a read. Rows without parameters keep
// their data in the code string, the move record or the shot record instead, or have none.
//
// A set or number that no table has (a damaged or foreign file) has no row: FindCommand gives null
// and CommandParamCount 0, so such a command keeps no parameters and does nothing.
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <vector>

// Which table a command's number is a row of (the command set of a command record).
constexpr std::uint8_t kCharaCommandSet = 0;
constexpr std::uint8_t kFlowCommandSet = 1;

// Rows of CharaCommandTable.
enum CharaCommand : std::uint8_t {
  kCharaNone = 0,
  kCharaWait = 1,
  kCharaStraightMove = 2,
  kCharaGroundTurnMove = 3,
  kCharaCircleMove = 4,
  kCharaChargeMove = 5,
  kCharaHomingMove = 6,
  kCharaAvoidScreenMove = 7,
  kCharaCancelMove = 8,
  kCharaTurn = 9,
  kCharaJump = 10,
  kCharaShot = 11,
  kCharaSword = 12,
  kCharaSummonBlock = 13,
  kCharaSummonChara = 14,
  kCharaSummonItem = 15,
  kCharaFlowControl = 16,
  kCharaStageClear = 17,
  kCharaGameWait = 18,
  kCharaMessage = 19,
  kCharaWarp = 20,
  kCharaSetTarget = 21,
  kCharaStatus = 22,
  kCharaStatus2 = 23,
  kCharaGetItem = 24,
  kCharaChangeGraphic = 25,
  kCharaChangeAnimeSet = 26,
  kCharaPlayAnime = 27,
  kCharaPlayEffect = 28,
  kCharaCharaEffect = 29,
  kCharaScreenEffect = 30,
  kCharaShowPicture = 31,
  kCharaScreenColor = 32,
  kCharaBackground = 33,
  kCharaSound = 34,
  kCharaMusic = 35,
  kCharaCode = 36,
};

// Rows of FlowCommandTable (an item's command list and nested command lists).
enum FlowCommand : std::uint8_t {
  kFlowNone = 0,
  kFlowChange = 1,
  kFlowStageClear = 2,
  kFlowGameWait = 3,
  kFlowMessage = 4,
  kFlowWarp = 5,
  kFlowSetTarget = 6,
  kFlowStatus = 7,
  kFlowStatus2 = 8,
  kFlowGetItem = 9,
  kFlowChangeGraphic = 10,
  kFlowChangeAnimeSet = 11,
  kFlowPlayAnime = 12,
  kFlowPlayEffect = 13,
  kFlowCharaEffect = 14,
  kFlowScreenEffect = 15,
  kFlowShowPicture = 16,
  kFlowScreenColor = 17,
  kFlowBackground = 18,
  kFlowSound = 19,
  kFlowMusic = 20,
  kFlowCode = 21,
};

// Flow commands 2..21 are the character commands 17..36 under the same label and parameters.
constexpr int kFlowToCharaCommand = int{kCharaStageClear} - int{kFlowStageClear};

// Where a row keeps what the command needs.
enum class CommandData : std::uint8_t {
  kNothing,     // the command needs nothing (or only its use time)
  kParams,      // the integer parameter vector
  kMoveRecord,  // the command's cEdMove
  kShotRecord,  // the command's cEdShot
  kCode,        // the code string
};

// One row of a command table.
struct CommandDesc {
  std::string label;  // the game's bytes
  std::uint32_t paramCount = 0;
  CommandData data = CommandData::kNothing;
};

class cCommandTable {
 public:
  struct Row {
    const char* utf8Label;
    std::uint32_t paramCount;
    CommandData data;
  };

  cCommandTable(std::initializer_list<Row> rows);

  // The row of a command number; null for a number the table does not have.
  const CommandDesc* Find(int number) const;
  // The parameter count of a row; 0 for a number the table does not have.
  std::uint32_t ParamCount(int number) const;
  int Size() const { return static_cast<int>(m_Rows.size()); }
  std::span<const CommandDesc> Rows() const { return m_Rows; }

 private:
  std::vector<CommandDesc> m_Rows;
};

// Built on first use and never changed (37 and 22 rows).
const cCommandTable& CharaCommandTable();
const cCommandTable& FlowCommandTable();

// The table of a command set; null for a set that does not exist.
const cCommandTable* CommandTableOfSet(int set);
// The row of a command; null for an unknown set or number.
const CommandDesc* FindCommand(int set, int number);
// The number of parameters a command keeps; 0 for an unknown set or number.
std::uint32_t CommandParamCount(int set, int number);

// The character command a command is, or behaves as: itself for a known character command, the
// character command under the same label for a flow command (flow 0 is character 0), and -1 for
// "フローの変更" (it has no character counterpart) and for unknown commands. Tables that the
// Parts give by character command (upgrades, range checks) apply to flow commands through this.
constexpr int kNoCharaCommand = -1;
int CharaEquivalent(int set, int number);
