#pragma once
// The open and save file dialogs, with the flags the game always uses. Both run on the window
// thread; the game thread waits in its request meanwhile.
//
// In the game's window the dialog is drawn there (file_dialog_window.h) and the player picks the
// file. An answerer installed with SetFileDialogAnswerer takes its place: it gets the whole request
// and gives the chosen name, or nothing for a cancel; the headless shell installs one that takes the
// run's --answer values. With neither a window nor an answerer every dialog is cancelled, and the
// trace says so. Whichever way, a path outside the game folder is never chosen, and saving over a
// file is asked first.
//
// An answer is what the player would have typed or picked: a bare file name lies in the dialog's
// initial folder; a path with folders is taken as it stands (relative to the game folder). A multiple
// choice is the folder and the file names, separated by NUL characters, as the dialog leaves them in
// its buffer.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

class cScreen;

// The dialog's file name buffer: a path of at most 259 bytes and its NUL.
constexpr std::size_t kFileDialogBufferSize = 260;

enum class FileDialogKind { kOpen, kSave };

// One line of the dialog's type list: what the player reads and the patterns it stands for
// ("*.stg4_*;*.rpl4_*").
struct FileDialogFilter {
  std::string label;
  std::string pattern;
};

struct FileDialogRequest {
  FileDialogKind kind = FileDialogKind::kOpen;
  cScreen* owner = nullptr;
  std::string initialDir;
  std::string title;
  std::vector<FileDialogFilter> filters;
  std::string defaultExt;
  std::string proposedName;  // the save dialog's name field as it opens
  bool multiSelect = false;
  bool mustExist = false;        // the open dialog takes only files that exist
  bool overwritePrompt = false;  // the save dialog asks before replacing a file
};

using FileDialogAnswerer = std::function<std::optional<std::string>(const FileDialogRequest&)>;
// An empty function takes the answerer away again.
void SetFileDialogAnswerer(FileDialogAnswerer answerer);

// The filter text as the dialog is given it: label, NUL, pattern, NUL, ... and a second NUL at the
// end. A label without its pattern is dropped.
std::vector<FileDialogFilter> ParseFileDialogFilter(const char* filter);

// Fills buffer with zeros, then runs the open dialog. 1 when a file that exists was chosen: buffer
// holds its path, or for a multiple choice the folder and the names, each ended by a NUL, and a
// final NUL; a choice that does not fit buffer counts as a failed dialog. With names given it receives the chosen
// paths, each as "folder\name". 0 when cancelled or failed (names untouched).
std::int32_t OpenFileDialog(cScreen* owner, std::span<char> buffer, const char* initialDir, const char* title,
                            const char* filter, const char* defaultExt, std::int32_t multiSelect,
                            std::vector<std::string>* names);

// Runs the save dialog. Unless keepName is set the buffer is cleared first; with it, its text is the
// proposed name. A chosen name without an extension gets defaultExt. 1 with the chosen path in
// buffer, 0 when cancelled or the path does not fit.
std::int32_t SaveFileDialog(cScreen* owner, std::span<char, kFileDialogBufferSize> buffer, const char* initialDir,
                            const char* title, const char* filter, const char* defaultExt, std::int32_t keepName);
