// Writes the player's own files as the game writes them, for the seed corpora of the fuzz targets
// (fuzz/make_seeds.sh): options, boot settings, a key configuration, a save and a ranking. They are
// written into the game folder given as the only argument.
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

#include "platform/input/key_config.h"
#include "platform/services/record.h"
#include "project/option.h"
#include "project/project_paths.h"
#include "project/save_data.h"
#include "shell/boot_settings.h"
#include "shell/ranking.h"

namespace {

bool Check(bool ok, const char* what) {
  if (!ok) std::fprintf(stderr, "seed_writer: %s not written\n", what);
  return ok;
}

// The key configuration file as the editing program writes it: twelve entries of device, code and
// an unused half, then the entry count, the joystick count and the switch.
bool WriteKeyConfig(const char* path) {
  cKeyConfig config;
  SetDefaultKeyConfig(&config);
  config.m_Entries[4].m_Device = 0;  // button 1 on joystick 0
  config.m_Entries[4].m_Code = 1;
  config.m_UseConfig = 1;
  std::array<std::uint8_t, kKeyConfigFileSize> bytes{};
  auto put32 = [&bytes](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  for (std::size_t i = 0; i < config.m_Entries.size(); ++i) {
    put32(i * 8, config.m_Entries[i].m_Device);
    bytes[i * 8 + 4] = static_cast<std::uint8_t>(config.m_Entries[i].m_Code);
    bytes[i * 8 + 5] = static_cast<std::uint8_t>(config.m_Entries[i].m_Code >> 8);
  }
  put32(96, config.m_EntryCount);
  put32(100, config.m_JoyCount);
  put32(104, config.m_UseConfig);
  std::FILE* file = std::fopen(path, "wb");
  if (!file) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  return std::fclose(file) == 0 && written;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: seed_writer GAME_FOLDER\n");
    return 2;
  }
  std::filesystem::create_directories(std::filesystem::path(argv[1]) / "user_data" / "story");
  std::filesystem::current_path(argv[1]);
  InitRecordSettings();

  bool ok = true;
  cOption option;
  ok &= Check(option.Save(ProjectPathTable[kPathOption].c_str()) == 1, "Option.dat");

  cBootSettings boot;
  boot.m_Renderer = 0;
  boot.m_DontShow = 1;
  ok &= Check(boot.SaveFile(ProjectPathTable[kPathBoot].c_str()) == 1, "Boot.dat");

  ok &= Check(WriteKeyConfig("user_data/KeyConfig.dat"), "KeyConfig.dat");

  cSaveData save;
  save.m_StageName = "w01-1.";
  save.m_Score = 1200;
  save.RecordStageScore("w01-1.", 1200);
  ok &= Check(save.SaveFile(MakeStorySlotPath(0).c_str()) == 1, "a story slot");

  cRankFile ranking;
  cRankEntry& first = ranking.m_Tables.At(0).m_Entries.At(0);
  first.m_Used = 1;
  first.m_Name = "abc";
  first.m_Value = 4567;
  std::filesystem::create_directories("user_data/challenge");
  ok &= Check(SaveRankFile(ranking, 1, "c01-1.") == 1, "a ranking");
  return ok ? 0 : 1;
}
