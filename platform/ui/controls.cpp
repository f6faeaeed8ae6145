// The control objects of the dialogs, and the edit's limit enforcer.
#include <algorithm>
#include <string_view>

#include "platform/host/input_devices.h"
#include "platform/services/text.h"
#include "platform/ui/dialog.h"

namespace {

// The longest text an item is read into at once.
constexpr std::int32_t kMaxItemRead = 5120;

// A line's length as the limits count it: characters (a double-byte character once) or bytes.
std::int32_t Count(std::string_view text, std::int32_t countChars) {
  if (!countChars) return static_cast<std::int32_t>(text.size());
  std::int32_t n = 0;
  const std::string s(text);
  for (std::int32_t at = 0; at < static_cast<std::int32_t>(s.size()); at += CharLengthAt(s, at)) ++n;
  return n;
}

// Lines are separated by "\r\n"; an empty text has none.
std::int32_t Lines(const std::string& text) {
  if (text.empty()) return 0;
  return static_cast<std::int32_t>(std::count(text.begin(), text.end(), '\n')) + 1;
}

// How many bytes of line stay when whole characters are dropped from its end until it counts no
// more than most, dropping at most maxDrops bytes. A character is never cut in half: the caller
// stores what is left, and half a character would be a broken name.
std::size_t KeepWithin(const std::string& line, std::int32_t most, std::int32_t countChars, std::int32_t maxDrops) {
  std::int32_t keep = static_cast<std::int32_t>(line.size());
  while (keep > 0 && Count(std::string_view(line).substr(0, static_cast<std::size_t>(keep)), countChars) > most) {
    const std::int32_t previous = PreviousCharStart(line, keep);
    if (static_cast<std::int32_t>(line.size()) - previous > maxDrops) break;
    keep = previous;
  }
  return static_cast<std::size_t>(keep);
}

}  // namespace

void GetDlgItemString(cDialogWindow* dialog, std::int32_t id, std::string& out, std::int32_t maxCount) {
  maxCount = std::clamp(maxCount, 0, kMaxItemRead);
  if (!dialog || maxCount <= 0) {
    out.clear();
    return;
  }
  const std::string text = dialog->ItemText(id);
  const std::int32_t room = std::min(static_cast<std::int32_t>(text.size()), maxCount - 1);
  out = text.substr(0, static_cast<std::size_t>(CharStartAtOrBefore(text, room)));
}

void SetDlgItemString(cDialogWindow* dialog, std::int32_t id, const std::string& text) {
  if (dialog) dialog->SetItemText(id, text);
}

void cControl::Enable(int enable) {
  if (m_hWnd) m_hWnd->EnableItem(m_Id, enable != 0);
}

void cControl::Attach(cDialog* dialog, std::uint16_t id) {
  m_Dialog = dialog;
  m_hWnd = dialog ? dialog->Window() : nullptr;
  m_Id = id;
  m_Tooltip.clear();
  UpdatePosition();
}

void cControl::UpdatePosition() {
  const sDialogItem* item = m_hWnd ? m_hWnd->Item(m_Id) : nullptr;
  if (!item) return;
  const ScreenRect client = m_hWnd->ClientRect();
  m_ScreenPos = {client.x + item->rect.x, client.y + item->rect.y};
  m_ClientPos = {item->rect.x, item->rect.y};
}

void cCheckCtrl::ValueToControl() {
  if (m_hWnd && m_Value) m_hWnd->SetCheck(m_Id, *m_Value);
}

void cCheckCtrl::ControlToValue() {
  if (m_hWnd && m_Value) *m_Value = m_hWnd->Check(m_Id);
}

void cRadioCtrl::ValueToControl() {
  if (m_hWnd && m_Value) m_hWnd->SetCheck(m_Id, *m_Value == m_Selected ? 1 : 0);
}

void cRadioCtrl::ControlToValue() {
  if (m_hWnd && m_Value && m_hWnd->Check(m_Id)) *m_Value = m_Selected;
}

void ControlDesc::Set(std::uint32_t itemId, std::string* var, std::int32_t size, std::int32_t countCharacters) {
  id = static_cast<std::uint16_t>(itemId & 0xFFFF);
  variable = var;
  bufferSize = size + 1;
  maxChars = countCharacters ? size : 0;
  maxLines = 1;
  countChars = countCharacters;
}

std::int32_t cEditCtrl::ReadLimit() const { return m_CountChars ? 2 * m_BufferSize - 1 : m_BufferSize; }

void cEditCtrl::Init(cDialog* dialog, const ControlDesc& desc) {
  Attach(dialog, desc.id);
  m_Value = desc.variable;
  m_BufferSize = desc.bufferSize ? desc.bufferSize : 0x1000;
  m_MaxChars = desc.maxChars ? desc.maxChars : 0x400;
  m_MaxLines = desc.maxLines ? desc.maxLines : 0x20;
  m_CountChars = desc.countChars;
  const std::string value = m_Value ? *m_Value : std::string();
  SetDlgItemString(m_hWnd, m_Id, value);
  m_Previous = value;
  m_Setting = 1;
  OnCommand();
  m_Setting = 0;
}

void cEditCtrl::ValueToControl() {
  if (m_Value) SetDlgItemString(m_hWnd, m_Id, *m_Value);
}

void cEditCtrl::ControlToValue() {
  if (m_Value) GetDlgItemString(m_hWnd, m_Id, *m_Value, ReadLimit());
}

void cEditCtrl::OnCommand() {
  if (m_Busy || !m_hWnd) return;
  m_Busy = 1;
  std::string text;
  GetDlgItemString(m_hWnd, m_Id, text, ReadLimit());
  std::int32_t start = 0, end = 0;
  m_hWnd->GetSel(m_Id, &start, &end);
  m_SelStart = start;
  m_SelEnd = end;
  const std::int32_t maxDrops = m_CountChars ? 2 * m_MaxChars : m_MaxChars;
  if (m_MaxLines > 0 || m_MaxChars > 0) {
    bool decided = false;
    // A Backspace that took a line break away joins two lines, unless the line it joins into is
    // full already: then the break stays.
    if (m_hWnd->KeyHeld(VK_BACK) && start == end && m_Previous.size() == text.size() + 2 &&
        Lines(m_Previous) > Lines(text)) {
      const std::string before = m_Previous.substr(0, std::min(m_Previous.size(), static_cast<std::size_t>(start)));
      const std::size_t lineBreak = before.rfind("\r\n");
      const std::string_view part =
          lineBreak == std::string::npos ? std::string_view(before) : std::string_view(before).substr(lineBreak + 2);
      if (Count(part, m_CountChars) >= m_MaxChars) {
        text = m_Previous;
        decided = true;
      }
    }
    if (!decided) {
      // Wrapping: the rest of a line that runs over moves to the start of the next one.
      std::size_t lineStart = 0;
      for (std::int32_t line = 0; line < m_MaxLines; ++line) {
        std::size_t lineEnd = text.find('\r', lineStart);
        if (lineEnd == std::string::npos) lineEnd = text.size();
        const std::string current = text.substr(lineStart, lineEnd - lineStart);
        if (Count(current, m_CountChars) > m_MaxChars) {
          const std::size_t at = lineStart + KeepWithin(current, m_MaxChars, m_CountChars, maxDrops);
          text.insert(at, "\r\n");
          if (start >= static_cast<std::int32_t>(at)) start += 2;
          if (end >= static_cast<std::int32_t>(at)) end += 2;
          const std::size_t joined = text.find("\r\n", lineEnd + 2);
          if (joined != std::string::npos) {
            text.erase(joined, 2);
            if (start > static_cast<std::int32_t>(joined)) start = std::max(static_cast<std::int32_t>(joined), start - 2);
            if (end > static_cast<std::int32_t>(joined)) end = std::max(static_cast<std::int32_t>(joined), end - 2);
          }
        }
        const std::size_t next = text.find("\r\n", lineStart);
        if (next == std::string::npos) break;
        lineStart = next + 2;
      }
      if (Lines(text) > m_MaxLines) {
        if (m_Setting) {
          // A value too long for the field is cut to what one line holds.
          text = m_Previous.substr(0, KeepWithin(m_Previous, m_MaxChars, m_CountChars, maxDrops));
        } else {
          // The keystroke is refused; the caret stays where it left it, as far as the text goes.
          text = m_Previous;
          start = m_SelStart;
          end = m_SelEnd;
        }
      }
    }
    const std::int32_t size = static_cast<std::int32_t>(text.size());
    auto settle = [&](std::int32_t pos) {
      if (pos >= 0 && pos < size && text[static_cast<std::size_t>(pos)] == '\n') ++pos;
      return CharStartAtOrBefore(text, std::clamp(pos, 0, size));
    };
    start = settle(start);
    end = settle(end);
  }
  SetDlgItemString(m_hWnd, m_Id, text);
  if (!m_Setting) m_hWnd->SetSel(m_Id, start, end);
  m_Previous = text;
  m_Busy = 0;
}
