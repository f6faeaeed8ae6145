#pragma once
// Shared by the flow tests: a game folder with the record settings of start-up, a load context with
// small database tables, and the file layouts of flows, commands and key steps written out by hand
// from their field tables (never with the program's own writers).
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/command_normalize.h"
#include "project/database_resources.h"
#include "project/flow.h"
#include "project/load_context.h"
#include "tests/support/byte_builder.h"
#include "tests/support/record_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace flowtest {

// Database tables of the fixture: each reference table has ten entries, animation sets five, and
// three sword types whose swings last 3, 12 000 (beyond the longest use time) and 0 tenths.
constexpr int kTableSize = 10;
constexpr int kAnimeSets = 5;

class FlowTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    m_SavedContext = LoadContext();
    DatabaseSizes& db = LoadContext().database;
    db = DatabaseSizes{};
    db.animeSets = kAnimeSets;
    db.animes = db.charaBitmaps = db.effects = db.charaEffects = db.scrEffects = db.pictures = db.sounds = db.musics =
        kTableSize;
    m_SwordTypes.assign(3, cSwordTypeDef());
    m_SwordTypes[0].m_Parts.assign(3, cSwordPartDef());
    for (cSwordPartDef& part : m_SwordTypes[0].m_Parts) part.m_Values[9] = 1;
    m_SwordTypes[1].m_Parts.assign(2, cSwordPartDef());
    for (cSwordPartDef& part : m_SwordTypes[1].m_Parts) part.m_Values[9] = 6000;
    m_SwordTypes[2].m_Parts.clear();
    db.swordTypes = m_SwordTypes.Size();
    LoadContext().swordTypes = &m_SwordTypes;
    LoadContext().testPlay = false;
    LoadContext().keepMarkedFlows = false;
  }
  void TearDown() override {
    LoadContext() = m_SavedContext;
    TakeMainWindowMessages(WM_CLOSE);
    GameFolderTest::TearDown();
  }

  // The report log's lines so far.
  int ReportLines() {
    const std::string text = ReadHostFile("Report_Game.txt");
    int lines = 0;
    for (char c : text) lines += c == '\n';
    return lines;
  }

  CheckedVector<cSwordTypeDef> m_SwordTypes;

 private:
  cLoadContext m_SavedContext;
};

// A whole file: the version word and one body.
inline cByteBuilder FileOf(std::uint32_t version, const cByteBuilder& body) {
  return cByteBuilder().U32(version).Append(body);
}
inline cByteBuilder FileOf(std::uint32_t version, const std::vector<std::uint8_t>& body) {
  return cByteBuilder().U32(version).Bytes(body);
}

// The body of a whole file image (everything after the version word).
inline cByteBuilder BodyOfFile(const cByteBuilder& file) {
  return cByteBuilder().Bytes(std::vector<std::uint8_t>(file.Data().begin() + 4, file.Data().end()));
}

// A condition body of the current layout: 17 arrays, 28 bytes.
inline cByteBuilder ConditionBody(std::uint8_t kind, std::int32_t value) {
  cByteBuilder b;
  b.U32(17).U8(kind).I32(value).I32(0).I32(0);  // kind, value, random low and high
  b.U8(0).U8(0).U8(0).U8(0).I16(0);             // subject, item, left is variable, scope, number
  b.U8(0).U8(0).U8(0).U8(0).I16(0);             // right kind, subject, item, scope, number
  return b.U8(2).U8(0).U8(0).U32(0);            // operator, percent, shape; no text
}

// A key step: 5 arrays (7 bytes), no text, then the counted key states.
struct KeySpec {
  std::uint8_t facing = 0;
  std::int16_t shortest = 0;
  std::int16_t longest = 0;
  std::uint8_t anyHold = 0;
  std::uint8_t combination = 0;
  std::vector<std::uint8_t> states = std::vector<std::uint8_t>(19, 0);
};

inline cByteBuilder KeyBody(const KeySpec& k) {
  cByteBuilder b;
  b.U32(5).U8(k.facing).I16(k.shortest).I16(k.longest).U8(k.anyHold).U8(k.combination).U32(0);
  b.U32(static_cast<std::uint32_t>(k.states.size()));
  for (std::uint8_t s : k.states) b.U8(s);
  return b;
}

// A command: 8 arrays (12 bytes) and the code, the move and shot flags with their bodies, the
// nested flows, the parameters.
struct CommandSpec {
  std::uint8_t set = 0;
  std::uint8_t number = 0;
  std::vector<std::int32_t> params{};
  std::string code{};
  std::int16_t useTime = 0;
  std::int16_t useTimeStep = 0;
  std::uint8_t parallel = 0;
  std::int16_t sound = 0;
  std::uint8_t soundOnScreenOnly = 1;
  std::int16_t anime = 0;
  std::optional<cByteBuilder> move{};  // a cEdMove body
  std::optional<cByteBuilder> shot{};  // a cEdShot body
  std::vector<cByteBuilder> flows{};   // cFlow bodies
};

inline cByteBuilder CommandBody(const CommandSpec& c) {
  cByteBuilder b;
  b.U32(8).U8(c.set).U8(c.number).I16(c.useTime).I16(c.useTimeStep).U8(c.parallel).I16(c.sound);
  b.U8(c.soundOnScreenOnly).I16(c.anime).U32(1).Str(c.code);
  b.U32(c.move ? 1 : 0);
  if (c.move) b.Append(*c.move);
  b.U32(c.shot ? 1 : 0);
  if (c.shot) b.Append(*c.shot);
  b.U32(static_cast<std::uint32_t>(c.flows.size()));
  for (const cByteBuilder& flow : c.flows) b.Append(flow);
  b.U32(static_cast<std::uint32_t>(c.params.size()));
  for (std::int32_t p : c.params) b.I32(p);
  return b;
}

// A flow: 8 one-byte arrays, no text, then the condition, key-step and command lists.
struct FlowSpec {
  std::uint8_t id = 0;
  std::uint8_t group = 0;
  std::uint8_t testOnly = 0;
  std::uint8_t conditionMode = 0;
  std::uint8_t keepOnceMet = 0;
  std::uint8_t trigger = 0;
  std::uint8_t keyTolerance = 0;
  std::uint8_t keyRepeat = 0;
  std::vector<cByteBuilder> conditions{};
  std::vector<cByteBuilder> keys{};
  std::vector<cByteBuilder> commands{};
};

inline cByteBuilder FlowBody(const FlowSpec& f) {
  cByteBuilder b;
  b.U32(8).U8(f.id).U8(f.group).U8(f.testOnly).U8(f.conditionMode).U8(f.keepOnceMet).U8(f.trigger);
  b.U8(f.keyTolerance).U8(f.keyRepeat).U32(0);
  for (const std::vector<cByteBuilder>* list : {&f.conditions, &f.keys, &f.commands}) {
    b.U32(static_cast<std::uint32_t>(list->size()));
    for (const cByteBuilder& item : *list) b.Append(item);
  }
  return b;
}

}  // namespace flowtest
