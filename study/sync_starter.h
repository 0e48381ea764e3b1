// SPDX-License-Identifier: MIT
// How a study window has its store synchronised behind it: "studytool sync STORE" of the
// application folder, started detached so that the window never waits for the network.
#pragma once

#include <string>

#include "background_sync.h"

namespace studydesk {

struct SyncStarter {
  std::string studytool;     // the program to start
  studysync::Launch launch;  // how it is started
};

// The one every window uses: studytool beside this program, its output dropped. Tests
// put their own in its place.
SyncStarter& WindowSyncStarter();

}  // namespace studydesk
