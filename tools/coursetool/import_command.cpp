// SPDX-License-Identifier: MIT
#include "import_command.h"

#include <filesystem>
#include <ostream>
#include <sstream>

#include "book_edits.h"
#include "book_file.h"
#include "import_file.h"
#include "import_reader.h"
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
  const std::u16string reason = text ? editor::UnstorableReason(*text) : u"不是 UTF-8 文字";
  if (reason.empty()) return text;
  err << "coursetool: " << what << ": " << course::ToUtf8(reason) << '\n';
  return std::nullopt;
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
    err << "coursetool: " << sourcePath << ": " << course::ToUtf8(table.refusal.text()) << '\n';
    return 1;
  }
  auto choice = editor::GuessColumns(table);
  if (options.columns) {
    const auto given = ParseColumns(*options.columns);
    if (!given) {
      err << "coursetool: --columns " << *options.columns
          << ": give each column's role as en, zh, pos or -, each role at most once\n";
      return 1;
    }
    choice = *given;
  }
  const auto imported = editor::MakeEntries(table, choice);
  if (imported.refusal) {
    err << "coursetool: " << sourcePath << ": " << course::ToUtf8(imported.refusal.text()) << '\n';
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
  return AppendLesson(imported.entries, *lesson, bookTitle, coursePath, out, err);
}

int AppendLesson(const std::vector<editor::ImportedEntry>& entries, const std::u16string& lesson,
                 const std::optional<std::u16string>& bookTitle, const std::string& coursePath,
                 std::ostream& out, std::ostream& err) {
  editor::OpenedBook opened;
  if (std::filesystem::exists(coursePath)) {
    opened = editor::OpenBookFile(coursePath);
    if (!opened.status.ok()) {
      err << "coursetool: " << opened.status.message() << '\n';
      return 2;
    }
  }
  if (const std::u16string problem = editor::LessonNameProblem(opened.book.lessons(), lesson);
      !problem.empty()) {
    err << "coursetool: " << coursePath << ": " << course::ToUtf8(problem) << '\n';
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
