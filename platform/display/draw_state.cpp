// The draw colour and colour operation of Direct3D copies: the vertex colour that texture stage 0
// combines with each texel. Translucency comes from the texture's alpha alone (the alpha operation
// stays SELECTARG1), never from the draw colour. Nothing under DirectDraw.
#include "platform/display/blit.h"
#include "platform/display/display.h"

void SetDrawColor(std::uint32_t argb) {
  if (g_DisplayContext) g_DisplayContext->drawColor = argb;
}

void ResetDrawColor() { SetDrawColor(0xFFFFFFFF); }

void SetDrawColorOp(std::uint32_t op) {
  if (g_DisplayContext) g_DisplayContext->colorOp = op;
}

void ResetDrawColorOp() { SetDrawColorOp(D3DTOP_MODULATE); }

void ResetDrawAlphaOp() {
  if (g_DisplayContext) g_DisplayContext->alphaOp = D3DTOP_SELECTARG1;
}
