// SPDX-License-Identifier: MIT
#include "import_command.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "book_edits.h"
#include "book_file.h"
#include "import_file.h"
#include "import_limits.h"
#include "import_reader.h"
#include "lesson_index.h"
#include "lesson_name.h"
#include "phonetics_changes.h"
#include "phonetics_table.h"
#include "stored_text.h"
#include "utf8.h"

namespace coursetool {
namespace {

std::optional<editor::ColumnChoice> ParseColumns(const std::string& text) {
  editor::ColumnChoice choice;
  std::istringstream in(text);
  std::string role;
  for (int column = 0; std::getline(in, role, ','); ++column) {
    int* slot = role == "en"    ? &choice.english
                : role == "zh"  ? &choice.chinese
                : role == "pos" ? &choice.partOfSpeech
                : role == "ph"  ? &choice.phonetic
                                : nullptr;
    if (role != "-" && (!slot || *slot != editor::kNoColumn)) return std::nullopt;
    if (slot) *slot = column;
  }
  return choice;
}

// A display text from a UTF-8 argument, or why it cannot go into a course file.
std::optional<std::u16string> StorableArgument(const std::string& what, const std::string& value,
                                               std::ostream& err) {
  const auto text = course::FromUtf8(value);
  const std::string reason = text ? editor::StoreProblem(*text).english : "not UTF-8 text";
  if (reason.empty()) return text;
  err << "coursetool: " << what << ": " << reason << '\n';
  return std::nullopt;
}

// Why the import passes what a course file holds or the chooser lists, in English.
std::string LimitInEnglish(const editor::LimitVerdict& verdict) {
  switch (verdict.limit) {
    case editor::ImportLimit::None:
      return {};
    case editor::ImportLimit::ListTooLong:
      return "the list has more than " + std::to_string(verdict.count) +
             " rows; a book holds at most " + std::to_string(course::kRecordSlots) + " entries";
    case editor::ImportLimit::TooManyEntries:
      return "the book would hold " + std::to_string(verdict.count) + " entries, more than the " +
             std::to_string(course::kRecordSlots) + " a course file holds";
    case editor::ImportLimit::TooManyLessons:
      return "the book would have " + std::to_string(verdict.count) +
             " lessons; the chooser lists only the first " + std::to_string(course::kLessonSlots);
  }
  return {};
}

}  // namespace

int Import(const std::string& sourcePath, const std::string& coursePath,
           const ImportOptions& options, std::ostream& out, std::ostream& err) {
  std::string bytes;
  if (const suite::FileStatus read = editor::ReadImportFile(sourcePath, bytes); !read.ok()) {
    err << "coursetool: " << read.message() << '\n';
    return 2;
  }
  const auto table = editor::ReadImportBytes(bytes);
  if (table.refusal) {
    err << "coursetool: " << sourcePath << ": " << table.refusal.englishText() << '\n';
    return 1;
  }
  auto choice = editor::GuessColumns(table);
  if (options.columns) {
    const auto given = ParseColumns(*options.columns);
    if (!given) {
      err << "coursetool: --columns " << *options.columns
          << ": give each column's role as en, zh, pos, ph or -, each role at most once\n";
      return 1;
    }
    choice = *given;
  }
  const auto imported = editor::MakeEntries(table, choice);
  if (imported.refusal) {
    err << "coursetool: " << sourcePath << ": " << imported.refusal.englishText() << '\n';
    return 1;
  }
  const auto lesson = StorableArgument(
      "the lesson name", options.lesson.value_or(std::filesystem::path(sourcePath).stem().string()),
      err);
  const auto bookTitle = options.book ? StorableArgument("--book", *options.book, err)
                                      : std::optional<std::u16string>();
  if (!lesson || lesson->empty() || (options.book && !bookTitle)) {
    if (lesson && lesson->empty()) err << "coursetool: the lesson name is empty\n";
    return 1;
  }

  return AppendLesson(imported.entries, *lesson, bookTitle, coursePath, out, err, table.cut);
}

int AppendLesson(const std::vector<editor::ImportedEntry>& entries, const std::u16string& lesson,
                 const std::optional<std::u16string>& bookTitle, const std::string& coursePath,
                 std::ostream& out, std::ostream& err, bool listCut) {
  editor::OpenedBook opened;
  if (std::filesystem::exists(coursePath)) {
    opened = editor::OpenBookFile(coursePath);
    if (!opened.status.ok()) {
      err << "coursetool: " << opened.status.message() << '\n';
      return 2;
    }
  }
  if (const auto problem = editor::LessonNameCheck(opened.book.lessons(), lesson)) {
    err << "coursetool: " << coursePath << ": " << problem.english << '\n';
    return 1;
  }
  if (const auto verdict = editor::CheckImportLimits(opened.book, entries.size(), true, listCut)) {
    err << "coursetool: " << coursePath << ": " << LimitInEnglish(verdict) << '\n';
    return 1;
  }
  // The phonetics go beside the book; a table there that cannot be read whole is refused
  // before anything is written.
  course::PhoneticsTable phonetics;
  editor::MakeChanges(phonetics, editor::ImportedPhonetics(phonetics, entries));
  const std::string phoneticsPath = course::PhoneticsPathBeside(coursePath);
  if (!phonetics.empty()) {
    course::PhoneticsTable existing;
    if (const auto read = course::ReadPhoneticsTable(phoneticsPath, existing).whole(); !read.ok()) {
      err << "coursetool: " << read.message() << " (nothing was imported)\n";
      return 2;
    }
  }
  opened.book.apply(editor::AppendLesson(
      opened.book, lesson, entries,
      bookTitle ? std::optional<std::u16string_view>(*bookTitle) : std::nullopt));
  const auto saved =
      editor::SaveBook(opened.book, suite::FilePlaces(), editor::BookLocation::AtPath(coursePath));
  if (!saved.ok()) {
    err << "coursetool: " << saved.message() << '\n';
    return 2;
  }
  out << coursePath << ": " << entries.size() << " entries added as the lesson \""
      << course::ToUtf8(lesson) << "\"\n";
  if (phonetics.empty()) return 0;
  if (const auto kept = course::UpdatePhoneticsTable(phoneticsPath, {}, phonetics); !kept.ok()) {
    err << "coursetool: " << kept.message()
        << " (the entries were imported, their phonetics not)\n";
    return 2;
  }
  out << phoneticsPath << ": the phonetics of " << phonetics.size() << " words kept\n";
  return 0;
}

}  // namespace coursetool
