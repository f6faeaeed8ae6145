#include "platform/host/system_facts.h"

#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/utsname.h>

#include <fstream>
#include <sstream>

namespace {

// The value of "key: value" or key=value lines of a /proc or /etc text file.
std::string ValueOf(const char* file, const std::string& key, char separator) {
  std::ifstream in(file);
  std::string line;
  while (std::getline(in, line)) {
    if (line.compare(0, key.size(), key) != 0) continue;
    std::size_t at = line.find(separator, key.size());
    if (at == std::string::npos || line.find_first_not_of(" \t", key.size()) != at) continue;
    std::string value = line.substr(at + 1);
    value.erase(0, value.find_first_not_of(" \t\""));
    while (!value.empty() && (value.back() == '"' || value.back() == ' ')) value.pop_back();
    return value;
  }
  return {};
}

std::uint64_t KibibytesOf(const char* file, const char* key) {
  std::istringstream in(ValueOf(file, key, ':'));
  std::uint64_t kib = 0;
  in >> kib;
  return kib * 1024;
}

}  // namespace

std::string HostOsName() {
  std::string name = ValueOf("/etc/os-release", "PRETTY_NAME", '=');
  utsname uts{};
  if (uname(&uts) == 0) {
    if (!name.empty()) name += ' ';
    name += std::string(uts.sysname) + ' ' + uts.release + ' ' + uts.machine;
  }
  return name;
}

HostCpu HostCpuInfo() {
  HostCpu cpu;
  cpu.vendor = ValueOf("/proc/cpuinfo", "vendor_id", ':');
  cpu.brand = ValueOf("/proc/cpuinfo", "model name", ':');
  std::istringstream mhz(ValueOf("/proc/cpuinfo", "cpu MHz", ':'));
  double value = 0;
  if (mhz >> value) cpu.clockHz = value * 1e6;
  return cpu;
}

HostMemory HostMemoryInfo() {
  HostMemory memory;
  memory.totalPhysical = KibibytesOf("/proc/meminfo", "MemTotal");
  memory.availablePhysical = KibibytesOf("/proc/meminfo", "MemAvailable");
  // The address space a process may use: its limit when one is set, else the 47-bit user space of
  // a 64-bit Linux process.
  memory.totalVirtual = std::uint64_t{1} << 47;
  rlimit limit{};
  if (getrlimit(RLIMIT_AS, &limit) == 0 && limit.rlim_cur != RLIM_INFINITY && limit.rlim_cur < memory.totalVirtual)
    memory.totalVirtual = limit.rlim_cur;
  std::uint64_t used = KibibytesOf("/proc/self/status", "VmSize");
  memory.availableVirtual = used < memory.totalVirtual ? memory.totalVirtual - used : 0;
  return memory;
}

std::optional<std::uint64_t> HostDiskFree() {
  struct statvfs fs {};
  if (statvfs(".", &fs) != 0) return std::nullopt;
  return static_cast<std::uint64_t>(fs.f_bavail) * fs.f_frsize;
}
