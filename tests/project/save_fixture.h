#pragma once
// Shared by the progress-record tests: a game folder with the record settings of start-up and
// user_data\story\ and user_data\challenge\ in it, the project settings and world map the record
// consults put back after each test, and save files of any format version written out by hand from
// the file's layout tables (never with the program's own writer).
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "platform/host/text_codec.h"
#include "platform/services/log.h"
#include "platform/services/record.h"
#include "project/load_context.h"
#include "project/save_data.h"
#include "project/system_data.h"
#include "project/world_map.h"
#include "tests/project/chara_item_fixture.h"
#include "tests/support/byte_builder.h"
#include "tests/support/record_images.h"
#include "tests/support/game_folder.h"
#include "tests/support/messages.h"

namespace savetest {

constexpr int kFieldCount = 28;

// First format version that holds each numbered field (0: every version).
// clang-format off
constexpr std::array<std::uint32_t, kFieldCount> kFieldSince = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 0-13
    182, 182,                                  // 14-15 totals 4 and 5
    0, 0,                                      // 16-17
    166,                                       // 18 music loop
    194,                                       // 19 map facing
    190,                                       // 20 back to map
    191, 191,                                  // 21-22 previous map position
    0, 0,                                      // 23-24
    169,                                       // 25 auto-save
    0, 0,                                      // 26-27
};
// clang-format on

// The members of the numbered fields, as the record's table describes them.
inline const std::array<std::int32_t cSaveData::*, kFieldCount> kFieldMembers = {
    &cSaveData::m_StatusSaved, &cSaveData::m_MapX,        &cSaveData::m_MapY,         &cSaveData::m_PlayItem,
    &cSaveData::m_Round,       &cSaveData::m_StageNumber, &cSaveData::m_StageIndex,   &cSaveData::m_StartLives,
    &cSaveData::m_Lives,       &cSaveData::m_Score,       &cSaveData::m_SumScore,     &cSaveData::m_TotalScore,
    &cSaveData::m_SumTimeLeft, &cSaveData::m_SumPlayTime, &cSaveData::m_SumHP,        &cSaveData::m_SumSP,
    &cSaveData::m_SubStage,    &cSaveData::m_Music,       &cSaveData::m_MusicLoop,    &cSaveData::m_MapDir,
    &cSaveData::m_BackToMap,   &cSaveData::m_PrevMapX,    &cSaveData::m_PrevMapY,     &cSaveData::m_ChallengeOpen,
    &cSaveData::m_Slot,        &cSaveData::m_AutoSave,    &cSaveData::m_RankingShown, &cSaveData::m_RankingTable,
};

// A hero status as a file of version v holds it: u32 5, five values, u32 0, the character.
struct HeroImage {
  std::int32_t hp = 0, sp = 0, timeLimit = 0, lives = 0, music = 0;
  charatest::CharaValues def;
};

inline cByteBuilder HeroBytes(std::uint32_t version, const HeroImage& h) {
  cByteBuilder b;
  b.U32(5).I32(h.hp).I32(h.sp).I32(h.timeLimit).I32(h.lives).I32(h.music).U32(0);
  b.Append(charatest::CharaRecord(version, h.def));
  return b;
}

// Everything a save file holds, in file order.
struct SaveImage {
  std::uint32_t version = 556;
  std::array<std::int32_t, kFieldCount> fields{};
  std::string stageName;
  std::string rankName = "aaa";
  std::array<std::uint16_t, 8> time{};
  std::vector<std::uint32_t> savedFlags = std::vector<std::uint32_t>(25, 0);  // only from 501
  std::vector<HeroImage> heroes = std::vector<HeroImage>(1);
  std::vector<std::pair<std::string, std::int32_t>> stageResults;
  std::vector<std::pair<std::int32_t, std::int32_t>> challengeResults;
  std::vector<std::uint32_t> clearFlags;
  std::vector<std::uint32_t> variables;
};

inline cByteBuilder SaveBytes(const SaveImage& s) {
  cByteBuilder b;
  b.U32(s.version);
  std::uint32_t present = 0;
  for (std::uint32_t since : kFieldSince) present += s.version >= since;
  b.U32(present);
  for (int i = 0; i < kFieldCount; ++i)
    if (s.version >= kFieldSince[static_cast<std::size_t>(i)]) b.I32(s.fields[static_cast<std::size_t>(i)]);
  b.U32(2).Str(s.stageName).Str(s.rankName);
  for (std::uint16_t part : s.time) b.U16(part);
  const auto word = [](cByteBuilder& out, std::uint32_t w) { out.U32(w); };
  if (s.version >= 501) b.Vector(s.savedFlags, word);
  b.Vector(s.heroes, [&s](cByteBuilder& out, const HeroImage& h) { out.Append(HeroBytes(s.version, h)); });
  b.Vector(s.stageResults, [](cByteBuilder& out, const std::pair<std::string, std::int32_t>& r) {
    out.U32(1).I32(r.second).U32(1).Str(r.first);
  });
  b.Vector(s.challengeResults, [](cByteBuilder& out, const std::pair<std::int32_t, std::int32_t>& r) {
    out.U32(2).I32(r.first).I32(r.second).U32(0);
  });
  b.Vector(s.clearFlags, word);
  b.Vector(s.variables, word);
  return b;
}

// A save whose every part holds something and which the normaliser leaves as it is (with the
// project of SaveTest): the position inside the 20 x 15 map, two challenge results.
inline SaveImage FullSave() {
  SaveImage s;
  for (int i = 0; i < kFieldCount; ++i) s.fields[static_cast<std::size_t>(i)] = 100 + i;
  s.fields[1] = 4;   // map x
  s.fields[2] = 6;   // map y
  s.fields[23] = 2;  // challenge stages open
  s.stageName = "data\\stg4\\c3.";
  s.rankName = "bob";
  s.time = {2024, 5, 1, 6, 7, 8, 9, 10};
  for (std::size_t k = 0; k < s.savedFlags.size(); ++k) s.savedFlags[k] = k % 3 == 0;
  s.heroes[0] = {.hp = 7, .sp = 3, .timeLimit = 120, .lives = 4, .music = 2, .def = {}};
  s.heroes[0].def.maxHp = 40;
  s.heroes[0].def.z = 5;
  s.heroes[0].def.name = "hero";
  s.heroes.push_back({.hp = 1, .sp = 2, .timeLimit = 3, .lives = 5, .music = 6, .def = {}});
  s.stageResults = {{"data\\stg4\\c1.", 300}, {"data\\stg4\\c2.", 0}};
  s.challengeResults = {{1, 900}, {0, 0}};
  s.clearFlags.assign(kClearFlagCount, 0);
  s.clearFlags[0] = s.clearFlags[7] = 1;
  s.variables.assign(kCommonVarCount, 0);
  s.variables[1] = 0xFFFFFFFF;
  s.variables[255] = 42;
  return s;
}

class SaveTest : public GameFolderTest {
 protected:
  void SetUp() override {
    GameFolderTest::SetUp();
    InitRecordSettings();
    ASSERT_EQ(ReportLogOpen("Report_Game.txt"), 1);
    TakeMainWindowMessages(WM_CLOSE);
    std::filesystem::create_directories(m_Folder / "user_data" / "story");
    std::filesystem::create_directories(m_Folder / "user_data" / "challenge");
    m_System = g_System;
    m_Map = g_WorldMap;
    m_Slots = g_SaveSlots;
    m_Context = LoadContext();
    g_System.SetDefaults();
    g_System.m_ChallengeStageCount = 2;
    g_WorldMap.SetDefaults();  // 20 x 15, start (9, 7)
  }
  void TearDown() override {
    g_System = m_System;
    g_WorldMap = m_Map;
    g_SaveSlots = m_Slots;
    LoadContext() = m_Context;
    SetSaveTimeSource(nullptr);
    TakeMainWindowMessages(WM_CLOSE);
    InitRecordSettings();
    GameFolderTest::TearDown();
  }

  std::string ReportText() { return ReadHostFile("Report_Game.txt"); }

 private:
  cSystemData m_System;
  cWorldMap m_Map;
  CheckedVector<cSaveSlotInfo> m_Slots;
  cLoadContext m_Context;
};

}  // namespace savetest
