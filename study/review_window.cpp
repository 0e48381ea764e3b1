// SPDX-License-Identifier: MIT
#include "review_window.h"

#include <QKeyEvent>

#include "chart_parts.h"
#include "day_start_dialog.h"
#include "statistics_view.h"

namespace studydesk {

ReviewWindow::ReviewWindow(suite::FilePlaces places, Clock clock, study::Voice* voice)
    : CardWindow(QStringLiteral("复习回忆"), std::move(clock), voice, QString()),
      places_(std::move(places)) {
  statisticsButton = new QPushButton(QStringLiteral("统计（S）"), this);
  settingsButton = new QPushButton(QStringLiteral("设置（D）"), this);
  tools_->addWidget(settingsButton);
  tools_->addWidget(statisticsButton);
  connect(statisticsButton, &QPushButton::clicked, this, &ReviewWindow::showStatistics);
  connect(settingsButton, &QPushButton::clicked, this, &ReviewWindow::showSettings);
}

void ReviewWindow::start() {
  openStore(places_);
  readPhonetics(places_);
  statisticsButton->setEnabled(learner_.statistics() != nullptr);
  settingsButton->setEnabled(learner_.dayStart() != nullptr);
  session_.emplace(learner_.cards(), clock_());
  draw();
}

study::CardSession* ReviewWindow::session() {
  return session_ ? &*session_ : nullptr;
}

void ReviewWindow::draw() {
  if (const study::StoreFailure& failure = session_->readFailure(); failure.failed()) {
    tell(QStringLiteral("学习记录读取出错：%1。").arg(StoreReason(failure)));
  }
  undoButton->setEnabled(session_->canUndo());
  if (session_->step() != study::CardStep::Finished) {
    heading->setText(QStringLiteral("今天还要复习 %1 条。").arg(session_->leftToday()));
    present();
    return;
  }
  heading->clear();
  end_->present(endText(), false);
}

QString ReviewWindow::endText() const {
  if (!learner_.cards()) return QStringLiteral("没有可用的学习记录，无法复习。");
  const study::AnswerTally& tally = session_->tally();
  QString text;
  if (tally.answers() == 0) {
    text = QStringLiteral("现在没有要复习的词条。");
  } else {
    text = QStringLiteral(
               "今天的复习完成了！这次复习了 %1 个词条，回答 %2 次"
               "（重来 %3，困难 %4，良好 %5，简单 %6），用时 %7。")
               .arg(session_->cardsDone())
               .arg(tally.answers())
               .arg(tally.byGrade[0])
               .arg(tally.byGrade[1])
               .arg(tally.byGrade[2])
               .arg(tally.byGrade[3])
               .arg(DurationText(session_->elapsed()));
    if (const QString notSaved = NotSavedText(tally); !notSaved.isEmpty()) {
      text += QStringLiteral("\n") + notSaved;
    }
  }
  const study::DueSummary& due = session_->due();
  if (const auto day = session_->nextDueDay()) {
    const QDate next = DateOfDay(*day);
    text += QStringLiteral("\n下一条在 %1到期；明天到期 %2 条。")
                .arg(next.toString(QStringLiteral("yyyy年M月d日")))
                .arg(due.dueTomorrow);
  } else if (tally.answers() == 0) {
    text += QStringLiteral("\n先在“课文初记”中学一课，学过的词条到期后会出现在这里。");
  }
  return text;
}

void ReviewWindow::showStatistics() {
  study::StatisticsStore* store = learner_.statistics();
  if (!store) return;
  study::StoreFailure failure;
  const study::Statistics stats = store->statistics(clock_(), failure);
  if (failure.failed()) {
    tell(QStringLiteral("统计读取出错：%1。").arg(StoreReason(failure)));
    return;
  }
  auto* view = new StatisticsView(stats, this);
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->show();
}

void ReviewWindow::showSettings() {
  study::DayStartStore* store = learner_.dayStart();
  if (!store) return;
  auto* dialog = new DayStartDialog(store->dayRule().dayStartMinutes(), this);
  dialog->setAttribute(Qt::WA_DeleteOnClose);
  connect(dialog, &QDialog::accepted, this, [this, dialog, store] {
    study::StoreFailure failure;
    if (!session_->setDayStart(*store, dialog->dayStartMinutes(), clock_(), failure)) {
      tell(QStringLiteral("无法保存设置：%1。").arg(StoreReason(failure)));
      return;
    }
    draw();
  });
  dialog->open();
}

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) {
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::NoModifier) {
      showStatistics();
      return;
    }
    if (event->key() == Qt::Key_D && event->modifiers() == Qt::NoModifier) {
      showSettings();
      return;
    }
  }
  CardWindow::keyPressEvent(event);
}

}  // namespace studydesk
