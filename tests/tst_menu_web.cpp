// SPDX-License-Identifier: MIT
// The menu's web panels with real pages from a local server (run under Xvfb).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <QWebEnginePage>

#include "form1.h"
#include "local_site.h"
#include "offline_notice.h"
#include "test_support.h"

namespace {

// What `expression` gives in the page's own script world.
QVariant PageValue(QWebEngineView* view, const QString& expression) {
  QVariant value;
  QEventLoop loop;
  view->page()->runJavaScript(expression, [&](const QVariant& result) {
    value = result;
    loop.quit();
  });
  loop.exec();
  return value;
}

// Whether `expression` comes to give `expected` in the page within `milliseconds`.
bool PageComesTo(QWebEngineView* view, const QString& expression, const QVariant& expected,
                 int milliseconds) {
  QElapsedTimer waited;
  waited.start();
  while (PageValue(view, expression) != expected) {
    if (waited.hasExpired(milliseconds)) return false;
    QTest::qWait(100);
  }
  return true;
}

// A port of this machine that nothing listens on, until a test serves on it.
quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost);
  return probe.serverPort();
}

// The width the page's vertical scroll bar takes, 0 without one.
int ScrollBarWidth(QWebEngineView* view) {
  return PageValue(view, QStringLiteral("window.innerWidth - document.documentElement.clientWidth"))
      .toInt();
}

// Pages taller than their panels whose own scripts lean on what the tick must not touch.
// 008.htm scrolls its body with the body's own scroll() every half second and counts the
// calls that worked; 005.htm replaces setAttribute and the style property in its own world
// and counts every call of them that did not come from itself.
constexpr char kTallBody[] = "<body><div style='height:3000px'>Zuvizuz</div></body>";
constexpr char kScrollingPage[] =
    "<script>window.scrolled = 0; setInterval(function () {"
    " document.body.scroll(0, 10); window.scrolled++; }, 500);</script>";
constexpr char kReplacingPage[] =
    "<script>window.foreignCalls = 0;"
    " Element.prototype.setAttribute = function () { window.foreignCalls++; };"
    " Object.defineProperty(HTMLElement.prototype, 'style', {"
    "   get: function () { window.foreignCalls++; return {}; } });</script>";

// What the programs' output says while it lives.
class OutputLog {
 public:
  OutputLog() {
    lines_ = &lines_storage_;
    previous_ = qInstallMessageHandler(
        [](QtMsgType, const QMessageLogContext&, const QString& text) { lines_->append(text); });
  }
  ~OutputLog() { qInstallMessageHandler(previous_); }
  OutputLog(const OutputLog&) = delete;
  OutputLog& operator=(const OutputLog&) = delete;
  QString text() const { return lines_->join('\n'); }

 private:
  static inline QStringList* lines_ = nullptr;
  QStringList lines_storage_;
  QtMessageHandler previous_;
};

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

TEST_F(MenuWeb, TheTickLeavesThePagesOwnScriptsAsTheyWere) {
  testsupport::TempDir site;
  testsupport::WriteBytes(site.file("008.htm"), std::string(kScrollingPage) + kTallBody);
  testsupport::WriteBytes(site.file("005.htm"), std::string(kReplacingPage) + kTallBody);
  testsupport::WriteBytes(site.file("006.htm"), kTallBody);
  testsupport::LocalSite server(QString::fromStdString(site.path().string()));
  OutputLog output;
  auto& form = start(server.host());
  form.Timer1->stop();
  ASSERT_TRUE(waitForLoads());
  for (auto* panel : {form.WebBrowser1, form.WebBrowser2, form.WebBrowser3}) {
    ASSERT_GT(ScrollBarWidth(panel), 0) << panel->objectName().toStdString();
  }

  QSignalSpy tick(form.Timer1, &QTimer::timeout);
  form.Timer1->start();
  ASSERT_TRUE(tick.wait(3000));
  // The tick's scripts run in the pages after the tick itself.
  for (auto* panel : {form.WebBrowser1, form.WebBrowser2, form.WebBrowser3}) {
    EXPECT_TRUE(QTest::qWaitFor([&] { return ScrollBarWidth(panel) == 0; }, 3000))
        << panel->objectName().toStdString();
  }
  const int scrolledAtTick = PageValue(form.WebBrowser1, "window.scrolled").toInt();
  // The page's own scrolls go on working, through another tick too.
  const int ticksBefore = tick.count();
  EXPECT_TRUE(QTest::qWaitFor(
      [&] {
        return tick.count() > ticksBefore &&
               PageValue(form.WebBrowser1, "window.scrolled").toInt() >= scrolledAtTick + 2;
      },
      5000));
  EXPECT_EQ(PageValue(form.WebBrowser1, "typeof document.body.scroll").toString(), "function");
  EXPECT_EQ(PageValue(form.WebBrowser2, "window.foreignCalls").toInt(), 0);
  EXPECT_EQ(PageValue(form.WebBrowser2, "document.body.getAttribute('scroll')").toString(), "no");
  EXPECT_FALSE(output.text().contains("Uncaught")) << output.text().toStdString();
  EXPECT_EQ(messages_, 0);
}

TEST_F(MenuWeb, AnUnreachableSiteKeepsTheTimerTickingAndSaysNothing) {
  auto& form = start(QStringLiteral("127.0.0.1:9"));
  QSignalSpy tick(form.Timer1, &QTimer::timeout);
  EXPECT_TRUE(QTest::qWaitFor([&] { return tick.count() >= 2; }, 10000)) << tick.count();
  EXPECT_EQ(messages_, 0);
  EXPECT_TRUE(form.isVisible());
}

TEST_F(MenuWeb, WithoutTheSiteEachPanelSaysSoCalmlyAndShowsItsPageOnceTheSiteIsUp) {
  const quint16 port = ClosedPort();
  const QString host = QStringLiteral("127.0.0.1:%1").arg(port);
  auto& form = start(host);
  const QString text = QStringLiteral("document.body ? document.body.innerText : ''");
  const QList<QWebEngineView*> panels{form.WebBrowser1, form.WebBrowser2, form.WebBrowser3};
  for (auto* panel : panels) {
    ASSERT_TRUE(PageComesTo(panel, text, lumadesk::OfflineNotice::noticeText(), 20000))
        << panel->objectName().toStdString()
        << " shows: " << PageValue(panel, text).toString().toStdString();
    const QColor own = panel->palette().color(QPalette::Window);
    EXPECT_EQ(PageValue(panel, "getComputedStyle(document.body).backgroundColor").toString(),
              QStringLiteral("rgb(%1, %2, %3)").arg(own.red()).arg(own.green()).arg(own.blue()));
  }

  testsupport::LocalSite site(QStringLiteral(SUITE_SITE_DIR), port);
  ASSERT_EQ(site.host(), host);
  const QStringList pages{"/008.htm", "/005.htm", "/006.htm"};
  for (int i = 0; i < panels.size(); ++i) {
    // The second retry comes six seconds after the first failure.
    EXPECT_TRUE(PageComesTo(panels[i], "location.href", "http://" + host + pages[i], 20000))
        << panels[i]->objectName().toStdString();
    EXPECT_FALSE(PageValue(panels[i], text)
                     .toString()
                     .contains(lumadesk::OfflineNotice::noticeText().section('\n', 0, 0)));
  }
  EXPECT_EQ(messages_, 0);
}

}  // namespace
