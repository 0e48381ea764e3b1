// SPDX-License-Identifier: MIT
// 发布到班级: asks for the class server, the teacher's name and password, the class and the
// book number, then hands the book being edited out over HTTPS on a thread of its own, the
// dialog busy meanwhile and the outcome said in it. The server, the teacher and the class are
// remembered in the editor's settings; the password never is.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>

#include "book.h"
#include "class_publishing.h"

namespace coursedesk {

class PublishDialog : public QDialog {
  Q_OBJECT

 public:
  // `book` and the phonetics of its words in `phonetics` are copied when 发布 is pressed;
  // `post` makes the request to an endpoint (the real one by default).
  using MakePost = std::function<studysync::Post(const studysync::HttpsEndpoint&)>;
  PublishDialog(const editor::Book& book, const course::PhoneticsTable& phonetics, QWidget* parent,
                MakePost makePost = {});

  QLineEdit* server = nullptr;
  QLineEdit* teacher = nullptr;
  QLineEdit* password = nullptr;
  QLineEdit* className = nullptr;
  QSpinBox* bookNumber = nullptr;
  QPushButton* publishButton = nullptr;
  QLabel* outcome = nullptr;
  bool busy() const { return busy_; }

 signals:
  void finished(bool done);

 private:
  void publish();
  void showResult(const editor::PublishResult& result);

  const editor::Book& book_;
  const course::PhoneticsTable& phonetics_;
  MakePost makePost_;
  bool busy_ = false;
};

}  // namespace coursedesk
