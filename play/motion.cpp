#include "play/motion.h"

#include <cmath>
#include <numbers>

#include "platform/display/display.h"
#include "platform/display/surface.h"
#include "project/stage_data.h"

bool SpanOverlaps(double position, std::int32_t size, double low, double high, std::int32_t margin,
                  std::int32_t back, std::int32_t ahead, std::int32_t centred) {
  const std::int32_t half = size >> 1;
  const double centre = position + half;
  double start = 0.0;
  double end = 0.0;
  if (centred != 0 && back == 0 && ahead == 0) {
    start = position;
    end = position + 2 * half;
  } else {
    start = back > 0 ? position : centre;
    end = ahead > 0 ? centre + half : centre;
    start -= back;
    end += ahead;
  }
  return start <= high - margin && low + margin <= end;
}

namespace {

// The angle of the circle at phase, and the phase one step on.
double CirclePhase(double rate, double& phase, double advance, double offset, double& k) {
  const double n = g_StepsPerFrameF;
  k = rate * std::numbers::pi / 180;
  const double theta = (phase / n + offset) * k;
  phase += advance;
  if (phase >= 360 * n) phase -= 360 * n;
  return theta;
}

double GlideStartSpeed(double c) {
  const double n = g_StepsPerFrameF;
  if (c > 0) return (std::sqrt(1 + 128 * n * c) - 1) / (2 * n);
  if (c < 0) return -(std::sqrt(1 - 128 * n * c) - 1) / (2 * n);
  return 0.0;
}

}  // namespace

double CircleMoveStepX(double radius, double rate, double& phase, double advance, double offset) {
  double k = 0.0;
  const double theta = CirclePhase(rate, phase, advance, offset, k);
  return radius * k * std::cos(theta) / g_StepsPerFrameF;
}

double CircleMoveStepY(double radius, double rate, double& phase, double advance, double offset) {
  double k = 0.0;
  const double theta = CirclePhase(rate, phase, advance, offset, k);
  return -(radius * k * k * std::sin(theta)) / (g_StepsPerFrameF * g_StepsPerFrameF);
}

void SplitSpeedToVector(double& outX, double& outY, std::int8_t amount, double dx, double dy) {
  if (amount == 0) return;
  const double s = std::fabs(dx) + std::fabs(dy);
  if (s == 0) {
    outX = 0.0;
    outY = 0.0;
    return;
  }
  const double cx = amount * dx / s;
  const double cy = amount * dy / s;
  outX = GlideStartSpeed(cx);
  outY = GlideStartSpeed(cy);
}

double PerStepFromPerSecond(double v) { return v / g_StepsPerFrameF / 60; }

std::int32_t ShotSheetIndex(std::int32_t sheet, std::int32_t variant) {
  constexpr std::int32_t kCopyDistance = 18;
  if (!DisplayIsD3D()) return sheet;
  const std::int32_t copy = sheet + kCopyDistance;
  if (sheet < 0 || copy >= kSurfaceTableSize) return sheet;
  const auto hasSurface = [](std::int32_t n) {
    const DDSURFACEDATA& sd = g_SurfaceTable[n];
    return sd.lpDT != nullptr || sd.lpDDPart != nullptr;
  };
  if (variant == 0) return hasSurface(sheet) ? sheet : copy;
  if (variant == 1) return hasSurface(copy) ? copy : sheet;
  return sheet;
}
