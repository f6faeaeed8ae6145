#pragma once
// The challenge screen (scene slot 3): the list of the project's challenge stages, each row with its
// clear mark and best score, and the chosen stage's ranking beside the list on request. Deciding a
// row loads that stage (data\stg4\cNN-1.stg4 or its newest numbered version) and starts play.
// The cursor row and the list top live in the scene manager, so coming back from a stage shows
// the list as it was left.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "shell/scene.h"

// Where the ranking window stands on the panel.
struct ChallengeScenePos {
  std::int32_t rankingX = 292;
  std::int32_t rankingY = 108;
};
extern const ChallengeScenePos g_ChallengeScenePos;

// The fixed surfaces of the challenge screen.
constexpr std::int32_t kChallengeAccessorySurface = 49;
constexpr std::int32_t kChallengeWindowSurface = 45;

constexpr std::int32_t kChallengeRowsShown = 10;
constexpr std::int32_t kChallengeRowsY = 160;
constexpr std::int32_t kChallengeRowHeight = 32;
constexpr std::int32_t kChallengeCursorX = 32;
// Room for the longest challenge stage file name: the folder prefix, eleven characters of number.
constexpr std::size_t kChallengeNameSize = 64;

class cChallengeScene : public cScene {
 public:
  cChallengeScene();
  ~cChallengeScene() override;

  void Frame() override;
  void Enter() override;
  void FadeIn() override;
  void FadeOut() override;

  void OnStageChoice();

  // number = row + 1: makes that row's stage the progress record's stage and, when the play mode
  // keeps rankings, reads its ranking file into g_Ranking.
  void SelectChallengeStage(std::int32_t number);
  void CountOpenStages();
  // Makes the panel again (the menu-surface vector holds it alone) and draws it.
  void BuildChallengePanel();
  void DrawChallengePanel(DDSURFACEDATA* panel);
  void DrawChallengeScreen();

  std::int32_t m_ListTop = 0;
  std::int32_t m_OpenStages = 0;
  std::int32_t m_VisibleRows = 0;

 private:
  DDSURFACEDATA* Panel();
  void Decide(std::int32_t row);
  // Buttons 3 and 4: show or hide the ranking, switch its table. True when the panel must be redrawn.
  bool HandleRankingKeys(const cInput& input);

  // The ranking buttons are not latched by the menu frame: a held one acts once, on its press.
  std::uint16_t m_HeldRankingKeys = 0;
};

// The stage file of challenge number (row + 1), e.g. 5 gives data\stg4\c05-1.stg4.
void MakeChallengeStageFileName(char* out, std::size_t size, std::int32_t number);

std::unique_ptr<cScene> MakeChallengeScene();
