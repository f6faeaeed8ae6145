#include "platform/host/screen.h"

#include <png.h>

#include <algorithm>

cScreen::cScreen(std::int32_t width, std::int32_t height)
    : m_Width(std::max(width, 1)),
      m_Height(std::max(height, 1)),
      m_Owner(std::this_thread::get_id()),
      m_Writing(static_cast<std::size_t>(m_Width) * m_Height, 0xFF000000u),
      m_Pending(m_Writing.size(), 0xFF000000u),
      m_Shown(m_Writing.size(), 0xFF000000u) {}

cScreen::~cScreen() = default;

void cScreen::SubmitFrame(const PixelView& frame, const std::uint32_t* palette) {
  std::lock_guard submit(m_SubmitLock);
  PixelView part = frame;
  part.width = std::clamp(frame.width, 0, m_Width);
  part.height = std::clamp(frame.height, 0, m_Height);
  if (!frame.pixels) part.width = part.height = 0;
  // Only a frame of another size leaves parts of the image to blacken.
  if (part.width < m_Width || part.height < m_Height) std::fill(m_Writing.begin(), m_Writing.end(), 0xFF000000u);
  ConvertFrameToXrgb(part, palette, m_Writing.data(), m_Width);
  std::lock_guard lock(m_Lock);
  std::swap(m_Writing, m_Pending);
  m_HasPending = true;
}

bool cScreen::TakePending() {
  std::lock_guard lock(m_Lock);
  if (!m_HasPending) return false;
  std::swap(m_Pending, m_Shown);
  m_HasPending = false;
  return true;
}

bool cScreen::ShowPendingFrame() {
  bool asked = false;
  ScreenState state;
  {
    std::lock_guard lock(m_Lock);
    asked = m_StateAsked;
    state = m_State;
    m_StateAsked = false;
  }
  if (asked) ApplyState(state);
  std::lock_guard show(m_ShowLock);
  bool fresh = TakePending();
  if (fresh) ShowImage(m_Shown.data());
  return fresh;
}

std::vector<std::uint32_t> cScreen::LastFrame() {
  // A frame submitted but not yet shown counts as the last one.
  std::lock_guard show(m_ShowLock);
  TakePending();
  return m_Shown;
}

bool cScreen::WriteLastFramePng(const std::filesystem::path& file) {
  std::vector<std::uint32_t> frame = LastFrame();
  return WriteXrgbPng(file, frame.data(), m_Width, m_Height);
}

void cScreen::AskState(const ScreenState& state) {
  {
    std::lock_guard lock(m_Lock);
    m_State = state;
    m_StateAsked = !OnOwnerThread();
  }
  if (OnOwnerThread()) ApplyState(state);
}

ScreenState cScreen::State() const {
  std::lock_guard lock(m_Lock);
  return m_State;
}

void cScreen::SetFullScreen(bool on) {
  ScreenState state = State();
  state.fullScreen = on;
  AskState(state);
}

void cScreen::SetCursorVisible(bool visible) {
  ScreenState state = State();
  state.cursorVisible = visible;
  AskState(state);
}

void cScreen::SetMinimised(bool minimised) {
  ScreenState state = State();
  state.minimised = minimised;
  AskState(state);
}

void cScreen::SetVsync(bool on) {
  ScreenState state = State();
  state.vsync = on;
  AskState(state);
}

bool WriteXrgbPng(const std::filesystem::path& file, const std::uint32_t* pixels, std::int32_t width,
                  std::int32_t height) {
  if (!pixels || width <= 0 || height <= 0) return false;
  std::vector<std::uint8_t> rgb(static_cast<std::size_t>(width) * height * 3);
  for (std::size_t i = 0; i < static_cast<std::size_t>(width) * height; ++i) {
    rgb[i * 3] = static_cast<std::uint8_t>(pixels[i] >> 16);
    rgb[i * 3 + 1] = static_cast<std::uint8_t>(pixels[i] >> 8);
    rgb[i * 3 + 2] = static_cast<std::uint8_t>(pixels[i]);
  }
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  image.width = static_cast<png_uint_32>(width);
  image.height = static_cast<png_uint_32>(height);
  image.format = PNG_FORMAT_RGB;
  std::string path = file.string();
  bool written = png_image_write_to_file(&image, path.c_str(), 0, rgb.data(), width * 3, nullptr) != 0;
  png_image_free(&image);
  return written;
}

bool ReadXrgbPng(const std::filesystem::path& file, std::vector<std::uint32_t>* pixels, std::int32_t* width,
                 std::int32_t* height) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  std::string path = file.string();
  if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
  if (image.width == 0 || image.height == 0 || image.width > 16384 || image.height > 16384) {
    png_image_free(&image);
    return false;
  }
  image.format = PNG_FORMAT_RGB;
  std::vector<std::uint8_t> rgb(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) {
    png_image_free(&image);
    return false;
  }
  *width = static_cast<std::int32_t>(image.width);
  *height = static_cast<std::int32_t>(image.height);
  pixels->resize(static_cast<std::size_t>(image.width) * image.height);
  for (std::size_t i = 0; i < pixels->size(); ++i)
    (*pixels)[i] =
        0xFF000000u | (std::uint32_t{rgb[i * 3]} << 16) | (std::uint32_t{rgb[i * 3 + 1]} << 8) | rgb[i * 3 + 2];
  return true;
}
