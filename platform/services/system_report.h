#pragma once
// The description of the machine that every start writes to the report log.
#include <cstdint>
#include <string>

struct CpuInfo {
  std::string brand;
  std::string vendor;
  double clock = 0;  // Hz
};

struct MemoryStatus {
  std::uint64_t totalPhys = 0;
  std::uint64_t availPhys = 0;
  std::uint64_t totalVirtual = 0;
  std::uint64_t availVirtual = 0;
};

// Where the report's facts come from: the host normally, a fixed set in tests.
class cSystemFacts {
 public:
  virtual ~cSystemFacts() = default;
  virtual std::string OsName() = 0;
  virtual CpuInfo Cpu() = 0;
  virtual MemoryStatus Memory() = 0;
  virtual std::uint64_t DiskFree() = 0;  // 0 when not available
};
// Replaces the facts (the object must outlive its use); null restores the host's.
void SetSystemFacts(cSystemFacts* facts);

// Appends the seven lines OS, CPU, Mem Total/Free, Vir Total/Free, HD Free; 0 when the report log
// does not open.
int WriteSystemReport();

// The operating-system line, and a version in the numbering of the system the game was made for.
// This platform is none of those, so the version stays 5.1, as for every platform outside the table.
void GetOSName(std::string* text, int* major, int* minor);
bool IsWindowsAtLeast(int major, int minor);
void GetMemoryStatus(MemoryStatus* status);
void GetCPUName(CpuInfo* info);
double GetCPUClock();
std::uint64_t GetDiskFree();
