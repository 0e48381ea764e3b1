// SPDX-License-Identifier: MIT
#include "offline_notice.h"

#include <QNetworkInformation>
#include <QWebEngineSettings>

namespace lumadesk {
namespace {

// The system's word on the network, where a backend can give it (none: the timer alone).
QNetworkInformation* NetworkReports() {
  static const bool loaded =
      QNetworkInformation::loadBackendByFeatures(QNetworkInformation::Feature::Reachability);
  return loaded ? QNetworkInformation::instance() : nullptr;
}

}  // namespace

OfflineNotice::OfflineNotice(QWebEngineView* panel) : QObject(panel), panel_(panel) {
  // A failed load leaves the panel as it was, so the notice is not replaced by the
  // engine's English page while the page is asked for again.
  panel_->settings()->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
  retry_.setSingleShot(true);
  connect(&retry_, &QTimer::timeout, this, &OfflineNotice::retryNow);
  connect(panel_, &QWebEngineView::loadFinished, this, &OfflineNotice::loadFinished);
  if (QNetworkInformation* network = NetworkReports()) {
    connect(network, &QNetworkInformation::reachabilityChanged, this,
            [this](QNetworkInformation::Reachability reachability) {
              if (reachability == QNetworkInformation::Reachability::Online && noticeShown_) {
                delay_.reset();
                retryNow();
              }
            });
  }
}

QString OfflineNotice::noticeText() {
  return QStringLiteral("暂时连不上网站\n联网后会自动显示");
}

void OfflineNotice::load(const QUrl& page) {
  page_ = page;
  panel_->load(page_);
}

void OfflineNotice::loadFinished(bool ok) {
  if (noticeLoading_) {
    noticeLoading_ = false;
    return;
  }
  if (ok) {
    noticeShown_ = false;
    delay_.reset();
    retry_.stop();
    return;
  }
  showNotice();
  retry_.start(delay_.next());
}

void OfflineNotice::showNotice() {
  const QPalette& colours = panel_->palette();
  const QString html =
      QStringLiteral(
          "<!DOCTYPE html><html lang=\"zh-CN\"><head><meta charset=\"utf-8\"></head>"
          "<body style=\"margin:0;height:100vh;display:flex;align-items:center;"
          "justify-content:center;text-align:center;font-size:12px;background:%1;color:%2\">"
          "<div>%3</div></body></html>")
          .arg(colours.color(QPalette::Window).name(), colours.color(QPalette::WindowText).name(),
               noticeText().toHtmlEscaped().replace(QLatin1Char('\n'), QLatin1String("<br>")));
  noticeLoading_ = true;
  noticeShown_ = true;
  panel_->setHtml(html);
}

void OfflineNotice::retryNow() {
  if (noticeLoading_) {  // its end is awaited first, so it is not taken for the page's
    retry_.start(100);
    return;
  }
  retry_.stop();
  panel_->load(page_);
}

}  // namespace lumadesk
