#include "ui/twips.h"

#include <cmath>
#include <cstdint>

namespace zeduzovir {

int TwipsToPixels(int twips, int dpi) {
  const std::int64_t scaled = std::int64_t{twips} * dpi;
  const std::int64_t half = kTwipsPerInch / 2;
  const std::int64_t rounded =
      scaled >= 0 ? (scaled + half) / kTwipsPerInch : -((-scaled + half) / kTwipsPerInch);
  return static_cast<int>(rounded);
}

PixelRect TwipsToPixels(const TwipsRect& rect, int dpi) {
  return {TwipsToPixels(rect.left, dpi), TwipsToPixels(rect.top, dpi),
          TwipsToPixels(rect.width, dpi), TwipsToPixels(rect.height, dpi)};
}

int PointsToPixels(double points, int dpi) {
  constexpr double kTwipsPerPoint = 20.0;
  return TwipsToPixels(static_cast<int>(std::lround(points * kTwipsPerPoint)), dpi);
}

}  // namespace zeduzovir
