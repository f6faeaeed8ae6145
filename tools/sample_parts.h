#pragma once
// The areas of the sample game, each written by its own file, and the names they share. Every
// writer runs with the game folder as the current directory and the load context bound to the
// sample's database and palettes (sample_game.cpp), and returns false when a file failed.
#include <array>
#include <cstdint>
#include <string>

class cDatabase;
class cCommonPalette;
class cStageData;

// Database sound records (index = sound number; 0 is "none"), the sounds the stages play.
enum SampleSound : std::int32_t {
  kSoundNone = 0,
  kSoundJump = 1,
  kSoundCoin = 2,
  kSoundStomp = 3,
  kSoundOneUp = 4,
  kSoundGoal = 5,
  kSoundBlock = 6,
  kSampleSoundCount = 7,
};

// Database music records (index = music number; 0 is "none").
enum SampleMusic : std::int32_t {
  kMusicNone = 0,
  kMusicTitle = 1,
  kMusicWorldMap = 2,
  kMusicStage = 3,
  kMusicChallenge = 4,  // the OGG tune
  kMusicCastle = 5,
  kSampleMusicCount = 6,
};

// Database effect, picture, character-effect and screen-effect records (0 is "none" in each).
enum SampleEffect : std::int32_t { kEffectSparkle = 1, kEffectBurst = 2, kSampleEffectCount = 3 };
enum SamplePicture : std::int32_t { kPictureSign = 1, kPictureBanner = 2, kPictureStop = 3, kSamplePictureCount = 4 };
enum SampleCharaEffect : std::int32_t { kCharaEffectFlash = 1, kCharaEffectSpin = 2 };
enum SampleScrEffect : std::int32_t { kScrEffectShake = 1, kScrEffectWave = 2 };

// One synthesised sound: game path, the name shown by the editing program.
struct SampleSoundFile {
  const char* path;
  const char* name;
};
// The 17 system sound slots, in slot order.
extern const std::array<SampleSoundFile, 17> kSystemSoundFiles;
// The project sounds, by SampleSound (row 0 has no file).
extern const std::array<SampleSoundFile, kSampleSoundCount> kProjectSoundFiles;
// The music files by SampleMusic (row 0 has no file).
extern const std::array<const char*, kSampleMusicCount> kMusicFiles;

// The stage files, as the world map, the challenge list and the chain name them.
inline constexpr const char* kStageMeadow = "data\\stg4\\w01-1.stg4";     // chained to w01-2
inline constexpr const char* kStageMeadowTwo = "data\\stg4\\w01-2.stg4";
inline constexpr const char* kStageHills = "data\\stg4\\w02.stg4";
inline constexpr const char* kStageCastle = "data\\stg4\\w03.stg4";
inline constexpr int kSampleChallengeStages = 3;  // data\stg4\c01-1.stg4, c02-1.stg4, c03-1.stg4
// Stages of their own for stage play, played by name or through フリープレイ.
inline constexpr const char* kStageFall = "data\\stg4\\fall.stg4";
inline constexpr const char* kStageSpikes = "data\\stg4\\spikes.stg4";
inline constexpr const char* kStageClock = "data\\stg4\\clock.stg4";
inline constexpr const char* kStageShowcase = "data\\stg4\\showcase.stg4";
inline constexpr const char* kStageWalk = "data\\stg4\\walk.stg4";
inline constexpr const char* kStageStomp = "data\\stg4\\stomp.stg4";
inline constexpr const char* kStageFiring = "data\\stg4\\firing.stg4";
inline constexpr const char* kStageSwitch = "data\\stg4\\switch.stg4";
inline constexpr const char* kStageTalk = "data\\stg4\\talk.stg4";
inline constexpr const char* kStageShow = "data\\stg4\\show.stg4";
inline constexpr const char* kStageItems = "data\\stg4\\items.stg4";

// The sword type's pictures, facing left and right.
inline constexpr const char* kSwordLeftFile = "bmp\\SwordL.bmp";
inline constexpr const char* kSwordRightFile = "bmp\\SwordR.bmp";

// The areas.
void BuildSampleDatabase(cDatabase& database);
void BuildSampleCommonPalette(cCommonPalette& palette);
// A stage of width x height cells, all of it scrolled through and objects kept anywhere in it.
void SetSampleStageSize(cStageData& stage, int width, int height);
bool WriteSampleSystem();
bool WriteSampleWorldMap();
bool WriteSampleStages();
bool WriteSamplePictures();
bool WriteSampleSheets();
bool WriteSampleWorldPictures();
bool WriteSampleBlendTable();
bool WriteSampleSounds();
bool WriteSampleMusic();
bool WriteSampleOgg(const char* gamePath);
