#include "play/message_window.h"

#include <algorithm>
#include <cstdint>

#include "platform/display/blit.h"
#include "platform/display/font.h"
#include "platform/host/message_queue.h"
#include "play/chara_base.h"
#include "play/chip_sheets.h"
#include "play/damage.h"
#include "play/dots.h"
#include "play/play_scene.h"

namespace {

constexpr std::int32_t kScreenWidth = 640;
constexpr std::int32_t kScreenHeight = 480;
// The status bar's strip at the top, which a window kept on screen stays below.
constexpr std::int32_t kKeepTop = 20;
constexpr std::int32_t kIconSize = 16;
// The frames of the rising icons, and the dots per frame of their rise (one dot per four frames).
constexpr std::int32_t kIconFrames = 30;
constexpr std::int32_t kIconRiseFrames = 4;
// The opening frame grows in tenths.
constexpr double kOpeningSteps = 10.0;
constexpr double kOpeningStep = 0.1;
constexpr std::int32_t kAccessorySurface = 49;  // bmp\Accessory.bmp
constexpr std::int32_t kExtraLifeCellX = 0;
constexpr std::int32_t kExtraLifeCellY = 48;

std::int32_t Clamped(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); }

double CameraX() { return g_PlayScene != nullptr ? g_PlayScene->m_ScrollX.m_Pos : 0.0; }
double CameraY() { return g_PlayScene != nullptr ? g_PlayScene->m_ScrollY.m_Pos : 0.0; }

bool IsCharaAnchor(std::int32_t anchor) { return anchor >= kAnchorAboveSelf && anchor <= kAnchorCentreHero; }

}  // namespace

cMessageWindow::cMessageWindow(const cMessageSettings& settings) { SetupMessageWindow(*this, settings, 0); }

void cMessageWindow::Reset(const cMessageSettings& settings) { SetupMessageWindow(*this, settings, 1); }

void cMessageWindow::ReleaseSurface() {
  if (m_Surface != nullptr) RemoveSurfaceFromList(g_MessageSurfaces, g_MessageDescriptors, m_Surface);
  m_Surface = nullptr;
  m_Descriptor = nullptr;
}

void SetupMessageWindow(cMessageWindow& window, const cMessageSettings& settings, std::int32_t reuse) {
  window.m_Kind = settings.m_Kind;
  if (settings.m_Text != nullptr) {
    window.m_Text = *settings.m_Text;
    window.m_SourceText = *settings.m_Text;
  }
  window.m_Icon1 = settings.m_Icon1;
  window.m_Icon2 = settings.m_Icon2;
  window.m_Icon3 = settings.m_Icon3;
  window.m_Anchor = settings.m_Anchor;
  window.m_Column = settings.m_Column;
  window.m_Row = settings.m_Row;
  window.m_OffsetX = settings.m_OffsetX;
  window.m_OffsetY = settings.m_OffsetY;
  window.m_KeepOnScreen = settings.m_KeepOnScreen;
  window.m_Fixed = settings.m_Fixed;
  window.m_EndMode = settings.m_EndMode;
  window.m_TextCodes = settings.m_TextCodes;
  window.m_Refresh = settings.m_Refresh;
  window.m_RefreshInterval = settings.m_RefreshInterval;
  window.m_Framed = settings.m_Framed;
  window.m_HasId = settings.m_HasId;
  window.m_Id = settings.m_Id;
  window.m_Placed = 0;
  if (window.m_TextCodes != 0) ParseMessageText(window.m_Text);

  if (window.m_Kind == kMessageText) {
    MeasureMessageText(window.m_Width, window.m_Height, window.m_Text);
  } else {
    window.m_Width = window.m_Height = kIconSize;
  }
  window.m_CharaId = settings.m_CharaId;
  window.m_FramesLeft = settings.m_Frames;
  window.m_CountsWhileFrozen = settings.m_CountsWhileFrozen;
  window.m_OpeningCounter = 0.0;
  window.m_Opening = window.m_EndMode == kMessageUntilKey && settings.m_Continued == 0 ? 1 : 0;

  if (window.m_Kind != kMessageText) {
    // Only text windows hold a surface; one left from an earlier set-up goes.
    window.ReleaseSurface();
    return;
  }
  // A kept surface must still fit the text: one of another size is made anew.
  const DDSURFACEDATA* surface = window.m_Surface;
  const bool fits = surface != nullptr && surface->width == window.m_Width && surface->height == window.m_Height;
  if (reuse == 0 || !fits) {
    window.ReleaseSurface();
    if (!CreateMessageSurface(window)) return;
  }
  DrawMessageText(window, window.m_Surface);
}

bool CreateMessageSurface(cMessageWindow& window) {
  if (!AddSurfaceToList(g_MessageSurfaces, g_MessageDescriptors, window.m_Width, window.m_Height, 1, 1, 0, 0)) {
    // The record that failed leaves again; the window stays without a surface and shows nothing.
    RemoveSurfaceFromList(g_MessageSurfaces, g_MessageDescriptors, &g_MessageSurfaces.back());
    window.m_Surface = nullptr;
    window.m_Descriptor = nullptr;
    PostMainWindowMessage(WM_CLOSE, 0, 0);
    return false;
  }
  window.m_Surface = &g_MessageSurfaces.back();
  window.m_Descriptor = &g_MessageDescriptors.back();
  return true;
}

void DrawMessageText(cMessageWindow& window, DDSURFACEDATA* surface) {
  if (surface == nullptr) return;
  // Cleared first in both cases: a kept surface holds the text it had before.
  DDFillRect(surface, 0, 0, surface->width, surface->height, 0);
  Font& font = g_Fonts[1];
  if (window.m_Framed != 0) {
    font.DrawTextWindow(surface, 1, 1, 0, 0, window.m_Text.c_str(), 0);
  } else {
    font.Draw(surface, 1, 1, window.m_Text.c_str(), 0);
  }
}

void cMessageWindow::RefreshText() {
  if (m_Refresh == 0 || m_RefreshInterval == 0 || m_Kind != kMessageText || m_TextCodes == 0) return;
  const std::int64_t frame = g_PlayScene != nullptr ? g_PlayScene->m_FrameCount : 0;
  if (frame % m_RefreshInterval != 0) return;
  m_Scratch = m_SourceText;
  ParseMessageText(m_Scratch);
  if (m_Scratch == m_Text) return;
  m_Text.swap(m_Scratch);
  std::int32_t width = 0, height = 0;
  MeasureMessageText(width, height, m_Text);
  if (width != m_Width || height != m_Height || m_Surface == nullptr) {
    m_Width = width;
    m_Height = height;
    ReleaseSurface();
    if (!CreateMessageSurface(*this)) return;
  }
  DrawMessageText(*this, m_Surface);
}

bool cMessageWindow::Place(std::int32_t& outX, std::int32_t& outY) {
  const double cameraX = CameraX(), cameraY = CameraY();
  const std::int64_t w = m_Width, h = m_Height;
  std::int64_t x = 0, y = 0;
  if (IsCharaAnchor(m_Anchor)) {
    const cCharaBase* chara = FindCharaById(m_CharaId);
    if (chara == nullptr) return false;
    const std::int64_t left = TruncDot(chara->m_X1 - cameraX);
    const std::int64_t top = TruncDot(chara->m_Y1 - cameraY);
    x = left - w / 2 + chara->m_DrawWidth / 2 - chara->m_DrawOffsetX + m_OffsetX;
    const std::int64_t drawTop = top - chara->m_DrawOffsetY;
    switch (m_Anchor) {
      case kAnchorAboveSelf:
      case kAnchorAboveHero:
        y = drawTop - h + m_OffsetY;
        break;
      case kAnchorBelowSelf:
      case kAnchorBelowHero:
        y = drawTop + chara->m_DrawHeight + 1 + m_OffsetY;
        break;
      default:
        y = top - h / 2 + chara->m_DrawHeight / 2 - chara->m_DrawOffsetY + m_OffsetY;
        break;
    }
  } else if (m_Anchor == kAnchorScreenCell) {
    x = std::int64_t{m_Column} * kCellDots + m_OffsetX;
    y = std::int64_t{m_Row} * kCellDots + m_OffsetY;
  } else if (m_Anchor == kAnchorStageCell) {
    const std::int64_t originX = g_PlayScene != nullptr ? g_PlayScene->TileOriginX() : 0;
    const std::int64_t originY = g_PlayScene != nullptr ? g_PlayScene->TileOriginY() : 0;
    x = TruncDot(static_cast<double>((originX + m_Column) * kCellDots + m_OffsetX) - cameraX);
    y = TruncDot(static_cast<double>((originY + m_Row) * kCellDots + m_OffsetY) - cameraY);
  } else {
    // The screen centre, also for an anchor the command does not know.
    x = kScreenWidth / 2 + m_OffsetX - w / 2;
    y = kScreenHeight / 2 + m_OffsetY - h / 2;
  }

  const bool screenAnchor = m_Anchor == kAnchorScreenCell || !(IsCharaAnchor(m_Anchor) || m_Anchor == kAnchorStageCell);
  if (screenAnchor && m_Fixed == 0) {
    // A screen place that belongs to the stage: where it was on the first frame, as the stage moves.
    if (m_Placed == 0) {
      m_PlacedX = TruncDot(static_cast<double>(x) + cameraX);
      m_PlacedY = TruncDot(static_cast<double>(y) + cameraY);
      m_Placed = 1;
    }
    x = TruncDot(m_PlacedX - cameraX);
    y = TruncDot(m_PlacedY - cameraY);
  } else if (!screenAnchor && m_Fixed != 0) {
    if (m_Placed == 0) {
      m_PlacedX = Clamped(x);
      m_PlacedY = Clamped(y);
      m_Placed = 1;
    }
    x = m_PlacedX;
    y = m_PlacedY;
  }

  if (m_KeepOnScreen != 0) {
    // 639, not 640: a window ending one dot short of the right (bottom) edge moves one dot further.
    if (x < 0) {
      x = 0;
    } else if (x + w >= kScreenWidth - 1) {
      x = kScreenWidth - w;
    }
    if (y < kKeepTop) {
      y = kKeepTop;
    } else if (y + h >= kScreenHeight - 1) {
      y = kScreenHeight - h;
    }
  }
  outX = Clamped(x);
  outY = Clamped(y);
  return true;
}

void cMessageWindow::DrawContent(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y) {
  const std::int32_t rise = (kIconFrames - m_FramesLeft) / kIconRiseFrames;
  switch (m_Kind) {
    case kMessageText: {
      if (m_Surface == nullptr) return;
      // A device reset leaves the surface empty: the text goes in again.
      if (m_Surface->lpDT && m_Surface->lpDT->recreated) {
        m_Surface->lpDT->recreated = 0;
        DrawMessageText(*this, m_Surface);
      }
      if (m_Text.empty()) return;
      if (m_Opening != 0) {
        m_OpeningCounter += 1.0;
        if (m_OpeningCounter < kOpeningSteps) {
          const double s = m_OpeningCounter * kOpeningStep;
          const std::int32_t halfW = m_Width / 2, halfH = m_Height / 2;
          g_Fonts[1].DrawWindow(dst, TruncDot(std::int64_t{x} + halfW - halfW * s),
                                TruncDot(std::int64_t{y} + halfH - halfH * s), TruncDot(m_Width * s),
                                TruncDot(m_Height * s));
          return;
        }
      }
      DDBlt(dst, x, y, m_Width, m_Height, m_Surface, 0, 0, 1);
      return;
    }
    case kMessageItemIcon:
      DrawChipIcon(dst, x, Clamped(std::int64_t{y} - rise), m_Icon1, m_Icon2, m_Icon3);
      return;
    case kMessageExtraLife:
      DDBlt(dst, x, Clamped(std::int64_t{y} - rise), kIconSize, kIconSize, &g_SurfaceTable[kAccessorySurface],
            kExtraLifeCellX, kExtraLifeCellY, 1);
      return;
    default:
      return;
  }
}

std::int32_t cMessageWindow::Draw(DDSURFACEDATA* dst, std::int32_t frozen) {
  if (m_EndMode == kMessageTimed && (m_CountsWhileFrozen != 0 || frozen == 0)) {
    // Frame count N: drawn N times, ended on the next.
    --m_FramesLeft;
    if (m_FramesLeft < 0) {
      ReleaseSurface();
      return 1;
    }
  }
  RefreshText();
  std::int32_t x = 0, y = 0;
  if (!Place(x, y)) {
    ReleaseSurface();
    return 1;
  }
  if (dst != nullptr) DrawContent(dst, x, y);
  return 0;
}

void RemoveMessageWindow(std::list<cMessageWindow>& messages, const cMessageWindow& window) {
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (&*it != &window) continue;
    it->ReleaseSurface();
    messages.erase(it);
    return;
  }
}

void OpenMessageWindow(const cMessageSettings& settings) {
  if (g_PlayScene != nullptr) g_PlayScene->m_Messages.emplace_back(settings);
}

cMessageSettings TimerWindowSettings(std::int32_t frames) {
  cMessageSettings s;
  s.m_Kind = kMessageTimer;
  s.m_Fixed = 1;
  s.m_EndMode = kMessageTimed;
  s.m_Frames = frames;
  s.m_CountsWhileFrozen = 1;
  return s;
}

cMessageSettings ItemIconSettings(std::int32_t icon1, std::int32_t icon2, std::int32_t icon3, std::int32_t heroId) {
  cMessageSettings s;
  s.m_Kind = kMessageItemIcon;
  s.m_Icon1 = icon1;
  s.m_Icon2 = icon2;
  s.m_Icon3 = icon3;
  s.m_Anchor = kAnchorAboveHero;
  s.m_Fixed = 1;
  s.m_EndMode = kMessageTimed;
  s.m_Frames = kIconFrames;
  s.m_CharaId = heroId;
  return s;
}

cMessageSettings ExtraLifeSettings(std::int32_t heroId) {
  cMessageSettings s = ItemIconSettings(0, 0, 0, heroId);
  s.m_Kind = kMessageExtraLife;
  s.m_CountsWhileFrozen = 1;
  return s;
}
