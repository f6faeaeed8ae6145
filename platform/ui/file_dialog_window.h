#pragma once
// The file dialog drawn in the game's window: the folder's sub-folders and its files that match the
// dialog's patterns, newest first, a name field and the two buttons. Keyboard and mouse work as in
// any dialog; a folder is entered by a double click, Enter or its name, and ".." climbs, but never
// above the game folder: nothing outside it can be chosen. The save dialog completes a name without
// extension with the whole default extension and asks before it replaces a file.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/file_dialogs.h"

class cScreen;

// Runs the dialog for the request; the chosen game path, or nullopt when it was cancelled.
std::optional<std::string> RunFileDialogWindow(const FileDialogRequest& request);

// The path inside the game folder in its plain form ("data\stg4\a.stg4"; "" is the game folder),
// or nullopt when it lies outside: climbing above the game folder, or absolute and elsewhere.
std::optional<std::string> GamePathInside(std::string_view path);

// True when the name matches one of the patterns ("*.stg4_*;*.rpl4_*"), letters in either case.
bool MatchesFilePattern(std::string_view name, std::string_view patterns);

// Asks a question with Yes and No: drawn in the owner's window when there is one (or answered by a
// dialog answerer), else through the message boxes. True for Yes.
bool AskYesNo(cScreen* owner, const std::string& text, const std::string& caption);
