#pragma once
// The game screen as the host shows it. The display draws each frame into memory in its own pixel
// format; a present hands the finished frame over (SubmitFrame, on the drawing thread), which turns
// it into 0xFFRRGGBB pixels once, and the window's thread shows the newest frame (ShowPendingFrame).
// Two hosts: a window through SDL, and the headless screen that only keeps the last frame (and
// writes it as a PNG file on request).
//
// Window changes (full screen, cursor, minimised, vertical sync) may be asked from any thread; the
// window's own thread carries them out, at once when it asks itself, else at its next
// ShowPendingFrame.
#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/host/pixel_format.h"

// Writes frame as 0xFFRRGGBB pixels, out rows outPitch pixels apart. palette holds 256 0x00RRGGBB
// colours and is read only for indexed frames (null there gives black).
void ConvertFrameToXrgb(const PixelView& frame, const std::uint32_t* palette, std::uint32_t* out,
                        std::int32_t outPitch);

struct ScreenRect {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t w = 0;
  std::int32_t h = 0;
  bool operator==(const ScreenRect&) const = default;
};

// Where a frame goes in a window: enlarged by the largest whole factor that fits, so every game
// pixel is a square of screen pixels, and centred with black bars; shrunk to fit, keeping its
// shape, only when the window is smaller than the frame.
ScreenRect FitFrameToWindow(std::int32_t windowWidth, std::int32_t windowHeight, std::int32_t frameWidth,
                            std::int32_t frameHeight);

// The bits per pixel of this platform's desktop: every frame reaches it as 32-bit colour.
constexpr int kHostDesktopBpp = 32;

struct ScreenState {
  bool fullScreen = false;
  bool cursorVisible = true;
  bool minimised = false;
  bool vsync = false;
};

class cScreen {
 public:
  // The frame size; the object belongs to the thread that makes it (the window's thread).
  cScreen(std::int32_t width, std::int32_t height);
  virtual ~cScreen();
  cScreen(const cScreen&) = delete;
  cScreen& operator=(const cScreen&) = delete;

  std::int32_t Width() const { return m_Width; }
  std::int32_t Height() const { return m_Height; }

  // Any thread: converts a finished frame and makes it the one to show next. A frame of another size
  // is shown from its top-left corner, the rest black.
  void SubmitFrame(const PixelView& frame, const std::uint32_t* palette);
  // The window's thread: shows the newest submitted frame and carries out asked window changes.
  // True when a new frame was shown.
  bool ShowPendingFrame();
  // The last frame shown (or submitted, once shown), Width() * Height() pixels 0xFFRRGGBB.
  std::vector<std::uint32_t> LastFrame();
  // Writes the last frame as an RGB PNG file (a host path); false when it cannot be written.
  bool WriteLastFramePng(const std::filesystem::path& file);

  void SetFullScreen(bool on);
  void SetCursorVisible(bool visible);
  void SetMinimised(bool minimised);
  void SetVsync(bool on);
  ScreenState State() const;

  // The monitor's refresh rate in Hz, when the host knows it.
  virtual std::optional<int> RefreshRate() const { return std::nullopt; }

 protected:
  // The window's thread: show Width() * Height() pixels, Width() pixels a row.
  virtual void ShowImage(const std::uint32_t* pixels) = 0;
  // The window's thread: make the window match the state.
  virtual void ApplyState(const ScreenState& state) = 0;
  bool OnOwnerThread() const { return std::this_thread::get_id() == m_Owner; }

 private:
  void AskState(const ScreenState& state);
  // Takes the newest submitted frame into m_Shown; true when there was one.
  bool TakePending();

  const std::int32_t m_Width;
  const std::int32_t m_Height;
  const std::thread::id m_Owner;

  // Three images, so that converting, waiting and showing never touch the same one: the drawing
  // thread converts into m_Writing, then swaps it with m_Pending; the window's thread swaps
  // m_Pending with m_Shown.
  std::mutex m_SubmitLock;  // one conversion at a time
  std::mutex m_ShowLock;    // held while m_Shown is read or replaced
  mutable std::mutex m_Lock;
  std::vector<std::uint32_t> m_Writing;
  std::vector<std::uint32_t> m_Pending;
  std::vector<std::uint32_t> m_Shown;
  bool m_HasPending = false;
  ScreenState m_State;
  bool m_StateAsked = false;
};

// Keeps the frames in memory: headless runs and tests.
class cHeadlessScreen : public cScreen {
 public:
  cHeadlessScreen(std::int32_t width, std::int32_t height) : cScreen(width, height) {}

 protected:
  void ShowImage(const std::uint32_t*) override {}
  void ApplyState(const ScreenState&) override {}
};

struct SDL_Window;
struct SDL_Renderer;
struct SDL_Texture;

// The game window: one streaming texture, uploaded once per shown frame and drawn scaled with
// nearest sampling. Full screen is a window the size of the desktop; the display mode never changes.
// Vertical sync is only there against tearing: the game paces its frames itself.
class cSdlScreen : public cScreen {
 public:
  // Opens the window on the calling thread, which must be the one that pumps the host's events.
  // The title is code page 932. Null when the window or its renderer cannot be made.
  static std::unique_ptr<cSdlScreen> Open(const std::string& title, std::int32_t width, std::int32_t height,
                                          bool fullScreen, bool vsync);
  ~cSdlScreen() override;

  SDL_Window* Window() const { return m_Window; }
  std::optional<int> RefreshRate() const override;
  // Draws the last frame again and reads the window's pixels back (0xFFRRGGBB); empty when the
  // renderer cannot read. For checks that the window shows what was submitted.
  std::vector<std::uint32_t> ReadWindowPixels(std::int32_t* width, std::int32_t* height);

 protected:
  void ShowImage(const std::uint32_t* pixels) override;
  void ApplyState(const ScreenState& state) override;

 private:
  struct sOpenKey {};

 public:
  // Only through Open.
  cSdlScreen(sOpenKey, std::int32_t width, std::int32_t height) : cScreen(width, height) {}

 private:
  void Draw();

  SDL_Window* m_Window = nullptr;
  SDL_Renderer* m_Renderer = nullptr;
  SDL_Texture* m_Texture = nullptr;
  bool m_VideoStarted = false;
  ScreenState m_Applied;
};

// PNG files of frames: 0xFFRRGGBB pixels written as 8-bit RGB, and read back the same way.
bool WriteXrgbPng(const std::filesystem::path& file, const std::uint32_t* pixels, std::int32_t width,
                  std::int32_t height);
bool ReadXrgbPng(const std::filesystem::path& file, std::vector<std::uint32_t>* pixels, std::int32_t* width,
                 std::int32_t* height);
