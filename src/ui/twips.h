#pragma once

namespace zeduzovir {

// The window is laid out in twips: 1440 to the inch, so 15 to a pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDpi = 96;

struct TwipsRect {
  int left;
  int top;
  int width;
  int height;
};

struct PixelRect {
  int left;
  int top;
  int width;
  int height;
  friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Rounds to the nearest pixel, halves away from zero, as Windows' MulDiv does, so every
// front end lands each edge on the same pixel.
int TwipsToPixels(int twips, int dpi = kStandardDpi);

PixelRect TwipsToPixels(const TwipsRect& rect, int dpi = kStandardDpi);

// A font's size in points (20 twips each) as a pixel height, rounded as above.
int PointsToPixels(double points, int dpi = kStandardDpi);

}  // namespace zeduzovir
