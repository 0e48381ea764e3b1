// SPDX-License-Identifier: MIT
// Makes a window's controls from its layout description.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

#include "form_layout.h"

namespace desk {

using NamedControls = QHash<QString, QObject*>;

struct BuiltControls {
  NamedControls named;
  std::vector<QWidget*> keyboardOrder;  // by tab index
};

// Makes a control of a kind the common builder does not know (web views, timers, sound).
using ControlFactory = std::function<QObject*(const ControlRecord& record, QWidget* form)>;

// Creates every control on `form` in layout order, places it, puts pictures and markers
// beneath every other control and lists the keyboard order by tab index.
BuiltControls BuildControls(QWidget* form, std::span<const ControlRecord> controls,
                            const ControlFactory& makeOther = {});

// The control called `name`, which the layout must hold with the right kind.
template <typename T>
T* Control(const NamedControls& controls, const char* name) {
  auto* control = qobject_cast<T*>(controls.value(QString::fromLatin1(name)));
  Q_ASSERT_X(control, "desk::Control", name);
  return control;
}

}  // namespace desk
