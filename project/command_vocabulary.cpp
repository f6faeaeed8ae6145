#include "project/command_vocabulary.h"

#include "platform/host/text_codec.h"

cCommandTable::cCommandTable(std::initializer_list<Row> rows) {
  m_Rows.reserve(rows.size());
  for (const Row& row : rows) m_Rows.push_back(CommandDesc{Utf8ToCp932(row.utf8Label), row.paramCount, row.data});
}

const CommandDesc* cCommandTable::Find(int number) const {
  if (number < 0 || number >= Size()) return nullptr;
  return &m_Rows[static_cast<std::size_t>(number)];
}

std::uint32_t cCommandTable::ParamCount(int number) const {
  const CommandDesc* row = Find(number);
  return row ? row->paramCount : 0;
}

namespace {

using enum CommandData;

}  // namespace

const cCommandTable& CharaCommandTable() {
  static const cCommandTable table{
      // {label, parameters, kept in}
      {"", 0, kNothing},                       // 0
      {"ウエイト", 0, kNothing},               // 1: the use time does the waiting
      {"直線移動", 0, kMoveRecord},            // 2
      {"地上折り返し移動", 0, kMoveRecord},    // 3
      {"円移動", 0, kMoveRecord},              // 4
      {"突撃移動", 0, kMoveRecord},            // 5
      {"誘導移動", 0, kMoveRecord},            // 6
      {"画面外回避移動", 0, kMoveRecord},      // 7
      {"移動の無効化", 0, kNothing},           // 8
      {"向き変更", 1, kParams},                // 9
      {"ジャンプ", 5, kParams},                // 10
      {"ショット", 0, kShotRecord},            // 11
      {"ソード", 0, kShotRecord},              // 12: sword type
      {"ブロック召喚", 0, kShotRecord},        // 13
      {"キャラ召喚", 0, kShotRecord},          // 14
      {"アイテム召喚", 0, kShotRecord},        // 15
      {"フローの操作", 3, kParams},            // 16
      {"ステージクリア", 5, kParams},          // 17
      {"ゲームウエイト", 1, kParams},          // 18
      {"メッセージ", 17, kParams},             // 19
      {"ワープ", 0, kMoveRecord},              // 20
      {"ターゲットの設定", 10, kParams},       // 21
      {"ステータスの操作", 18, kParams},       // 22
      {"ステータスの操作2", 3, kParams},       // 23
      {"アイテムの取得", 2, kParams},          // 24
      {"グラフィックの変更", 3, kParams},      // 25
      {"基本アニメセットの変更", 1, kParams},  // 26
      {"アニメの実行", 1, kParams},            // 27
      {"エフェクトの実行", 8, kParams},        // 28
      {"キャラエフェクトの実行", 3, kParams},  // 29
      {"画面エフェクトの実行", 3, kParams},    // 30
      {"ピクチャーの表示", 14, kParams},       // 31
      {"画面の色を変更", 8, kParams},          // 32
      {"背景の変更", 2, kParams},              // 33
      {"効果音の再生", 1, kParams},            // 34
      {"BGMの再生", 2, kParams},               // 35
      {"コードの実行", 0, kCode},              // 36
  };
  return table;
}

const cCommandTable& FlowCommandTable() {
  static const cCommandTable table{
      // {label, parameters, kept in}
      {"", 0, kNothing},                       // 0
      {"フローの変更", 2, kParams},            // 1: its flows are the command's nested flows
      {"ステージクリア", 5, kParams},          // 2
      {"ゲームウエイト", 1, kParams},          // 3
      {"メッセージ", 17, kParams},             // 4
      {"ワープ", 0, kMoveRecord},              // 5
      {"ターゲットの設定", 10, kParams},       // 6
      {"ステータスの操作", 18, kParams},       // 7
      {"ステータスの操作2", 3, kParams},       // 8
      {"アイテムの取得", 2, kParams},          // 9
      {"グラフィックの変更", 3, kParams},      // 10
      {"基本アニメセットの変更", 1, kParams},  // 11
      {"アニメの実行", 1, kParams},            // 12
      {"エフェクトの実行", 8, kParams},        // 13
      {"キャラエフェクトの実行", 3, kParams},  // 14
      {"画面エフェクトの実行", 3, kParams},    // 15
      {"ピクチャーの表示", 14, kParams},       // 16
      {"画面の色を変更", 8, kParams},          // 17
      {"背景の変更", 2, kParams},              // 18
      {"効果音の再生", 1, kParams},            // 19
      {"BGMの再生", 2, kParams},               // 20
      {"コードの実行", 0, kCode},              // 21
  };
  return table;
}

const cCommandTable* CommandTableOfSet(int set) {
  switch (set) {
    case kCharaCommandSet:
      return &CharaCommandTable();
    case kFlowCommandSet:
      return &FlowCommandTable();
    default:
      return nullptr;
  }
}

const CommandDesc* FindCommand(int set, int number) {
  const cCommandTable* table = CommandTableOfSet(set);
  return table ? table->Find(number) : nullptr;
}

std::uint32_t CommandParamCount(int set, int number) {
  const CommandDesc* row = FindCommand(set, number);
  return row ? row->paramCount : 0;
}

int CharaEquivalent(int set, int number) {
  if (!FindCommand(set, number)) return kNoCharaCommand;
  if (set == kCharaCommandSet) return number;
  if (number == kFlowNone) return kCharaNone;
  if (number == kFlowChange) return kNoCharaCommand;
  return number + kFlowToCharaCommand;
}
