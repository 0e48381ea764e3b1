// SPDX-License-Identifier: MIT
#include "course_questions.h"

#include <QClipboard>
#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QPushButton>

#include "import_dialog.h"

namespace coursedesk {

Questions StandardQuestions(QWidget* parent) {
  Questions q;
  q.path = [parent](const QString& caption, const QString& filter, bool forSaving) {
    const auto options = QFileDialog::DontUseNativeDialog;
    return forSaving ? QFileDialog::getSaveFileName(parent, caption, {}, filter, nullptr, options)
                     : QFileDialog::getOpenFileName(parent, caption, {}, filter, nullptr, options);
  };
  q.line = [parent](const QString& caption, const QString& label, const QString& text) {
    return QInputDialog::getText(parent, caption, label, QLineEdit::Normal, text);
  };
  q.unsaved = [parent](const QString& text) {
    return QMessageBox::question(parent, QStringLiteral("课程编辑"), text,
                                 QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel,
                                 QMessageBox::Save);
  };
  q.changedOnDisk = [parent](const QString& text) {
    QMessageBox box(QMessageBox::Warning, QStringLiteral("课程编辑"), text, QMessageBox::NoButton,
                    parent);
    QPushButton* reload =
        box.addButton(QStringLiteral("重新载入(&R)"), QMessageBox::DestructiveRole);
    QPushButton* saveAs = box.addButton(QStringLiteral("另存为(&A)…"), QMessageBox::AcceptRole);
    box.setDefaultButton(box.addButton(QMessageBox::Cancel));
    box.exec();
    if (box.clickedButton() == reload) return ChangedOnDisk::Reload;
    if (box.clickedButton() == saveAs) return ChangedOnDisk::SaveAs;
    return ChangedOnDisk::Cancel;
  };
  q.import = [](ImportDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
  q.clipboard = [] { return QGuiApplication::clipboard()->text(); };
  return q;
}

}  // namespace coursedesk
