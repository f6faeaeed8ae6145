// The sample's stages, built on a map of text rows: the meadow and its chained second half, the
// hills, the castle, and the two challenge stages.
#include <string>
#include <vector>

#include "platform/host/text_codec.h"
#include "project/common_palette.h"
#include "project/load_context.h"
#include "project/stage_data.h"
#include "tools/sample_parts.h"
#include "tools/sample_records.h"

namespace {

// One letter per map cell: # ground with grass, = ground, B brick, ? question block, S stone,
// - wooden platform, ^ spikes, F flag top, | pole, w bush, f flower, C castle wall; o coin, L extra
// life, G goal star, * gem; H the hero, e walker, b flyer, M lift, I sign-post, t switch, k switch
// by code, D door, K elder, T guide, g goal sign; P the shooting hero, 1..6 the turrets; A the
// presenter, x the walker whose hits sparkle; U wings, m mask, s shell, J showman.
// Header fields this file sets beyond those the stage header names.
constexpr auto kTimeLimitOn = static_cast<StageField>(13);
constexpr auto kTimeLimitSeconds = static_cast<StageField>(14);
constexpr auto kStageNumberBanner = static_cast<StageField>(31);

struct StagePlan {
  const char* path;
  std::int32_t timeLimit;  // seconds; 0 none
  const char* name;
  std::int32_t music;
  const char* backdrop;  // first background layer
  const char* front;     // second layer, keyed; may be null
  std::vector<const char*> rows;
};

void Place(cStageData& stage, char c, int x, int y) {
  switch (c) {
    case '#': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockGroundTop, x, y)); break;
    case '=': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockGround, x, y)); break;
    case 'B': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockBrick, x, y)); break;
    case '?': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockQuestion, x, y)); break;
    case 'S': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockStone, x, y)); break;
    case '-': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockWood, x, y)); break;
    case '^': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockSpikes, x, y)); break;
    case 'F': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockPoleTop, x, y)); break;
    case '|': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockPole, x, y)); break;
    case 'w': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockBush, x, y)); break;
    case 'f': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockFlower, x, y)); break;
    case 'C': stage.m_PlacedBlocks.push_back(PlacedBlock(kBlockCastle, x, y)); break;
    case 'o': stage.m_PlacedItems.push_back(PlacedItem(kItemCoin, x, y)); break;
    case 'L': stage.m_PlacedItems.push_back(PlacedItem(kItemLife, x, y)); break;
    case 'G': stage.m_PlacedItems.push_back(PlacedItem(kItemGoal, x, y)); break;
    case '*': stage.m_PlacedItems.push_back(PlacedItem(kItemGem, x, y)); break;
    case 'H': stage.m_PlacedCharas.push_back(PlacedChara(kCharaHeroDef, x, y)); break;
    case 'e': stage.m_PlacedCharas.push_back(PlacedChara(kCharaWalkerDef, x, y)); break;
    case 'b': stage.m_PlacedCharas.push_back(PlacedChara(kCharaFlyerDef, x, y)); break;
    case 'c': stage.m_PlacedCharas.push_back(PlacedChara(kCharaCirclerDef, x, y)); break;
    case 'M': stage.m_PlacedCharas.push_back(PlacedChara(kCharaLiftDef, x, y)); break;
    case 'I': stage.m_PlacedCharas.push_back(PlacedChara(kCharaSignDef, x, y)); break;
    case 'P': stage.m_PlacedCharas.push_back(PlacedChara(kCharaGunnerDef, x, y)); break;
    case '1': case '2': case '3': case '4': case '5': case '6':
      stage.m_PlacedCharas.push_back(PlacedChara(static_cast<SampleChara>(kCharaTurretStraightA + (c - '1')), x, y));
      break;
    case 't': stage.m_PlacedCharas.push_back(PlacedChara(kCharaTokenDef, x, y)); break;
    case 'k': stage.m_PlacedCharas.push_back(PlacedChara(kCharaCodeTokenDef, x, y)); break;
    case 'D': stage.m_PlacedCharas.push_back(PlacedChara(kCharaDoorDef, x, y)); break;
    case 'K': stage.m_PlacedCharas.push_back(PlacedChara(kCharaElderDef, x, y)); break;
    case 'T': stage.m_PlacedCharas.push_back(PlacedChara(kCharaGuideDef, x, y)); break;
    case 'g': stage.m_PlacedCharas.push_back(PlacedChara(kCharaGoalDef, x, y)); break;
    case 'A': stage.m_PlacedCharas.push_back(PlacedChara(kCharaPresenterDef, x, y)); break;
    case 'x': stage.m_PlacedCharas.push_back(PlacedChara(kCharaSparkWalkerDef, x, y)); break;
    case 'J': stage.m_PlacedCharas.push_back(PlacedChara(kCharaShowmanDef, x, y)); break;
    case 'U': stage.m_PlacedItems.push_back(PlacedItem(kItemWings, x, y)); break;
    case 'm': stage.m_PlacedItems.push_back(PlacedItem(kItemMask, x, y)); break;
    case 's': stage.m_PlacedItems.push_back(PlacedItem(kItemShell, x, y)); break;
    default: break;
  }
}

cBgLayer ImageLayer(const char* file, double rate) {
  cBgLayer layer;
  layer.SetDefaults();
  layer.m_PlainColour = 0;
  layer.m_FileName = file;
  layer.m_RateX = rate;
  layer.m_RateY = 0.0;
  return layer;
}

bool WriteStage(const StagePlan& plan) {
  cStageData stage;
  stage.Reset();
  stage.m_Name = SJ(plan.name);
  const int height = static_cast<int>(plan.rows.size());
  const int width = static_cast<int>(std::string(plan.rows[0]).size());
  SetSampleStageSize(stage, width, height);
  stage.SetField(kStageMusic, plan.music);
  stage.SetField(kMusicLoops, 1);
  stage.SetField(kStatusBarShown, 1);
  stage.SetField(kStageNumberBanner, 1);
  stage.SetField(kTimeLimitOn, plan.timeLimit > 0 ? 1 : 0);
  if (plan.timeLimit > 0) stage.SetField(kTimeLimitSeconds, plan.timeLimit);
  stage.m_PlacedBlocks.clear();
  stage.m_PlacedCharas.clear();
  stage.m_PlacedItems.clear();
  for (int y = 0; y < height; ++y) {
    const std::string row = plan.rows[static_cast<std::size_t>(y)];
    for (int x = 0; x < width && x < static_cast<int>(row.size()); ++x) Place(stage, row[static_cast<std::size_t>(x)], x, y);
  }
  stage.m_BgLayers.clear();
  stage.m_BgLayers.push_back(ImageLayer(plan.backdrop, 0.1));
  if (plan.front) stage.m_BgLayers.push_back(ImageLayer(plan.front, 0.4));
  // Placed records name the common palette; the stage's own palette keeps its default entries.
  cPaletteBinding binding(LoadContext().stagePalette, stage.View());
  // The editing program saves a stage as numbered copies, and the world map, the challenge list
  // and a chain look only for those; the plain name is what a stage named by hand opens.
  const std::string copy = std::string(plan.path) + "_000";
  return stage.SaveFile(plan.path) == 1 && stage.SaveFile(copy.c_str()) == 1;
}

const std::vector<StagePlan>& Plans() {
  static const std::vector<StagePlan> plans = {
      {kStageMeadow, 0, "1-1 はらっぱ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                                        ",
           "                                        ",
           "                                        ",
           "                                        ",
           "                 o o o                  ",
           "                                        ",
           "         ?   B?B?B                o o   ",
           "                          ----          ",
           "                                        ",
           "   I            w          e        S   ",
           " H      e   f    e   w g#####    e SS  L",
           "########################M    #######SSS",
           "========================     ##########",
           "========================     ##########",
           "========================^^^^^##########",
       }},
      {kStageMeadowTwo, 0, "1-2 はらっぱのおく", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "                              ",
           "               b              ",
           "         o o o                ",
           "                        F     ",
           "        BB?BB           |     ",
           "                        |     ",
           "                    SS  |     ",
           "                   SSS  |     ",
           " H    e     e     SSSS  |  G g",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
      {kStageHills, 300, "2 おかのうえ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                                        ",
           "                                        ",
           "                         b              ",
           "                                        ",
           "             o o           o o          ",
           "            -----         -----    F    ",
           "                                   |    ",
           "       ?          o o              |    ",
           "                 -----      e      |    ",
           "             e            #####    |    ",
           " H    w         e        ######  e | G  ",
           "###########   ###############  ######## ",
           "===========   ===============  ======== ",
           "===========^^^===============^^======== ",
           "===========^^^===============^^======== ",
       }},
      {kStageCastle, 300, "3 おしろ", kMusicCastle, "bmp\\back\\Castle.bmp", nullptr,
       {
           "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
           "C                              C",
           "C                              C",
           "C          o o o       b       C",
           "C         CCCCCCC              C",
           "C                     *        C",
           "C    ?              CCCCC      C",
           "C                              C",
           "C                          F   C",
           "C            e    e        |   C",
           "C H   e     CCC  CCC    e  | G C",
           "CCCCCCCCC  CCCCCCCCCC  CCCCCCCCC",
           "CCCCCCCCC^^CCCCCCCCCC^^CCCCCCCCC",
           "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
           "CCCCCCCCCCCCCCCCCCCCCCCCCCCCCCCC",
       }},
      {"data\\stg4\\c01-1.stg4", 60, "チャレンジ1 コインあつめ", kMusicChallenge, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                    ",
           "                    ",
           "   o o o o o o o o  ",
           "                    ",
           "  ----  ----  ----  ",
           "                    ",
           "   o o o   o o o    ",
           "                    ",
           "     ----    ----   ",
           "                    ",
           " H  o  o  o  o   G  ",
           "####################",
           "====================",
           "====================",
           "====================",
       }},
      {"data\\stg4\\c02-1.stg4", 90, "チャレンジ2 とびこえろ", kMusicChallenge, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "             b                ",
           "                              ",
           "        o        o       o    ",
           "                              ",
           "       SS      SSS     SSSS   ",
           " H    SSS e   SSSS e  SSSSS G ",
           "######^^^######^^^#####^^^####",
           "==============================",
           "==============================",
           "==============================",
       }},
      // A short dash over two score switches to the goal sign: a challenge that a run to the right
      // clears with a score.
      {"data\\stg4\\c03-1.stg4", 60, "チャレンジ3 ゴールへいそげ", kMusicChallenge, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           " H   t   t  g       ",
           "####################",
           "====================",
           "====================",
           "====================",
       }},
      // The stages of stage play itself, each showing one thing with a hero that stands still (its
      // flows come with the event scripts): a gap it falls into, spikes it lands on, a time limit
      // that runs out, and a stage full of characters, items, both layers and bushes in front.
      {kStageFall, 0, "おとしあな", kMusicStage, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "  H          w      ",
           "##  ################",
           "==  ================",
           "==  ================",
           "==  ================",
       }},
      {kStageSpikes, 0, "トゲ", kMusicStage, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "   H                ",
           "                    ",
           "                    ",
           "          f         ",
           "###^################",
           "===^================",
           "====================",
           "====================",
       }},
      {kStageClock, 3, "じかんぎれ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "    H       o       ",
           "####################",
           "====================",
           "====================",
           "====================",
       }},
      {kStageShowcase, 0, "みほん", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                                        ",
           "                                        ",
           "                                        ",
           "                 b                      ",
           "          o o o                         ",
           "                                        ",
           "         ?BB?B           ----           ",
           "                                        ",
           "                               *        ",
           "                  L           SSS       ",
           "  H  w  I  e  ww     e   w   SSSSS  G   ",
           "########################################",
           "========================================",
           "========================================",
           "========================================",
       }},
      // The event scripts: the hero walks and jumps by its key flows, a walker paces between two
      // walls, and a circler flies round above them.
      {kStageWalk, 0, "あるく", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "         c                    ",
           "                              ",
           "                              ",
           "  H            S     e     S  ",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
      // Items and riding: the hero drops through a coin onto the lift over the spike pit; coins and
      // a life on the way to the goal, and two walkers on the ground beyond the pit.
      {kStageStomp, 0, "ふみつけ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "     H                        ",
           "                              ",
           "     o                        ",
           "                              ",
           "             o o o            ",
           "                              ",
           "                     L        ",
           "                    ----      ",
           "                 e      e   G  ",
           "#####M        ################",
           "=====         ================",
           "=====         ================",
           "=====^^^^^^^^^================",
       }},
      // Firing: the hero shoots and swings its sword; the turrets fire 直進A, 直進B and 拡散 from the
      // ground, 落雷, 爆発 and 包囲 from the air.
      {kStageFiring, 0, "ショット", kMusicStage, "bmp\\back\\Sky.bmp", nullptr,
       {
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "                    ",
           "            4       ",
           "                 5  ",
           "               6    ",
           "                    ",
           "  P     1   2   3   ",
           "####################",
           "====================",
           "====================",
           "====================",
       }},
      // Switches and a door: two switches on the way and a third over the hero's head in front of the
      // door, which stands in a wall until the switches have counted to three.
      {kStageSwitch, 0, "スイッチ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "        S                     ",
           "       kS                     ",
           "        S                     ",
           " H t t  D                    S",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
      // Talking characters: the elder on the left waits for the key with each of its two messages;
      // the guide on the right talks for a while, then offers a warp (up) or the goal (down).
      {kStageTalk, 0, "おはなし", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "S K   H T                 S   ",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
      // Pictures and effects: the presenter runs its show from the start while the hero walks on to
      // a walker whose hits sparkle.
      {kStageShow, 0, "えんしゅつ", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "S  H   x    A               S ",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
      // Items that change the hero's flows (a point a second, then five, then none) and the
      // stage's looks and sounds, and a showman above them that runs the same commands as
      // a character, with the summons and the chasing moves.
      {kStageItems, 0, "アイテム", kMusicStage, "bmp\\back\\Sky.bmp", "bmp\\back\\Hills.bmp",
       {
           "                              ",
           "                              ",
           "                              ",
           "              J               ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           "                              ",
           " HU m   s     G               ",
           "##############################",
           "==============================",
           "==============================",
           "==============================",
       }},
  };
  return plans;
}

}  // namespace

void SetSampleStageSize(cStageData& stage, int width, int height) {
  stage.SetField(kStageWidth, width);
  stage.SetField(kStageHeight, height);
  stage.SetField(kScrollFirstColumn, 0);
  stage.SetField(kScrollLastColumn, width - 1);
  stage.SetField(kScrollFirstRow, 0);
  stage.SetField(kScrollLastRow, height - 1);
  // Objects are kept within 640 dots plus these values; with the stage's own size in dots the
  // limit is the whole map, margins included.
  stage.SetField(kExtraExtentX, width * 32);
  stage.SetField(kExtraExtentY, height * 32);
}

bool WriteSampleStages() {
  bool ok = true;
  for (const StagePlan& plan : Plans()) ok &= WriteStage(plan);
  return ok;
}
