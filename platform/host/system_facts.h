#pragma once
// Facts about the machine for the start-up report, read from the host system.
#include <cstdint>
#include <optional>
#include <string>

// The distribution's name and the kernel: "Debian GNU/Linux 12 (bookworm) Linux 6.1.0 x86_64".
std::string HostOsName();

struct HostCpu {
  std::string vendor;  // "GenuineIntel"; empty when the system does not say
  std::string brand;   // the processor's model name; empty when the system does not say
  double clockHz = 0;  // current clock of the first processor, 0 when unknown
};
HostCpu HostCpuInfo();

struct HostMemory {
  std::uint64_t totalPhysical = 0;
  std::uint64_t availablePhysical = 0;
  std::uint64_t totalVirtual = 0;  // the process's address space
  std::uint64_t availableVirtual = 0;
};
HostMemory HostMemoryInfo();

// Bytes free for this user on the file system of the game folder.
std::optional<std::uint64_t> HostDiskFree();
