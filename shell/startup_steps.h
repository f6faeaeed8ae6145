#pragma once
// The start-up's parts, in InitGame's order; each returns false after a fatal failure whose text
// it has already shown or logged.
#include <cstdint>
#include <string>
#include <vector>

// Steps 13 to 22: the screen mode, the window, the display, palette and colour key, the
// presentation timing, the debug picture and the fonts.
bool StartDisplay(int nCmdShow);

// Step 32: the stage named in FreeStage, started as a test play; an unknown name is logged and the
// title comes instead.
bool StartDirectStage();

// A replay named with --replay or --verify-replay (a path in the game folder), played back at once
// as if chosen with the title's replay item. False when it does not open (logged), is damaged or
// has no hero (reported by the reader): the program then ends.
bool StartDirectReplay(const std::string& path);

// Steps 28 to 30: the sound table from the system's and the database's sound files, the sound
// system and every effect loaded at the option's volume step.
bool StartSoundEffects(const std::vector<std::string>& systemFiles, const std::vector<std::string>& databaseFiles,
                       std::int32_t volumeStep);
void ReleaseSoundEffects();
