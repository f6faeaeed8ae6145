// The world-map record: its three element records, reading and writing, the defaults of a new
// project, resizing the grid and the checks that keep a map from a file usable.
#include "project/world_map.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <utility>

#include "platform/host/text_codec.h"
#include "platform/services/boxes.h"
#include "platform/services/log.h"
#include "project/nested_records.h"

// The grid goes to and from the file as the image of its u32 cells.
static_assert(std::endian::native == std::endian::little, "grid cells are stored as little-endian images");

const LabelList WorldEventKindLabels = {"ワールド", "道", "壁"};
const LabelList AfterClearLabels = {"しない", "2周目へ突入", "タイトルへ戻る"};

namespace {

// The score threshold of an entry came with this version.
constexpr std::uint32_t kMinTotalScoreVersion = 209;

// The map of a new project.
constexpr std::int32_t kDefaultWidth = 20;
constexpr std::int32_t kDefaultHeight = 15;
constexpr std::int32_t kDefaultStartX = 9;
constexpr std::int32_t kDefaultStartY = 7;
constexpr std::int32_t kDefaultBackColour = 16;
constexpr int kDefaultDefCount = 10;
constexpr int kDefaultBlockedDefs = 5;  // definitions 0-4 block, 5-9 let through

// The cell count of a map, or -1 when the sizes do not give one (a size below 1, a shift no i32
// pitch holds). Widened, so no size from a file can overflow it.
std::int64_t GridCells(std::int32_t height, std::int32_t shift) {
  if (height < 1 || shift < 0 || shift > kMaxWorldPitchShift) return -1;
  return static_cast<std::int64_t>(height) << shift;
}

}  // namespace

cWorldDef::cWorldDef() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cWorldDef::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Reserved);
  AddField(m_Blocked);
  AddField(m_Picture);
  AddString(m_Name);
  AddString(m_Label);
}

cWorldEventItem::cWorldEventItem() {
  RegisterFields(kRecordVersion);
  Reset();
}

void cWorldEventItem::RegisterFields(std::uint32_t version) {
  ClearFields();
  AddField(m_Kind);
  AddField(m_PictureRow);
  AddField(m_ClearNumber);
  AddField(m_Open);
  AddField(m_Reentry);
  AddField(m_AfterClear);
  AddField(m_RequiredClear);
  AddField(m_Variable);
  AddField(m_CompareValue);
  AddField(m_Comparison);
  if (version >= kMinTotalScoreVersion) AddField(m_MinTotalScore);
  AddString(m_Caption);
  AddString(m_StageName);
}

void cWorldEventItem::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  if (in.Version() < kMinTotalScoreVersion) m_MinTotalScore = 0;
}

cWorldEvent::cWorldEvent() {
  RegisterFields(kRecordVersion);
  Reset();
  m_Items.emplace_back();
}

void cWorldEvent::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_X);
  AddField(m_Y);
  AddString(m_Name);
}

// Neither the event nor its entries have anything to normalise.
void cWorldEvent::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadWorldEventItems(m_Items, in);
}

void cWorldEvent::Write(cRecordWriter& out) {
  cDataRecord::Write(out);
  WriteNestedRecords(m_Items, out);
}

void ReadWorldDefs(CheckedVector<cWorldDef>& defs, cRecordReader& in) {
  ReadNestedRecords(defs, in, cWorldDef(), kMinRecordBytes);
}

void ReadWorldEvents(CheckedVector<cWorldEvent>& events, cRecordReader& in) {
  ReadNestedRecords(events, in, cWorldEvent(), kMinRecordWithListBytes);
}

void ReadWorldEventItems(CheckedVector<cWorldEventItem>& items, cRecordReader& in) {
  ReadNestedRecords(items, in, cWorldEventItem(), kMinRecordBytes);
}

bool PitchForWidth(std::int32_t& pitch, std::int32_t& shift, std::int32_t width) {
  std::int32_t bits = 0;
  for (std::int64_t rest = static_cast<std::int64_t>(width) - 1; rest > 0; rest /= 2) ++bits;
  if (bits > kMaxWorldPitchShift) return false;
  shift = bits;
  pitch = std::int32_t{1} << bits;
  return true;
}

cWorldMap::cWorldMap() { SetDefaults(); }

void cWorldMap::RegisterFields(std::uint32_t) {
  ClearFields();
  AddField(m_Width);
  AddField(m_Height);
  AddField(m_Pitch);
  AddField(m_PitchShift);
  AddField(m_StartX);
  AddField(m_StartY);
  AddField(m_BackColour);
  AddField(m_ShowBackImage);
  AddString(m_Title);
  AddString(m_BackImageFile);
}

void cWorldMap::Read(cRecordReader& in) {
  cDataRecord::Read(in);
  ReadWorldDefs(m_Defs, in);
  std::uint32_t cells = 0;
  if (in.ReadCount(cells, sizeof(std::uint32_t))) {
    m_Grid.assign(cells, 0);
    if (cells > 0) in.ReadBytes(m_Grid.data(), cells * sizeof(std::uint32_t));
  }
  ReadWorldEvents(m_Events, in);
  ReadWorldEvents(m_Templates, in);
  if (!ValidateWorldMap()) in.MarkDamaged();
}

void cWorldMap::Write(cRecordWriter& out) {
  if (!ValidateWorldMap()) out.MarkFailed();
  cDataRecord::Write(out);
  WriteNestedRecords(m_Defs, out);
  out.WriteCount(m_Grid.size());
  out.WriteBytes(m_Grid.data(), m_Grid.size() * sizeof(std::uint32_t));
  WriteNestedRecords(m_Events, out);
  WriteNestedRecords(m_Templates, out);
}

int cWorldMap::LoadWorldMap(const char* path) {
  return LoadOverCopy(*this, cWorldMap(), path) == WholeLoad::kRead ? 1 : 0;
}

void cWorldMap::SetDefaults() {
  Reset();
  m_Title = SJ("ワールド");
  m_StartX = kDefaultStartX;
  m_StartY = kDefaultStartY;
  m_BackColour = kDefaultBackColour;
  m_ShowBackImage = 0;
  m_Defs.assign(kDefaultDefCount, cWorldDef());
  for (int i = 0; i < kDefaultDefCount; ++i) {
    cWorldDef& def = m_Defs.At(i);
    const bool blocked = i < kDefaultBlockedDefs;
    def.m_Picture = i;
    def.m_Blocked = blocked ? 1 : 0;
    def.m_Label = SJ(blocked ? "通行不可" : "通行可");
  }
  m_Grid.clear();
  SetSize(kDefaultWidth, kDefaultHeight);
  m_Events.clear();
  m_Templates.assign(1, cWorldEvent());
  m_Templates.At(0).m_Name = SJ("デフォルト");
}

std::uint32_t cWorldMap::SetSize(std::int32_t width, std::int32_t height) {
  if (width == 0 || height == 0) {
    DebugMesBox("%s", SJ("SetSize()で 0 を指定しました！").c_str());
    return 0;
  }
  // Negative sizes would make a negative cell count; the editing program never asks for one.
  if (width < 0 || height < 0) return 0;
  std::int32_t pitch = 0;
  std::int32_t shift = 0;
  if (!PitchForWidth(pitch, shift, width)) return 0;
  const std::int64_t cells = GridCells(height, shift);
  if (cells < 0 || cells > kMaxWorldCells) return 0;

  CheckedVector<std::uint32_t> old;
  const std::int32_t oldWidth = m_Width;
  const std::int32_t oldHeight = m_Height;
  const std::int32_t oldShift = m_PitchShift;
  if (!m_Grid.empty()) {
    DebugMesBox("nBeforeWidth = %d,nBeforePitch = %d,nBeforePitch_Shift = %d", m_Width, m_Pitch, m_PitchShift);
    old = std::move(m_Grid);
  }
  m_Width = width;
  m_Height = height;
  m_Pitch = pitch;
  m_PitchShift = shift;
  m_Grid.assign(static_cast<std::size_t>(cells), 0);

  // The old grid came from a file: its own shift places its cells, and it may be shorter than its
  // sizes say.
  if (old.empty() || GridCells(1, oldShift) < 0) return 1;
  const std::int32_t rows = std::min(oldHeight, height);
  const std::int32_t columns = std::min(oldWidth, width);
  for (std::int32_t y = 0; y < rows; ++y) {
    for (std::int32_t x = 0; x < columns; ++x) {
      const std::int64_t from = (static_cast<std::int64_t>(y) << oldShift) + x;
      if (from >= static_cast<std::int64_t>(old.size())) break;
      m_Grid[static_cast<std::size_t>((static_cast<std::int64_t>(y) << shift) + x)] =
          old[static_cast<std::size_t>(from)];
    }
  }
  return 1;
}

bool cWorldMap::GeometryHolds() const {
  if (m_Width < 1) return false;
  const std::int64_t cells = GridCells(m_Height, m_PitchShift);
  if (cells < 0 || cells > kMaxWorldCells) return false;
  return m_Pitch == (std::int32_t{1} << m_PitchShift) && m_Pitch >= m_Width;
}

bool cWorldMap::ValidateWorldMap() {
  const bool holds = GeometryHolds();
  if (holds) {
    const auto cells = static_cast<std::size_t>(GridCells(m_Height, m_PitchShift));
    if (m_Grid.size() < cells) {
      ReportLog(SJ("ワールドマップ : マップチップが %d 個しかないので %d 個にしました").c_str(), m_Grid.Size(),
                static_cast<int>(cells));
      m_Grid.resize(cells, 0);
    }
  }
  // A size from a damaged file may be the smallest int: its last cell is not one below it.
  if (m_StartX >= m_Width) m_StartX = m_Width > 0 ? m_Width - 1 : 0;
  if (m_StartY >= m_Height) m_StartY = m_Height > 0 ? m_Height - 1 : 0;
  // Events beyond the right or bottom edge go; those left of or above the map stay, as they always
  // have, and simply are never found by a cursor inside it.
  std::erase_if(m_Events, [this](const cWorldEvent& event) { return event.m_X >= m_Width || event.m_Y >= m_Height; });
  return holds;
}

int cWorldMap::FindWorldEventIndexAt(std::int32_t x, std::int32_t y) const {
  for (int i = 0; i < m_Events.Size(); ++i) {
    const cWorldEvent& event = m_Events.At(i);
    if (event.m_X == x && event.m_Y == y) return i;
  }
  return -1;
}

const cWorldEvent* cWorldMap::FindWorldEventAt(std::int32_t x, std::int32_t y) const {
  const int index = FindWorldEventIndexAt(x, y);
  return index < 0 ? nullptr : &m_Events.At(index);
}

cWorldEvent* cWorldMap::FindWorldEventAt(std::int32_t x, std::int32_t y) {
  const int index = FindWorldEventIndexAt(x, y);
  return index < 0 ? nullptr : &m_Events.At(index);
}

cWorldEvent* cWorldMap::FindWorldEventByPos(const WorldPos* cursor) {
  return cursor ? FindWorldEventAt(cursor->x, cursor->y) : nullptr;
}

bool cWorldMap::InsideMap(std::int32_t x, std::int32_t y) const {
  return x >= 0 && y >= 0 && x < m_Width && y < m_Height;
}

int cWorldMap::CellIndex(std::int32_t x, std::int32_t y) const {
  if (!InsideMap(x, y) || GridCells(1, m_PitchShift) < 0) return -1;
  const std::int64_t index = (static_cast<std::int64_t>(y) << m_PitchShift) + x;
  if (index >= static_cast<std::int64_t>(m_Grid.size()) || index > INT32_MAX) return -1;
  return static_cast<int>(index);
}

std::uint32_t cWorldMap::ChipAt(std::int32_t x, std::int32_t y) const {
  const int index = CellIndex(x, y);
  return index < 0 ? 0 : m_Grid.At(index);
}

const cWorldDef* cWorldMap::ChipDefAt(std::int32_t x, std::int32_t y) const {
  if (CellIndex(x, y) < 0) return nullptr;
  const std::uint32_t chip = ChipAt(x, y);
  return chip < m_Defs.size() ? &m_Defs.At(static_cast<int>(chip)) : nullptr;
}
