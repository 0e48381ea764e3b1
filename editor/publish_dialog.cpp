// SPDX-License-Identifier: MIT
#include "publish_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPointer>
#include <QScreen>
#include <QSettings>
#include <QVBoxLayout>
#include <algorithm>
#include <thread>

namespace coursedesk {
namespace {

// A teacher waits for one answer; a server that says nothing is given up on.
constexpr long kPublishSeconds = 60;

QSettings Settings() {
  return QSettings(QStringLiteral("lumadesk"), QStringLiteral("coursedesk"));
}

}  // namespace

PublishDialog::PublishDialog(const editor::Book& book, const course::PhoneticsTable& phonetics,
                             QWidget* parent, MakePost makePost)
    : QDialog(parent), book_(book), phonetics_(phonetics), makePost_(std::move(makePost)) {
  if (!makePost_) {
    makePost_ = [](const studysync::HttpsEndpoint& endpoint) {
      return studysync::HttpsPost(endpoint, kPublishSeconds);
    };
  }
  setWindowTitle(QStringLiteral("发布到班级"));
  const QSettings settings = Settings();
  server = new QLineEdit(settings.value(QStringLiteral("publish/server")).toString(), this);
  server->setPlaceholderText(QStringLiteral("主机:端口/指纹"));
  // Wide enough to show a whole server line, an address and a 44-character pin, as far as
  // the screen allows.
  server->setMinimumWidth(std::min(
      server->fontMetrics().horizontalAdvance(
          QStringLiteral("192.168.100.200:8443/q5Jv0123456789abcdefghijklmnopqrstuvwxyzAB+=")),
      screen()->availableGeometry().width() * 3 / 5));
  teacher = new QLineEdit(settings.value(QStringLiteral("publish/teacher")).toString(), this);
  password = new QLineEdit(this);
  password->setEchoMode(QLineEdit::Password);
  className = new QLineEdit(settings.value(QStringLiteral("publish/class")).toString(), this);
  bookNumber = new QSpinBox(this);
  bookNumber->setRange(1, studysync::kPublishedBooks);
  bookNumber->setValue(settings.value(QStringLiteral("publish/book"), 1).toInt());
  outcome = new QLabel(this);
  outcome->setWordWrap(true);
  auto* form = new QFormLayout;
  const auto row = [form](const QString& text, QWidget* field) {
    auto* label = new QLabel(text);
    label->setBuddy(field);
    form->addRow(label, field);
  };
  row(QStringLiteral("服务器(&S)："), server);
  row(QStringLiteral("教师(&T)："), teacher);
  row(QStringLiteral("密码(&P)："), password);
  row(QStringLiteral("班级(&C)："), className);
  row(QStringLiteral("第几册(&B)："), bookNumber);
  auto* buttons = new QDialogButtonBox(this);
  publishButton = buttons->addButton(QStringLiteral("发布"), QDialogButtonBox::AcceptRole);
  publishButton->setDefault(true);
  buttons->addButton(QStringLiteral("关闭"), QDialogButtonBox::RejectRole);
  connect(buttons, &QDialogButtonBox::accepted, this, &PublishDialog::publish);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(outcome);
  layout->addWidget(buttons);
  (server->text().isEmpty() ? server : password)->setFocus();
}

void PublishDialog::publish() {
  if (busy_) return;
  const editor::PublishForm form{server->text().trimmed().toStdString(),
                                 teacher->text().trimmed().toStdString(),
                                 password->text().toStdString(),
                                 className->text().trimmed().toStdString(), bookNumber->value()};
  auto prepared = editor::PreparePublishing(form, book_, phonetics_);
  if (const auto* refused = std::get_if<std::u16string>(&prepared)) {
    showResult({false, *refused});
    return;
  }
  QSettings settings = Settings();
  settings.setValue(QStringLiteral("publish/server"), server->text().trimmed());
  settings.setValue(QStringLiteral("publish/teacher"), teacher->text().trimmed());
  settings.setValue(QStringLiteral("publish/class"), className->text().trimmed());
  settings.setValue(QStringLiteral("publish/book"), bookNumber->value());
  busy_ = true;
  publishButton->setEnabled(false);
  outcome->setText(QStringLiteral("正在发布…"));
  QApplication::setOverrideCursor(Qt::BusyCursor);
  // The request runs on its own thread; its answer comes back through the event loop, to a
  // dialog that may have been closed meanwhile.
  const auto& publishing = std::get<editor::Publishing>(prepared);
  std::thread([post = makePost_(publishing.endpoint), request = publishing.request,
               dialog = QPointer<PublishDialog>(this)] {
    const editor::PublishResult result = editor::SendPublishing(post, request);
    QMetaObject::invokeMethod(
        qApp,
        [dialog, result] {
          QApplication::restoreOverrideCursor();
          if (dialog) dialog->showResult(result);
        },
        Qt::QueuedConnection);
  }).detach();
}

void PublishDialog::showResult(const editor::PublishResult& result) {
  busy_ = false;
  publishButton->setEnabled(true);
  outcome->setText(QString::fromStdU16String(result.message));
  if (!result.done) password->setFocus();
  emit finished(result.done);
}

}  // namespace coursedesk
