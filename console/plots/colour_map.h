#pragma once
// The colours of the heat maps: viridis from the lowest value of a table
// (dark blue) to its highest (yellow), and a grey for cells without a value.
#include <QRgb>
#include <cstdint>

namespace console::plots {

inline constexpr int kColourSteps = 256;
// Cells whose value is not a number.
inline constexpr QRgb kMissingColour = 0xffc8c8c8u;

// Entry step (0..255, clamped) of the colour map, opaque.
QRgb viridis_step(int step);
// The colour at t in [0, 1], clamped; NaN gives the low end.
QRgb viridis(double t);

// Maps a table's values onto [0, 1]: low to 0, high to 1. A table of one
// value maps everything to 0.
class ValueScale {
 public:
  ValueScale() = default;
  ValueScale(float low, float high);

  float low() const { return low_; }
  float high() const { return high_; }
  double fraction(float value) const;
  QRgb colour(float value) const { return value == value ? viridis(fraction(value)) : kMissingColour; }

 private:
  float low_ = 0.0f;
  float high_ = 0.0f;
};

}  // namespace console::plots
