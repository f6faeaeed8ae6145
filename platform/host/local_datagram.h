#pragma once
// One datagram to a local (Unix domain) socket, fire and forget: the sender does not care whether
// anyone listens, as a window message sent to a window that is not there goes nowhere.
#include <cstddef>
#include <string>

// True when the datagram was handed to the socket at path.
bool SendLocalDatagram(const std::string& path, const void* data, std::size_t size);
