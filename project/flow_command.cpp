#include "project/flow_command.h"

#include <cstddef>
#include <memory>
#include <utility>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record_ranges.h"
#include "project/command_normalize.h"
#include "project/command_vocabulary.h"
#include "project/ed_params.h"
#include "project/flow.h"

namespace {

// The least a command takes in a file: the two counts of the record base, the move and shot
// flags, the nested flow count and the parameter count.
constexpr std::size_t kMinCommandBytes = 24;

// A u32 flag, then the record when the flag is set. A set flag always brings a record of this
// command's own; a clear one leaves none, so the command holds what the file holds.
template <EdRecord T>
void ReadEdRecord(std::shared_ptr<T>& holder, cRecordReader& in) {
  std::uint32_t present = 0;
  if (!in.ReadU32(present)) return;
  if (present == 0) {
    holder.reset();
    return;
  }
  NewEdRecord(holder);
  holder->Read(in);
}

template <EdRecord T>
void WriteEdRecord(const std::shared_ptr<T>& holder, cRecordWriter& out) {
  out.WriteU32(holder ? 1 : 0);
  if (holder) holder->Write(out);
}

// u32 n and n i32. The count is bounded by what the file has left, so every read that follows it
// succeeds; a count the file cannot hold leaves the parameters as they were.
void ReadParams(CheckedVector<std::int32_t>& params, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, sizeof(std::int32_t))) return;
  CheckedVector<std::int32_t> stored(count);
  for (std::int32_t& value : stored) in.ReadI32(value);
  params = std::move(stored);
}

}  // namespace

cFlowCommand::cFlowCommand() {
  RegisterFields(kRecordVersion);
  Reset();
}

cFlowCommand::~cFlowCommand() = default;

cFlowCommand::cFlowCommand(const cFlowCommand& src)
    : cDataRecord(src),
      m_CommandSet(src.m_CommandSet),
      m_CommandNumber(src.m_CommandNumber),
      m_Params(src.m_Params),
      m_Code(src.m_Code),
      m_Move(CloneShared(src.m_Move)),
      m_Shot(CloneShared(src.m_Shot)),
      m_UseTime(src.m_UseTime),
      m_UseTimeStep(src.m_UseTimeStep),
      m_Parallel(src.m_Parallel),
      m_Sound(src.m_Sound),
      m_SoundOnScreenOnly(src.m_SoundOnScreenOnly),
      m_Anime(src.m_Anime),
      m_Flows(src.m_Flows) {}

// A moved-from command no longer holds its records, so nothing is shared.
cFlowCommand::cFlowCommand(cFlowCommand&& src) noexcept = default;
cFlowCommand& cFlowCommand::operator=(cFlowCommand&& src) = default;

cFlowCommand& cFlowCommand::operator=(const cFlowCommand& src) {
  if (this == &src) return *this;
  cDataRecord::operator=(src);
  m_CommandSet = src.m_CommandSet;
  m_CommandNumber = src.m_CommandNumber;
  m_Params = src.m_Params;
  m_Code = src.m_Code;
  CopyEdParams(*this, src);
  m_UseTime = src.m_UseTime;
  m_UseTimeStep = src.m_UseTimeStep;
  m_Parallel = src.m_Parallel;
  m_Sound = src.m_Sound;
  m_SoundOnScreenOnly = src.m_SoundOnScreenOnly;
  m_Anime = src.m_Anime;
  AssignRecords(m_Flows, src.m_Flows);
  return *this;
}

// The same numbers in every version: 8 arrays, 12 bytes, and the code. The file order is not the
// member order.
void cFlowCommand::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_CommandSet);
  AddField(m_CommandNumber);
  AddField(m_UseTime);
  AddField(m_UseTimeStep);
  AddField(m_Parallel);
  AddField(m_Sound);
  AddField(m_SoundOnScreenOnly);
  AddField(m_Anime);
  AddString(m_Code);
}

void cFlowCommand::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadEdRecord(m_Move, in);
  ReadEdRecord(m_Shot, in);
  ReadFlowList(m_Flows, in);
  ReadParams(m_Params, in);

  // A command of a set or number that no table has (a newer or foreign editor, or a damaged file)
  // keeps no parameters and does nothing. Said once, where the command comes in.
  if (!in.Damaged() && !FindCommand(m_CommandSet, m_CommandNumber)) {
    ReportLog(SJ("不明なコマンド (種類 %d, 番号 %d) を何もしないコマンドとして読み込みました").c_str(), m_CommandSet,
              m_CommandNumber);
  }
  const std::uint32_t version = in.Version();
  if (version < kRecordVersion) UpgradeCommandParams(*this, version);
  if (DropTestOnlyFlows()) NormalizeFlowList(m_Flows);
  NormalizeCommandParams(*this);
}

void cFlowCommand::Write(cRecordWriter& out) {
  NormalizeCommandParams(*this);
  cDataRecord::Write(out);
  WriteEdRecord(m_Move, out);
  WriteEdRecord(m_Shot, out);
  WriteFlowList(m_Flows, out);
  out.WriteCount(m_Params.size());
  for (std::int32_t value : m_Params) out.WriteI32(value);
}

void cFlowCommand::Reset() {
  cDataRecord::Reset();
  m_Move.reset();
  m_Shot.reset();
  m_SoundOnScreenOnly = 1;
}

void CopyEdParams(cFlowCommand& target, const cFlowCommand& source) {
  AssignShared(target.m_Move, source.m_Move);
  AssignShared(target.m_Shot, source.m_Shot);
}

void ReadCommandList(std::vector<cFlowCommand>& list, cRecordReader& in) {
  std::uint32_t count = 0;
  if (!in.ReadCount(count, kMinCommandBytes)) return;
  // Grown one record at a time, so a list that breaks off never costs more memory than the records
  // the file really holds.
  list.clear();
  for (std::uint32_t i = 0; i < count && !in.Damaged(); ++i) list.emplace_back().Read(in);
}

void WriteCommandList(std::vector<cFlowCommand>& list, cRecordWriter& out) {
  out.WriteCount(list.size());
  for (cFlowCommand& command : list) command.Write(out);
}

void DestroyFlowCommandRange(cFlowCommand* first, cFlowCommand* last) { DestroyRecordRange(first, last); }
