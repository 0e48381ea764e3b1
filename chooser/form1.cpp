// SPDX-License-Identifier: MIT
#include "form1.h"

#include "app_folder.h"
#include "failure_text.h"
#include "form1_layout.h"
#include "form_builder.h"

namespace pickwell {
namespace {

constexpr int kFinalWidth = 12000;  // twips, frame included
constexpr int kFinalHeight = 8595;
constexpr int kActivationLift = 250;

QString Reason(const suite::FileStatus& status) {
  return desk::ReasonText(status.error, QString::fromStdString(status.reason));
}

}  // namespace

// Everything one user action (or the start-up) runs, nested handlers included, reports its
// troubles in one message at its end, not one per file read.
class Form1::Action {
 public:
  explicit Action(Form1& form) : form_(form) { ++form_.actionDepth_; }
  ~Action() {
    if (--form_.actionDepth_ == 0) form_.flushReports();
  }
  Action(const Action&) = delete;
  Action& operator=(const Action&) = delete;

 private:
  Form1& form_;
};

Form1::Form1(PlacesOfProgram placesOfProgram)
    : desk::Form(Form1Layout().window), placesOfProgram_(std::move(placesOfProgram)) {
  const auto [controls, keyboardOrder] = desk::BuildControls(this, Form1Layout().controls);
  List3 = desk::Control<desk::ChoiceList>(controls, "List3");
  Command1 = desk::Control<QPushButton>(controls, "Command1");
  List1 = desk::Control<desk::ChoiceList>(controls, "List1");
  List2 = desk::Control<desk::ChoiceList>(controls, "List2");
  Command2 = desk::Control<QPushButton>(controls, "Command2");
  Command3 = desk::Control<QPushButton>(controls, "Command3");
  setKeyboardOrder(keyboardOrder);

  connect(List3, &desk::ChoiceList::chosen, this, &Form1::List3_Click);
  connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(List1, &desk::ChoiceList::chosen, this, &Form1::List1_Click);
  connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
}

void Form1::Form_Load() {
  Action action(*this);
  setOuterSize(kFinalWidth, kFinalHeight);
  showAtStartPosition();
  session_.setPlaces(placesOfProgram_());
  List3->setFocus();
  List3->selectFromCode(0);
  Command1_Click();
}

void Form1::Form_Activate() {
  setOuterSize(kFinalWidth, kFinalHeight);
  moveUp(kActivationLift);
}

void Form1::List3_Click() {
  Action action(*this);
  session_.chooseBook(List3->currentText().toStdU16String());
  List1->clear();
  Command1_Click();
}

void Form1::Command1_Click() {
  Action action(*this);
  const chooser::IndexBuild build = session_.buildLessonIndex();
  if (!build.read.ok()) reportReadFailure(build.read);
  List1->clear();
  for (const auto& item : build.items) List1->addItem(QString::fromStdU16String(item));
  if (build.overflowed) {
    report(QStringLiteral("课程文件“%1”中的课超过 %2 课，只列出了前 %2 课。")
               .arg(desk::PathText(session_.courseFilePath()))
               .arg(course::kLessonSlots));
  }
  if (List1->count() > 0) {
    List1->selectFromCode(0);
  } else {
    List2->clear();  // nothing to show, and nothing of another book may stay on show
  }
}

void Form1::List1_Click() {
  Action action(*this);
  const chooser::LessonView view = session_.viewLesson(List1->currentText().toStdU16String());
  if (!view.read.ok()) reportReadFailure(view.read);
  List2->clear();
  for (const auto& line : view.lines) List2->addItem(QString::fromStdU16String(line));
  if (List2->count() > 0) List2->setCurrentRow(0);
}

void Form1::Command2_Click() {
  Action action(*this);
  const QString handOff = desk::PathText(session_.handOffFilePath());
  if (List1->currentText().isEmpty()) {
    // The lesson records would still hold a lesson of another book: handing that off
    // would tell the other programs of a choice the learner never made.
    report(QStringLiteral("现在没有选中的课，没有写入“%1”。").arg(handOff));
    return;
  }
  const suite::FileStatus written = session_.confirm();
  if (!written.ok()) {
    // A per-user folder that could not be made is named itself.
    const QString where = desk::PathText(written.path);
    const QString reason =
        where == handOff ? Reason(written)
                         : QStringLiteral("无法建立文件夹“%1”：%2").arg(where, Reason(written));
    report(QStringLiteral("无法写入选课文件“%1”：%2。选课没有保存。").arg(handOff, reason));
    return;
  }
  showMessage(QMessageBox::Information, QStringLiteral("提示窗口"), QStringLiteral("选课成功!"));
}

void Form1::Command3_Click() {
  close();
}

void Form1::reportReadFailure(const suite::FileStatus& status) {
  report(QStringLiteral("无法读取课程文件“%1”：%2。")
             .arg(desk::PathText(status.path), Reason(status)));
}

void Form1::report(const QString& text) {
  if (!pendingReports_.contains(text)) pendingReports_.append(text);
}

void Form1::flushReports() {
  if (pendingReports_.isEmpty()) return;
  const QString text = pendingReports_.join(QStringLiteral("\n\n"));
  pendingReports_.clear();
  showMessage(QMessageBox::Warning, QStringLiteral("错误提示"), text);
}

}  // namespace pickwell
