#pragma once
// One command of a flow or of an item's command list. The command set and number name a row of the
// command tables (command_vocabulary.h); the row fixes how many integer parameters the command
// keeps. Move and shot-like commands keep their settings in a move or shot record instead, held
// through a shared pointer that no other command ever holds: a copied command gets records of its
// own with the same values. A command of the flow-change kind holds flows of its own (nested flows).
//
// In a file: the record body (the numbers below and the code), u32 move flag and, when it is
// non-zero, a cEdMove record, u32 shot flag and, when non-zero, a cEdShot record, the nested flow
// list (u32 n and n cFlow records), u32 n and n i32 parameters.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/ed_move.h"
#include "project/ed_shot.h"

class cFlow;

class cFlowCommand : public cDataRecord {
 public:
  // Registered for the current layout and reset.
  cFlowCommand();
  ~cFlowCommand() override;
  // The copy gets its own move and shot records; nested flows and parameters are deep-copied.
  cFlowCommand(const cFlowCommand& src);
  cFlowCommand(cFlowCommand&& src) noexcept;
  // Re-registers this record for the current version and copies every member, the move and shot
  // records by value into records of this command's own (CopyEdParams).
  cFlowCommand& operator=(const cFlowCommand& src);
  cFlowCommand& operator=(cFlowCommand&& src);

  void RegisterFields(std::uint32_t version) override;
  // The body, the move and shot records, the nested flows and the parameters; then the upgrades of
  // older files, the removal of test-only nested flows outside a test play, and
  // NormalizeCommandParams.
  void Read(cRecordReader& in) override;
  // Normalises the command's own references, then the file layout above.
  void Write(cRecordWriter& out) override;

  // The registered members 0, sound only on screen 1, no move or shot record. The parameters and
  // nested flows stay as they are.
  void Reset();

  std::uint8_t m_CommandSet = 0;     // kCharaCommandSet or kFlowCommandSet
  std::uint8_t m_CommandNumber = 0;  // row of that set's table
  CheckedVector<std::int32_t> m_Params;
  std::string m_Code;               // the statement of "コードの実行"
  std::shared_ptr<cEdMove> m_Move;  // move commands
  std::shared_ptr<cEdShot> m_Shot;  // shot, sword and summon commands
  std::int16_t m_UseTime = 0;       // tenths of a second the command runs
  std::int16_t m_UseTimeStep = 0;   // times the character's summon index, added to the use time
  std::uint8_t m_Parallel = 0;      // 1: runs side by side with the following commands
  std::int16_t m_Sound = 0;         // database sound played when the command starts; 0 none
  std::uint8_t m_SoundOnScreenOnly = 1;
  std::int16_t m_Anime = 0;      // database animation started with the command; 0 none
  CheckedVector<cFlow> m_Flows;  // nested flows (the flows "フローの変更" adds)
};

// target's move and shot records take source's values: released where source has none, otherwise a
// record of target's own (a new one when it has none) assigned from source's.
void CopyEdParams(cFlowCommand& target, const cFlowCommand& source);

// A command list in a file: u32 n, then n records. A count the file cannot hold is not acted on:
// the list keeps its contents and the file is damaged. A list that breaks off ends with the record
// that broke.
void ReadCommandList(std::vector<cFlowCommand>& list, cRecordReader& in);
void WriteCommandList(std::vector<cFlowCommand>& list, cRecordWriter& out);

// Runs the destructor of every command of [first, last) without freeing the storage.
void DestroyFlowCommandRange(cFlowCommand* first, cFlowCommand* last);

// The parameter upgrades of a command read from a file of version (below the current one): the
// changes of every row whose threshold lies above version, in ascending order of threshold.
void UpgradeCommandParams(cFlowCommand& command, std::uint32_t version);
