// SPDX-License-Identifier: MIT
#include "chooser_session.h"

#include "fixed_names.h"
#include "utf8.h"

namespace chooser {

using namespace course;

void ChooserSession::setPlaces(suite::FilePlaces places) {
  places_ = std::move(places);
  handOffFilePath_ = places_.writePath(kHandOffFileName);
}

void ChooserSession::chooseBook(const std::u16string& title) {
  const std::string wanted = ToUtf8(title);
  for (const Book& book : kBooks) {
    if (wanted == book.title) courseFilePath_ = places_.readPath(book.fileName);
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
  const FileStatus folder = places_.prepareWrite(kHandOffFileName);
  if (!folder.ok()) return folder;
  // The tail a longer old hand-off keeps is the one this user sees now.
  return WriteHandOffFile(handOffFilePath_, lessonRecords_, places_.readPath(kHandOffFileName));
}

}  // namespace chooser
