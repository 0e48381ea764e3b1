// SPDX-License-Identifier: MIT
#include "study_window.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace studydesk {

QString DurationText(qint64 millis) {
  const qint64 seconds = (millis + 500) / 1000;
  return seconds >= 60 ? QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60)
                       : QStringLiteral("%1 秒").arg(seconds);
}

StudyWindow::StudyWindow(const QString& activity, Clock clock)
    : activity_(activity), clock_(std::move(clock)) {
  setWindowTitle(activity);
  notice = new QLabel(this);
  notice->setWordWrap(true);
  notice->setStyleSheet(QStringLiteral("color: #b00020"));
  notice->hide();
  heading = new QLabel(this);
  heading->setWordWrap(true);
  pages = new QStackedWidget(this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(notice);
  layout->addWidget(heading);
  layout->addWidget(pages, 1);
  resize(600, 460);
  speaker = new Speaker(this);
  connect(speaker, &Speaker::cannotSpeak, this, [this](const QString& reason) {
    speechWorks_ = false;
    tell(QStringLiteral("无法播放读音：%1。").arg(reason) + withoutSound_);
    soundLost();
  });
}

void StudyWindow::tell(const QString& text) {
  if (notice->text().contains(text)) return;
  notice->setText(notice->text().isEmpty() ? text : notice->text() + QLatin1Char('\n') + text);
  notice->show();
}

void StudyWindow::showCentred() {
  QScreen* screen = QGuiApplication::screenAt(QCursor::pos());
  if (!screen) screen = QGuiApplication::primaryScreen();
  if (screen) {
    const QRect area = screen->availableGeometry();
    // The frame the window manager adds is not known before showing: leave room for it.
    const QSize room = area.size() - QSize(16, 48);
    resize(size().boundedTo(room));
    QRect frame(QPoint(), size());
    frame.moveCenter(area.center());
    move(frame.topLeft().x(), std::max(area.top(), frame.top() - 16));
  }
  show();
}

void StudyWindow::openStore(const suite::FilePlaces& places) {
  learner_ = OpenLearnerStore(places, clock_());
  if (!learner_.notice.isEmpty()) tell(learner_.notice);
  // The whole file is checked once the first card is on the screen.
  if (learner_.store) QTimer::singleShot(kCheckAfterMillis, this, &StudyWindow::checkStore);
}

void StudyWindow::checkStore() {
  if (!learner_.store) return;
  if (const QString trouble = CheckLearnerStore(*learner_.store, clock_()); !trouble.isEmpty()) {
    tell(trouble);
  }
}

bool StudyWindow::speak(const QString& english) {
  return speechWorks_ && speaker->say(english);
}

void StudyWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace studydesk
