#pragma once
// A cleared stage: its results added to the running totals (with the extra lives they bring), the
// places the totals would take in the rankings, what follows the result screen by the kind of play
// (the next stage of a chain, the world map, the challenge list, the title), and the entry of the
// totals into the rankings with the ranking screen after it.
#include <cstdint>
#include <string>

class cPlayScene;

// The stage is cleared: the tally, then the ranking places of the totals. Callers then show the
// result (state 4).
void FinishStage();
// The stage's results into the progress record's five totals, and the extra lives of the score.
void TallyStageResult();
// 1 when the chain has no stage file numbered number (or there is no chain).
std::int32_t IsLastStage(std::int32_t number);
// The file of stage number of the chain the stage belongs to: 1 and its name (the newest numbered
// copy) when it exists; else out empty and 0.
std::int32_t MakeNextStageFileName(std::string& out, std::int32_t number);
// Leaving the result screen: stores the carried hero status and returns the next scene.
std::int32_t AfterStageClear();
// The totals into the ranking tables they reach, under the name the options ask for; the file is
// saved and the ranking shown until it is left. At most once per result.
void RegisterRanking();
// The ranking screen after a registration, until the player leaves it with button 1 (or the
// program closes): the frozen stage with one ranking table over it, the new entry marked; button 4
// turns to the next table the play mode ranks.
void ShowRankingScreen(cPlayScene& scene);

// Both replay records (this try's and the previous one's) emptied.
void EmptyReplayRecords();
