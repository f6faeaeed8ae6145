#include "shell/replay_check.h"

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>

namespace {

namespace fs = std::filesystem;

bool Fail(std::string* error, std::string text) {
  *error = std::move(text);
  return false;
}

// One hexadecimal word of up to 16 digits, with the spaces before it skipped.
bool TakeHex(std::string_view& rest, std::uint64_t* out) {
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  const char* end = rest.data() + rest.size();
  auto [ptr, ec] = std::from_chars(rest.data(), end, *out, 16);
  if (ec != std::errc() || ptr == rest.data() || (ptr != end && *ptr != ' ')) return false;
  rest.remove_prefix(static_cast<std::size_t>(ptr - rest.data()));
  return true;
}

}  // namespace

std::string FormatDigestLine(std::uint32_t frame, const StateDigest& digest) {
  std::string line = std::to_string(frame);
  char word[20];
  std::snprintf(word, sizeof word, " %016llx", static_cast<unsigned long long>(digest.m_Total));
  line += word;
  for (std::uint64_t area : digest.m_Areas) {
    std::snprintf(word, sizeof word, " %016llx", static_cast<unsigned long long>(area));
    line += word;
  }
  return line;
}

bool ParseDigestLine(std::string_view line, std::uint32_t* frame, StateDigest* digest) {
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  const char* end = line.data() + line.size();
  auto [ptr, ec] = std::from_chars(line.data(), end, *frame, 10);
  if (ec != std::errc() || ptr == line.data() || ptr == end || *ptr != ' ') return false;
  std::string_view rest = line.substr(static_cast<std::size_t>(ptr - line.data()));
  StateDigest d;
  if (!TakeHex(rest, &d.m_Total)) return false;
  for (std::uint64_t& area : d.m_Areas)
    if (!TakeHex(rest, &area)) return false;
  while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
  if (!rest.empty() || DigestTotal(d.m_Areas) != d.m_Total) return false;
  *digest = d;
  return true;
}

bool ReadDigestList(const std::string& path, std::vector<StateDigest>* frames, std::string* error) {
  std::error_code ec;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) return Fail(error, "cannot read the digest list " + path);
  if (size > kMaxDigestListBytes) return Fail(error, "the digest list " + path + " is too large");
  std::ifstream in(path, std::ios::binary);
  if (!in) return Fail(error, "cannot read the digest list " + path);
  std::vector<StateDigest> list;
  std::string line;
  for (std::uint32_t lineNumber = 1; std::getline(in, line); ++lineNumber) {
    if (line.empty() || line.front() == '#' || line == "\r") continue;
    std::uint32_t frame = 0;
    StateDigest digest;
    if (!ParseDigestLine(line, &frame, &digest) || frame != list.size() + 1)
      return Fail(error, "the digest list " + path + " is damaged at line " + std::to_string(lineNumber));
    list.push_back(digest);
  }
  if (in.bad()) return Fail(error, "cannot read the digest list " + path);
  *frames = std::move(list);
  return true;
}

bool WriteDigestList(const std::string& path, const std::vector<StateDigest>& frames, std::string* error) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out) return Fail(error, "cannot write the digest list " + path);
    out << "# frame total";
    for (const char* name : kDigestAreaNames) out << ' ' << name;
    out << '\n';
    for (std::size_t i = 0; i < frames.size(); ++i)
      out << FormatDigestLine(static_cast<std::uint32_t>(i + 1), frames[i]) << '\n';
    out.flush();
    if (!out) {
      out.close();
      fs::remove(temporary);
      return Fail(error, "cannot write the digest list " + path);
    }
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) {
    fs::remove(temporary, ec);
    return Fail(error, "cannot write the digest list " + path);
  }
  return true;
}

std::string DifferingAreas(const StateDigest& expected, const StateDigest& actual) {
  std::string names;
  for (int a = 0; a < kDigestAreaCount; ++a) {
    const auto i = static_cast<std::size_t>(a);
    if (expected.m_Areas[i] == actual.m_Areas[i]) continue;
    if (!names.empty()) names += ", ";
    names += kDigestAreaNames[i];
  }
  return names;
}

void cReplayCheck::StartVerify(std::vector<StateDigest> expected) {
  *this = cReplayCheck{};
  m_Mode = Mode::kVerify;
  m_Digests = std::move(expected);
}

void cReplayCheck::StartRecord(std::string listPath, bool stopAtRoundEnd) {
  *this = cReplayCheck{};
  m_Mode = Mode::kRecord;
  m_ListPath = std::move(listPath);
  m_StopAtRoundEnd = stopAtRoundEnd;
}

bool cReplayCheck::Differ(std::string text) {
  m_Difference = std::move(text);
  m_Done = true;
  return true;
}

bool cReplayCheck::OnFrame(std::uint32_t n, const StateDigest& digest, bool roundOver) {
  // Frames count from 1.
  if (m_Mode == Mode::kOff || m_Done || n == 0) return false;
  m_Frames = n;
  if (m_Mode == Mode::kRecord) {
    m_Digests.push_back(digest);
    m_RoundOver = roundOver;
    if (m_StopAtRoundEnd && roundOver) m_Done = true;
    return m_Done;
  }
  const std::size_t expected = m_Digests.size();
  if (n > expected)
    return Differ("replay differs at frame " + std::to_string(n) + ": the list ends at frame " +
                  std::to_string(expected));
  const StateDigest& want = m_Digests[n - 1];
  if (want.m_Total != digest.m_Total)
    return Differ("replay differs at frame " + std::to_string(n) + ": " + DifferingAreas(want, digest));
  if (roundOver) {
    m_RoundOver = true;
    if (n < expected)
      return Differ("replay differs at frame " + std::to_string(n) + ": the replay ended, the list goes on to frame " +
                    std::to_string(expected));
    m_Done = true;
    return true;
  }
  return false;
}

int cReplayCheck::Finish(std::string* message) {
  if (m_Mode == Mode::kRecord) {
    std::string error;
    if (!WriteDigestList(m_ListPath, m_Digests, &error)) {
      *message = error;
      return 1;
    }
    *message = "digests recorded, " + std::to_string(m_Digests.size()) + " frames";
    return 0;
  }
  if (m_Mode != Mode::kVerify) return 0;
  if (m_Difference.empty() && !m_RoundOver)
    m_Difference = "replay differs at frame " + std::to_string(m_Frames + 1) + ": the run ended before the replay did";
  if (!m_Difference.empty()) {
    *message = m_Difference;
    return 1;
  }
  *message = "replay matches, " + std::to_string(m_Frames) + " frames";
  return 0;
}
