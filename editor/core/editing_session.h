// SPDX-License-Identifier: MIT
// The book a course editor window is editing, without Qt: the book, its lessons as last
// shown, the phonetics kept beside it, and each edit command's edit together with the
// record to show once it is done and once it is undone.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "book.h"
#include "book_file.h"
#include "file_places.h"
#include "import_table.h"
#include "phonetics_changes.h"

namespace editor {

// One edit for the undo stack.
struct Edit {
  Splice splice;
  std::size_t focusAfter = 0;   // the record to show once it is done
  std::size_t focusBefore = 0;  // and once it is undone
  std::vector<PhoneticsChange> phonetics = {};
};

// An edit, or why there is none: `problem` empty and no edit means nothing to change.
struct EditOutcome {
  std::optional<Edit> edit;
  std::u16string problem;
};

// The entry table's columns: 英文, 中文, 词性, 栏目 (text fields 3 to 6), then the phonetics of
// the English line, kept beside the book by English word.
inline constexpr int kFieldColumns = 4;
inline constexpr int kPhoneticsColumn = kFieldColumns;
inline constexpr int kEntryColumns = kFieldColumns + 1;

// A finding with the place it points to: its record (the lesson's first when no one record is
// to blame) and the column of its field, -1 when no shown field is to blame.
struct PlacedFinding {
  std::u16string text;
  std::size_t record = 0;
  int column = -1;
};

// A save, or where it stopped.
struct SaveOutcome {
  enum class Kind { Saved, ChangedOnDisk, BookNotSaved, PhoneticsNotKept };
  Kind kind = Kind::Saved;
  suite::FileStatus book;            // the file written, or the one that failed or changed
  std::string phoneticsPath = {};    // the table beside it, when its phonetics were not kept
  std::size_t badLine = 0;           // the table's first line that is not "English<Tab>phonetics"
  suite::FileStatus phonetics = {};  // else why the table could not be written
};

class EditingSession {
 public:
  explicit EditingSession(suite::FilePlaces places = {}) : places_(std::move(places)) {}

  // A book newly opened, with the phonetics of its folder.
  void start(Book book, course::PhoneticsTable phonetics);
  // A book read from `location`, with the phonetics kept beside it: the folder's for one of
  // the suite's books, else the table beside the file.
  void open(OpenedBook opened, BookLocation location);
  const suite::FilePlaces& places() const { return places_; }
  const BookLocation& location() const { return location_; }
  // Where the book is read from now: one of the suite's books by the folder rule afresh.
  BookLocation currentLocation() const;

  // Saves where the book belongs, unless someone else saved that file since it was read.
  SaveOutcome save();
  // Writes a copy at `path`, with every phonetic word beside it.
  SaveOutcome saveAs(const std::string& path, suite::FileIdentity* written);
  // Goes on with the copy written at `path`, which holds the edits.
  void adoptSavedAs(const std::string& path, const suite::FileIdentity& written);
  // After a copy: true when it went over the book's own file, which then counts as saved.
  bool tookCopyAsSaved(const suite::FileIdentity& written);

  const Book& book() const { return book_; }
  // The undo stack's commands change the book and the phonetics in place.
  Book& book() { return book_; }
  course::PhoneticsTable& phonetics() { return phonetics_; }
  const course::PhoneticsTable& phonetics() const { return phonetics_; }

  // The lessons as the window lists them; refreshed after every change of the book.
  const std::vector<LessonRun>& lessons() const { return lessons_; }
  void refreshLessons() { lessons_ = book_.lessons(); }
  // The lesson at a list row; nullptr for no row or a row past the lessons.
  const LessonRun* lessonAt(int row) const;
  // The row of the lesson holding `record`, else the last lesson's; -1 without lessons.
  int rowOfRecord(std::size_t record) const;
  // Where `record` is shown: the row of its lesson as `rowOfRecord` says, and its row among
  // that lesson's entries, -1 when it is past them.
  struct Place {
    int lesson = -1;
    int row = -1;
  };
  Place placeOf(std::size_t record) const;
  // The record at `row` of the lesson at list row `lesson`, if there is one.
  std::optional<std::size_t> recordAt(int lesson, int row) const;

  // What the entry table shows of `record` in `column`.
  std::u16string cell(std::size_t record, int column) const;
  // The teacher's text for `record` in `column`: the field's, or the English word's phonetics.
  EditOutcome setCell(std::size_t record, int column, const std::u16string& text) const;
  // What the checks find in the book, each with its place in the lessons as last listed.
  std::vector<PlacedFinding> findings() const;

  // A new empty entry after `row` of the lesson, or at its end without a row.
  std::optional<Edit> addEntry(int lesson, int row) const;
  std::optional<Edit> removeEntry(int lesson, int row) const;
  std::optional<Edit> moveEntry(int lesson, int row, int delta) const;
  EditOutcome setText(std::size_t record, int field, const std::u16string& text) const;
  EditOutcome setPhonetics(std::size_t record, const std::u16string& text) const;
  // Why `name` cannot name a lesson (other than the lesson at `except`, -1 for none).
  std::u16string lessonNameProblem(const std::u16string& name, int except) const;
  EditOutcome addLesson(const std::u16string& name) const;
  EditOutcome renameLesson(int lesson, const std::u16string& name) const;
  std::optional<Edit> removeLesson(int lesson) const;
  std::optional<Edit> moveLesson(int lesson, int delta) const;
  // Imported entries at the end of the lesson at `into`, or as a new lesson `name` at the
  // end of the book when `into` is -1.
  Edit importEntries(int into, const std::u16string& name,
                     const std::vector<ImportedEntry>& entries) const;
  // The lesson an import goes into: the one at `into`, else the new lesson `name`.
  std::u16string importLessonName(int into, const std::u16string& name) const;

 private:
  Edit insertAt(std::size_t at, Splice splice, std::vector<PhoneticsChange> phonetics = {}) const;
  // Keeps the phonetics changed since `before` in the table beside `saved`.
  SaveOutcome keepPhonetics(const suite::FileStatus& saved,
                            const course::PhoneticsTable& before) const;

  suite::FilePlaces places_;
  Book book_;
  course::PhoneticsTable phonetics_;
  course::PhoneticsTable phoneticsSaved_;  // as the table beside the book last had them
  BookLocation location_;
  suite::FileIdentity opened_;  // the file as last read or written
  std::vector<LessonRun> lessons_;
};

}  // namespace editor
