// SPDX-License-Identifier: MIT
#pragma once

namespace lumadesk {

// Before the QApplication exists: Chromium refuses to run as root with its sandbox on, so
// a root process turns the sandbox off; nobody else does.
void PrepareWebEngine();

}  // namespace lumadesk
