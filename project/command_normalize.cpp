#include "project/command_normalize.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "project/command_vocabulary.h"
#include "project/database_resources.h"
#include "project/load_context.h"

namespace {

// References are taken as unsigned numbers, so a negative one is never in range.
bool InRange(std::int32_t value, int size) {
  return static_cast<std::uint32_t>(value) < static_cast<std::uint32_t>(std::max(size, 0));
}

// The value an out-of-range reference takes. A fallback of 1 is itself no entry of a table with
// fewer than two, and then the reference becomes none.
std::int32_t Replacement(std::int32_t fallback, int size) { return InRange(fallback, size) ? fallback : 0; }

// Commands whose parameter 0 names a database entry, by character command (flow commands under
// the same label alike), the table and what an entry the table lacks becomes.
struct ParamRef {
  int command;
  int DatabaseSizes::*table;
  std::int32_t fallback;
};

constexpr ParamRef kParamRefs[] = {
    {kCharaChangeAnimeSet, &DatabaseSizes::animeSets, 0},
    {kCharaPlayAnime, &DatabaseSizes::animes, 1},
    {kCharaPlayEffect, &DatabaseSizes::effects, 1},
    {kCharaCharaEffect, &DatabaseSizes::charaEffects, 1},
    {kCharaScreenEffect, &DatabaseSizes::scrEffects, 1},
    {kCharaShowPicture, &DatabaseSizes::pictures, 1},
    {kCharaSound, &DatabaseSizes::sounds, 1},
    {kCharaMusic, &DatabaseSizes::musics, 1},
};

// The value of a sword part that holds its time, in tenths of a second.
constexpr int kSwordPartTime = 9;
constexpr std::int32_t kLongestSwordSwing = 9999;

// "ソード" keeps its sword type in the shot record's movement kind, and runs exactly as long as the
// swing of that type. Without the sword types in memory the use time stays as stored.
void NormalizeSword(cFlowCommand& c, const cLoadContext& context) {
  if (c.m_CommandSet != kCharaCommandSet || c.m_CommandNumber != kCharaSword || !c.m_Shot) return;
  cEdShot& shot = *c.m_Shot;
  if (!InRange(shot.m_MoveKind, context.database.swordTypes)) shot.m_MoveKind = 0;
  const CheckedVector<cSwordTypeDef>* types = context.swordTypes;
  if (!types || !InRange(shot.m_MoveKind, types->Size())) return;
  std::int64_t swing = 0;
  for (const cSwordPartDef& part : types->At(shot.m_MoveKind).m_Parts) swing += part.m_Values[kSwordPartTime];
  // Bounded below as well, so that no sum of stored times wraps round in the 16-bit use time.
  swing = std::clamp<std::int64_t>(swing, std::numeric_limits<std::int16_t>::min(), kLongestSwordSwing);
  c.m_UseTime = static_cast<std::int16_t>(swing);
}

// Palette choices of the summon commands and of "アイテムの取得": 0 common, 1 stage.
int ChoiceSize(const int (&sizes)[2], std::int32_t choice) { return choice == 0 || choice == 1 ? sizes[choice] : 0; }

// The item a shot or sword leaves: source 1 the common palette, 2 the stage's; 0 no item. A
// reference its palette cannot satisfy goes, source and index both.
void NormalizeShotItem(cEdShot& shot, const SummonPalettes& palettes) {
  if (shot.m_ItemSource == 0) return;
  const bool known = shot.m_ItemSource == 1 || shot.m_ItemSource == 2;
  if (known && InRange(shot.m_ItemIndex, palettes.items[shot.m_ItemSource - 1])) return;
  shot.m_ItemSource = 0;
  shot.m_ItemIndex = 0;
}

void NormalizeSummonIndex(cEdShot& shot, const int (&sizes)[2]) {
  const int size = ChoiceSize(sizes, shot.m_SummonPalette);
  if (!InRange(shot.m_SummonIndex, size)) shot.m_SummonIndex = static_cast<std::int16_t>(Replacement(1, size));
}

}  // namespace

void NormalizeCommandParams(cFlowCommand& c) {
  const cLoadContext& context = LoadContext();
  const DatabaseSizes& database = context.database;
  if (!InRange(c.m_Anime, database.animes)) c.m_Anime = 0;
  if (!InRange(c.m_Sound, database.sounds)) c.m_Sound = 0;

  c.m_Params.resize(CommandParamCount(c.m_CommandSet, c.m_CommandNumber), 0);

  const int chara = CharaEquivalent(c.m_CommandSet, c.m_CommandNumber);
  for (const ParamRef& ref : kParamRefs) {
    if (ref.command != chara || c.m_Params.empty()) continue;
    const int size = database.*ref.table;
    if (!InRange(c.m_Params[0], size)) c.m_Params[0] = Replacement(ref.fallback, size);
  }

  NormalizeSword(c, context);
  for (cFlow& flow : c.m_Flows) flow.Normalize();
}

void NormalizeSummonParams(cFlowCommand& c, const SummonPalettes& palettes) {
  if (c.m_CommandSet == kCharaCommandSet && c.m_Shot) {
    switch (c.m_CommandNumber) {
      case kCharaShot:
      case kCharaSword:
        NormalizeShotItem(*c.m_Shot, palettes);
        break;
      case kCharaSummonBlock:
        NormalizeSummonIndex(*c.m_Shot, palettes.blocks);
        break;
      case kCharaSummonChara:
        NormalizeSummonIndex(*c.m_Shot, palettes.charas);
        break;
      case kCharaSummonItem:
        NormalizeSummonIndex(*c.m_Shot, palettes.items);
        break;
      default:
        break;
    }
  }
  if (CharaEquivalent(c.m_CommandSet, c.m_CommandNumber) == kCharaGetItem) {
    // P0 the palette, P1 the item; both exist once the parameters are normalised, and a command
    // that has not been yet reads the missing ones as 0.
    if (c.m_Params.size() < 2) c.m_Params.resize(2, 0);
    const int size = ChoiceSize(palettes.items, c.m_Params[0]);
    if (!InRange(c.m_Params[1], size)) c.m_Params[1] = Replacement(1, size);
  }
  for (cFlow& flow : c.m_Flows) NormalizeFlowSummons(flow, palettes);
}

void NormalizeFlowSummons(cFlow& flow, const SummonPalettes& palettes) {
  for (cFlowCommand& command : flow.m_Commands) NormalizeSummonParams(command, palettes);
}
