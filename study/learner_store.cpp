// SPDX-License-Identifier: MIT
#include "learner_store.h"

#include "app_folder.h"
#include "failure_text.h"
#include "progress_store.h"
#include "zone_check.h"

namespace studydesk {

using study::OpenResult;

namespace {

// One sentence: what was damaged, where it is kept, and what of it was saved.
QString Replaced(const QString& shown, const OpenResult& result) {
  return QStringLiteral(
             "学习记录“%1”已损坏（%2），已另存为“%3”；从中救回了 %4 个回答，丢失了 %5 个，"
             "之后的回答照常保存。")
      .arg(shown, StoreReason(result.failure), desk::PathText(result.keptAs))
      .arg(result.recovered.answersSaved)
      .arg(result.recovered.answersLost);
}

}  // namespace

QString StoreReason(const study::StoreFailure& failure) {
  // The system's cause, when there is one and words for it (a full disk, a folder).
  if (const QString cause = desk::ReasonText(failure.systemError, {}); !cause.isEmpty()) {
    return cause;
  }
  using Kind = study::StoreFailure::Kind;
  switch (failure.kind) {
    case Kind::DiskFull:
      return QStringLiteral("磁盘已满");
    case Kind::ReadOnly:
      return QStringLiteral("学习记录是只读的");
    case Kind::Busy:
      return QStringLiteral("另一个学习程序一直占用着学习记录");
    case Kind::Damaged:
      return QStringLiteral("文件已损坏");
    case Kind::NotAStore:
      return QStringLiteral("这不是学习记录文件");
    case Kind::InputOutput:
      return QStringLiteral("读写文件时出错");
    case Kind::CannotOpen:
      return QStringLiteral("无法打开文件");
    case Kind::NoPermission:
      return QStringLiteral("没有访问权限");
    case Kind::AnsweredSince:
      return QStringLiteral("这个词条后来又回答过了");
    case Kind::None:
    case Kind::Other:
      break;
  }
  return QString::fromStdString(failure.detail);
}

LearnerStore::LearnerStore() = default;
LearnerStore::~LearnerStore() = default;
LearnerStore::LearnerStore(LearnerStore&&) noexcept = default;
LearnerStore& LearnerStore::operator=(LearnerStore&&) noexcept = default;

study::CardStore* LearnerStore::cards() const {
  return store_.get();
}

study::RoundStore* LearnerStore::rounds() const {
  return store_.get();
}

study::StatisticsStore* LearnerStore::statistics() const {
  return store_.get();
}

study::DayStartStore* LearnerStore::dayStart() const {
  return store_ && !store_->readOnly() ? store_.get() : nullptr;
}

std::string LearnerStore::path() const {
  return store_ ? store_->path() : std::string();
}

LearnerStore LearnerStore::Open(const suite::FilePlaces& places, study::Millis now) {
  LearnerStore opened;
  const QString notSaved = QStringLiteral("这次学习的结果不会保存。");
  const suite::FileStatus folder = places.prepareWrite(study::kStoreFileName);
  if (!folder.ok()) {
    opened.notice_ =
        QStringLiteral("无法建立文件夹“%1”：%2。")
            .arg(desk::PathText(folder.path),
                 desk::ReasonText(folder.error, QString::fromStdString(folder.reason))) +
        notSaved;
    return opened;
  }
  const std::string path = places.writePath(study::kStoreFileName);
  const QString shown = desk::PathText(path);
  OpenResult result;
  opened.store_ = study::ProgressStore::Open(path, now, result, study::StoreAccess::Write,
                                             study::IntegrityCheck::Later);
  switch (result.outcome) {
    case OpenResult::Outcome::Opened:
      break;
    case OpenResult::Outcome::ReadOnly:
      opened.notice_ = QStringLiteral("学习记录“%1”是只读的：").arg(shown) + notSaved;
      break;
    case OpenResult::Outcome::NotOurs:
      opened.notice_ =
          QStringLiteral("“%1”不是学习程序的学习记录，这个程序不会改动它。").arg(shown) + notSaved;
      break;
    case OpenResult::Outcome::DamagedKeptAside:
      opened.notice_ = Replaced(shown, result);
      break;
    case OpenResult::Outcome::TooNew:
      opened.notice_ =
          QStringLiteral(
              "学习记录“%1”来自较新版本的程序（版本 %2），这个程序不能使用它，也不会改动它。")
              .arg(shown)
              .arg(result.foundVersion) +
          notSaved;
      break;
    case OpenResult::Outcome::Failed:
      opened.notice_ =
          QStringLiteral("无法打开学习记录“%1”：%2。").arg(shown, StoreReason(result.failure)) +
          notSaved;
      break;
  }
  if (result.mayBeOutOfDate) {
    opened.notice_ += QStringLiteral("最近的一些回答在这里读不到，显示的内容可能不是最新的。");
  }
  return opened;
}

QString UnknownZoneNotice() {
  const auto zone = study::UnknownZone();
  if (!zone) return {};
  return QStringLiteral("系统不认识时区“%1”（TZ），日期都按协调世界时（UTC）计算。")
      .arg(QString::fromStdString(*zone));
}

QString LearnerStore::check(study::Millis now) {
  OpenResult result;
  if (!store_ || store_->checkIntegrity(now, result)) return {};
  const QString shown = desk::PathText(store_->path());
  if (result.outcome == OpenResult::Outcome::DamagedKeptAside) return Replaced(shown, result);
  return QStringLiteral("学习记录“%1”已损坏（%2）。这次学习的结果不会保存。")
      .arg(shown, StoreReason(result.failure));
}

}  // namespace studydesk
