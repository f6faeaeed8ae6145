#include "project/item_def.h"

#include <algorithm>
#include <type_traits>

#include "project/block.h"
#include "project/command_normalize.h"
#include "project/load_context.h"

// Palette lists grow by moving their records, never by deep copies of the commands.
static_assert(std::is_nothrow_move_constructible_v<cItemDef>);

namespace {

// The shot sheet gained a first picture at version 219; older files count from one place lower.
constexpr std::uint32_t kShotSheetShiftVersion = 219;
constexpr int kLastShotPicture = 119;

void CopyChip(cItemDef& to, const cItemDef& from) {
  to.m_ChipSource = from.m_ChipSource;
  to.m_ChipIndex = from.m_ChipIndex;
  to.m_ChipFrame = from.m_ChipFrame;
}

void CopyMark(cItemDef& to, const cItemDef& from) {
  to.m_MarkMode = from.m_MarkMode;
  to.m_MarkNumber = from.m_MarkNumber;
}

}  // namespace

cItemDef::cItemDef() {
  RegisterFields(kRecordVersion);
  m_InheritFlags.assign(kItemGroupCount, 0);
}

void cItemDef::SetDefaults() {
  *this = cItemDef();
  RegisterFields(kRecordVersion);
}

// The same list for every version: 17 arrays, 24 bytes, and the name. Show message comes before
// obtainability, the other way round from the record.
void cItemDef::RegisterFields(std::uint32_t) {
  ClearFields();
  AddHeadFields();
  AddField(m_Word94);
  AddField(m_Word96);
  AddField(m_ChipIndex);
  AddField(m_ChipSource);
  AddField(m_ChipFrame);
  AddField(m_Byte104);
  AddField(m_Hidden);
  AddField(m_MarkMode);
  AddField(m_MarkNumber);
  AddField(m_ShowMessage);
  AddField(m_Obtainability);
  AddField(m_Size);
  AddField(m_Sound);
  AddString(m_Name);
}

void cItemDef::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadHeadParts(in);
  ReadCommandList(m_Commands, in);
  if (in.Version() < kShotSheetShiftVersion && m_ChipSource == kChipShot)
    m_ChipIndex = static_cast<std::int16_t>(std::min(m_ChipIndex + 1, kLastShotPicture));
  InheritItemDef(*this);
  Normalize();
}

void cItemDef::Write(cRecordWriter& out) {
  Normalize();
  cDataRecord::Write(out);
  WriteHeadParts(out);
  WriteCommandList(m_Commands, out);
}

void cItemDef::Normalize() {
  DropBadInheritRef(*this, &PaletteView::items);
  if (m_Size < 1) m_Size = 1;
  if (!PaletteIndexInRange(m_Sound, LoadContext().database.sounds)) m_Sound = 0;
  for (cConditionDef& condition : m_Conditions) condition.Normalize();
  for (cFlowCommand& command : m_Commands) NormalizeCommandParams(command);
}

void cItemDef::NormalizeSummons(const SummonPalettes& palettes) {
  for (cFlowCommand& command : m_Commands) NormalizeSummonParams(command, palettes);
}

// The commands are copied whole, each with move and shot records of its own.
const std::array<GroupCopy<cItemDef>, kItemGroupCount> ItemDefGroupCopyTable = {
    CopyHeadName<cItemDef>,                                                                 // 0 name
    CopyHeadConditions<cItemDef>,                                                           // 1 conditions
    [](cItemDef& to, const cItemDef& from) { to.m_Word94 = from.m_Word94; },                // 2
    [](cItemDef& to, const cItemDef& from) { to.m_Word96 = from.m_Word96; },                // 3
    CopyChip,                                                                               // 4 picture
    [](cItemDef& to, const cItemDef& from) { to.m_Byte104 = from.m_Byte104; },              // 5
    [](cItemDef& to, const cItemDef& from) { to.m_Hidden = from.m_Hidden; },                // 6
    CopyMark,                                                                               // 7
    [](cItemDef& to, const cItemDef& from) { to.m_Size = from.m_Size; },                    // 8
    [](cItemDef& to, const cItemDef& from) { to.m_Obtainability = from.m_Obtainability; },  // 9
    [](cItemDef& to, const cItemDef& from) { to.m_ShowMessage = from.m_ShowMessage; },      // 10
    [](cItemDef& to, const cItemDef& from) { to.m_Sound = from.m_Sound; },                  // 11
    [](cItemDef& to, const cItemDef& from) { to.m_Commands = from.m_Commands; },            // 12
};

void InheritItemDef(cItemDef& item) { InheritGroups<cItemDef>(item, &PaletteView::items, ItemDefGroupCopyTable); }

const cItemDef* GetItemPaletteEntry(std::int8_t source, std::int16_t index) {
  const CheckedVector<cItemDef>* palette = PaletteList<cItemDef>(source, &PaletteView::items);
  if (!palette || !PaletteIndexInRange(index, palette->Size())) return nullptr;
  return &palette->At(index);
}

const LabelList& ObtainabilityLabels() {
  static const LabelList labels{"1回だけ取れる", "何回でも取れる", "取れない"};
  return labels;
}
