#include "platform/host/trace.h"

#include <cstdio>
#include <mutex>

#include "platform/host/text_codec.h"

namespace {

std::mutex s_Lock;
std::FILE* s_File = nullptr;

}  // namespace

bool OpenTrace(const std::filesystem::path& file) {
  std::lock_guard lock(s_Lock);
  if (s_File) std::fclose(s_File);
  s_File = std::fopen(file.c_str(), "w");
  return s_File != nullptr;
}

void CloseTrace() {
  std::lock_guard lock(s_Lock);
  if (s_File) std::fclose(s_File);
  s_File = nullptr;
}

void Trace(std::string_view line) {
  std::lock_guard lock(s_Lock);
  if (!s_File) return;
  std::string text = Cp932ToUtf8(line);
  text += '\n';
  std::fwrite(text.data(), 1, text.size(), s_File);
  std::fflush(s_File);
}
