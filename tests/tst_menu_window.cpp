// SPDX-License-Identifier: MIT
// The menu window through its real widgets: layout, hover marker and sound, launcher.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QFile>
#include <QTest>
#include <filesystem>
#include <fstream>

#include "form1.h"
#include "test_support.h"
#include "twips.h"
#include "window_checks.h"

namespace {

using testsupport::ReadBytes;
using testsupport::TempDir;

struct Message {
  QMessageBox::Icon icon;
  QString text;
};

class MenuWindow : public ::testing::Test {
 protected:
  lumadesk::Form1& start() {
    const QString folder = QString::fromStdString(dir_.path().string());
    // A closed port: the panels load nothing and nobody outside is asked.
    form_ = std::make_unique<lumadesk::Form1>([folder] { return folder; },
                                              QStringLiteral("127.0.0.1:9"));
    form_->setMessageCall([this](QMessageBox::Icon icon, const QString&, const QString& text) {
      messages_.push_back({icon, text});
    });
    form_->Form_Load();
    form_->showAtStartPosition();
    return *form_;
  }
  void activate() { ASSERT_TRUE(testsupport::Activate(form_.get())); }
  void moveOver(QWidget* widget, QPoint at = {}) {
    QTest::mouseMove(widget, at.isNull() ? widget->rect().center() : at);
  }
  void moveOverBackground() { moveOver(form_.get(), QPoint(400, 100)); }  // on the banner

  // A program that writes a line beside itself each time it starts.
  void makeProgram(const std::string& name, mode_t mode = 0755) {
    const std::string path = dir_.file(name);
    std::ofstream(path) << "#!/bin/sh\necho \"$0\" >> \"$(dirname \"$0\")/started.log\"\n";
    chmod(path.c_str(), mode);
  }
  int starts() const {
    const std::string log = ReadBytes(dir_.file("started.log"));
    return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
  }
  bool waitForStarts(int count) {
    for (int waited = 0; waited < 5000 && starts() < count; waited += 20) QTest::qWait(20);
    return starts() == count;
  }

  TempDir dir_;
  std::unique_ptr<lumadesk::Form1> form_;
  std::vector<Message> messages_;
};

TEST_F(MenuWindow, LayoutAsDescribed) {
  auto& form = start();
  EXPECT_EQ(form.windowTitle(),
            QString::fromUtf8("Zideviv--大学英语精读\u3000\u3000\u3000 版本号\uff1a\u30005.13"
                              "       Zuvizuz  网站: ") +
                SUITE_WEB_ADDRESS);
  const std::pair<QWidget*, QRect> places[] = {
      {form.Command1, desk::TwipsRect(600, 6000, 975, 975)},
      {form.Command2, desk::TwipsRect(2220, 6000, 975, 975)},
      {form.Command3, desk::TwipsRect(3840, 6000, 975, 975)},
      {form.Command4, desk::TwipsRect(5460, 6000, 975, 975)},
      {form.Command8, desk::TwipsRect(7080, 6000, 975, 975)},
      {form.Command9, desk::TwipsRect(8700, 6000, 975, 975)},
      {form.Command7, desk::TwipsRect(10320, 6000, 975, 975)},
      {form.WebBrowser2, QRect(40, 480, 169, 49)},
      {form.WebBrowser1, QRect(224, 480, 337, 49)},
      {form.WebBrowser3, QRect(584, 480, 169, 49)},
      {form.Label1, QRect(-40, 396, 70, 71)},
  };
  for (const auto& [control, place] : places) {
    EXPECT_EQ(control->geometry(), place) << control->objectName().toStdString();
  }
  EXPECT_TRUE(form.Label1->isVisible());
  EXPECT_FALSE(form.MMControl1->isVisible());
  EXPECT_TRUE(form.Timer1->isActive());
  EXPECT_EQ(form.Timer1->interval(), 1000);
  EXPECT_EQ(form.Command1->accessibleName(), "选 课");
  EXPECT_EQ(form.Command7->accessibleName(), "退 出");
  EXPECT_EQ(form.WebBrowser2->accessibleName(), "网站页面（左）");
  EXPECT_EQ(form.WebBrowser1->accessibleName(), "网站页面（中）");
  EXPECT_EQ(form.WebBrowser3->accessibleName(), "网站页面（右）");

  // The marker lies beneath every button.
  const auto stack = form.children();
  for (QWidget* button : {form.Command1, form.Command7, form.Command9}) {
    EXPECT_LT(stack.indexOf(form.Label1), stack.indexOf(button));
  }
  EXPECT_EQ(form.appFolder(), QString::fromStdString(dir_.path().string()));
}

TEST_F(MenuWindow, TabWalksTheButtonsThenTheRightLeftAndMiddlePanel) {
  auto& form = start();
  activate();
  form.Command1->setFocus();
  const QWidget* expected[] = {form.Command2,    form.Command3, form.Command4,    form.Command7,
                               form.Command8,    form.Command9, form.WebBrowser3, form.WebBrowser2,
                               form.WebBrowser1, form.Command1};
  for (const QWidget* next : expected) {
    // Inside a panel the page sees the key first and hands it back when it has no stop of
    // its own left; what the window then does is what is tested here.
    QWidget* focus = QApplication::focusWidget();
    const bool inPanel = focus->inherits("QQuickWidget") || qobject_cast<QWebEngineView*>(focus);
    QTest::keyClick(inPanel ? static_cast<QWidget*>(&form) : focus, Qt::Key_Tab);
    focus = QApplication::focusWidget();
    EXPECT_TRUE(focus == next || next->isAncestorOf(focus))
        << "expected " << next->objectName().toStdString() << ", focus on "
        << (focus ? focus->metaObject()->className() : "nothing");
  }
}

TEST_F(MenuWindow, HoverFramesButtonsAndSoundsOncePerArrival) {
  auto& form = start();
  activate();
  moveOver(form.Command3);  // straight onto a button: framed, silent
  EXPECT_TRUE(form.Label1->isVisible());
  EXPECT_EQ(form.Label1->x(), desk::TwipsToPixels(3840 - 50));
  EXPECT_EQ(form.MMControl1->playsStarted(), 0);

  moveOverBackground();
  EXPECT_FALSE(form.Label1->isVisible());
  EXPECT_EQ(form.hoverPointer().soundArmed(), 1);

  moveOver(form.Command1);
  EXPECT_EQ(form.MMControl1->playsStarted(), 1);
  EXPECT_EQ(form.Label1->x(), desk::TwipsToPixels(550));
  moveOver(form.Command1, QPoint(5, 5));
  moveOver(form.Command2);  // neighbour to neighbour, no background between
  EXPECT_EQ(form.MMControl1->playsStarted(), 1);
  EXPECT_EQ(form.Label1->x(), desk::TwipsToPixels(2170));

  // The panels and the marker's own frame change nothing.
  moveOver(form.WebBrowser1);
  moveOver(form.Label1, QPoint(1, 1));
  EXPECT_TRUE(form.Label1->isVisible());
  EXPECT_EQ(form.hoverPointer().soundArmed(), 0);

  moveOverBackground();
  moveOver(form.Command7);  // the exit button frames and sounds like the others
  EXPECT_EQ(form.MMControl1->playsStarted(), 2);
  EXPECT_EQ(form.Label1->x(), desk::TwipsToPixels(10270));
}

TEST_F(MenuWindow, AHeldMouseButtonMakesNoDifference) {
  auto& form = start();
  moveOverBackground();
  QMouseEvent held(QEvent::MouseMove, QPointF(10, 10), form.Command4->mapToGlobal(QPointF(10, 10)),
                   Qt::NoButton, Qt::LeftButton | Qt::RightButton, Qt::ShiftModifier);
  QApplication::sendEvent(form.Command4, &held);
  EXPECT_EQ(form.MMControl1->playsStarted(), 1);
  EXPECT_EQ(form.Label1->x(), desk::TwipsToPixels(5410));
}

TEST_F(MenuWindow, TheSoundControlGetsTheSequenceInOrder) {
  auto& form = start();
  activate();
  moveOverBackground();
  moveOver(form.Command8);
  const auto expected = menu::SoundSequence(dir_.path().string());
  ASSERT_EQ(form.MMControl1->received().size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(form.MMControl1->received()[i].property, expected[i].property) << i;
    EXPECT_EQ(form.MMControl1->received()[i].value, expected[i].value) << i;
  }
}

TEST_F(MenuWindow, TheSuitesClickSoundIsAWaveTheControlCanPlay) {
  std::filesystem::copy_file(SUITE_CLICK_SOUND, dir_.file("1.wav"));
  auto& form = start();
  activate();
  moveOverBackground();
  moveOver(form.Command4);
  for (int waited = 0; waited < 3000 && !form.MMControl1->soundReady(); waited += 20) {
    QTest::qWait(20);
  }
  EXPECT_TRUE(form.MMControl1->soundReady());
  EXPECT_EQ(form.MMControl1->playsStarted(), 1);
}

TEST_F(MenuWindow, EachClickStartsOneProgram) {
  makeProgram("pellimar.exe");
  makeProgram("kestavel.exe");
  auto& form = start();
  form.Command1->click();
  ASSERT_TRUE(waitForStarts(1));
  form.Command1->click();
  form.Command9->click();
  ASSERT_TRUE(waitForStarts(3));
  const std::string log = ReadBytes(dir_.file("started.log"));
  EXPECT_NE(log.find(dir_.file("kestavel.exe")), std::string::npos);
  EXPECT_TRUE(messages_.empty());
}

TEST_F(MenuWindow, EnterPressesTheFocusedButtonOnly) {
  makeProgram("pellimar.exe");
  makeProgram("kestavel.exe");
  auto& form = start();
  activate();
  // Enter on a button with the focus presses it, as Space does; held down, it presses once.
  const struct {
    QPushButton* button;
    Qt::Key key;
    bool autoRepeat;
    int startsAfter;
  } presses[] = {
      {form.Command1, Qt::Key_Return, false, 1},
      {form.Command9, Qt::Key_Enter, false, 2},
      {form.Command9, Qt::Key_Return, true, 2},
      {form.Command1, Qt::Key_Escape, false, 2},
  };
  for (const auto& press : presses) {
    press.button->setFocus();
    QKeyEvent event(QEvent::KeyPress, press.key,
                    press.key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier, QString(),
                    press.autoRepeat);
    QApplication::sendEvent(press.button, &event);
    EXPECT_TRUE(waitForStarts(press.startsAfter)) << starts();
  }
  EXPECT_TRUE(form.isVisible()) << "Esc presses no cancel button";
  form.Command7->setFocus();
  QTest::keyClick(form.Command7, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
}

TEST_F(MenuWindow, AProgramThatCannotStartIsReportedAndTheMenuStays) {
  makeProgram("fennatel.exe", 0644);
  auto& form = start();
  form.Command2->click();  // dorvesk.exe is not there
  form.Command3->click();  // fennatel.exe may not be run
  ASSERT_EQ(messages_.size(), 2u);
  EXPECT_EQ(messages_[0].icon, QMessageBox::Warning);
  EXPECT_TRUE(messages_[0].text.contains(QString::fromStdString(dir_.file("dorvesk.exe"))));
  EXPECT_TRUE(messages_[0].text.contains("文件不存在"));
  EXPECT_TRUE(messages_[1].text.contains("fennatel.exe"));
  EXPECT_TRUE(messages_[1].text.contains("没有访问权限"));
  EXPECT_TRUE(form.isVisible());
}

TEST_F(MenuWindow, ExitClosesTheMenuOnly) {
  auto& form = start();
  form.Command7->click();
  EXPECT_FALSE(form.isVisible());
}

TEST_F(MenuWindow, TakesItsFinalSizeAndMovesUpOnlyOnce) {
  testsupport::ExpectFinalPlacementOnce(&start(), 220);
}

}  // namespace
