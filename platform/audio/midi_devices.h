#pragma once
// The two outputs behind OpenMidiOutput; only the opening code names them.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/audio/midi_output.h"

// The null output, on the program clock. On the steady clock it starts its worker; null when that
// worker cannot be started.
std::unique_ptr<cMidiOutput> MakeNullMidiOutput(std::uint32_t callbackThread);

// The synthesiser's output. Null, with the reason in error, when there is no synthesiser (no
// SoundFont) or it takes no more streams; result then says which.
std::unique_ptr<cMidiOutput> MakeSynthMidiOutput(std::uint32_t callbackThread, std::string& error, MidiResult& result);
