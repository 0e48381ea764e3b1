// SPDX-License-Identifier: MIT
#include "chooser_session.h"

namespace chooser {

void ChooserSession::setAppFolder(std::string appFolder) {
  appFolder_ = std::move(appFolder);
  handOffFilePath_ = appFolder_ + "/" + kHandOffFileName;
}

void ChooserSession::chooseBook(const std::u16string& title) {
  for (const Book& book : kBooks) {
    if (title == book.title) courseFilePath_ = appFolder_ + "/" + book.fileName;
  }
}

IndexBuild ChooserSession::buildLessonIndex() {
  IndexBuild build;
  build.read = ReadCourseFile(courseFilePath_, courseRecords_).status;
  const LessonIndex index = BuildLessonIndex(courseRecords_);
  lessonNames_ = index.lessonNames;
  build.items = index.listItems();
  build.overflowed = index.overflowed();
  return build;
}

LessonView ChooserSession::viewLesson(const std::u16string& lesson) {
  LessonView view;
  view.read = ReadCourseFile(courseFilePath_, courseRecords_).status;
  GatherLesson(courseRecords_, lesson, lessonRecords_);
  view.lines = EntryLines(lessonRecords_);
  return view;
}

FileStatus ChooserSession::confirm() const {
  return WriteCourseFile(handOffFilePath_, lessonRecords_);
}

}  // namespace chooser
