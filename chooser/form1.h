// SPDX-License-Identifier: MIT
// The chooser window: pick a book, see its lessons, see a lesson's entries, and confirm it
// for the other study programs.
#pragma once

#include <QPushButton>
#include <QStringList>
#include <functional>

#include "choice_list.h"
#include "chooser_session.h"
#include "form.h"

namespace pickwell {

class Form1 : public desk::Form {
  Q_OBJECT

 public:
  // Where the running user's files live; tests hand in folders of their own.
  using PlacesOfProgram = std::function<suite::FilePlaces()>;
  explicit Form1(PlacesOfProgram placesOfProgram);

  void Form_Load();

  const chooser::ChooserSession& session() const { return session_; }

  // The controls, by their layout names.
  desk::ChoiceList* List3 = nullptr;  // the four books
  QPushButton* Command1 = nullptr;    // rebuilds the lesson index; lies outside the client area
  desk::ChoiceList* List1 = nullptr;  // the lessons of the book
  desk::ChoiceList* List2 = nullptr;  // the entries of the lesson, two lines each
  QPushButton* Command2 = nullptr;    // confirm
  QPushButton* Command3 = nullptr;    // quit

 protected:
  void Form_Activate() override;

 private:
  class Action;

  void List3_Click();
  void Command1_Click();
  void List1_Click();
  void Command2_Click();
  void Command3_Click();

  void reportReadFailure(const suite::FileStatus& status);
  void report(const QString& text);
  void flushReports();

  PlacesOfProgram placesOfProgram_;
  chooser::ChooserSession session_;
  int actionDepth_ = 0;
  QStringList pendingReports_;
};

}  // namespace pickwell
