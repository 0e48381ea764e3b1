// SPDX-License-Identifier: MIT
#include "web_engine_setup.h"

#include <unistd.h>

#include <QCoreApplication>

namespace lumadesk {

void PrepareWebEngine() {
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

}  // namespace lumadesk
