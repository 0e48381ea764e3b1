// SPDX-License-Identifier: MIT
// Layouts are in twips; the one place where they become pixels (15 twips to a pixel at
// 96 dots per inch; Qt scales pixels for high-DPI screens itself).
#pragma once

#include <QRect>
#include <QSize>

namespace desk {

inline constexpr int kTwipsPerPixel = 15;

constexpr int TwipsToPixels(int twips) {
  // Round half away from zero, so that -600 and 600 land on -40 and 40.
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

inline QRect TwipsRect(int left, int top, int width, int height) {
  return {TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height)};
}

inline QSize TwipsSize(int width, int height) {
  return {TwipsToPixels(width), TwipsToPixels(height)};
}

}  // namespace desk
