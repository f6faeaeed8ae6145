#pragma once
// The platform event trace of headless runs: one line per event (sound, music, box, dialog, file
// written, scene switch), so tests can follow what the program did. Off until a file is opened.
#include <filesystem>
#include <string_view>

bool OpenTrace(const std::filesystem::path& file);
void CloseTrace();

// Appends one line; the text is code page 932 bytes and is written as UTF-8.
void Trace(std::string_view line);
