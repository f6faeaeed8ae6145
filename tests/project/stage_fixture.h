#pragma once
// Shared by the stage tests: the record settings and load context of a project test, message
// boxes caught instead of shown, and stage files of any version written out by hand from the
// header's field table.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/services/thread.h"
#include "project/stage_data.h"
#include "tests/project/block_fixture.h"

namespace stagetest {

// The header's field table: the first version holding each row, and whether it is an f64.
struct HeaderRow {
  std::uint32_t since;
  bool real;
};

inline std::vector<HeaderRow> HeaderRows() {
  std::vector<HeaderRow> rows(kStageFieldCount, HeaderRow{0, false});
  for (int i : {20, 87, 88, 89, 90, 91}) rows[static_cast<std::size_t>(i)].real = true;
  const std::map<int, std::uint32_t> since = {
      {24, 166}, {25, 199}, {29, 183}, {30, 184}, {32, 225}, {35, 200}, {36, 200}, {37, 200}, {38, 200},
      {41, 155}, {42, 155}, {47, 200}, {48, 200}, {49, 155}, {50, 155}, {51, 200}, {55, 200}, {59, 200},
      {60, 200}, {61, 200}, {62, 200}, {65, 155}, {66, 155}, {69, 200}, {70, 200}, {71, 155}, {72, 155}};
  for (const auto& [row, version] : since) rows[static_cast<std::size_t>(row)].since = version;
  return rows;
}

// A stage file of version, every header value given by value(row) (f64 rows as doubles), the name,
// the switches, five rules, empty palettes and placed lists, no layers or texts, and marker when
// given.
struct OldStage {
  std::uint32_t version = 556;
  std::map<int, double> values;  // header rows that are not 0
  std::string name;
  std::vector<std::uint32_t> switches = {1, 1, 1, 1, 1};
  std::vector<std::uint32_t> placedCounts = {0, 0, 0};
  bool withMarker = true;
  std::uint32_t marker = kStageEndMarker;

  cByteBuilder Build() const {
    cByteBuilder b;
    b.U32(version);
    std::vector<HeaderRow> rows = HeaderRows();
    std::uint32_t count = 0;
    for (const HeaderRow& row : rows) count += row.since <= version ? 1 : 0;
    b.U32(count);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].since > version) continue;
      auto found = values.find(static_cast<int>(i));
      const double v = found == values.end() ? 0.0 : found->second;
      if (rows[i].real)
        b.F64(v);
      else
        b.I32(static_cast<std::int32_t>(v));
    }
    b.U32(1).Str(name);
    b.U32(static_cast<std::uint32_t>(switches.size()));
    for (std::uint32_t s : switches) b.U32(s);
    for (int rule = 0; rule < 5; ++rule) {
      if (version < 125) {
        b.U32(5);
        for (int i = 0; i < 5; ++i) b.U32(static_cast<std::uint32_t>(rule));
      } else {
        b.U32(8);
        for (int i = 0; i < 8; ++i) b.U32(static_cast<std::uint32_t>(rule));
      }
      b.U32(0);
    }
    b.U32(0).U32(0).U32(0);  // palettes
    for (std::uint32_t n : placedCounts) b.U32(n);
    b.U32(0).U32(0);  // layers, texts
    if (withMarker) b.U32(marker);
    return b;
  }
};

class StageTest : public ProjectRecordTest {
 protected:
  void SetUp() override {
    ProjectRecordTest::SetUp();
    LoadContext().database.musics = 4;
    SetBoxSink([this](const std::string& text, const std::string&, std::uint32_t) {
      m_Boxes.push_back(text);
      return IDOK;
    });
    g_Stage.Reset();
    g_PlayState.Reset();
  }
  void TearDown() override {
    SetBoxSink({});
    TakeMainWindowMessages(WM_CLOSE);
    g_Stage.Reset();
    g_PlayState.Reset();
    ProjectRecordTest::TearDown();
  }

  // How many caught boxes say text (UTF-8, with %s already filled in).
  int BoxesSaying(const std::string& utf8) const {
    const std::string wanted = SJ(utf8.c_str());
    int n = 0;
    for (const std::string& box : m_Boxes) n += box == wanted ? 1 : 0;
    return n;
  }

  std::vector<std::string> m_Boxes;
};

// The bytes a stage writes, after the version word.
inline std::vector<std::uint8_t> StageFile(cStageData& stage) {
  cRecordWriter out;
  out.WriteU32(g_CurrentVersion);
  stage.Write(out);
  return out.Bytes();
}

// Reads image into stage; true when the reader found it damaged.
inline bool ReadStage(cStageData& stage, const std::vector<std::uint8_t>& image) {
  cRecordReader in(image);
  stage.Read(in);
  return in.Damaged();
}

// A placed hero: a picture and the player at the keys.
inline cCharaDef Hero() {
  cCharaDef hero;
  hero.m_ChipIndex = 1;
  hero.m_Operator = 0;
  return hero;
}

}  // namespace stagetest
