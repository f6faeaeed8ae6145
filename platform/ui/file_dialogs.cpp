#include "platform/ui/file_dialogs.h"

#include <algorithm>
#include <cstring>
#include <mutex>
#include <string_view>
#include <utility>

#include "platform/display/display.h"
#include "platform/display/palette.h"
#include "platform/host/game_files.h"
#include "platform/host/host_window.h"
#include "platform/host/text_codec.h"
#include "platform/host/trace.h"
#include "platform/services/format.h"
#include "platform/ui/file_dialog_window.h"

namespace {

std::mutex s_AnswererLock;
FileDialogAnswerer s_Answerer;

const char* KindName(FileDialogKind kind) { return kind == FileDialogKind::kOpen ? "open" : "save"; }

std::string Text(const char* text) { return text ? text : ""; }

// In 8-bit DirectDraw mode the dialog is shown with the game's palette; entry 0 is made black for
// the time it is open so its frame and text stay readable, and comes back from the fade palette,
// the colours the game is showing, however the dialog ended. (The old dialog hook the game installed
// on newer systems only chose the dialog's look; there is no such choice here.)
class cDialogPaletteGuard {
 public:
  cDialogPaletteGuard() : m_Active(!DisplayIsD3D() && g_DisplayParams.bpp == 8 && g_lpDDPalette) {
    if (!m_Active) return;
    const PALETTEENTRY black{};
    g_lpDDPalette->SetEntries(0, 1, &black);
  }
  ~cDialogPaletteGuard() {
    if (m_Active && g_lpDDPalette) g_lpDDPalette->SetEntries(0, 1, &g_FadePalette[0]);
  }
  cDialogPaletteGuard(const cDialogPaletteGuard&) = delete;
  cDialogPaletteGuard& operator=(const cDialogPaletteGuard&) = delete;

 private:
  bool m_Active;
};

// The parts of an answer: one path, or the folder and the names of a multiple choice.
std::vector<std::string> SplitAtNul(const std::string& answer) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  while (start < answer.size()) {
    std::size_t end = answer.find('\0', start);
    if (end == std::string::npos) end = answer.size();
    if (end == start) break;  // an empty part ends the list, as in the dialog's buffer
    parts.emplace_back(answer, start, end - start);
    start = end + 1;
  }
  return parts;
}

std::string JoinFolder(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  const char last = folder.back();
  if (last == '\\' || last == '/') return folder + name;
  return folder + "\\" + name;
}

// A bare name is typed into the folder the dialog shows; a path with folders stands as it is.
// SplitGamePath knows a 5C trail byte of a double-byte character from a separator.
std::string PlaceInFolder(const std::string& folder, const std::string& answer) {
  if (SplitGamePath(answer).size() > 1) return answer;
  return JoinFolder(folder, answer);
}

// What the player chose: typed as an answer (a name in the initial folder, or a path), or picked in
// the drawn dialog (a whole game path, checked and completed there).
struct sChoice {
  std::string answer;
  bool picked = false;
};

// Asks the answerer, else the player in the owner's window; nullopt is a cancel, with the reason in
// the trace.
std::optional<sChoice> Ask(const FileDialogRequest& request) {
  FileDialogAnswerer answerer;
  {
    std::lock_guard lock(s_AnswererLock);
    answerer = s_Answerer;
  }
  if (!answerer && request.owner && HostScreenIsWindow(*request.owner)) {
    std::optional<std::string> picked = RunFileDialogWindow(request);
    if (!picked) {
      Trace(FormatString("dialog %s %s: cancelled", KindName(request.kind), request.title.c_str()));
      return std::nullopt;
    }
    return sChoice{*picked, true};
  }
  if (!answerer) {
    Trace(FormatString("dialog %s %s: cancelled (no answer)", KindName(request.kind), request.title.c_str()));
    return std::nullopt;
  }
  std::optional<std::string> answer = answerer(request);
  if (!answer || answer->empty() || answer->front() == '\0') {
    Trace(FormatString("dialog %s %s: cancelled", KindName(request.kind), request.title.c_str()));
    return std::nullopt;
  }
  return sChoice{*answer, false};
}

void TraceFailure(const FileDialogRequest& request, const char* why, const std::string& path) {
  Trace(FormatString("dialog %s %s: failed (%s) %s", KindName(request.kind), request.title.c_str(), why, path.c_str()));
}

// Copies parts into buffer, each with its NUL, and the final NUL; false when they do not fit.
bool FillBuffer(std::span<char> buffer, const std::vector<std::string>& parts) {
  std::size_t need = 1;
  for (const std::string& part : parts) need += part.size() + 1;
  if (parts.size() == 1) need = parts.front().size() + 1;
  if (need > buffer.size()) return false;
  std::fill(buffer.begin(), buffer.end(), '\0');
  std::size_t at = 0;
  for (const std::string& part : parts) {
    std::memcpy(buffer.data() + at, part.data(), part.size());
    at += part.size() + 1;
  }
  return true;
}

}  // namespace

void SetFileDialogAnswerer(FileDialogAnswerer answerer) {
  std::lock_guard lock(s_AnswererLock);
  s_Answerer = std::move(answerer);
}

std::vector<FileDialogFilter> ParseFileDialogFilter(const char* filter) {
  std::vector<FileDialogFilter> filters;
  if (!filter) return filters;
  const char* at = filter;
  while (*at) {
    FileDialogFilter entry;
    entry.label = at;
    at += entry.label.size() + 1;
    if (!*at) break;
    entry.pattern = at;
    at += entry.pattern.size() + 1;
    filters.push_back(std::move(entry));
  }
  return filters;
}

std::int32_t OpenFileDialog(cScreen* owner, std::span<char> buffer, const char* initialDir, const char* title,
                            const char* filter, const char* defaultExt, std::int32_t multiSelect,
                            std::vector<std::string>* names) {
  std::fill(buffer.begin(), buffer.end(), '\0');
  FileDialogRequest request;
  request.kind = FileDialogKind::kOpen;
  request.owner = owner;
  request.initialDir = Text(initialDir);
  request.title = Text(title);
  request.filters = ParseFileDialogFilter(filter);
  request.defaultExt = Text(defaultExt);
  request.multiSelect = multiSelect != 0;
  request.mustExist = true;

  cDialogPaletteGuard palette;
  const std::optional<sChoice> answer = Ask(request);
  if (!answer) return 0;

  std::vector<std::string> parts = SplitAtNul(answer->answer);
  if (parts.size() > 1 && !request.multiSelect) parts.resize(1);
  std::vector<std::string> chosen;
  if (parts.size() == 1) {
    if (!answer->picked) parts.front() = PlaceInFolder(request.initialDir, parts.front());
    chosen.push_back(parts.front());
  } else {
    // The folder the player was in, then the names picked in it.
    parts.front() = PlaceInFolder(request.initialDir, parts.front());
    for (std::size_t i = 1; i < parts.size(); ++i) chosen.push_back(JoinFolder(parts.front(), parts[i]));
  }
  for (const std::string& path : chosen) {
    if (!GamePathInside(path)) {
      TraceFailure(request, "outside the game folder", path);
      return 0;
    }
    const std::optional<GameFileInfo> info = StatGameFile(path);
    if (!info || info->isDirectory) {
      TraceFailure(request, "no such file", path);
      return 0;
    }
  }
  if (!FillBuffer(buffer, parts)) {
    std::fill(buffer.begin(), buffer.end(), '\0');
    TraceFailure(request, "name too long", parts.front());
    return 0;
  }
  for (const std::string& path : chosen) Trace(FormatString("dialog open %s: %s", request.title.c_str(), path.c_str()));
  if (names) *names = std::move(chosen);
  return 1;
}

std::int32_t SaveFileDialog(cScreen* owner, std::span<char, kFileDialogBufferSize> buffer, const char* initialDir,
                            const char* title, const char* filter, const char* defaultExt, std::int32_t keepName) {
  if (!keepName) std::fill(buffer.begin(), buffer.end(), '\0');
  // The proposal ends at its NUL, or at the end of the buffer when a caller left none.
  const std::size_t proposedLength =
      static_cast<std::size_t>(std::find(buffer.begin(), buffer.end(), '\0') - buffer.begin());
  FileDialogRequest request;
  request.kind = FileDialogKind::kSave;
  request.owner = owner;
  request.initialDir = Text(initialDir);
  request.title = Text(title);
  request.filters = ParseFileDialogFilter(filter);
  request.defaultExt = Text(defaultExt);
  request.proposedName.assign(buffer.data(), std::min(proposedLength, buffer.size() - 1));
  // Replacing a file is always confirmed, under both renderers: a replay overwritten unasked is lost.
  request.overwritePrompt = true;

  cDialogPaletteGuard palette;
  const std::optional<sChoice> answer = Ask(request);
  if (!answer) return 0;

  std::string path = answer->picked ? answer->answer : PlaceInFolder(request.initialDir, SplitAtNul(answer->answer).front());
  if (!GamePathInside(path)) {
    TraceFailure(request, "outside the game folder", path);
    return 0;
  }
  if (!answer->picked) {
    // The whole default extension, not only its first letters.
    std::vector<std::string> components = SplitGamePath(path);
    const bool hasExtension = !components.empty() && components.back().find('.') != std::string::npos;
    const bool plainExtension = request.defaultExt.find_first_of("*?;") == std::string::npos;
    if (!hasExtension && !request.defaultExt.empty() && plainExtension) path += "." + request.defaultExt;
  }
  if (path.size() + 1 > buffer.size()) {
    TraceFailure(request, "name too long", path);
    return 0;
  }
  if (!answer->picked && GameFileExists(path) &&
      !AskYesNo(owner, path + SJ(" は既に存在します。\n上書きしますか？"), request.title)) {
    Trace(FormatString("dialog save %s: cancelled (not replaced) %s", request.title.c_str(), path.c_str()));
    return 0;
  }
  std::fill(buffer.begin(), buffer.end(), '\0');
  std::memcpy(buffer.data(), path.data(), path.size());
  Trace(FormatString("dialog save %s: %s", request.title.c_str(), path.c_str()));
  return 1;
}
