#pragma once
// The report log Report_Game.txt, always on, and the debug log EC_Game.txt, off in this system.
// Every line opens the file, appends and closes it, so the file is complete whatever happens next.
// Lines are code page 932 texts and are written as UTF-8 with LF ends. One lock keeps lines from
// several threads whole.
#include <string>
#include <string_view>

#include "platform/services/format.h"

// Absolute game path of Report_Game.txt, kept by ReportLogOpen.
extern std::string g_ReportPath;
extern unsigned g_LogEnabled;
extern std::string g_LogFileName;

constexpr int kPathBufferSize = 260;
constexpr int kLineBufferSize = 1024;

// Creates or empties the report log; 1 and the path kept, or 0 when it cannot be created.
int ReportLogOpen(const std::string& path);
// Appends one formatted line; 0 (and nothing written) when the file does not open.
int ReportLog(const char* fmt, ...) PLAYER_PRINTF(1, 2);
// One line (cut to the 1024-byte line buffer) to the report log and to the debug log.
int ReportLogAndLog(const char* fmt, ...) PLAYER_PRINTF(1, 2);
// As ReportLogAndLog, then the text in an error box. No box when the report log does not open.
int ReportLogAndBox(const char* fmt, ...) PLAYER_PRINTF(1, 2);

// Appends a whole text as one report line; for callers that write several lines under one open.
int ReportLogText(std::string_view text);

void LogInit(unsigned enable, const std::string& fileName);
// The text is written as it stands: it is never taken as a format.
void Log(std::string_view text);
void LogLine(std::string_view text);
void LogF(const char* fmt, ...) PLAYER_PRINTF(1, 2);
// LogF, then WM_CLOSE to the main window, also while the debug log is off.
void LogFAndClose(const char* fmt, ...) PLAYER_PRINTF(1, 2);
