// SPDX-License-Identifier: MIT
// The menu's fixed tables: which button starts which study program, and which page each
// web panel shows.
#pragma once

#include <array>
#include <string_view>

namespace menu {

struct Launch {
  std::string_view button;
  std::string_view program;  // a file in the application folder, started by this name
};

inline constexpr std::array<Launch, 6> kLaunchTable{{
    {"Command1", "pellimar.exe"},  // course selection
    {"Command2", "dorvesk.exe"},   // first study of the text
    {"Command3", "fennatel.exe"},  // review and recall
    {"Command4", "grisholm.exe"},  // dictation training
    {"Command8", "jorrimet.exe"},  // listening self-test
    {"Command9", "kestavel.exe"},  // leisure typing
}};

struct Panel {
  std::string_view name;
  std::string_view page;  // follows the site's host name
};

// In the order the panels are pointed at their pages.
inline constexpr std::array<Panel, 3> kPanelTable{{
    {"WebBrowser1", "/008.htm"},
    {"WebBrowser2", "/005.htm"},
    {"WebBrowser3", "/006.htm"},
}};

inline constexpr std::string_view kClickSound = "1.wav";

}  // namespace menu
