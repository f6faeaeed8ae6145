#pragma once
// What every fuzz target shares. The readers take game paths, relative to the game folder, which is
// the current directory: each fuzz process works in a fresh folder of its own (removed at exit), with
// the record settings of start-up, the report log, boxes answered at once without a word, and the
// load context bound to the game's globals as start-up binds it.
//
// libFuzzer changes nothing of the current directory after LLVMFuzzerInitialize, so corpus folders
// and -artifact_prefix must be given as absolute paths (fuzz/run.sh does).
#include <cstddef>
#include <cstdint>
#include <string>

// Once per process, from LLVMFuzzerInitialize.
void FuzzInitGameFolder();
// The input as the file at gamePath (backslashes as the game writes them), its folders made.
void WriteFuzzFile(const std::string& gamePath, const std::uint8_t* data, std::size_t size);
// After every input: the close requests and other messages the input caused are dropped, so one
// input never changes how the next is read, and the report log is emptied now and then so a long run
// does not fill the disk.
void EndFuzzInput();
