#pragma once
// The stage file: one stage of the game (its size and scrolling, timing, music, banners, box sizes,
// background layers, its own palette and everything placed on its map), and the two stages the
// player holds for the whole run: g_Stage, the live stage, and g_PlayState, the header of the stage
// as it was loaded, which stage play copies back at every start and retry.
//
// In a file: the version; the header body (98 values and the name); u32 n and n result switches;
// five screen-out rules; the palette blocks, characters and items (u32 count, records); the placed
// blocks, characters and items (u32 count, then per record a u32 0 and the record); the background
// layers; the text records; the end marker 123456789.
#include <array>
#include <cstdint>
#include <string>

#include "platform/host/message_queue.h"
#include "platform/services/checked.h"
#include "platform/services/record.h"
#include "project/block.h"
#include "project/chara_def.h"
#include "project/item_def.h"
#include "project/label_list.h"
#include "project/load_context.h"

constexpr std::uint32_t kStageEndMarker = 123456789;
constexpr int kStageFieldCount = 98;
constexpr int kResultSwitchCount = 5;
constexpr int kScreenOutRuleCount = 5;

// Header fields by their place in the field list; the rest are named in stage_header.cpp's table.
enum StageField : int {
  kStageWidth = 0,
  kStageHeight = 3,
  kScrollFirstColumn = 8,
  kScrollLastColumn = 9,
  kScrollFirstRow = 10,
  kScrollLastRow = 11,
  kFrameRate = 12,
  kTimeWarning = 15,  // the time display warns from this many seconds left
  kScrollSpeedXField = 18,  // auto-scroll speeds, tenths of a dot per frame
  kScrollSpeedYField = 19,
  kGravityField = 20,  // f64
  kSpeedLevel = 21,
  kStageMusic = 23,
  kMusicLoops = 24,
  kKeepMusicOnRestart = 25,
  kDrawByPriority = 26,  // objects drawn by their drawing priorities, else in a fixed order by kind
  kStatusBarShown = 29,
  kClearResultEndsByItself = 30,
  kStartBanner = 32,
  // The hit boxes: main and first secondary boxes of heroes and of the other characters, each as
  // width and height, walking then flying, with their placements and overlay settings.
  kHeroMainBoxWalkW = 35,
  kHeroMainBoxWalkH = 36,
  kHeroMainBoxFlyW = 37,
  kHeroMainBoxFlyH = 38,
  kHeroSubBoxWalkW = 39,
  kHeroSubBoxWalkH = 40,
  kHeroSubBoxFlyW = 41,
  kHeroSubBoxFlyH = 42,
  kHeroMainBoxWalkPlace = 47,
  kHeroMainBoxFlyPlace = 48,
  kHeroSubBoxWalkPlace = 49,
  kHeroSubBoxFlyPlace = 50,
  kMainBoxOverlayMode = 51,
  kMainBoxOverlayColour = 55,
  kCharaMainBoxWalkW = 59,
  kCharaMainBoxWalkH = 60,
  kCharaMainBoxFlyW = 61,
  kCharaMainBoxFlyH = 62,
  kCharaSubBoxWalkW = 63,
  kCharaSubBoxWalkH = 64,
  kCharaSubBoxFlyW = 65,
  kCharaSubBoxFlyH = 66,
  kCharaMainBoxWalkPlace = 69,
  kCharaMainBoxFlyPlace = 70,
  kCharaSubBoxWalkPlace = 71,
  kCharaSubBoxFlyPlace = 72,
  kExtraExtentX = 84,  // added to 640 for the horizontal axis's map extent
  kExtraExtentY = 85,  // the same for the vertical axis
  kStepsPerFrameField = 86,
  kStepsPerFrameReal = 87,    // f64
  kStepsSquared = 88,         // f64
  kMaxSpeedPerFrame = 89,     // f64
  kGravityPerStep = 90,       // f64
  kMaxSpeedPerStep = 91,      // f64
  kEightTimesSteps = 92,
  kAimOnlyOnScreen = 93,      // the nearest-character search takes only characters on screen
};

// Which sides of the screen an object may leave, and by how many map cells, before stage play
// removes it.
class cScreenOutRule : public cDataRecord {
 public:
  cScreenOutRule();
  cScreenOutRule(const cScreenOutRule& src);
  cScreenOutRule& operator=(const cScreenOutRule& src);
  // Left switch, then (from version 125) right, top and bottom switches, then the four margins.
  void RegisterFields(std::uint32_t version) override;
  void Set(std::uint32_t left, std::uint32_t right, std::uint32_t top, std::uint32_t bottom, std::uint32_t leftMargin,
           std::uint32_t rightMargin, std::uint32_t topMargin, std::uint32_t bottomMargin);

  std::array<std::uint32_t, 4> m_Sides{};    // left, right, top, bottom: 1 = enforced
  std::array<std::uint32_t, 4> m_Margins{};  // the same order
};

// One background layer of a stage.
class cBgLayer : public cDataRecord {
 public:
  cBgLayer();
  cBgLayer(const cBgLayer& src);
  cBgLayer& operator=(const cBgLayer& src);
  void RegisterFields(std::uint32_t version) override;
  // All zero, then shown, fill colour 16 and both rates 0.1.
  void SetDefaults();

  std::uint32_t m_Shown = 1;
  std::uint32_t m_PlainColour = 0;  // 1: fill the screen with m_FillColour instead of an image
  std::uint32_t m_FillColour = 16;
  std::uint32_t m_Pass = 0;         // drawn in the pass of this number (back or front)
  double m_RateX = 0.1;             // camera-follow factor, or speed with automatic scrolling
  double m_RateY = 0.1;
  std::uint32_t m_AutoScrollX = 0;
  std::uint32_t m_AutoScrollY = 0;
  std::string m_FileName;
  double m_OffsetX = 0.0;
  double m_OffsetY = 0.0;
};

// A text kept with the stage for the editing program.
class cStringRecord : public cDataRecord {
 public:
  cStringRecord();
  cStringRecord(const cStringRecord& src);
  cStringRecord& operator=(const cStringRecord& src);
  void RegisterFields(std::uint32_t version) override;

  std::string m_Text;
};

class cStageData : public cDataRecord {
 public:
  cStageData();
  cStageData(const cStageData&) = delete;
  cStageData& operator=(const cStageData&) = delete;

  // The name, then the header fields the version holds, in table order.
  void RegisterFields(std::uint32_t version) override;
  // The whole file after its version word; the upgrades of older files; then Normalize. Anything
  // that does not fit the file marks it damaged and ends the reading.
  void Read(cRecordReader& in) override;
  // Normalize, then the whole layout.
  void Write(cRecordWriter& out) override;
  // The same layout with the header, result switches, rules, layers and texts of header and the
  // palettes and placed records of this stage (a replay's stage).
  void WriteForReplay(cRecordWriter& out, const cStageData& header);

  // The state of a stage nobody has edited: every header default, one default entry in each
  // palette list, nothing placed, one plain-colour layer, five result switches on, the five rules.
  void Reset();
  void SetBoxDefaults();
  // Scroll limits within the map, the derived speed values, the music within the database, at
  // least two entries per palette list and every reference checked.
  void Normalize();
  // Stores level and derives the logic steps per frame and the speed values from it. A level
  // outside 1..19 is clamped into that range first, so no file can make a step count of 0.
  void SetSpeedLevel(std::int32_t level);

  // The header as it was loaded: every registered field, the result switches, the rules, the
  // layers and the texts. The record lists are left as they are.
  void CopyHeaderFrom(const cStageData& src);
  // Empties the six record lists (a header copy keeps none).
  void FreeRecordLists();

  // The first placed character that is a hero (a picture and the player as operator); -1 for none.
  std::int32_t FindHeroRecord() const;
  std::uint32_t HasHero() const { return FindHeroRecord() >= 0 ? 1u : 0u; }

  // This stage's palette, for the load context.
  PaletteView View();

  std::int32_t Field(StageField index) const { return m_Ints[index]; }
  void SetField(StageField index, std::int32_t value) { m_Ints[index] = value; }
  double RealField(StageField index) const { return m_Reals[index]; }

  std::string m_Name;
  CheckedVector<cBlock> m_PlacedBlocks;
  CheckedVector<cCharaDef> m_PlacedCharas;
  CheckedVector<cItemDef> m_PlacedItems;
  CheckedVector<cBlock> m_PaletteBlocks;
  CheckedVector<cCharaDef> m_PaletteCharas;
  CheckedVector<cItemDef> m_PaletteItems;
  CheckedVector<cBgLayer> m_BgLayers;
  CheckedVector<cStringRecord> m_Texts;
  // The header values: a field of type i32 lives in m_Ints, an f64 field in m_Reals, each at its
  // place in the field list (the other array's slot is unused).
  std::array<std::int32_t, kStageFieldCount> m_Ints{};
  std::array<double, kStageFieldCount> m_Reals{};
  CheckedVector<std::uint32_t> m_ResultSwitches;
  std::array<cScreenOutRule, kScreenOutRuleCount> m_Rules;

  // Not stored in the file.
  std::string m_FileName;           // the stage file last named to LoadStageFile
  std::uint32_t m_NumberedName = 0; // the numbered flag LoadStageFile was given
  std::uint32_t m_Loaded = 0;       // set by the loader thread after a whole read
  std::int32_t m_TenthSecondSteps = 0;  // logic steps of six frames: 6 x steps per frame
};

extern cStageData g_Stage;
extern cStageData g_PlayState;

// The speed values stage play reads, as fields of the live stage.
inline std::int32_t& g_StepsPerFrame = g_Stage.m_Ints[kStepsPerFrameField];
inline double& g_StepsPerFrameF = g_Stage.m_Reals[kStepsPerFrameReal];
inline double& g_Gravity = g_Stage.m_Reals[kGravityPerStep];
inline double& g_MaxSpeed = g_Stage.m_Reals[kMaxSpeedPerStep];
// The auto-scroll speeds (-480..480) that scripts read and change.
inline std::int32_t& g_ScrollSpeedX = g_Stage.m_Ints[kScrollSpeedXField];
inline std::int32_t& g_ScrollSpeedY = g_Stage.m_Ints[kScrollSpeedYField];

// Reads the stage file name (with numbered set: the newest name_NNN of it) into g_Stage on the
// stage-loader thread while the calling thread keeps serving its messages; on success copies the
// header into headerCopy when it is given. 1 on success; 0 after reporting why not (a numbered name
// with no file at all is 0 without a word).
std::uint32_t LoadStageFile(const char* name, std::uint32_t numbered, cStageData* headerCopy);
// 1 when the file at path is not refused: it does not open (the loader reports that), its version
// is below 174, or it ends with the end marker. 0 after "破損" was reported.
std::uint32_t CheckStageEndMarker(const char* path);
// Where the messages sent to the calling thread go while it waits for the loader (the shell gives
// the window procedure when it loads on the window thread); without one they are answered 0.
void SetStageLoadDispatcher(MessageHandler dispatcher);
// The loader thread's procedure: reads g_Stage from its m_FileName and sets m_Loaded on success.
std::uint32_t StageLoaderThreadProc(void* arg);

// The vocabulary of the stage fields; the player reads none of them.
extern const LabelList ScrollModeLabels;
extern const LabelList HorizontalExtendLabels;
extern const LabelList VerticalExtendLabels;
extern const LabelList SpeedLevelLabels;
extern const LabelList ContactCheckLevelLabels;
extern const LabelList BoxAlignLabels;
extern const LabelList BoxAlignShortLabels;
extern const LabelList BoxDisplayLabels;
extern const LabelList BoxColourLabels;
extern const LabelList AxisLabels;
