// SPDX-License-Identifier: MIT
// Keeps one web panel calm without a network: when its page cannot be reached, the panel
// shows a short Chinese notice in its own colours instead of the web engine's error page
// (no dialog, no sound), and asks for the page again later (see RetryDelay) and at once
// when the system reports the network back.
#pragma once

#include <QObject>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include "retry_delay.h"

namespace lumadesk {

class OfflineNotice : public QObject {
  Q_OBJECT

 public:
  explicit OfflineNotice(QWebEngineView* panel);

  // Points the panel at `page`.
  void load(const QUrl& page);

  static QString noticeText();

 private:
  void loadFinished(bool ok);
  void showNotice();
  void retryNow();

  QWebEngineView* panel_;
  QUrl page_;
  QTimer retry_;
  menu::RetryDelay delay_;
  bool noticeLoading_ = false;  // the next finished load is the notice's own
  bool noticeShown_ = false;
};

}  // namespace lumadesk
