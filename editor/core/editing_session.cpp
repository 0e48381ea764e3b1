// SPDX-License-Identifier: MIT
#include "editing_session.h"

#include "book_checks.h"
#include "book_edits.h"
#include "chinese_text.h"
#include "lesson_name.h"
#include "stored_text.h"
#include "utf8.h"

namespace editor {

void EditingSession::start(Book book, course::PhoneticsTable phonetics) {
  book_ = std::move(book);
  phonetics_ = std::move(phonetics);
  refreshLessons();
}

void EditingSession::open(OpenedBook opened, BookLocation location) {
  opened_ = opened.identity;
  location_ = std::move(location);
  course::PhoneticsTable phonetics;
  if (location_.fixedName.empty()) {
    course::ReadPhoneticsTable(course::PhoneticsPathBeside(location_.path), phonetics);
  } else {
    phonetics = course::ReadFolderPhonetics(places_);
  }
  phoneticsSaved_ = phonetics;
  start(std::move(opened.book), std::move(phonetics));
}

BookLocation EditingSession::currentLocation() const {
  return location_.fixedName.empty() ? location_
                                     : BookLocation::Fixed(places_, location_.fixedName);
}

SaveOutcome EditingSession::save() {
  if (const auto onDisk = CheckBookOnDisk(places_, location_, opened_); onDisk.changed) {
    return {SaveOutcome::Kind::ChangedOnDisk, suite::FileStatus::success(onDisk.path)};
  }
  const auto saved = SaveBook(book_, places_, location_, &opened_);
  if (!saved.ok()) return {SaveOutcome::Kind::BookNotSaved, saved};
  SaveOutcome outcome = keepPhonetics(saved, phoneticsSaved_);
  if (outcome.kind != SaveOutcome::Kind::Saved) return outcome;
  phoneticsSaved_ = phonetics_;
  // From now on the book is read from where it was saved.
  location_ = currentLocation();
  return outcome;
}

SaveOutcome EditingSession::saveAs(const std::string& path, suite::FileIdentity* written) {
  const auto saved = SaveBook(book_, places_, BookLocation::AtPath(path), written);
  if (!saved.ok()) return {SaveOutcome::Kind::BookNotSaved, saved};
  // Elsewhere the table may lack any of the words: all of them go there.
  return keepPhonetics(saved, {});
}

void EditingSession::adoptSavedAs(const std::string& path, const suite::FileIdentity& written) {
  location_ = BookLocation::AtPath(path);
  opened_ = written;
}

bool EditingSession::tookCopyAsSaved(const suite::FileIdentity& written) {
  if (CheckBookOnDisk(places_, location_, written).changed) return false;
  opened_ = written;
  return true;
}

SaveOutcome EditingSession::keepPhonetics(const suite::FileStatus& saved,
                                          const course::PhoneticsTable& before) const {
  SaveOutcome outcome{SaveOutcome::Kind::PhoneticsNotKept, saved,
                      course::PhoneticsPathBeside(saved.path)};
  course::PhoneticsTable there;
  const course::PhoneticsRead read = course::ReadPhoneticsTable(outcome.phoneticsPath, there);
  if (!read.badLines.empty()) {
    outcome.badLine = read.badLines.front().number;
    return outcome;
  }
  outcome.phonetics = course::UpdatePhoneticsTable(outcome.phoneticsPath, before, phonetics_);
  if (outcome.phonetics.ok()) outcome.kind = SaveOutcome::Kind::Saved;
  return outcome;
}

const LessonRun* EditingSession::lessonAt(int row) const {
  return row >= 0 && row < static_cast<int>(lessons_.size())
             ? &lessons_[static_cast<std::size_t>(row)]
             : nullptr;
}

int EditingSession::rowOfRecord(std::size_t record) const {
  for (std::size_t i = 0; i < lessons_.size(); ++i) {
    if (record >= lessons_[i].first && record < lessons_[i].end()) return static_cast<int>(i);
  }
  return static_cast<int>(lessons_.size()) - 1;
}

EditingSession::Place EditingSession::placeOf(std::size_t record) const {
  const int lesson = rowOfRecord(record);
  const LessonRun* run = lessonAt(lesson);
  const bool inside = run && record >= run->first && record < run->end();
  return {lesson, inside ? static_cast<int>(record - run->first) : -1};
}

std::optional<std::size_t> EditingSession::recordAt(int lesson, int row) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run || row < 0 || static_cast<std::size_t>(row) >= run->count) return std::nullopt;
  return run->first + static_cast<std::size_t>(row);
}

std::u16string EditingSession::cell(std::size_t record, int column) const {
  if (column != kPhoneticsColumn) return book_.text(record, kEnglishField + column);
  // The table holds well-formed UTF-8 only.
  const auto found = phonetics_.find(course::ToUtf8(book_.text(record, kEnglishField)));
  return found ? course::FromUtf8(*found).value_or(std::u16string()) : std::u16string();
}

EditOutcome EditingSession::setCell(std::size_t record, int column,
                                    const std::u16string& text) const {
  return column == kPhoneticsColumn ? setPhonetics(record, text)
                                    : setText(record, kEnglishField + column, text);
}

std::vector<PlacedFinding> EditingSession::findings() const {
  std::vector<PlacedFinding> placed;
  for (auto& finding : CheckBook(book_)) {
    const std::size_t lessonFirst =
        finding.lesson < lessons_.size() ? lessons_[finding.lesson].first : 0;
    const int column =
        finding.field >= kEnglishField && finding.field < kEnglishField + kFieldColumns
            ? finding.field - kEnglishField
            : -1;
    placed.push_back({std::move(finding.text), finding.record.value_or(lessonFirst), column});
  }
  return placed;
}

// Whatever goes in at `at` is shown; taken back, the record before it is.
Edit EditingSession::insertAt(std::size_t at, Splice splice,
                              std::vector<PhoneticsChange> phonetics) const {
  return {std::move(splice), at, at > 0 ? at - 1 : 0, std::move(phonetics)};
}

std::optional<Edit> EditingSession::addEntry(int lesson, int row) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run) return std::nullopt;
  const std::size_t at = row >= 0 ? run->first + static_cast<std::size_t>(row) + 1 : run->end();
  return insertAt(at, InsertEntries(book_, at, run->name, {{}}));
}

std::optional<Edit> EditingSession::removeEntry(int lesson, int row) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run || row < 0) return std::nullopt;
  const std::size_t record = run->first + static_cast<std::size_t>(row);
  // The entry after it, else the one before, stays in view.
  const std::size_t next = record + 1 < run->end() || record == 0 ? record : record - 1;
  return Edit{RemoveRecords(book_, record, 1), next, record};
}

std::optional<Edit> EditingSession::moveEntry(int lesson, int row, int delta) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run || row < 0) return std::nullopt;
  const std::size_t record = run->first + static_cast<std::size_t>(row);
  auto splice = MoveEntry(book_, *run, record, delta);
  if (!splice) return std::nullopt;
  return Edit{std::move(*splice), record + static_cast<std::size_t>(delta), record};
}

EditOutcome EditingSession::setText(std::size_t record, int field,
                                    const std::u16string& text) const {
  if (text == book_.text(record, field)) return {};
  if (std::u16string problem = UnstorableReason(text); !problem.empty()) {
    return {std::nullopt, std::move(problem)};
  }
  return {Edit{SetText(book_, record, field, text), record, record}, {}};
}

EditOutcome EditingSession::setPhonetics(std::size_t record, const std::u16string& text) const {
  const std::u16string english = book_.text(record, kEnglishField);
  const auto change = SetPhonetics(phonetics_, english, text);
  if (change.after == change.before) return {};
  if (english.empty()) return {std::nullopt, u"音标按英文保存，请先填写英文"};
  course::PhoneticsTable probe = phonetics_;
  if (!MakeChanges(probe, {change})) {
    return {std::nullopt, u"音标里不能有控制字符，也不能超过 " +
                              Number(course::PhoneticsTable::kLongestLine) + u" 字节"};
  }
  return {Edit{{}, record, record, {change}}, {}};
}

std::u16string EditingSession::lessonNameProblem(const std::u16string& name, int except) const {
  return LessonNameProblem(lessons_, name,
                           except < 0 ? kNoLesson : static_cast<std::size_t>(except));
}

EditOutcome EditingSession::addLesson(const std::u16string& name) const {
  if (std::u16string problem = lessonNameProblem(name, -1); !problem.empty()) {
    return {std::nullopt, std::move(problem)};
  }
  return {insertAt(book_.size(), AppendLesson(book_, name, {})), {}};
}

EditOutcome EditingSession::renameLesson(int lesson, const std::u16string& name) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run || name == run->name) return {};
  if (std::u16string problem = lessonNameProblem(name, lesson); !problem.empty()) {
    return {std::nullopt, std::move(problem)};
  }
  return {Edit{RenameLesson(book_, *run, name), run->first, run->first}, {}};
}

std::optional<Edit> EditingSession::removeLesson(int lesson) const {
  const LessonRun* run = lessonAt(lesson);
  if (!run) return std::nullopt;
  const std::size_t first = run->first;
  // The lesson that takes its place, else the one before it.
  const std::size_t next = first < book_.size() - run->count ? first : (first > 0 ? first - 1 : 0);
  return Edit{RemoveRecords(book_, first, run->count), next, first};
}

std::optional<Edit> EditingSession::moveLesson(int lesson, int delta) const {
  if (!lessonAt(lesson)) return std::nullopt;
  const auto index = static_cast<std::size_t>(lesson);
  auto splice = MoveLesson(book_, lessons_, index, delta);
  if (!splice) return std::nullopt;
  const auto& other = lessons_[index + static_cast<std::size_t>(delta)];
  // Where the moved lesson starts afterwards.
  const std::size_t after = delta < 0 ? other.first : lessons_[index].first + other.count;
  return Edit{std::move(*splice), after, lessons_[index].first};
}

Edit EditingSession::importEntries(int into, const std::u16string& name,
                                   const std::vector<ImportedEntry>& entries) const {
  const LessonRun* run = lessonAt(into);
  const std::size_t at = run ? run->end() : book_.size();
  return insertAt(at, InsertEntries(book_, at, run ? run->name : name, entries),
                  ImportedPhonetics(phonetics_, entries));
}

std::u16string EditingSession::importLessonName(int into, const std::u16string& name) const {
  const LessonRun* run = lessonAt(into);
  return run ? run->name : name;
}

}  // namespace editor
