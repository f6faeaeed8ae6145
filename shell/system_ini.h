#pragma once
// System.ini: the start-up settings a player may edit by hand (renderer, window mode, colour depth,
// vertical sync, frame-rate display and a stage to start at once). The key names and their defaults
// come from the project settings (SystemIniKeys of System.dat): position k of that list belongs to
// field k of SystemIni, so a project may rename the keys.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Declared only: the keys are read through the project settings of project/system_data.h.
class cSystemIniKey;

// The longest stage path FreeStage holds (its 260-byte buffer less the terminating NUL).
constexpr std::size_t kFreeStageMax = 259;

struct SystemIni {
  std::int32_t Direct3D = 2;    // 0 DirectDraw, 1 Direct3D, 2 or more: ask the boot settings
  std::int32_t WindowMode = 0;  // 0 full screen, else a window
  std::int32_t Bpp = 0;         // 8, 16 or 32; 0 = decided at start-up
  std::int32_t VSync = 2;       // 0 off, 1 on, 2 decided at start-up
  std::int32_t ShowFps = 1;     // 0 none; 1 and 2 choose where the frame rate is drawn
  std::string FreeStage;        // a stage file to start at once; empty = none; at most kFreeStageMax bytes
};

extern SystemIni g_SystemIni;

using SystemIniKeys = std::vector<cSystemIniKey>;

// text cut to at most max bytes, never between the two bytes of a double-byte character.
std::string CutToBytes(const std::string& text, std::size_t max);

// Entries 0-4 give the five numbers, entry 5 the stage (cut to kFreeStageMax bytes). A field whose
// entry the list lacks takes the record's own default.
void SetSystemIniDefaults(SystemIni& ini, const SystemIniKeys& keys);

// Reads the file at path (a game path) over ini. 1 when the file was read up to its "Exit" line (or
// a NUL byte), 0 when it did not open or ended before that; the fields read so far keep their new
// values either way. The file's texts are data: they are stored, compared and converted, never
// used as formats.
std::int32_t ReadSystemIni(const char* path, SystemIni& ini, const SystemIniKeys& keys);
