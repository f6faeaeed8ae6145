#include "shell/editor_link.h"

#include <array>

#include "platform/host/local_datagram.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "shell/run_options.h"

namespace {

void PutI32(std::uint8_t* at, std::int32_t value) {
  const auto u = static_cast<std::uint32_t>(value);
  at[0] = static_cast<std::uint8_t>(u);
  at[1] = static_cast<std::uint8_t>(u >> 8);
  at[2] = static_cast<std::uint8_t>(u >> 16);
  at[3] = static_cast<std::uint8_t>(u >> 24);
}

void SendCopyData(std::int32_t dwData, std::int32_t value) {
  constexpr std::int32_t kDataBytes = 4;
  std::array<std::uint8_t, 12> packet{};
  PutI32(&packet[0], dwData);
  PutI32(&packet[4], kDataBytes);
  PutI32(&packet[8], value);
  const std::string& socket = g_RunOptions.editorSocket;
  const bool sent = !socket.empty() && SendLocalDatagram(socket, packet.data(), packet.size());
  Trace(FormatString("editor %d %d %d%s", dwData, kDataBytes, value, sent ? "" : " (nobody)"));
}

}  // namespace

void NotifyEditorStart() { SendCopyData(1, 1); }

void NotifyEditorEnd(std::int32_t value) { SendCopyData(0, value); }
