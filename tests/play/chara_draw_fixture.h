#pragma once
// A character over the stage drawing: its own animation and flow animations as a test lists them,
// a 32x32 picture of character sheet 1 at a chosen screen place, and character effects whose
// templates are built as at start-up.
#include <cstdint>
#include <initializer_list>

#include "play/chara_base.h"
#include "play/chara_effect.h"
#include "tests/play/chara_effect_defs.h"
#include "tests/play/stage_draw_fixture.h"

// One pattern showing `value`, held, or ending after one step.
inline void SetOnePattern(cAnimePattern& anime, std::int32_t value, bool ends = false) {
  anime.ClearPatterns();
  AnimeFrameList& frames = anime.AppendPattern();
  frames.push_back({value, ends ? 1 : 1000, 0});
  frames.push_back({ends ? kAnimeEnd : kAnimeHold, 0, 0});
  anime.SetPattern(0, 1);
}

struct sFlowAnime {
  std::int32_t value;
  std::int32_t timed, framesLeft;
  std::int32_t paused = 0;
  bool ends = false;
};

class CharaDrawTest : public StageDrawTest {
 protected:
  void TearDown() override {
    g_Database.m_AnimeSets.clear();
    ClearCharaEffects();
    g_System.m_SystemColourTint = 0;
    StageDrawTest::TearDown();
  }

  // The character's own animation shows 7; the flow animations as listed.
  static void SetAnimations(cCharaBase& chara, std::initializer_list<sFlowAnime> flows) {
    SetOnePattern(chara.m_Anime, 7);
    chara.m_FlowAnimations.clear();
    for (const sFlowAnime& f : flows) {
      cFlowAnimation& entry = chara.m_FlowAnimations.emplace_back();
      SetOnePattern(entry.m_Anime, f.value, f.ends);
      entry.m_HasTimeLimit = f.timed;
      entry.m_FramesLeft = f.framesLeft;
      entry.m_Paused = f.paused;
    }
  }

  // A 32x32 character of sheet 1, graphic row 1, drawn at the screen place (x, y).
  static void SetUpPicture(cCharaBase& chara, std::int32_t x, std::int32_t y) {
    chara.cGameObj::Init(1, 1, 0, 0, 1, nullptr, 0, 0, 0, 32, 32, 32, 32, 0, 0, 0);
    chara.m_Def.m_ChipSource = kChipChara;
    chara.m_Def.m_ChipFrame = 0;
    chara.m_Graphic = 1;
    chara.m_ScreenOverride = 1;
    chara.m_ScreenX = x;
    chara.m_ScreenY = y;
    SetAnimations(chara, {});
    SetOnePattern(chara.m_Anime, 1);  // frame column 1
  }

  // Effect 1: 破裂 over one tenth, a dot a frame; it ends in its seventh frame.
  static void SetEffects() { SetCharaEffects({{1, {1, 0, 6}}}); }
};
