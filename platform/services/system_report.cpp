#include "platform/services/system_report.h"

#include "platform/host/system_facts.h"
#include "platform/host/text_codec.h"
#include "platform/services/format.h"
#include "platform/services/log.h"

namespace {

class cHostFacts : public cSystemFacts {
 public:
  std::string OsName() override { return Utf8ToCp932(HostOsName()); }
  CpuInfo Cpu() override {
    HostCpu cpu = HostCpuInfo();
    return {Utf8ToCp932(cpu.brand), Utf8ToCp932(cpu.vendor), cpu.clockHz};
  }
  MemoryStatus Memory() override {
    HostMemory m = HostMemoryInfo();
    return {m.totalPhysical, m.availablePhysical, m.totalVirtual, m.availableVirtual};
  }
  std::uint64_t DiskFree() override { return HostDiskFree().value_or(0); }
};

cHostFacts s_HostFacts;
cSystemFacts* s_Facts = &s_HostFacts;

constexpr double kMebibyte = 1048576.0;

int ClockMHz(double hz) {
  double mhz = hz * 1e-6;
  return mhz >= 0 && mhz < 2147483647.0 ? static_cast<int>(mhz) : 0;
}

}  // namespace

void SetSystemFacts(cSystemFacts* facts) { s_Facts = facts ? facts : &s_HostFacts; }

void GetOSName(std::string* text, int* major, int* minor) {
  if (major) *major = 5;
  if (minor) *minor = 1;
  if (text) *text = s_Facts->OsName();
}

bool IsWindowsAtLeast(int major, int minor) {
  int reportedMajor = 0, reportedMinor = 0;
  GetOSName(nullptr, &reportedMajor, &reportedMinor);
  return reportedMajor > major || (reportedMajor == major && reportedMinor >= minor);
}

void GetMemoryStatus(MemoryStatus* status) { *status = s_Facts->Memory(); }

void GetCPUName(CpuInfo* info) { *info = s_Facts->Cpu(); }

double GetCPUClock() { return s_Facts->Cpu().clock; }

std::uint64_t GetDiskFree() { return s_Facts->DiskFree(); }

int WriteSystemReport() {
  std::string os;
  GetOSName(&os, nullptr, nullptr);
  CpuInfo cpu;
  GetCPUName(&cpu);
  MemoryStatus memory;
  GetMemoryStatus(&memory);
  double diskFree = static_cast<double>(GetDiskFree());

  std::string lines = FormatString("OS : %s\n", os.c_str());
  lines += FormatString("CPU : %s %s %d\n", cpu.vendor.c_str(), cpu.brand.c_str(), ClockMHz(cpu.clock));
  lines += FormatString("Mem Total : %.3fMB\n", static_cast<double>(memory.totalPhys) / kMebibyte);
  lines += FormatString("Mem Free : %3.fMB\n", static_cast<double>(memory.availPhys) / kMebibyte);
  lines += FormatString("Vir Total : %.3fMB\n", static_cast<double>(memory.totalVirtual) / kMebibyte);
  lines += FormatString("Vir Free : %3.fMB\n", static_cast<double>(memory.availVirtual) / kMebibyte);
  lines += FormatString("HD Free : %3.fMB", diskFree / kMebibyte);
  return ReportLogText(lines);
}
