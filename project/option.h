#pragma once
// The player's own options, kept between runs in user_data\Option.dat: the palette of 8-bit mode,
// music on or off, the sound-effect volume, how results enter the rankings, and the name used for
// them. One record, g_Option.
//
// File: the version word, then the body: u32 4, the four numbers, u32 1, the name. Every version
// has the same layout.
//
// A number outside its range (a file the player did not write) stays in the record as it was read
// and is written back unchanged; every use goes through the accessors, which bring it into range.
#include <array>
#include <cstdint>
#include <string>

#include "platform/services/record.h"

// The four numbers by the option scene's item kind.
constexpr int kOptionPalette = 0;
constexpr int kOptionMusic = 1;
constexpr int kOptionSoundVolume = 2;
constexpr int kOptionRankingMode = 3;
constexpr int kOptionNumberCount = 4;

// Ranking registration modes (RankingRegistrationModes).
constexpr std::int32_t kRankingManualEnterName = 0;
constexpr std::int32_t kRankingManualFixedName = 1;
constexpr std::int32_t kRankingAutoEnterName = 2;
constexpr std::int32_t kRankingAutoFixedName = 3;

// Sound-effect volume steps 0 (silent) to 10 (full); the sound effects keep the attenuation of each
// (SoundVolumeTable).
constexpr int kSoundVolumeSteps = 11;

// The labels of the four modes; exactly four, no empty end row.
extern const std::array<std::string, 4> RankingRegistrationModes;

class cOption : public cDataRecord {
 public:
  // Palette 0, music on, volume 7, mode 0, name "aaa".
  cOption();
  void RegisterFields(std::uint32_t version) override;

  // The file at path, read over a copy: 1 when read whole; 0 when it did not open or was damaged
  // (the report log says so), and the options stay as they were.
  int Load(const char* path);
  // The options to path through a temporary file: 1 when saved; 0 when not (the report log says
  // so), and the previous file stays as it was.
  int Save(const char* path);

  // The largest value of a number (the smallest is 0).
  static std::int32_t Maximum(int number);
  // A number as stored, by kOption...; a bad number takes the checked failure path.
  std::int32_t& Number(int number);
  std::int32_t Number(int number) const;
  // The same brought into 0..Maximum.
  std::int32_t ClampedNumber(int number) const;

  std::int32_t PaletteNumber() const { return ClampedNumber(kOptionPalette); }
  bool MusicOn() const { return ClampedNumber(kOptionMusic) == 1; }
  std::int32_t SoundVolumeStep() const { return ClampedNumber(kOptionSoundVolume); }
  std::int32_t RankingMode() const { return ClampedNumber(kOptionRankingMode); }
  // Modes 1 and 3 register under m_RankName; 0 and 2 ask for a name.
  bool RankingNameFixed() const;
  bool RankingAutomatic() const;
  const std::string& RankingModeLabel() const;

  std::int32_t m_PaletteNumber = 0;  // 0..23: the palette file of 8-bit mode
  std::int32_t m_Music = 0;          // 0..1
  std::int32_t m_SoundVolume = 0;    // 0..10: a volume step
  std::int32_t m_RankingMode = 0;    // 0..3: RankingRegistrationModes
  std::string m_RankName;            // the fixed name, and where the name-entry dialog starts
};

extern cOption g_Option;
