// SPDX-License-Identifier: MIT
// The menu's web panels with real pages from a local server (run under Xvfb).
#include <gtest/gtest.h>

#include <QEventLoop>
#include <QSignalSpy>
#include <QTest>
#include <QWebEnginePage>

#include "form1.h"
#include "local_site.h"
#include "test_support.h"

namespace {

// The width the page's vertical scroll bar takes, 0 without one.
int ScrollBarWidth(QWebEngineView* view) {
  int width = -1;
  QEventLoop loop;
  view->page()->runJavaScript(
      QStringLiteral("window.innerWidth - document.documentElement.clientWidth"),
      [&](const QVariant& result) {
        width = result.toInt();
        loop.quit();
      });
  loop.exec();
  return width;
}

class MenuWeb : public ::testing::Test {
 protected:
  lumadesk::Form1& start(const QString& host) {
    const QString folder = QString::fromStdString(dir_.path().string());
    form_ = std::make_unique<lumadesk::Form1>([folder] { return folder; }, host);
    form_->setMessageCall(
        [this](QMessageBox::Icon, const QString&, const QString&) { ++messages_; });
    for (auto* panel : {form_->WebBrowser1, form_->WebBrowser2, form_->WebBrowser3}) {
      loads_.push_back(std::make_unique<QSignalSpy>(panel, &QWebEngineView::loadFinished));
    }
    form_->Form_Load();
    form_->showAtStartPosition();
    return *form_;
  }
  bool waitForLoads() {
    for (auto& spy : loads_) {
      if (spy->isEmpty() && !spy->wait(30000)) return false;
    }
    return true;
  }

  testsupport::TempDir dir_;
  std::unique_ptr<lumadesk::Form1> form_;
  std::vector<std::unique_ptr<QSignalSpy>> loads_;
  int messages_ = 0;
};

TEST_F(MenuWeb, PanelsShowTheSitePagesWithoutScrollBarsAfterATick) {
  testsupport::LocalSite site(QStringLiteral(SUITE_SITE_DIR));
  auto& form = start(site.host());
  form.Timer1->stop();  // held until the pages are seen with their scroll bars
  ASSERT_TRUE(waitForLoads());
  EXPECT_EQ(form.WebBrowser1->url().toString(), "http://" + site.host() + "/008.htm");
  EXPECT_EQ(form.WebBrowser2->url().toString(), "http://" + site.host() + "/005.htm");
  EXPECT_EQ(form.WebBrowser3->url().toString(), "http://" + site.host() + "/006.htm");
  for (const auto& load : loads_) EXPECT_TRUE(load->front().front().toBool());
  for (auto* panel : {form.WebBrowser1, form.WebBrowser2, form.WebBrowser3}) {
    EXPECT_GT(ScrollBarWidth(panel), 0) << "the page should be taller than its panel";
  }
  QSignalSpy tick(form.Timer1, &QTimer::timeout);
  form.Timer1->start();
  ASSERT_TRUE(tick.wait(3000));
  for (auto* panel : {form.WebBrowser1, form.WebBrowser2, form.WebBrowser3}) {
    EXPECT_EQ(ScrollBarWidth(panel), 0) << panel->objectName().toStdString();
  }
  EXPECT_EQ(messages_, 0);
}

TEST_F(MenuWeb, AnUnreachableSiteKeepsTheTimerTickingAndSaysNothing) {
  auto& form = start(QStringLiteral("127.0.0.1:9"));
  QSignalSpy tick(form.Timer1, &QTimer::timeout);
  QTest::qWait(3200);
  EXPECT_GE(tick.count(), 2);
  EXPECT_EQ(messages_, 0);
  EXPECT_TRUE(form.isVisible());
}

}  // namespace
