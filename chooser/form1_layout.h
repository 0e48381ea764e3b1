// SPDX-License-Identifier: MIT
#pragma once

#include "form_layout.h"

namespace pickwell {

// The chooser window as it is created, before any handler runs.
const desk::FormLayout& Form1Layout();

}  // namespace pickwell
