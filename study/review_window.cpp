// SPDX-License-Identifier: MIT
#include "review_window.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "statistics_view.h"

namespace studydesk {

ReviewWindow::ReviewWindow(suite::FilePlaces places, Clock clock)
    : CardWindow(QStringLiteral("复习回忆"), std::move(clock)), places_(std::move(places)) {
  messagePage_ = new QWidget(pages);
  message = new QLabel(messagePage_);
  message->setWordWrap(true);
  message->setAlignment(Qt::AlignCenter);
  auto* pageLayout = new QVBoxLayout(messagePage_);
  pageLayout->addWidget(message);
  pages->addWidget(messagePage_);

  statisticsButton = new QPushButton(QStringLiteral("统计（S）"), this);
  undoButton = new QPushButton(QStringLiteral("撤销上一个回答（Ctrl+Z）"), this);
  undoButton->setEnabled(false);
  auto* tools = new QHBoxLayout;
  tools->addWidget(undoButton);
  tools->addStretch(1);
  tools->addWidget(statisticsButton);
  static_cast<QVBoxLayout*>(layout())->addLayout(tools);
  connect(statisticsButton, &QPushButton::clicked, this, &ReviewWindow::showStatistics);
  connect(undoButton, &QPushButton::clicked, this, &ReviewWindow::undo);
}

void ReviewWindow::start() {
  openStore(places_);
  statisticsButton->setEnabled(learner_.store != nullptr);
  showNext();
}

void ReviewWindow::showNext() {
  current_.reset();
  if (learner_.store) {
    study::StoreFailure failure;
    const study::Millis now = clock_();
    current_ = learner_.store->nextDue(now, failure);
    const study::DueSummary due = learner_.store->dueSummary(now, failure);
    if (failure.code != SQLITE_OK)
      tell(QStringLiteral("学习记录读取出错：%1。").arg(StoreReason(failure)));
    if (current_) {
      heading->setText(QStringLiteral("今天还要复习 %1 条。").arg(due.dueToday));
      present(*current_, QString::fromStdString(current_->lesson));
      return;
    }
    QString text = QStringLiteral("现在没有要复习的词条。");
    if (due.nextDue) {
      const QDateTime next = QDateTime::fromMSecsSinceEpoch(*due.nextDue).toLocalTime();
      text += QStringLiteral("\n下一条在 %1 到期；明天到期 %2 条。")
                  .arg(next.toString(QStringLiteral("yyyy年M月d日 HH:mm")))
                  .arg(due.dueTomorrow);
    } else {
      text += QStringLiteral("\n先在“课文初记”中学一课，学过的词条到期后会出现在这里。");
    }
    message->setText(text);
  } else {
    message->setText(QStringLiteral("没有可用的学习记录，无法复习。"));
  }
  heading->clear();
  pages->setCurrentWidget(messagePage_);
}

void ReviewWindow::gradeCurrent(study::Grade grade) {
  if (!current_ || !card->revealed()) return;
  const study::Committed done = record(*current_, grade);
  if (done.answerId != 0) {
    taken_.push_back({done.answerId, *current_});
    undoButton->setEnabled(true);
  }
  showNext();
}

void ReviewWindow::undo() {
  if (taken_.empty() || !learner_.store) return;
  study::StoreFailure failure;
  if (!learner_.store->undo(taken_.back().answerId, failure)) {
    tell(QStringLiteral("无法撤销上一个回答：%1。")
             .arg(failure.code == SQLITE_CONSTRAINT ? QStringLiteral("这个词条后来又回答过了")
                                                    : StoreReason(failure)));
    return;
  }
  const study::Card again = taken_.back().card;
  taken_.pop_back();
  undoButton->setEnabled(!taken_.empty());
  current_ = again;
  present(again, QString::fromStdString(again.lesson));
}

void ReviewWindow::showStatistics() {
  if (!learner_.store) return;
  study::StoreFailure failure;
  const study::Millis now = clock_();
  const study::Statistics stats = learner_.store->statistics(now, failure);
  if (failure.code != SQLITE_OK) {
    tell(QStringLiteral("统计读取出错：%1。").arg(StoreReason(failure)));
    return;
  }
  auto* view = new StatisticsView(stats, now, this);
  view->setAttribute(Qt::WA_DeleteOnClose);
  view->show();
}

void ReviewWindow::keyPressEvent(QKeyEvent* event) {
  if (!event->isAutoRepeat()) {
    if (event->matches(QKeySequence::Undo)) {
      undo();
      return;
    }
    if (event->key() == Qt::Key_S && event->modifiers() == Qt::NoModifier) {
      showStatistics();
      return;
    }
  }
  CardWindow::keyPressEvent(event);
}

}  // namespace studydesk
