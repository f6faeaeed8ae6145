#pragma once
// The world map (scene slot 1): story mode's overworld. The hero walks the map one cell per press;
// the first active entry of the event on a cell decides what the cell is (stage entrance, road or
// wall). Standing on a stage entrance shows its name, best score and, on request, its ranking; an
// entrance opens a two-line prompt whose first line starts the stage in the play scene. Entered
// from a stage, the scene also auto-saves the progress.
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "project/world_map.h"
#include "shell/menu_cursor.h"
#include "shell/scene.h"

// The fixed surfaces of the world map.
constexpr std::int32_t kWorldWindowSurface = 45;
constexpr std::int32_t kWorldAccessorySurface = 49;
constexpr std::int32_t kWorldChipSurface = 52;
constexpr std::int32_t kWorldEventSurface = 53;
constexpr std::int32_t kWorldBackSurface = 54;
constexpr std::int32_t kWorldViewSurface = 67;

// The view: 20 x 15 cells of 32 dots, the hero always on cell (9, 7) of it.
constexpr std::int32_t kWorldCell = 32;
constexpr std::int32_t kWorldViewColumns = 20;
constexpr std::int32_t kWorldViewRows = 15;
constexpr std::int32_t kWorldHeroColumn = 9;
constexpr std::int32_t kWorldHeroRow = 7;
constexpr std::int32_t kWorldHeroX = kWorldHeroColumn * kWorldCell;  // 288
constexpr std::int32_t kWorldHeroY = kWorldHeroRow * kWorldCell;     // 224
constexpr std::int32_t kWorldChipsPerRow = 5;
constexpr std::int32_t kRankingSurfaceWidth = 272;
constexpr std::int32_t kRankingSurfaceHeight = 352;

// Facing of the hero, as m_MapDir keeps it.
constexpr std::int32_t kFacingDown = 0;
constexpr std::int32_t kFacingUp = 1;
constexpr std::int32_t kFacingLeft = 2;
constexpr std::int32_t kFacingRight = 3;

struct WorldMapPos {
  std::int32_t x;
  std::int32_t y;
};
// 0 the stage prompt (x worked out from its texts, y 260); 1 the ranking window.
extern std::array<WorldMapPos, 2> g_WorldMapPos;

// The grid index of cell (column, row) with both clamped into the map; -1 for a map without cells.
std::int32_t ChipIndex(const cWorldMap& map, std::int32_t column, std::int32_t row);
// The chip kind of that cell; -1 where the grid holds none.
std::int32_t ChipIndexAt(const cWorldMap& map, std::int32_t column, std::int32_t row);

class cWorldMapScene : public cScene {
 public:
  cWorldMapScene();
  ~cWorldMapScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  void OnWalk();
  void OnStagePrompt();

  void MoveOnMap(CursorState& cursor, const cInput& input);
  void SetViewOrigin();
  // The event on the hero's cell and its active entry (either may be null).
  void SelectEventItem();
  bool NeedsDecide(const cWorldEventItem& item) const;
  bool IsItemCleared(const cWorldEventItem& item) const;
  void PrepareStageInfo();
  void PrepareStageStart();
  void CreateRankingSurface();
  void DrawRankingSurface();
  void DrawWorldMap(bool withInfo);
  void RenderMapView();
  void RenderMapBackground(DDSURFACEDATA* view);
  void RenderMapChips(DDSURFACEDATA* view);
  void RenderEventMarkers(DDSURFACEDATA* view);
  void DrawHeroMarker();

  std::int32_t m_OriginColumn = 0;
  std::int32_t m_OriginRow = 0;
  const cWorldEvent* m_Event = nullptr;
  const cWorldEventItem* m_Item = nullptr;
  std::int32_t m_EventIndex = -1;
  std::int32_t m_ItemIndex = -1;
  std::int32_t m_Facing = kFacingDown;
  CursorState m_PrevCell;
  bool m_HasInfoCell = false;
  CursorState m_InfoCell;
  std::int32_t m_BestScore = 0;
  bool m_StageLoaded = false;

  // The origin the view surface was last rendered for; none before the first render. Kept by the
  // scene, so a view rendered by an earlier visit can never pass for the current one.
  bool m_HasRenderedOrigin = false;
  std::int32_t m_RenderedColumn = 0;
  std::int32_t m_RenderedRow = 0;
  // Counts the hero marker's draws: two pictures, 40 draws each.
  std::int32_t m_HeroFrame = 0;
  // The ranking keys held last frame: a held key acts once.
  std::uint16_t m_HeldRankingKeys = 0;

 private:
  bool OnWorldItem() const;
  void OpenPrompt();
  void LeavePrompt();
  // The ranking keys C and V on a stage entrance.
  void HandleRankingKeys(const cInput& input);
  void HeroCell(std::int32_t& column, std::int32_t& row) const;
  void PlaceHero(std::int32_t column, std::int32_t row);
  // The view follows the hero; rendered again only when its origin moved.
  void FollowHero();
  bool StartStageOnArrival();
  void DrawStageInfo();
  void DrawLives();
};

std::unique_ptr<cScene> MakeWorldMapScene();
