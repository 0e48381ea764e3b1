// SPDX-License-Identifier: MIT
#pragma once

#include "form_layout.h"

namespace lumadesk {

// The menu window as it is created, before any handler runs.
const desk::FormLayout& Form1Layout();

// The background picture, drawn unscaled at the client area's top-left corner.
inline constexpr const char* kBannerPicture = ":/art/banner.svg";
inline constexpr int kBannerWidth = 807;  // pixels
inline constexpr int kBannerHeight = 386;

}  // namespace lumadesk
