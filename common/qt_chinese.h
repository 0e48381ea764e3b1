// SPDX-License-Identifier: MIT
// Qt's own texts (message box buttons, standard dialogs, a text field's context menu) in
// Simplified Chinese, whatever the session's locale.
#pragma once

class QCoreApplication;

namespace desk {

// Installs Qt's zh_CN translations on `app`; false when they are not installed, and Qt's
// English texts stay.
bool InstallQtChineseTexts(QCoreApplication& app);

}  // namespace desk
