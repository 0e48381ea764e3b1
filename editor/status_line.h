// SPDX-License-Identifier: MIT
// The line under the course editor's panes: where the book was saved, or what went wrong.
// An ordinary label, so screen readers find it.
#pragma once

#include <QLabel>

namespace coursedesk {

class StatusLine : public QLabel {
 public:
  using QLabel::QLabel;

  // Says `text`, in red when something went wrong; an empty text clears the line.
  void tell(const QString& text, bool trouble);
};

}  // namespace coursedesk
