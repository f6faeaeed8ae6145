#pragma once
// What the play scene tells the run's trace: its state changes, and the state line of a frame that
// lets a run be followed from outside (hero 0's box and speeds, HP, score, lives, time left).
#include <cstdint>
#include <string>

// One trace line "play state N NAME" for a state the scene has entered.
void TracePlayState(std::int32_t state);
// "frame=F scene=S x1=X y1=Y x2=X2 y2=Y2 vx=VX vy=VY hp=HP score=SC lives=L time=T digest=HEX16": hero
// 0's values with two decimals while a stage is played, zeros otherwise, and the state digest.
std::string PlayStateLine(std::uint32_t frame, std::int32_t scene);
