// The header of a stage: its field list by format version, the defaults of a new stage, the speed
// level and what derives from it, normalisation, the header copy and the hero search.
#include <algorithm>

#include "project/common_palette.h"
#include "project/stage_data.h"

namespace {

struct StageFieldRow {
  std::uint16_t since;  // first format version that holds the field; 0 every version
  bool real;            // f64, else i32
  bool derived;         // recomputed by SetSpeedLevel; no default of its own
  double value;         // the default after Reset
};

constexpr StageFieldRow I(double value, std::uint16_t since = 0) { return {since, false, false, value}; }
constexpr StageFieldRow F(double value, std::uint16_t since = 0) { return {since, true, false, value}; }
constexpr StageFieldRow DerivedI() { return {0, false, true, 0}; }
constexpr StageFieldRow DerivedF() { return {0, true, true, 0}; }

// Rows in file order; the comments name the first row of each run.
constexpr std::array<StageFieldRow, kStageFieldCount> kStageFields = {{
    I(0), I(0), I(0), I(0),                        // 0 width, two editor words, height
    I(0), I(0), I(0), I(0),                        // 4 scroll limits in force
    I(0), I(0), I(0), I(0),                        // 8 scroll limits
    I(60), I(0), I(200), I(20),                    // 12 frame rate, time limit, seconds, warning
    I(0), I(0), I(0), I(0),                        // 16 scroll modes and automatic speeds
    F(0.4), I(10), I(0), I(0),                     // 20 gravity, speed level, contact level, music
    I(0, 166), I(0, 199), I(1), I(0),              // 24 music loops, keep music, drawing order, take status
    I(0), I(1, 183), I(0, 184), I(0),              // 28 store status, status bar, clear ends, stage banner
    I(1, 225), I(1), I(1),                         // 32 start banner, clear banner, game-over banner
    I(16, 200), I(24, 200), I(16, 200), I(16, 200),  // 35 hero main box
    I(16), I(24), I(16, 155), I(16, 155),          // 39 hero first secondary box
    I(12), I(8), I(16), I(16),                     // 43 hero kind-1 and third boxes
    I(1, 200), I(0, 200), I(1, 155), I(0, 155),    // 47 hero box placements
    I(0, 200), I(0), I(0), I(0),                   // 51 box overlay display modes
    I(0, 200), I(0), I(0), I(0),                   // 55 box overlay colours
    I(16, 200), I(24, 200), I(16, 200), I(16, 200),  // 59 character main box
    I(12), I(24), I(12, 155), I(16, 155),          // 63 character first secondary box
    I(30), I(30),                                  // 67 character kind-1 box
    I(1, 200), I(0, 200), I(1, 155), I(0, 155),    // 69 character box placements
    I(28), I(28),                                  // 73 item box
    I(16), I(16), I(16), I(16), I(16), I(16), I(16), I(16),  // 75 kind-2 and shot boxes
    I(1), I(0), I(0),                              // 83 editor word, scroll axis values
    DerivedI(), DerivedF(), DerivedF(), DerivedF(),  // 86 steps per frame, as f64, squared, max speed
    DerivedF(), DerivedF(), DerivedI(),            // 90 gravity and max speed per step, 8 x steps
    I(1), I(30), I(0), I(30), I(0),                // 93 on-screen contacts, invincibility
}};

constexpr int kFirstBoxField = 35;
constexpr int kLastBoxField = 82;

// A screen is 20 x 15 map cells.
constexpr std::int32_t kScreenColumns = 20;
constexpr std::int32_t kScreenRows = 15;

constexpr std::int32_t kMinSpeedLevel = 1;
constexpr std::int32_t kMaxSpeedLevel = 19;

void ApplyDefault(cStageData& stage, int index) {
  const StageFieldRow& row = kStageFields[static_cast<std::size_t>(index)];
  if (row.derived) return;
  if (row.real)
    stage.m_Reals[static_cast<std::size_t>(index)] = row.value;
  else
    stage.m_Ints[static_cast<std::size_t>(index)] = static_cast<std::int32_t>(row.value);
}

template <class T>
void NormalizeDefs(CheckedVector<T>& list) {
  for (T& record : list) record.Normalize();
}

}  // namespace

cStageData::cStageData() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cStageData::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddString(m_Name);
  for (std::size_t i = 0; i < kStageFields.size(); ++i) {
    if (kStageFields[i].since > version) continue;
    if (kStageFields[i].real)
      AddField(m_Reals[i]);
    else
      AddField(m_Ints[i]);
  }
}

void cStageData::Reset() {
  RegisterFields(kRecordVersion);
  cDataRecord::Reset();
  m_PlacedBlocks.clear();
  m_PlacedCharas.clear();
  m_PlacedItems.clear();
  ResetBlockVector(m_PaletteBlocks, 1);
  ResetCharaDefVector(m_PaletteCharas, 1);
  ResetItemDefVector(m_PaletteItems, 1);
  for (int i = 0; i < kStageFieldCount; ++i) ApplyDefault(*this, i);
  m_BgLayers.assign(1, cBgLayer());
  m_BgLayers[0].SetDefaults();
  m_BgLayers[0].m_PlainColour = 1;
  m_ResultSwitches.assign(kResultSwitchCount, 1);
  for (int rule = 0; rule < 3; ++rule) m_Rules[static_cast<std::size_t>(rule)].Set(0, 0, 0, 0, 0, 0, 0, 0);
  m_Rules[3].Set(1, 1, 1, 1, 0, 0, 0, 0);
  m_Rules[4].Set(1, 1, 1, 1, 10, 10, 10, 10);
  SetBoxDefaults();
  m_Ints[83] = 1;
  // The derived rows have no default of their own: they follow the default speed level.
  SetSpeedLevel(m_Ints[kSpeedLevel]);
}

void cStageData::SetBoxDefaults() {
  for (int i = kFirstBoxField; i <= kLastBoxField; ++i) ApplyDefault(*this, i);
}

void cStageData::SetSpeedLevel(std::int32_t level) {
  // A level outside the list (only a damaged or hand-made file holds one) would give no steps at
  // all and a division by zero below; it takes the nearest level there is.
  level = std::clamp(level, kMinSpeedLevel, kMaxSpeedLevel);
  m_Ints[kSpeedLevel] = level;
  // Levels 11..19 are 1..9 steps with the speed limit of level 10.
  const bool fastLimit = level >= 11;
  const std::int32_t steps = fastLimit ? level - 10 : level;
  const double realSteps = steps;
  m_Ints[kStepsPerFrameField] = steps;
  m_Reals[kStepsPerFrameReal] = realSteps;
  m_Reals[kStepsSquared] = realSteps * realSteps;
  m_TenthSecondSteps = 6 * steps;
  m_Ints[kEightTimesSteps] = 8 * steps;
  m_Reals[kMaxSpeedPerFrame] = fastLimit ? 60.0 : 6.0 * realSteps;
  m_Reals[kMaxSpeedPerStep] = m_Reals[kMaxSpeedPerFrame] / realSteps;
  m_Reals[kGravityPerStep] = m_Reals[kGravityField] / (realSteps * realSteps);
}

PaletteView cStageData::View() { return PaletteView{&m_PaletteBlocks, &m_PaletteCharas, &m_PaletteItems}; }

void cStageData::Normalize() {
  // Only values above the bound are lowered; a limit below 0 stays as it is.
  const std::int32_t width = m_Ints[kStageWidth];
  const std::int32_t height = m_Ints[kStageHeight];
  auto lower = [](std::int32_t& value, std::int64_t bound) {
    if (value > bound) value = static_cast<std::int32_t>(bound);
  };
  lower(m_Ints[kScrollFirstColumn], std::int64_t{width} - kScreenColumns);
  lower(m_Ints[kScrollLastColumn], std::int64_t{width} - 1);
  lower(m_Ints[kScrollFirstRow], std::int64_t{height} - kScreenRows);
  lower(m_Ints[kScrollLastRow], std::int64_t{height} - 1);

  SetSpeedLevel(m_Ints[kSpeedLevel]);

  const auto musics = static_cast<std::uint32_t>(std::max(LoadContext().database.musics, 0));
  if (static_cast<std::uint32_t>(m_Ints[kStageMusic]) >= musics) m_Ints[kStageMusic] = 0;

  if (m_PaletteBlocks.size() < kMinPaletteEntries) m_PaletteBlocks.resize(kMinPaletteEntries);
  if (m_PaletteCharas.size() < kMinPaletteEntries) m_PaletteCharas.resize(kMinPaletteEntries);
  if (m_PaletteItems.size() < kMinPaletteEntries) m_PaletteItems.resize(kMinPaletteEntries);

  // References into the stage palette are checked against this stage's own lists.
  cPaletteBinding bind(LoadContext().stagePalette, View());
  NormalizeDefs(m_PaletteBlocks);
  NormalizeBlockRefs(m_PaletteBlocks);
  NormalizeDefs(m_PaletteCharas);
  NormalizeCharaRefs(m_PaletteCharas);
  NormalizeDefs(m_PaletteItems);
  NormalizeItemRefs(m_PaletteItems);
  NormalizeDefs(m_PlacedBlocks);
  NormalizeBlockRefs(m_PlacedBlocks);
  NormalizeDefs(m_PlacedCharas);
  NormalizeCharaRefs(m_PlacedCharas);
  NormalizeDefs(m_PlacedItems);
  NormalizeItemRefs(m_PlacedItems);
}

void cStageData::CopyHeaderFrom(const cStageData& src) {
  if (&src == this) return;
  Assign(src);
  m_BgLayers = src.m_BgLayers;
  m_Texts = src.m_Texts;
  m_Rules = src.m_Rules;
  m_ResultSwitches = src.m_ResultSwitches;
  // The tenth-second count derives from the speed level, which came with the fields.
  m_TenthSecondSteps = src.m_TenthSecondSteps;
}

void cStageData::FreeRecordLists() {
  CheckedVector<cBlock>().swap(m_PlacedBlocks);
  CheckedVector<cCharaDef>().swap(m_PlacedCharas);
  CheckedVector<cItemDef>().swap(m_PlacedItems);
  CheckedVector<cBlock>().swap(m_PaletteBlocks);
  CheckedVector<cCharaDef>().swap(m_PaletteCharas);
  CheckedVector<cItemDef>().swap(m_PaletteItems);
}

std::int32_t cStageData::FindHeroRecord() const {
  for (std::size_t i = 0; i < m_PlacedCharas.size(); ++i) {
    const cCharaDef& chara = m_PlacedCharas[i];
    if (chara.m_ChipIndex != 0 && chara.m_Operator == 0) return static_cast<std::int32_t>(i);
  }
  return -1;
}
