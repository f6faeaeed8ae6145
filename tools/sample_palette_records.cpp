// The blocks, characters and items of the sample's common palette.
#include "platform/host/text_codec.h"
#include "project/common_palette.h"
#include "tools/sample_chips.h"
#include "tools/sample_parts.h"
#include "tools/sample_records.h"

namespace {

struct BlockRow {
  const char* name;
  std::int16_t chip;
  std::uint8_t solid;
  std::uint8_t front;
};
// By SampleBlock.
constexpr BlockRow kBlocks[kSampleBlockCount] = {
    {"", kChipBlank, kSolidNone, 0},
    {"地面（草）", kChipGroundTop, kSolid, 0},
    {"地面", kChipGround, kSolid, 0},
    {"レンガ", kChipBrick, kSolid, 0},
    {"？ブロック", kChipQuestion, kSolid, 0},
    {"石", kChipStone, kSolid, 0},
    {"木の足場", kChipWood, kSolid, 0},
    {"トゲ", kChipSpikes, kSolidDeadly, 0},
    {"ゴールの旗", kChipPoleTop, kSolidNone, 0},
    {"ゴールのポール", kChipPole, kSolidNone, 0},
    {"草むら", kChipBush, kSolidNone, 1},
    {"花", kChipFlower, kSolidNone, 0},
    {"城のかべ", kChipCastle, kSolid, 0},
};

struct CharaRow {
  const char* name;
  std::int16_t chip;
  std::uint8_t operatorKind;  // 0 the player, 1 the computer
  std::int32_t hp;
  std::int32_t attack;
  std::int32_t score;
  std::uint8_t flight;
  std::uint8_t blockChara;
  std::uint8_t facing;
};
// By SampleChara. The chip numbers count rows of the character sheet.
constexpr CharaRow kCharas[kSampleCharaCount] = {
    {"", 0, 1, 10, 0, 0, 0, 0, 0},
    {"ドット", kCharaHero, 0, 3, 0, 0, 0, 0, 1},
    {"クリボー", kCharaWalker, 1, 1, 1, 100, 0, 0, 0},
    {"パタパタ", kCharaFlyer, 1, 1, 1, 200, 1, 0, 0},
    {"うごく床", kCharaLift, 1, 10, 0, 0, 1, 1, 1},
    {"かんばん", kCharaSign, 1, 10, 0, 0, 0, 0, 0},
    {"ぐるぐる", kCharaFlyer, 1, 1, 1, 200, 1, 0, 0},
    {"ドット（ショット）", kCharaHero, 0, 3, 0, 0, 0, 0, 1},
    {"ほうだい直進A", kCharaWalker, 1, 1, 1, 100, 0, 0, 0},
    {"ほうだい直進B", kCharaWalker, 1, 1, 1, 100, 0, 0, 0},
    {"ほうだい拡散", kCharaWalker, 1, 1, 1, 100, 0, 0, 0},
    {"ほうだい落雷", kCharaFlyer, 1, 1, 1, 200, 1, 0, 0},
    {"ほうだい爆発", kCharaFlyer, 1, 1, 1, 200, 1, 0, 0},
    {"ほうだい包囲", kCharaFlyer, 1, 1, 1, 200, 1, 0, 0},
    {"スイッチ", kCharaSign, 1, 10, 0, 0, 1, 0, 0},
    {"コードスイッチ", kCharaSign, 1, 10, 0, 0, 1, 0, 0},
    {"とびら", kCharaLift, 1, 10, 0, 0, 1, 1, 0},
    {"ちょうろう", kCharaSign, 1, 10, 0, 0, 0, 0, 0},
    {"あんないにん", kCharaHero, 1, 10, 0, 0, 0, 0, 0},
    {"ゴールのかんばん", kCharaSign, 1, 10, 0, 0, 0, 0, 0},
    {"えんしゅつか", kCharaSign, 1, 10, 0, 0, 0, 0, 0},
    {"きらきらクリボー", kCharaWalker, 1, 1, 1, 100, 0, 0, 0},
    {"てじなし", kCharaFlyer, 1, 10, 0, 0, 1, 0, 0},
};

struct ItemRow {
  const char* name;
  std::int16_t chip;
  std::int16_t sound;
};
constexpr ItemRow kItems[kSampleItemCount] = {
    {"", kItemChipNone, 0},
    {"コイン", kItemChipCoin, kSoundCoin},
    {"1UPハート", kItemChipLife, kSoundOneUp},
    {"ゴールの星", kItemChipGoal, kSoundGoal},
    {"宝石", kItemChipGem, kSoundCoin},
    {"はね", kItemChipLife, kSoundOneUp},
    {"おめん", kItemChipGem, kSoundCoin},
    {"かいがら", kItemChipCoin, kSoundCoin},
};

template <class T>
void InheritAll(T& record, std::int16_t entry, int groups, int x, int y) {
  record.m_InheritSource = kInheritCommon;
  record.m_InheritIndex = entry;
  record.m_InheritFlags.assign(static_cast<std::size_t>(groups), 1);
  record.m_PosX = static_cast<std::int16_t>(x);
  record.m_PosY = static_cast<std::int16_t>(y);
}

}  // namespace

cBlock SampleBlockDef(SampleBlock block) {
  const BlockRow& row = kBlocks[block];
  cBlock def;
  def.m_Name = SJ(row.name);
  def.m_ChipSource = kChipBlock;
  def.m_ChipIndex = row.chip;
  def.m_Solid = row.chip == kChipBlank ? kSolidNone : row.solid;
  def.m_FrontLayer = row.front;
  if (block == kBlockQuestion) {
    def.m_ItemSource = kInheritCommon;
    def.m_ItemIndex = kItemCoin;
  }
  return def;
}

cCharaDef SampleCharaDef(SampleChara chara) {
  const CharaRow& row = kCharas[chara];
  cCharaDef def;
  def.m_Name = SJ(row.name);
  def.m_ChipSource = kChipChara;
  def.m_ChipIndex = row.chip;
  def.m_AnimeSet = 0;
  def.m_Operator = row.operatorKind;
  def.m_MaxHp = row.hp;
  def.m_BodyAttack = row.attack;
  def.m_Score = row.score;
  def.m_Flight = row.flight;
  def.m_BlockChara = row.blockChara;
  def.m_Facing = row.facing;
  // Flyers and the heroes turn to where they go; the lift, the sign-post, the turrets, the switches,
  // the door and the talkers keep their facing, and walkers turn only by their own
  // flows (at a ledge by their patrol, at a wall by their turn).
  def.m_FixedFacing =
      chara == kCharaHeroDef || chara == kCharaGunnerDef || chara == kCharaFlyerDef || chara == kCharaCirclerDef ? 0 : 1;
  // The hero is alone in its collision group: every other character can touch it.
  if (chara == kCharaHeroDef || chara == kCharaGunnerDef) def.m_SpareByte2 = 0;
  // Its hits show a sparkle where they land.
  if (chara == kCharaSparkWalkerDef) def.m_HitEffect = kEffectSparkle;
  AddSampleFlows(chara, def);
  return def;
}

cItemDef SampleItemDef(SampleItem item) {
  const ItemRow& row = kItems[item];
  cItemDef def;
  def.m_Name = SJ(row.name);
  def.m_ChipSource = kChipItem;
  def.m_ChipIndex = row.chip;
  def.m_Sound = row.sound;
  def.m_ShowMessage = 0;
  AddSampleItemCommands(item, def);
  return def;
}

cBlock PlacedBlock(SampleBlock block, int x, int y) {
  cBlock placed = SampleBlockDef(block);
  InheritAll(placed, block, kBlockGroupCount, x, y);
  return placed;
}

cCharaDef PlacedChara(SampleChara chara, int x, int y) {
  cCharaDef placed = SampleCharaDef(chara);
  InheritAll(placed, chara, kCharaGroupCount, x, y);
  // The word after the position names the placed item the character holds; 0 would hand the
  // stage's first item to every character, so the sample's characters hold none.
  placed.m_StoredWord = 0xFFFFFFFFu;
  return placed;
}

cItemDef PlacedItem(SampleItem item, int x, int y) {
  cItemDef placed = SampleItemDef(item);
  InheritAll(placed, item, kItemGroupCount, x, y);
  return placed;
}

void BuildSampleCommonPalette(cCommonPalette& palette) {
  // Entry 0 of each list is the empty default entry; readers put it back to the defaults anyway.
  palette.m_Blocks.assign(1, cBlock());
  for (int b = 1; b < kSampleBlockCount; ++b) palette.m_Blocks.push_back(SampleBlockDef(static_cast<SampleBlock>(b)));
  palette.m_Charas.assign(1, cCharaDef());
  for (int c = 1; c < kSampleCharaCount; ++c) palette.m_Charas.push_back(SampleCharaDef(static_cast<SampleChara>(c)));
  palette.m_Items.assign(1, cItemDef());
  for (int i = 1; i < kSampleItemCount; ++i) palette.m_Items.push_back(SampleItemDef(static_cast<SampleItem>(i)));
}
