#pragma once
// Where message boxes go. In a desktop session an SDL message box; without one (tests, headless
// runs) the headless form: caption and text to standard error and to the trace, answered at once.
// Every box of the program passes ShowBox, so the shell can route boxes to the window thread.
#include <cstdint>
#include <functional>
#include <string>

// Box types and answers, with the numbers the game's code uses.
constexpr std::uint32_t MB_OK = 0x0;
constexpr std::uint32_t MB_OKCANCEL = 0x1;
constexpr std::uint32_t MB_ABORTRETRYIGNORE = 0x2;
constexpr std::uint32_t MB_YESNOCANCEL = 0x3;
constexpr std::uint32_t MB_YESNO = 0x4;
constexpr std::uint32_t MB_RETRYCANCEL = 0x5;
constexpr std::uint32_t MB_ICONERROR = 0x10;
constexpr std::uint32_t MB_ICONQUESTION = 0x20;
constexpr std::uint32_t MB_ICONWARNING = 0x30;
constexpr std::uint32_t MB_ICONINFORMATION = 0x40;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Texts are code page 932 bytes. The result is the ID of the button chosen.
using BoxSink = std::function<int(const std::string& text, const std::string& caption, std::uint32_t type)>;

int ShowBox(const std::string& text, const std::string& caption, std::uint32_t type);

// Replaces where boxes go; an empty sink restores the default.
void SetBoxSink(BoxSink sink);

// The two forms, for the shell to choose from.
int ShowSdlBox(const std::string& text, const std::string& caption, std::uint32_t type);
int ShowHeadlessBox(const std::string& text, const std::string& caption, std::uint32_t type);
