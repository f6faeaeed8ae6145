#include "platform/host/local_datagram.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

bool SendLocalDatagram(const std::string& path, const void* data, std::size_t size) {
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (path.empty() || path.size() >= sizeof(address.sun_path)) return false;
  std::memcpy(address.sun_path, path.data(), path.size());
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const ssize_t sent =
      sendto(fd, data, size, MSG_NOSIGNAL, reinterpret_cast<const sockaddr*>(&address), sizeof(address));
  close(fd);
  return sent == static_cast<ssize_t>(size);
}
