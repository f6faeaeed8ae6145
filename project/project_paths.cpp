#include "project/project_paths.h"

// std::to_array takes its length from the rows, so a row too few or too many does not build.
const std::array<std::string, kProjectPathCount> ProjectPathTable = std::to_array<std::string>({
    "data\\",                                 // 0 the project folder
    "default\\",                              // 1 its pristine copy, shipped with the game
    "data\\stg4\\old_ver\\",                  // 2
    "data\\work\\",                           // 3
    "e_data\\EditConfig.dat",                 // 4
    "data\\PrjOption.dat",                    // 5
    "default\\PrjOption.dat",                 // 6
    "data\\CommonPalette.cplt4",              // 7 the common palette
    "default\\CommonPalette.cplt4",           // 8
    "data\\GValInfo.dat",                     // 9
    "default\\GValInfo.dat",                  // 10
    "data\\stg4\\Default.stg4_***",           // 11
    "default\\stg4\\Default.stg4_***",        // 12
    "data\\WorldMap.dat",                     // 13 the world map
    "default\\WorldMap.dat",                  // 14
    "data\\database\\AnimeSet.dat",           // 15 database tables, in the order they are read
    "default\\database\\AnimeSet.dat",        // 16
    "data\\database\\Anime.dat",              // 17
    "default\\database\\Anime.dat",           // 18
    "data\\database\\Bmp_CharaExc.dat",       // 19
    "default\\database\\Bmp_CharaExc.dat",    // 20
    "data\\database\\SwordType.dat",          // 21
    "default\\database\\SwordType.dat",       // 22
    "data\\database\\Effect.dat",             // 23
    "default\\database\\Effect.dat",          // 24
    "data\\database\\CharaEffect.dat",        // 25
    "default\\database\\CharaEffect.dat",     // 26
    "data\\database\\ScrEffect.dat",          // 27
    "default\\database\\ScrEffect.dat",       // 28
    "data\\database\\Picture.dat",            // 29
    "default\\database\\Picture.dat",         // 30
    "data\\database\\Sound.dat",              // 31
    "default\\database\\Sound.dat",           // 32
    "data\\database\\Bgm.dat",                // 33
    "default\\database\\Bgm.dat",             // 34
    "data\\System.dat",                       // 35 the project settings
    "default\\System.dat",                    // 36
    "data\\stg4\\c",                          // 37 challenge stages: "%s%02d-1.%s"
    "user_data\\story\\",                     // 38 ranking folders by play mode: story,
    "user_data\\challenge\\",                 // 39 challenge,
    "user_data\\free\\",                      // 40 free play
    "user_data\\story\\Story",                // 41 story slots: "%s%s.dat", slot + 1 in two digits
    "user_data\\challenge\\Challenge.dat",    // 42 challenge progress
    "user_data\\Option.dat",                  // 43 options
    "user_data\\",                            // 44
    "user_data\\KeyConfig.dat",               // 45 key configuration
    "user_data\\Boot.dat",                    // 46 boot settings, written by the launcher
});

const std::array<std::string, kFileExtensionCount> FileExtensionTable = std::to_array<std::string>({"cplt4", "stg4", "plt4", "rkg"});

const LabelList ColourLabels = {"なし", "白", "黒", "赤", "緑", "青", "黄", "赤紫", "青紫", "4色"};
