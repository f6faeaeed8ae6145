#include "platform/host/box_sink.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "platform/host/text_codec.h"
#include "platform/host/trace.h"

namespace {

std::mutex s_Lock;
BoxSink s_Sink;

struct BoxButton {
  int id;
  const char* label;
};

// The buttons of each box type, the first being the default answer.
std::vector<BoxButton> ButtonsOf(std::uint32_t type) {
  switch (type & 0xF) {
    case MB_OKCANCEL: return {{IDOK, "OK"}, {IDCANCEL, "Cancel"}};
    case MB_ABORTRETRYIGNORE: return {{IDABORT, "Abort"}, {IDRETRY, "Retry"}, {IDIGNORE, "Ignore"}};
    case MB_YESNOCANCEL: return {{IDYES, "Yes"}, {IDNO, "No"}, {IDCANCEL, "Cancel"}};
    case MB_YESNO: return {{IDYES, "Yes"}, {IDNO, "No"}};
    case MB_RETRYCANCEL: return {{IDRETRY, "Retry"}, {IDCANCEL, "Cancel"}};
    default: return {{IDOK, "OK"}};
  }
}

// The answer when a box is closed without a choice: Cancel where there is one.
int DismissAnswer(std::uint32_t type) {
  for (const BoxButton& b : ButtonsOf(type))
    if (b.id == IDCANCEL) return IDCANCEL;
  return ButtonsOf(type).back().id;
}

bool HasDesktop() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

}  // namespace

int ShowHeadlessBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  int answer = ButtonsOf(type).front().id;
  std::string utf8 = Cp932ToUtf8(caption) + ": " + Cp932ToUtf8(text);
  std::fprintf(stderr, "%s\n", utf8.c_str());
  Trace("box " + caption + ": " + text + " -> " + std::to_string(answer));
  return answer;
}

int ShowSdlBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  std::vector<BoxButton> buttons = ButtonsOf(type);
  std::vector<SDL_MessageBoxButtonData> data;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    Uint32 flags = i == 0 ? SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT : 0;
    if (buttons[i].id == DismissAnswer(type)) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back({flags, buttons[i].id, buttons[i].label});
  }
  std::string utf8Text = Cp932ToUtf8(text);
  std::string utf8Caption = Cp932ToUtf8(caption);
  Uint32 icon = SDL_MESSAGEBOX_INFORMATION;
  if ((type & 0xF0) == MB_ICONERROR) icon = SDL_MESSAGEBOX_ERROR;
  if ((type & 0xF0) == MB_ICONWARNING) icon = SDL_MESSAGEBOX_WARNING;
  SDL_MessageBoxData box{icon,    nullptr, utf8Caption.c_str(), utf8Text.c_str(), static_cast<int>(data.size()),
                         data.data(), nullptr};
  int answer = 0;
  if (SDL_ShowMessageBox(&box, &answer) != 0) return ShowHeadlessBox(text, caption, type);
  Trace("box " + caption + ": " + text + " -> " + std::to_string(answer));
  return answer < 0 ? DismissAnswer(type) : answer;
}

int ShowBox(const std::string& text, const std::string& caption, std::uint32_t type) {
  BoxSink sink;
  {
    std::lock_guard lock(s_Lock);
    sink = s_Sink;
  }
  if (sink) return sink(text, caption, type);
  return HasDesktop() ? ShowSdlBox(text, caption, type) : ShowHeadlessBox(text, caption, type);
}

void SetBoxSink(BoxSink sink) {
  std::lock_guard lock(s_Lock);
  s_Sink = std::move(sink);
}
