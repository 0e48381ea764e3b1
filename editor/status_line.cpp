// SPDX-License-Identifier: MIT
#include "status_line.h"

namespace coursedesk {

void StatusLine::tell(const QString& text, bool trouble) {
  setText(text);
  setStyleSheet(trouble ? QStringLiteral("color: #b00020") : QString());
}

}  // namespace coursedesk
