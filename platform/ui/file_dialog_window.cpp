#include "platform/ui/file_dialog_window.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/host/box_sink.h"
#include "platform/host/game_files.h"
#include "platform/host/host_window.h"
#include "platform/host/text_codec.h"
#include "platform/ui/dialog.h"
#include "platform/ui/dialog_loop.h"

namespace {

constexpr std::int32_t kFolderLabel = 1100;
constexpr std::int32_t kFileList = 1101;
constexpr std::int32_t kNameField = 1102;
constexpr std::int32_t kFilterLabel = 1103;
constexpr std::int32_t kStatusLabel = 1104;
constexpr std::int32_t kQuestionLabel = 1200;

constexpr DialogItemTemplate kFileItems[] = {
    {-1, DialogItemKind::Static, "場所:", 6, 6, 28, 10},
    {kFolderLabel, DialogItemKind::Static, "", 34, 6, 220, 10},
    {kFileList, DialogItemKind::List, "", 6, 18, 248, 102},
    {-1, DialogItemKind::Static, "ファイル名:", 6, 126, 44, 10},
    {kNameField, DialogItemKind::Edit, "", 52, 124, 202, 14},
    {kFilterLabel, DialogItemKind::Static, "", 6, 142, 248, 10},
    {kStatusLabel, DialogItemKind::Static, "", 6, 156, 134, 10},
    {IDOK, DialogItemKind::DefPushButton, "", 146, 154, 52, 14, true},
    {IDCANCEL, DialogItemKind::PushButton, "キャンセル", 202, 154, 52, 14},
};
constexpr DialogTemplate kFileTemplate{900, 260, 172, true, kFileItems};

constexpr DialogItemTemplate kQuestionItems[] = {
    {kQuestionLabel, DialogItemKind::Static, "", 8, 8, 184, 30},
    {IDYES, DialogItemKind::DefPushButton, "はい", 46, 44, 50, 14, true},
    {IDNO, DialogItemKind::PushButton, "いいえ", 104, 44, 50, 14},
};
constexpr DialogTemplate kQuestionTemplate{901, 200, 64, true, kQuestionItems};

std::string JoinGamePath(const std::string& folder, const std::string& name) {
  if (folder.empty()) return name;
  return folder + "\\" + name;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

// '*' any run of bytes, '?' one byte, letters in either case.
bool Wildcard(std::string_view name, std::string_view pattern) {
  std::size_t n = 0, p = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || SameIgnoringCase(pattern.substr(p, 1), name.substr(n, 1)))) {
      ++n;
      ++p;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

// A Yes/No question drawn as a small dialog of its own.
class cQuestionDialog : public cDialog {
 public:
  cQuestionDialog(cScreen* owner, const std::string& text, const std::string& caption)
      : m_Text(text), m_Caption(caption) {
    Setup(kQuestionTemplate, nullptr, 0, nullptr);
    SetIds(kQuestionTemplate.id, owner, nullptr);
    m_Name = "confirm";
  }
  void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    Window()->SetCaption(m_Caption);
    SetDlgItemString(Window(), kQuestionLabel, m_Text);
    Window()->SetFocusItem(IDYES);
  }
  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnCommand(wParam, lParam);
    const std::uint32_t id = LOWORD(wParam);
    if (id == IDYES) End(IDYES);
    if (id == IDNO || id == IDCANCEL) End(IDNO);
  }

 private:
  std::string m_Text;
  std::string m_Caption;
};

class cFileDialog : public cDialog {
 public:
  explicit cFileDialog(const FileDialogRequest& request) : m_Request(request) {
    Setup(kFileTemplate, nullptr, 0, nullptr);
    SetIds(kFileTemplate.id, request.owner, nullptr);
    m_Name = request.kind == FileDialogKind::kOpen ? "file-open" : "file-save";
    m_Folder = GamePathInside(request.initialDir).value_or("");
    if (!GameDirectoryExists(m_Folder)) m_Folder.clear();
    // A proposed name with folders opens in its folder.
    std::vector<std::string> parts = SplitGamePath(request.proposedName);
    if (!parts.empty()) {
      m_NameText = parts.back();
      parts.pop_back();
      std::string folder;
      for (const std::string& p : parts) folder = JoinGamePath(folder, p);
      if (std::optional<std::string> inside = GamePathInside(folder); inside && !parts.empty() && GameDirectoryExists(*inside))
        m_Folder = *inside;
    }
  }

  std::optional<std::string> m_Chosen;

  void OnInitDialog(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnInitDialog(wParam, lParam);
    cDialogWindow* w = Window();
    w->SetCaption(m_Request.title);
    SetDlgItemString(w, IDOK, m_Request.kind == FileDialogKind::kOpen ? SJ("開く") : SJ("保存"));
    std::string filters;
    for (const FileDialogFilter& f : m_Request.filters) filters += (filters.empty() ? "" : "  ") + f.label;
    SetDlgItemString(w, kFilterLabel, filters);
    m_NameCtrl.Init(this, ControlDesc{kNameField, &m_NameText, static_cast<std::int32_t>(kFileDialogBufferSize),
                                      static_cast<std::int32_t>(kFileDialogBufferSize) - 1, 1, 0});
    m_Controls = {&m_NameCtrl};
    ValuesToControls();
    Fill();
    w->SetFocusItem(kNameField);
    w->SetSel(kNameField, 0, -1);
  }

  void OnCommand(std::uintptr_t wParam, std::intptr_t lParam) override {
    cDialog::OnCommand(wParam, lParam);
    const std::uint32_t id = LOWORD(wParam);
    const std::uint32_t code = HIWORD(wParam);
    cDialogWindow* w = Window();
    if (!w) return;
    if (id == static_cast<std::uint32_t>(kFileList)) {
      const std::int32_t pick = w->ListCurrent(kFileList);
      if (pick < 0 || pick >= static_cast<std::int32_t>(m_Entries.size())) return;
      const sEntry& entry = m_Entries[static_cast<std::size_t>(pick)];
      if (code == LBN_SELCHANGE && !entry.folder) SetDlgItemString(w, kNameField, entry.name);
      if (code == LBN_DBLCLK) {
        if (entry.folder) {
          EnterFolder(entry.name);
        } else {
          SetDlgItemString(w, kNameField, entry.name);
          Accept();
        }
      }
      return;
    }
    if (id == IDOK && code == BN_CLICKED) return Accept();
    if (id == IDCANCEL) End(0);
  }

 private:
  struct sEntry {
    std::string name;
    bool folder = false;
    std::int64_t modified = 0;
  };

  void Status(const char* utf8) { SetDlgItemString(Window(), kStatusLabel, SJ(utf8)); }

  void Fill() {
    cDialogWindow* w = Window();
    m_Entries.clear();
    if (!m_Folder.empty()) m_Entries.push_back({"..", true, 0});
    std::vector<sEntry> folders, files;
    for (const std::string& name : ListGameDirectory(m_Folder)) {
      const std::optional<GameFileInfo> info = StatGameFile(JoinGamePath(m_Folder, name));
      if (!info) continue;
      if (info->isDirectory) {
        folders.push_back({name, true, 0});
        continue;
      }
      bool match = m_Request.filters.empty();
      for (const FileDialogFilter& f : m_Request.filters) match = match || MatchesFilePattern(name, f.pattern);
      if (match) files.push_back({name, false, info->modified});
    }
    std::stable_sort(files.begin(), files.end(),
                     [](const sEntry& a, const sEntry& b) { return a.modified > b.modified; });
    m_Entries.insert(m_Entries.end(), folders.begin(), folders.end());
    m_Entries.insert(m_Entries.end(), files.begin(), files.end());
    std::vector<std::string> shown;
    shown.reserve(m_Entries.size());
    for (const sEntry& e : m_Entries) shown.push_back(e.folder ? "[" + e.name + "]" : e.name);
    w->SetListEntries(kFileList, std::move(shown));
    SetDlgItemString(w, kFolderLabel, m_Folder.empty() ? "\\" : "\\" + m_Folder);
  }

  // True when the folder could be entered.
  bool EnterFolder(const std::string& name) {
    const std::optional<std::string> inside = GamePathInside(JoinGamePath(m_Folder, name));
    if (!inside) {
      Status("ゲームフォルダの外は選べません");
      return false;
    }
    if (!inside->empty() && !GameDirectoryExists(*inside)) return false;
    m_Folder = *inside;
    Status("");
    Fill();
    return true;
  }

  void Accept() {
    cDialogWindow* w = Window();
    std::string name;
    GetDlgItemString(w, kNameField, name, static_cast<std::int32_t>(kFileDialogBufferSize));
    if (name.empty()) return;
    const bool absolute = name.front() == '\\' || name.front() == '/';
    const std::optional<std::string> inside = GamePathInside(absolute ? name : JoinGamePath(m_Folder, name));
    if (!inside) {
      Status("ゲームフォルダの外は選べません");
      return;
    }
    if (inside->empty() || GameDirectoryExists(*inside)) {
      m_Folder = *inside;
      SetDlgItemString(w, kNameField, "");
      Status("");
      Fill();
      return;
    }
    std::string path = *inside;
    if (m_Request.kind == FileDialogKind::kOpen) {
      if (!GameFileExists(path)) {
        Status("ファイルが見つかりません");
        return;
      }
    } else {
      const std::vector<std::string> parts = SplitGamePath(path);
      const bool hasExtension = !parts.empty() && parts.back().find('.') != std::string::npos;
      const bool plain = m_Request.defaultExt.find_first_of("*?;") == std::string::npos;
      if (!hasExtension && plain && !m_Request.defaultExt.empty()) path += "." + m_Request.defaultExt;
      if (path.size() + 1 > kFileDialogBufferSize) {
        Status("ファイル名が長すぎます");
        return;
      }
      if (m_Request.overwritePrompt && GameFileExists(path) &&
          !AskYesNo(m_Request.owner, path + SJ(" は既に存在します。\n上書きしますか？"), m_Request.title))
        return;
    }
    m_Chosen = path;
    End(1);
  }

  FileDialogRequest m_Request;
  std::string m_Folder;
  std::string m_NameText;
  cEditCtrl m_NameCtrl;
  std::vector<sEntry> m_Entries;
};

}  // namespace

std::optional<std::string> GamePathInside(std::string_view path) {
  std::vector<std::string> parts = SplitGamePath(path);
  const bool absolute = !path.empty() && (path.front() == '\\' || path.front() == '/');
  if (!parts.empty() && parts.front().size() == 2 && parts.front()[1] == ':') return std::nullopt;  // a drive
  std::size_t from = 0;
  if (absolute) {
    // Only an absolute path that runs through the game folder stays inside it.
    const std::vector<std::string> root = SplitGamePath(GameFolderPath());
    if (parts.size() < root.size() || !std::equal(root.begin(), root.end(), parts.begin())) return std::nullopt;
    from = root.size();
  }
  std::vector<std::string> kept;
  for (std::size_t i = from; i < parts.size(); ++i) {
    if (parts[i] == ".") continue;
    if (parts[i] == "..") {
      if (kept.empty()) return std::nullopt;
      kept.pop_back();
      continue;
    }
    kept.push_back(parts[i]);
  }
  std::string out;
  for (const std::string& k : kept) out = JoinGamePath(out, k);
  return out;
}

bool MatchesFilePattern(std::string_view name, std::string_view patterns) {
  std::size_t start = 0;
  while (start <= patterns.size()) {
    std::size_t end = patterns.find(';', start);
    if (end == std::string_view::npos) end = patterns.size();
    const std::string_view one = patterns.substr(start, end - start);
    if (!one.empty() && Wildcard(name, one)) return true;
    start = end + 1;
  }
  return false;
}

bool AskYesNo(cScreen* owner, const std::string& text, const std::string& caption) {
  if (!owner || !HostScreenIsWindow(*owner)) return ShowBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
  cQuestionDialog question(owner, text, caption);
  return question.DoModal(0) == IDYES;
}

std::optional<std::string> RunFileDialogWindow(const FileDialogRequest& request) {
  cFileDialog dialog(request);
  if (dialog.DoModal(0) != 1 || !dialog.m_Chosen) return std::nullopt;
  return dialog.m_Chosen;
}
