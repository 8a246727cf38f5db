#pragma once
// The scene that every frame benchmark draws, the same as the program's own picture: the dark
// blue background and forty pie wedges, twenty on the upper chart's 340 x 140 ellipse with
// 2-unit light gray outlines and twenty on the lower chart's circle of radius 120, both centred
// horizontally. Plain C++: the native Cairo reference shares it with the Windows programs.

#include <cmath>

#include "chart/degrees.h"

namespace bench {

constexpr int kSlicesPerChart = 20;
constexpr float kOutlineWidth = 2.0f;

struct Rgb {
  float r, g, b;
};

constexpr Rgb kBackground{0.0f, 82.0f / 255.0f, 121.0f / 255.0f};
constexpr Rgb kOutline{192.0f / 255.0f, 192.0f / 255.0f, 192.0f / 255.0f};

struct ChartShape {
  float cx, cy, rx, ry;
  bool outlined;
};

// The two charts of a frame width pixels wide (the program centres them on every resize).
inline ChartShape UpperChart(int width) {
  return {static_cast<float>(width) / 2.0f, 110.0f, 170.0f, 70.0f, true};
}
inline ChartShape LowerChart(int width) {
  return {static_cast<float>(width) / 2.0f, 370.0f, 120.0f, 120.0f, false};
}

// The whole-number values of the twenty slices, 10 to 150 like the program's.
inline int SliceValue(int i) { return 10 + (i * 37) % 141; }

// Start and end of slice i in degrees: 0 points down, angles grow counter-clockwise on screen.
inline void SliceAngles(int i, float* start, float* end) {
  float total = 0.0f;
  float before = 0.0f;
  for (int k = 0; k < kSlicesPerChart; ++k) {
    if (k < i) before += static_cast<float>(SliceValue(k));
    total += static_cast<float>(SliceValue(k));
  }
  *start = before / total * 360.0f;
  *end = (before + static_cast<float>(SliceValue(i))) / total * 360.0f;
}

// A point of the ellipse at angle degrees.
inline void RimPoint(const ChartShape& chart, float degrees, float* x, float* y) {
  const float radians = degrees * kDegreesToRadians;
  *x = chart.cx + chart.rx * std::sin(radians);
  *y = chart.cy + chart.ry * std::cos(radians);
}

// Twenty distinct opaque colours around the hue circle.
inline Rgb SliceColour(int i) {
  const float h = static_cast<float>(i % kSlicesPerChart) / kSlicesPerChart * 6.0f;
  const float f = h - std::floor(h);
  const float v = 0.9f;
  const float p = 0.25f;
  const float q = v - (v - p) * f;
  const float t = p + (v - p) * f;
  switch (static_cast<int>(h)) {
    case 0:
      return {v, t, p};
    case 1:
      return {q, v, p};
    case 2:
      return {p, v, t};
    case 3:
      return {p, q, v};
    case 4:
      return {t, p, v};
    default:
      return {v, p, q};
  }
}

}  // namespace bench
