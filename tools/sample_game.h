#pragma once
// The sample game: a small, complete game project written entirely by this program's own record
// writers, with pictures drawn and sounds and music synthesised here. `make play` runs it and the
// end-to-end tests play it.
#include <filesystem>

// Writes the whole game into folder (created when missing): the project under data\ and the same
// project again under default\ (the pristine copy of the first-run road), the pictures under bmp\,
// sounds under wave\, music under bgm\, and System.ini. Files already there are replaced. The
// current directory is the game folder while it runs and is put back afterwards; the record
// settings (format version 556) are set if they were not. Nothing else of the process changes, so
// two runs write identical folders. False, after a line on standard error, when any file failed.
bool WriteSampleGame(const std::filesystem::path& folder);
