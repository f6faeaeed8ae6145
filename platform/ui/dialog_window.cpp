#include "platform/ui/dialog_window.h"

#include <algorithm>
#include <tuple>

#include "platform/host/box_sink.h"
#include "platform/host/input_devices.h"
#include "platform/host/text_codec.h"
#include "platform/services/text.h"
#include "platform/ui/dialog_draw.h"
#include "platform/ui/window.h"

namespace {

constexpr int VK_PRIOR = 0x21;
constexpr int VK_NEXT = 0x22;
constexpr int VK_END = 0x23;
constexpr int VK_HOME = 0x24;
constexpr int VK_DELETE = 0x2E;

bool IsButtonKind(DialogItemKind kind) {
  return kind == DialogItemKind::PushButton || kind == DialogItemKind::DefPushButton ||
         kind == DialogItemKind::CheckBox || kind == DialogItemKind::RadioButton;
}

bool IsShift(int vk) { return vk == VK_SHIFT || vk == VK_LSHIFT || vk == VK_RSHIFT; }
bool IsControl(int vk) { return vk == VK_CONTROL || vk == VK_LCONTROL || vk == VK_RCONTROL; }

bool Inside(const ScreenRect& r, std::int32_t x, std::int32_t y) {
  return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h;
}

}  // namespace

std::int32_t CharLengthAt(const std::string& text, std::int32_t pos) {
  if (pos < 0 || pos >= static_cast<std::int32_t>(text.size())) return 0;
  return IsDoubleByte(text.c_str() + pos) ? 2 : 1;
}

std::int32_t CharStartAtOrBefore(const std::string& text, std::int32_t pos) {
  // Code page 932 cannot be read backwards: a trail byte may look like a lead byte.
  const std::int32_t size = static_cast<std::int32_t>(text.size());
  pos = std::clamp(pos, 0, size);
  std::int32_t at = 0;
  while (at < pos) {
    const std::int32_t next = at + CharLengthAt(text, at);
    if (next > pos) break;
    at = next;
  }
  return at;
}

std::int32_t PreviousCharStart(const std::string& text, std::int32_t pos) {
  std::int32_t at = 0;
  std::int32_t previous = 0;
  while (at < pos && at < static_cast<std::int32_t>(text.size())) {
    previous = at;
    at += CharLengthAt(text, at);
  }
  return previous;
}

bool sDialogItem::TakesFocus() const {
  if (!enabled) return false;
  switch (kind) {
    case DialogItemKind::PushButton:
    case DialogItemKind::DefPushButton:
    case DialogItemKind::CheckBox:
    case DialogItemKind::RadioButton:
    case DialogItemKind::Edit:
    case DialogItemKind::List: return true;
    default: return false;
  }
}

std::int32_t sDialogItem::VisibleRows() const { return std::max(1, (rect.h - 4) / kListRowHeight); }

cDialogWindow::cDialogWindow(const DialogTemplate& dialogTemplate, Procedure procedure)
    : m_TemplateId(dialogTemplate.id),
      m_Procedure(std::move(procedure)),
      m_ClientW(DialogUnitsToPixels(dialogTemplate.w)),
      m_ClientH(DialogUnitsToPixels(dialogTemplate.h)),
      m_Caption(dialogTemplate.caption) {
  m_Items.reserve(dialogTemplate.items.size());
  for (const DialogItemTemplate& t : dialogTemplate.items) {
    sDialogItem item;
    item.id = t.id;
    item.kind = t.kind;
    item.text = SJ(t.text);
    item.rect = {DialogUnitsToPixels(t.x), DialogUnitsToPixels(t.y), DialogUnitsToPixels(t.w),
                 DialogUnitsToPixels(t.h)};
    item.groupStart = t.groupStart;
    m_Items.push_back(std::move(item));
  }
}

std::intptr_t cDialogWindow::Send(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  return m_Procedure ? m_Procedure(message, wParam, lParam) : 0;
}

void cDialogWindow::Post(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam) {
  m_Posted.emplace_back(message, wParam, lParam);
}

bool cDialogWindow::DispatchPosted() {
  if (m_Posted.empty()) return false;
  const auto [message, wParam, lParam] = m_Posted.front();
  m_Posted.pop_front();
  Send(message, wParam, lParam);
  return true;
}

void cDialogWindow::SetPosition(std::int32_t x, std::int32_t y) {
  m_X = x;
  m_Y = y;
  m_Dirty = true;
}

ScreenRect cDialogWindow::OuterRect() const {
  return {m_X, m_Y, m_ClientW + 2 * kDialogFrame, m_ClientH + 2 * kDialogFrame + (m_Caption ? kDialogCaption : 0)};
}

ScreenRect cDialogWindow::ClientRect() const {
  return {m_X + kDialogFrame, m_Y + kDialogFrame + (m_Caption ? kDialogCaption : 0), m_ClientW, m_ClientH};
}

void cDialogWindow::SetCaption(const std::string& text) {
  m_CaptionText = text;
  m_Dirty = true;
}

std::int32_t cDialogWindow::IndexOf(std::int32_t id) const {
  if (id == -1) return -1;
  for (std::size_t i = 0; i < m_Items.size(); ++i)
    if (m_Items[i].id == id) return static_cast<std::int32_t>(i);
  return -1;
}

sDialogItem* cDialogWindow::Item(std::int32_t id) {
  const std::int32_t i = IndexOf(id);
  return i < 0 ? nullptr : &m_Items[static_cast<std::size_t>(i)];
}

const sDialogItem* cDialogWindow::Item(std::int32_t id) const {
  const std::int32_t i = IndexOf(id);
  return i < 0 ? nullptr : &m_Items[static_cast<std::size_t>(i)];
}

void cDialogWindow::SetItemText(std::int32_t id, const std::string& text) {
  sDialogItem* item = Item(id);
  if (!item) return;
  item->text = text;
  // A lead byte without its trail byte at the end is half a character: it goes.
  if (!item->text.empty()) {
    const std::int32_t last = PreviousCharStart(item->text, static_cast<std::int32_t>(item->text.size()));
    if (IsLeadByte(static_cast<unsigned char>(item->text[static_cast<std::size_t>(last)])) &&
        CharLengthAt(item->text, last) == 1)
      item->text.resize(static_cast<std::size_t>(last));
  }
  item->anchor = item->caret = 0;
  m_Dirty = true;
  if (item->kind == DialogItemKind::Edit) EditChanged(*item);
}

std::string cDialogWindow::ItemText(std::int32_t id) const {
  const sDialogItem* item = Item(id);
  return item ? item->text : std::string();
}

void cDialogWindow::SetCheck(std::int32_t id, std::int32_t checked) {
  if (sDialogItem* item = Item(id)) {
    item->checked = checked ? 1 : 0;
    m_Dirty = true;
  }
}

std::int32_t cDialogWindow::Check(std::int32_t id) const {
  const sDialogItem* item = Item(id);
  return item ? item->checked : 0;
}

void cDialogWindow::SetSel(std::int32_t id, std::int32_t start, std::int32_t end) {
  sDialogItem* item = Item(id);
  if (!item) return;
  const std::int32_t size = static_cast<std::int32_t>(item->text.size());
  if (end < 0 || end > size) end = size;
  start = std::clamp(start, 0, size);
  item->anchor = CharStartAtOrBefore(item->text, start);
  item->caret = CharStartAtOrBefore(item->text, end);
  m_Dirty = true;
}

void cDialogWindow::GetSel(std::int32_t id, std::int32_t* start, std::int32_t* end) const {
  const sDialogItem* item = Item(id);
  if (start) *start = item ? item->SelStart() : 0;
  if (end) *end = item ? item->SelEnd() : 0;
}

void cDialogWindow::EnableItem(std::int32_t id, bool enable) {
  if (sDialogItem* item = Item(id)) {
    item->enabled = enable;
    m_Dirty = true;
  }
}

void cDialogWindow::SetListEntries(std::int32_t id, std::vector<std::string> entries) {
  sDialogItem* item = Item(id);
  if (!item) return;
  item->entries = std::move(entries);
  item->current = -1;
  item->top = 0;
  m_Dirty = true;
}

void cDialogWindow::SetListCurrent(std::int32_t id, std::int32_t index) {
  sDialogItem* item = Item(id);
  if (!item) return;
  const std::int32_t count = static_cast<std::int32_t>(item->entries.size());
  item->current = (index >= 0 && index < count) ? index : -1;
  if (item->current >= 0) {
    // The chosen entry is kept in view.
    if (item->current < item->top) item->top = item->current;
    if (item->current >= item->top + item->VisibleRows()) item->top = item->current - item->VisibleRows() + 1;
  }
  m_Dirty = true;
}

std::int32_t cDialogWindow::ListCurrent(std::int32_t id) const {
  const sDialogItem* item = Item(id);
  return item ? item->current : -1;
}

std::int32_t cDialogWindow::Focus() const { return m_Focus < 0 ? 0 : m_Items[static_cast<std::size_t>(m_Focus)].id; }

const sDialogItem* cDialogWindow::FocusedItem() const {
  return m_Focus < 0 ? nullptr : &m_Items[static_cast<std::size_t>(m_Focus)];
}

void cDialogWindow::SetFocusItem(std::int32_t id) {
  const std::int32_t index = IndexOf(id);
  if (index < 0 || index == m_Focus) return;
  const std::int32_t old = m_Focus;
  m_Focus = index;
  m_Dirty = true;
  m_Composition.clear();
  if (old >= 0 && m_Items[static_cast<std::size_t>(old)].kind == DialogItemKind::Edit)
    Command(m_Items[static_cast<std::size_t>(old)], EN_KILLFOCUS);
  if (m_Items[static_cast<std::size_t>(index)].kind == DialogItemKind::Edit)
    Command(m_Items[static_cast<std::size_t>(index)], EN_SETFOCUS);
}

void cDialogWindow::FocusFirst() {
  for (const sDialogItem& item : m_Items) {
    if (!item.TakesFocus()) continue;
    // Of a group of radio buttons the checked one takes the focus; the others are passed by.
    if (item.kind == DialogItemKind::RadioButton && !item.checked) continue;
    SetFocusItem(item.id);
    return;
  }
  for (const sDialogItem& item : m_Items)
    if (item.TakesFocus()) return SetFocusItem(item.id);
}

void cDialogWindow::Command(const sDialogItem& item, std::uint32_t notification) {
  if (item.id == -1) return;
  Send(WM_COMMAND, MAKEWPARAM(static_cast<std::uint32_t>(item.id), notification), 0);
}

void cDialogWindow::EditChanged(const sDialogItem& item) {
  const std::int32_t id = item.id;
  Command(item, EN_UPDATE);
  // The procedure may have changed the items; the edit is looked up again.
  if (const sDialogItem* again = Item(id)) Command(*again, EN_CHANGE);
}

void cDialogWindow::Click(std::int32_t index) {
  if (index < 0) return;
  sDialogItem& item = m_Items[static_cast<std::size_t>(index)];
  if (!item.enabled || !IsButtonKind(item.kind)) return;
  if (item.kind == DialogItemKind::CheckBox) item.checked = item.checked ? 0 : 1;
  if (item.kind == DialogItemKind::RadioButton) {
    // The group runs from the item that starts it to the next start.
    std::int32_t first = index;
    while (first > 0 && !m_Items[static_cast<std::size_t>(first)].groupStart) --first;
    for (std::size_t i = static_cast<std::size_t>(first); i < m_Items.size(); ++i) {
      if (static_cast<std::int32_t>(i) != first && m_Items[i].groupStart) break;
      if (m_Items[i].kind == DialogItemKind::RadioButton) m_Items[i].checked = 0;
    }
    item.checked = 1;
  }
  m_Dirty = true;
  Command(item, BN_CLICKED);
}

void cDialogWindow::ClickItem(std::int32_t id) {
  const std::int32_t index = IndexOf(id);
  if (index < 0 || !m_Items[static_cast<std::size_t>(index)].enabled) return;
  if (m_Items[static_cast<std::size_t>(index)].TakesFocus()) SetFocusItem(id);
  Click(index);
}

void cDialogWindow::DefaultButton() {
  const sDialogItem* focused = FocusedItem();
  if (focused && (focused->kind == DialogItemKind::PushButton || focused->kind == DialogItemKind::DefPushButton))
    return Click(m_Focus);
  for (std::size_t i = 0; i < m_Items.size(); ++i)
    if (m_Items[i].kind == DialogItemKind::DefPushButton && m_Items[i].enabled)
      return Click(static_cast<std::int32_t>(i));
  Send(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void cDialogWindow::MoveFocus(int step) {
  const std::int32_t count = static_cast<std::int32_t>(m_Items.size());
  std::int32_t at = m_Focus < 0 ? (step > 0 ? -1 : 0) : m_Focus;
  for (std::int32_t n = 0; n < count; ++n) {
    at = (at + step + count) % count;
    const sDialogItem& item = m_Items[static_cast<std::size_t>(at)];
    if (!item.TakesFocus()) continue;
    if (item.kind == DialogItemKind::RadioButton && !item.checked) continue;
    SetFocusItem(item.id);
    return;
  }
}

void cDialogWindow::MoveInGroup(int step) {
  if (m_Focus < 0) return;
  std::int32_t first = m_Focus;
  while (first > 0 && !m_Items[static_cast<std::size_t>(first)].groupStart) --first;
  std::int32_t last = m_Focus;
  while (last + 1 < static_cast<std::int32_t>(m_Items.size()) && !m_Items[static_cast<std::size_t>(last + 1)].groupStart)
    ++last;
  const std::int32_t span = last - first + 1;
  std::int32_t at = m_Focus;
  for (std::int32_t n = 0; n < span; ++n) {
    at = first + ((at - first + step + span) % span);
    const sDialogItem& item = m_Items[static_cast<std::size_t>(at)];
    if (!item.TakesFocus()) continue;
    SetFocusItem(item.id);
    if (item.kind == DialogItemKind::RadioButton) Click(at);
    return;
  }
}

void cDialogWindow::KeyDown(int vk) {
  if (vk >= 0 && vk < 256) m_Held[static_cast<std::size_t>(vk)] = true;
  if (IsShift(vk)) m_Shift = true;
  if (IsControl(vk)) m_Control = true;
  // While the input method composes, its keys are its own.
  if (Composing()) return;
  sDialogItem* focused = m_Focus < 0 ? nullptr : &m_Items[static_cast<std::size_t>(m_Focus)];
  switch (vk) {
    case VK_TAB: MoveFocus(m_Shift ? -1 : 1); return;
    case VK_RETURN:
      if (focused && focused->kind == DialogItemKind::List) {
        // Enter on a list acts on its chosen entry, as a double click does.
        if (focused->current >= 0) Command(*focused, LBN_DBLCLK);
        return;
      }
      DefaultButton();
      return;
    case VK_ESCAPE: Send(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0); return;
    default: break;
  }
  if (!focused) return;
  if (focused->kind == DialogItemKind::Edit) return EditKey(*focused, vk);
  if (focused->kind == DialogItemKind::List) return ListKey(*focused, vk);
  if (vk == VK_SPACE && IsButtonKind(focused->kind)) return Click(m_Focus);
  if (vk == VK_LEFT || vk == VK_UP) MoveInGroup(-1);
  if (vk == VK_RIGHT || vk == VK_DOWN) MoveInGroup(1);
}

void cDialogWindow::KeyUp(int vk) {
  if (vk >= 0 && vk < 256) m_Held[static_cast<std::size_t>(vk)] = false;
  if (IsShift(vk)) m_Shift = false;
  if (IsControl(vk)) m_Control = false;
}

void cDialogWindow::EditKey(sDialogItem& item, int vk) {
  const std::int32_t size = static_cast<std::int32_t>(item.text.size());
  auto move = [&](std::int32_t to) {
    item.caret = to;
    if (!m_Shift) item.anchor = to;
    m_Dirty = true;
  };
  switch (vk) {
    case VK_LEFT:
      if (!m_Shift && item.anchor != item.caret) return move(item.SelStart());
      return move(PreviousCharStart(item.text, item.caret));
    case VK_RIGHT:
      if (!m_Shift && item.anchor != item.caret) return move(item.SelEnd());
      return move(std::min(size, item.caret + std::max(1, CharLengthAt(item.text, item.caret))));
    case VK_HOME: return move(0);
    case VK_END: return move(size);
    case VK_BACK:
    case VK_DELETE: {
      std::int32_t from = item.SelStart();
      std::int32_t to = item.SelEnd();
      if (from == to) {
        if (vk == VK_BACK) {
          if (from == 0) return;
          from = PreviousCharStart(item.text, from);
          // A line break goes as one.
          if (from > 0 && item.text.compare(static_cast<std::size_t>(from - 1), 2, "\r\n") == 0) --from;
        } else {
          if (to >= size) return;
          to += item.text.compare(static_cast<std::size_t>(to), 2, "\r\n") == 0 ? 2 : CharLengthAt(item.text, to);
        }
      }
      item.text.erase(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
      item.anchor = item.caret = from;
      m_Dirty = true;
      EditChanged(item);
      return;
    }
    default: return;
  }
}

void cDialogWindow::TypeText(const std::string& text) {
  if (text.empty() || m_Focus < 0) return;
  sDialogItem& item = m_Items[static_cast<std::size_t>(m_Focus)];
  if (item.kind != DialogItemKind::Edit || !item.enabled) return;
  const std::int32_t from = item.SelStart();
  item.text.replace(static_cast<std::size_t>(from), static_cast<std::size_t>(item.SelEnd() - from), text);
  item.anchor = item.caret = from + static_cast<std::int32_t>(text.size());
  m_Dirty = true;
  EditChanged(item);
}

void cDialogWindow::SetComposition(const std::string& utf8) {
  m_Composition = utf8;
  m_Dirty = true;
}

void cDialogWindow::ListKey(sDialogItem& item, int vk) {
  const std::int32_t count = static_cast<std::int32_t>(item.entries.size());
  if (count == 0) return;
  std::int32_t to = item.current;
  switch (vk) {
    case VK_UP: to = item.current <= 0 ? 0 : item.current - 1; break;
    case VK_DOWN: to = item.current + 1; break;
    case VK_PRIOR: to = item.current - item.VisibleRows(); break;
    case VK_NEXT: to = item.current + item.VisibleRows(); break;
    case VK_HOME: to = 0; break;
    case VK_END: to = count - 1; break;
    default: return;
  }
  ListPick(item, std::clamp(to, 0, count - 1));
}

void cDialogWindow::ListPick(sDialogItem& item, std::int32_t index) {
  if (index == item.current) return;
  SetListCurrent(item.id, index);
  Command(item, LBN_SELCHANGE);
}

std::int32_t cDialogWindow::ItemAt(std::int32_t x, std::int32_t y) const {
  const ScreenRect client = ClientRect();
  const std::int32_t cx = x - client.x;
  const std::int32_t cy = y - client.y;
  // The last item drawn lies on top: group boxes come before what they hold.
  for (std::int32_t i = static_cast<std::int32_t>(m_Items.size()) - 1; i >= 0; --i) {
    const sDialogItem& item = m_Items[static_cast<std::size_t>(i)];
    if (item.kind == DialogItemKind::GroupBox || item.kind == DialogItemKind::Static) continue;
    if (Inside(item.rect, cx, cy)) return i;
  }
  return -1;
}

void cDialogWindow::MouseDown(std::int32_t x, std::int32_t y, int button, int clicks) {
  if (button != 1) return;
  const std::int32_t index = ItemAt(x, y);
  m_Pressed = -1;
  if (index < 0) return;
  sDialogItem& item = m_Items[static_cast<std::size_t>(index)];
  if (!item.enabled) return;
  const std::int32_t id = item.id;
  if (item.TakesFocus()) SetFocusItem(id);
  sDialogItem* again = Item(id);
  if (!again) return;
  const ScreenRect client = ClientRect();
  if (again->kind == DialogItemKind::Edit) {
    // The caret goes to the character boundary nearest the click.
    const std::int32_t localX = x - client.x - again->rect.x - 3 + EditScrollOffset(*again);
    std::int32_t at = 0;
    while (at < static_cast<std::int32_t>(again->text.size())) {
      const std::int32_t next = at + CharLengthAt(again->text, at);
      const std::int32_t left = DialogTextWidth(std::string_view(again->text).substr(0, static_cast<std::size_t>(at)));
      const std::int32_t right =
          DialogTextWidth(std::string_view(again->text).substr(0, static_cast<std::size_t>(next)));
      if (localX < (left + right) / 2) break;
      at = next;
    }
    again->caret = at;
    if (!m_Shift) again->anchor = at;
    m_Dirty = true;
    return;
  }
  if (again->kind == DialogItemKind::List) {
    const std::int32_t row = (y - client.y - again->rect.y - 2) / kListRowHeight;
    const std::int32_t pick = again->top + row;
    if (row >= 0 && pick < static_cast<std::int32_t>(again->entries.size())) {
      ListPick(*again, pick);
      if (clicks >= 2) {
        if (sDialogItem* list = Item(id)) Command(*list, LBN_DBLCLK);
      }
    }
    return;
  }
  if (IsButtonKind(again->kind)) {
    m_Pressed = IndexOf(id);
    m_Dirty = true;
  }
}

void cDialogWindow::MouseUp(std::int32_t x, std::int32_t y, int button) {
  if (button != 1 || m_Pressed < 0) return;
  const std::int32_t pressed = m_Pressed;
  m_Pressed = -1;
  m_Dirty = true;
  // A button is clicked only when the mouse is let go over it.
  if (ItemAt(x, y) == pressed) Click(pressed);
}

void cDialogWindow::End(std::intptr_t result) {
  m_Result = result;
  m_Ended = true;
}

bool cDialogWindow::TakeDirty() {
  const bool dirty = m_Dirty;
  m_Dirty = false;
  return dirty;
}
