// The project settings data\System.dat, read into g_System as start-up reads it, and the start-up
// settings System.ini then read with the key names it gave.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "platform/services/record.h"
#include "project/project_paths.h"
#include "project/system_data.h"
#include "shell/system_ini.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  static const char kIni[] = "Direct3D=0\r\nWindowMode=1\r\nBpp=16\r\nVSync=1\r\nShowFps=2\r\nExit\r\n";
  WriteFuzzFile("System.ini", reinterpret_cast<const std::uint8_t*>(kIni), sizeof kIni - 1);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* path = ProjectPathTable[kPathSystem].c_str();
  WriteFuzzFile(path, data, size);
  g_System = cSystemData();
  if (g_System.LoadFile(path) != 0 && !LastRecordReadDamaged()) {
    SystemIni ini;
    SetSystemIniDefaults(ini, g_System.m_SystemIniKeys);
    ReadSystemIni("System.ini", ini, g_System.m_SystemIniKeys);
  }
  EndFuzzInput();
  return 0;
}
