#pragma once
// The run's frame bookkeeping and the headless mode that tests and benchmarks drive the program
// with: exact frame counts, scripted input, screenshots, the trace and answers for dialogs and boxes.
#include <cstdint>
#include <string>

#include "shell/run_options.h"

// The scene manager calls this once after every presented frame (on the thread that presented). It
// counts the frame, writes the screenshots asked for this frame, closes the program in order after
// --frames frames, makes the program inactive for a while when --inactive asks, and sets the
// scripted input for the next frame.
void OnFramePresented();
// Frames presented so far in this run.
std::uint32_t PresentedFrameCount();
// True once --frames frames were presented: the game loop runs no further frame.
bool FrameBudgetSpent();

// The window thread, before the start-up: takes the run's options. In headless mode that is the
// virtual clock, no sound device, the input script (false with the reason when it does not load),
// the boxes and file dialogs answered from --answer.
bool StartHeadless(const RunOptions& options, std::string* error);
// The end of the run with exit code code: the verdict of --verify-replay on stdout ("replay
// matches, N frames" or the first frame that differs and the areas that differ) or the list of
// --record-digests written. The program's exit code: code when not 0, else 1 on a difference or a
// list not written.
int FinishReplayCheck(int code);
// The window thread, once per pass of its loop: the sound outputs of the null device, and the end
// of an --inactive pause.
void HeadlessWindowTick();
// Forgets the run (tests).
void ResetHeadless();

// The answer key of a file dialog: "open-stage", "open-replay" or "save-replay".
struct FileDialogRequest;
std::string FileDialogAnswerKey(const FileDialogRequest& request);
