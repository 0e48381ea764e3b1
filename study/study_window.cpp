// SPDX-License-Identifier: MIT
#include "study_window.h"

#include <QKeyEvent>
#include <QTimer>
#include <QVBoxLayout>
#include <cerrno>

#include "app_folder.h"
#include "failure_text.h"
#include "phonetics_line.h"
#include "sync_starter.h"

namespace studydesk {

QString NoLessonNote(const study::HandOffLesson& lesson) {
  if (lesson.read.ok() || lesson.read.error == ENOENT) {
    return QStringLiteral("还没有选课：请先在“选 课”中选择一课。");
  }
  return QStringLiteral("无法读取所选的课文“%1”：%2。")
      .arg(desk::PathText(lesson.read.path),
           desk::ReasonText(lesson.read.error, QString::fromStdString(lesson.read.reason)));
}

QString DurationText(qint64 millis) {
  const qint64 seconds = (millis + 500) / 1000;
  return seconds >= 60 ? QStringLiteral("%1 分 %2 秒").arg(seconds / 60).arg(seconds % 60)
                       : QStringLiteral("%1 秒").arg(seconds);
}

StudyWindow::StudyWindow(const QString& activity, Clock clock, study::Voice* voice)
    : activity_(activity), clock_(std::move(clock)), voice_(voice) {
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
  speaker = new Speaker(voice, this);
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

void StudyWindow::openStore(const suite::FilePlaces& places) {
  learner_ = LearnerStore::Open(places, clock_());
  if (!learner_.notice().isEmpty()) tell(learner_.notice());
  if (const QString zone = UnknownZoneNotice(); !zone.isEmpty()) tell(zone);
  // The whole file is checked once the first card is on the screen, and the sitting's sync
  // starts after it, so that neither competes with the first card.
  if (learner_.opened()) QTimer::singleShot(kCheckAfterMillis, this, &StudyWindow::checkStore);
}

void StudyWindow::syncBehind() {
  if (!learner_.opened()) return;
  const SyncStarter& starter = WindowSyncStarter();
  studysync::StartBackgroundSync(learner_.path(), starter.studytool, starter.launch);
}

void StudyWindow::checkStore() {
  if (const QString trouble = learner_.check(clock_()); !trouble.isEmpty()) {
    tell(trouble);
    return;
  }
  syncBehind();
}

bool StudyWindow::speak(const QString& english, study::Pace pace) {
  return speechWorks_ && speaker->say(english, pace);
}

void StudyWindow::readPhonetics(const suite::FilePlaces& places) {
  phonetics_ = course::ReadFolderPhonetics(places);
}

QString StudyWindow::phoneticsOf(const QString& english) const {
  study::Lexicon lexicon;
  if (voice_) lexicon = [this](const std::string& word) { return voice_->phones(word); };
  return PhoneticsText(study::PhoneticsOf(english.toStdString(), phonetics_, lexicon));
}

void StudyWindow::speakAhead(const QStringList& english) {
  if (speechWorks_) speaker->prepare(english);
}

void StudyWindow::closeEvent(QCloseEvent* event) {
  syncBehind();
  QWidget::closeEvent(event);
}

void StudyWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && !event->isAutoRepeat()) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace studydesk
