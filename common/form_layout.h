// SPDX-License-Identifier: MIT
// A window's static layout description: one record for the window and one per control,
// each holding only what differs from the defaults of its kind.
#pragma once

#include <QColor>
#include <QHash>
#include <QString>
#include <span>

class QWidget;

namespace desk {

struct WindowRecord {
  const char* caption = "";  // UTF-8
  int clientWidth = 0;       // twips
  int clientHeight = 0;      // twips
  QColor background{};
  const char* icon = nullptr;  // a picture resource
};

enum class ControlKind {
  PictureButton,  // shows its picture only, centred; the label is part of the picture
  TextButton,
  ListBox,
  Picture,  // stretched to the control, drawn beneath every other control
  Marker,   // an opaque filled rectangle, beneath every button
  WebView,
  Timer,
  MultimediaControl,
};

struct ControlRecord {
  const char* name = "";
  ControlKind kind = ControlKind::TextButton;
  int left = 0;  // twips, from the client area's top-left corner
  int top = 0;
  int width = 0;
  int height = 0;
  int tabIndex = -1;  // -1: not in the keyboard order
  bool visible = true;
  const char* caption = nullptr;         // UTF-8 text of a text button
  const char* picture = nullptr;         // picture resource of a picture button or picture
  const char* accessibleName = nullptr;  // UTF-8: what a screen reader says the control is
  std::span<const char* const> items{};  // UTF-8 items of a list, in order
  QColor background{};                   // marker colour
  int systemTextColour = -1;             // a window-system colour index for a list's text
  int interval = 0;                      // timer milliseconds
};

struct FormLayout {
  WindowRecord window;
  std::span<const ControlRecord> controls;
};

// Controls by name, as the handlers address them.
using ControlMap = QHash<QString, QWidget*>;

}  // namespace desk
