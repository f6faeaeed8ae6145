#pragma once
// The test-play hand-shake with the editing program: while the editor started this run, the start
// and the end of the test play are reported to it as {dwData, cbData, data}, three little-endian
// i32 in one datagram to the socket of --editor-socket. Nothing is sent without a socket, and
// nothing waits for an answer.
#include <cstdint>

// {1, 4, 1}: the window exists and the start-up begins.
void NotifyEditorStart();
// {0, 4, value}: 0 when the start-up failed, 1 when the window was destroyed.
void NotifyEditorEnd(std::int32_t value);
