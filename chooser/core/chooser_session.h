// SPDX-License-Identifier: MIT
// The chooser window's state and what its handlers decide, without any widget: the book
// table, the lesson index, the lesson on show and the hand-off.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "course_file.h"
#include "file_places.h"
#include "lesson_index.h"

namespace chooser {

using course::FileStatus;
using course::kLessonSlots;
using course::RecordImage;
using course::RecordTable;

struct IndexBuild {
  FileStatus read;                    // the course file read
  std::vector<std::u16string> items;  // the lesson list, display text
  bool overflowed = false;            // more lessons than the index holds
};

struct LessonView {
  FileStatus read;
  std::vector<std::u16string> lines;  // two display lines per entry
};

class ChooserSession {
 public:
  // Records where this user's files live: the application folder (no trailing separator)
  // and, when that is not writable, the per-user folder; the hand-off file's path follows.
  void setPlaces(suite::FilePlaces places);

  // Where a confirm writes the hand-off file.
  const std::string& handOffFilePath() const { return handOffFilePath_; }
  const std::string& courseFilePath() const { return courseFilePath_; }
  const RecordImage& courseRecords() const { return courseRecords_; }
  const RecordTable& lessonRecords() const { return lessonRecords_; }
  const std::array<std::u16string, kLessonSlots>& lessonNames() const { return lessonNames_; }

  // Points the chooser at the book with this exact title; any other text changes nothing.
  void chooseBook(const std::u16string& title);
  // Reads the current course file and rebuilds the lesson index from it.
  IndexBuild buildLessonIndex();
  // Re-reads the course file and gathers the lesson whose display name is `lesson`.
  LessonView viewLesson(const std::u16string& lesson);
  // Writes the lesson records to the hand-off file. A failure to make the per-user folder
  // names that folder.
  FileStatus confirm() const;

 private:
  suite::FilePlaces places_;
  std::string handOffFilePath_;
  std::string courseFilePath_;
  RecordImage courseRecords_;
  RecordTable lessonRecords_;
  std::array<std::u16string, kLessonSlots> lessonNames_;
};

}  // namespace chooser
