// The game window through SDL.
#include <SDL.h>

#include "platform/host/screen.h"
#include "platform/host/text_codec.h"

std::unique_ptr<cSdlScreen> cSdlScreen::Open(const std::string& title, std::int32_t width, std::int32_t height,
                                             bool fullScreen, bool vsync) {
  auto screen = std::make_unique<cSdlScreen>(sOpenKey{}, width, height);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return nullptr;
  screen->m_VideoStarted = true;
  Uint32 flags = SDL_WINDOW_RESIZABLE | (fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  std::string utf8Title = Cp932ToUtf8(title);
  screen->m_Window = SDL_CreateWindow(utf8Title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                      screen->Width(), screen->Height(), flags);
  if (!screen->m_Window) return nullptr;
  screen->m_Renderer = SDL_CreateRenderer(screen->m_Window, -1, vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
  if (!screen->m_Renderer) screen->m_Renderer = SDL_CreateRenderer(screen->m_Window, -1, SDL_RENDERER_SOFTWARE);
  if (!screen->m_Renderer) return nullptr;
  screen->m_Texture = SDL_CreateTexture(screen->m_Renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING,
                                        screen->Width(), screen->Height());
  if (!screen->m_Texture) return nullptr;
  SDL_SetTextureScaleMode(screen->m_Texture, SDL_ScaleModeNearest);
  screen->m_Applied = {fullScreen, true, false, vsync};
  screen->SetFullScreen(fullScreen);
  screen->SetVsync(vsync);
  // The window starts black until the first frame.
  std::vector<std::uint32_t> black(static_cast<std::size_t>(screen->Width()) * screen->Height(), 0xFF000000u);
  screen->ShowImage(black.data());
  return screen;
}

cSdlScreen::~cSdlScreen() {
  if (m_Texture) SDL_DestroyTexture(m_Texture);
  if (m_Renderer) SDL_DestroyRenderer(m_Renderer);
  if (m_Window) SDL_DestroyWindow(m_Window);
  if (m_VideoStarted) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

std::optional<int> cSdlScreen::RefreshRate() const {
  int display = m_Window ? SDL_GetWindowDisplayIndex(m_Window) : -1;
  SDL_DisplayMode mode;
  if (display < 0 || SDL_GetCurrentDisplayMode(display, &mode) != 0 || mode.refresh_rate <= 0) return std::nullopt;
  return mode.refresh_rate;
}

void cSdlScreen::ShowImage(const std::uint32_t* pixels) {
  SDL_UpdateTexture(m_Texture, nullptr, pixels, Width() * static_cast<int>(sizeof(std::uint32_t)));
  Draw();
  SDL_RenderPresent(m_Renderer);
}

void cSdlScreen::Draw() {
  int outWidth = 0, outHeight = 0;
  SDL_GetRendererOutputSize(m_Renderer, &outWidth, &outHeight);
  ScreenRect fit = FitFrameToWindow(outWidth, outHeight, Width(), Height());
  SDL_Rect target{fit.x, fit.y, fit.w, fit.h};
  SDL_SetRenderDrawColor(m_Renderer, 0, 0, 0, 255);
  SDL_RenderClear(m_Renderer);
  SDL_RenderCopy(m_Renderer, m_Texture, nullptr, &target);
}

void cSdlScreen::ApplyState(const ScreenState& state) {
  if (state.fullScreen != m_Applied.fullScreen)
    SDL_SetWindowFullscreen(m_Window, state.fullScreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  if (state.cursorVisible != m_Applied.cursorVisible) SDL_ShowCursor(state.cursorVisible ? SDL_ENABLE : SDL_DISABLE);
  if (state.minimised != m_Applied.minimised) {
    if (state.minimised)
      SDL_MinimizeWindow(m_Window);
    else
      SDL_RestoreWindow(m_Window);
  }
  if (state.vsync != m_Applied.vsync) SDL_RenderSetVSync(m_Renderer, state.vsync ? 1 : 0);
  m_Applied = state;
  Draw();
  SDL_RenderPresent(m_Renderer);
}

std::vector<std::uint32_t> cSdlScreen::ReadWindowPixels(std::int32_t* width, std::int32_t* height) {
  int outWidth = 0, outHeight = 0;
  SDL_GetRendererOutputSize(m_Renderer, &outWidth, &outHeight);
  if (outWidth <= 0 || outHeight <= 0) return {};
  Draw();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(outWidth) * outHeight);
  bool read = SDL_RenderReadPixels(m_Renderer, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                                   outWidth * static_cast<int>(sizeof(std::uint32_t))) == 0;
  SDL_RenderPresent(m_Renderer);
  if (!read) return {};
  for (std::uint32_t& p : pixels) p |= 0xFF000000u;
  *width = outWidth;
  *height = outHeight;
  return pixels;
}
