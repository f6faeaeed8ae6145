#pragma once
// The message windows of a running stage: the text windows of the message command (a text, with live
// variable values when asked, at a screen place, over a character or at a map cell), and the three
// fixed uses of the same record: an invisible timer that only counts frames, the small item icon
// that rises over a hero who picked up an item, and the rising extra-life mark.
//
// A text window renders its text once into a surface of its own in g_MessageSurfaces (descriptor at
// the same place in g_MessageDescriptors) and copies it each frame. The windows live in the play
// scene's m_Messages; the stage drawing draws them once per displayed frame, also while the pause
// thread draws for a blocked game (frozen), and destroys each one that reports its end.
#include <cstdint>
#include <list>
#include <string>

struct DDSURFACEDATA;
struct SurfaceDescriptor;

// Kinds.
constexpr std::int32_t kMessageTimer = 0;
constexpr std::int32_t kMessageText = 1;
constexpr std::int32_t kMessageItemIcon = 2;
constexpr std::int32_t kMessageExtraLife = 3;

// End modes: until the advance key (the owner removes it), until the stage ends, by time.
constexpr std::int32_t kMessageUntilKey = 0;
constexpr std::int32_t kMessageUntilStageEnd = 1;
constexpr std::int32_t kMessageTimed = 2;

// Anchors.
constexpr std::int32_t kAnchorScreenCentre = 0;
constexpr std::int32_t kAnchorAboveSelf = 1;
constexpr std::int32_t kAnchorBelowSelf = 2;
constexpr std::int32_t kAnchorCentreSelf = 3;
constexpr std::int32_t kAnchorAboveHero = 4;
constexpr std::int32_t kAnchorBelowHero = 5;
constexpr std::int32_t kAnchorCentreHero = 6;
constexpr std::int32_t kAnchorScreenCell = 7;
constexpr std::int32_t kAnchorStageCell = 8;

// The values a window is set up with, in the order of SetupMessageWindow (all but its last, reuse).
struct cMessageSettings {
  std::int32_t m_Kind = kMessageText;
  const std::string* m_Text = nullptr;  // null: the window keeps the text it has
  std::int32_t m_Icon1 = 0, m_Icon2 = 0, m_Icon3 = 0;
  std::int32_t m_Anchor = 0, m_Column = 0, m_Row = 0, m_OffsetX = 0, m_OffsetY = 0, m_KeepOnScreen = 0;
  std::int32_t m_Fixed = 0, m_EndMode = 0, m_Frames = 0, m_CountsWhileFrozen = 0, m_CharaId = 0;
  std::int32_t m_Continued = 0, m_TextCodes = 0, m_Refresh = 0, m_RefreshInterval = 0, m_Framed = 0;
  std::int32_t m_HasId = 0, m_Id = 0;
};

class cMessageWindow {
 public:
  // A new window (its surface made when it is a text window).
  explicit cMessageWindow(const cMessageSettings& settings);
  // The surface is not released here: Draw releases it at the end, RemoveMessageWindow or the list
  // teardown otherwise.
  ~cMessageWindow() = default;
  // One surface has one owner.
  cMessageWindow(const cMessageWindow&) = delete;
  cMessageWindow& operator=(const cMessageWindow&) = delete;

  // Set up again in place, keeping the surface where the new text has the same size.
  void Reset(const cMessageSettings& settings);
  // One displayed frame: count down, refresh, place, draw. 1 once the window has ended (its surface
  // is released then); frozen is 1 on the frames drawn while the game logic is blocked.
  std::int32_t Draw(DDSURFACEDATA* dst, std::int32_t frozen);
  bool HasSurface() const { return m_Surface != nullptr; }
  // Where the window is drawn this frame; false when its anchor character is gone.
  bool Place(std::int32_t& x, std::int32_t& y);
  // Takes the surface out of g_MessageSurfaces; nothing when there is none.
  void ReleaseSurface();

  DDSURFACEDATA* m_Surface = nullptr;
  SurfaceDescriptor* m_Descriptor = nullptr;
  std::int32_t m_Kind = kMessageTimer;
  std::string m_Text;        // as shown, after the text codes
  std::string m_SourceText;  // as given
  std::int32_t m_Icon1 = 0, m_Icon2 = 0, m_Icon3 = 0;
  std::int32_t m_TextCodes = 0;
  std::int32_t m_Refresh = 0;
  std::int32_t m_RefreshInterval = 0;
  std::int32_t m_Framed = 0;
  std::int32_t m_Anchor = 0;
  std::int32_t m_Column = 0, m_Row = 0;
  std::int32_t m_OffsetX = 0, m_OffsetY = 0;
  std::int32_t m_Width = 0, m_Height = 0;
  std::int32_t m_KeepOnScreen = 0;
  std::int32_t m_EndMode = 0;
  std::int32_t m_Fixed = 0;
  std::int32_t m_Placed = 0;
  std::int32_t m_PlacedX = 0, m_PlacedY = 0;
  std::int32_t m_HasId = 0, m_Id = 0;
  std::int32_t m_CharaId = 0;
  std::int32_t m_FramesLeft = 0;
  std::int32_t m_CountsWhileFrozen = 0;
  std::int32_t m_Opening = 0;
  double m_OpeningCounter = 0.0;

 private:
  // The refresh of the text codes' values on the frames of the interval.
  void RefreshText();
  // The kind's picture at (x, y).
  void DrawContent(DDSURFACEDATA* dst, std::int32_t x, std::int32_t y);

  // The refresh's working copy, kept so that a refresh does not allocate each time.
  std::string m_Scratch;
};

// Fills the window from the settings; reuse 1 keeps the window's surface (a text window whose surface
// is missing or of another size gets a new one all the same).
void SetupMessageWindow(cMessageWindow& window, const cMessageSettings& settings, std::int32_t reuse);
// Replaces the text's "#" codes (#C5, #S12_3Z. ...) by the values of the variables they name.
void ParseMessageText(std::string& text);
// The window size of a text in the message font: the text's measure and two dots each way.
void MeasureMessageText(std::int32_t& width, std::int32_t& height, const std::string& text);
// A surface of the window's size, keyed, in system memory. A failure closes the program.
bool CreateMessageSurface(cMessageWindow& window);
// Renders the window's text into the surface: framed, or bare on the transparent colour.
void DrawMessageText(cMessageWindow& window, DDSURFACEDATA* surface);

// Takes this window (by identity) out of the list, its surface released.
void RemoveMessageWindow(std::list<cMessageWindow>& messages, const cMessageWindow& window);
// Appends a window to the play scene's list; nothing without a play scene.
void OpenMessageWindow(const cMessageSettings& settings);

// The fixed uses: an invisible timer counting `frames` frames, blocked or not; the item icon of an
// applied item over the hero `heroId`; the extra-life mark over the hero.
cMessageSettings TimerWindowSettings(std::int32_t frames);
cMessageSettings ItemIconSettings(std::int32_t icon1, std::int32_t icon2, std::int32_t icon3, std::int32_t heroId);
cMessageSettings ExtraLifeSettings(std::int32_t heroId);
