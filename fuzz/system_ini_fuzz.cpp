// System.ini, the start-up settings a player edits by hand, read with the default key names.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_support.h"
#include "project/system_data.h"
#include "shell/system_ini.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  FuzzInitGameFolder();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  WriteFuzzFile("System.ini", data, size);
  SystemIni ini;
  SetSystemIniDefaults(ini, g_System.m_SystemIniKeys);
  if (!ReadSystemIni("System.ini", ini, g_System.m_SystemIniKeys))
    SetSystemIniDefaults(ini, g_System.m_SystemIniKeys);
  EndFuzzInput();
  return 0;
}
