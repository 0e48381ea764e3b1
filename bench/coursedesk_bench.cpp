// SPDX-License-Identifier: MIT
// What a teacher waits for in 课程编辑 (goal: at most 200 ms each, medians): a book of 2,984
// entries opened and its first lesson shown, and 2,900 lines of a spreadsheet imported with
// the preview. Each is measured in the core alone and through the window (offscreen), which
// adds the lists, the table, the checks and the chooser's preview.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QFile>

#include "book_file.h"
#include "course_file.h"
#include "course_fixture.h"
#include "course_window.h"
#include "import_dialog.h"
#include "import_reader.h"
#include "lesson_index.h"

namespace {

// The fixture's book less its last record: 2,984 entries, every one listed.
const std::string& FullBookPath() {
  static const std::string path = [] {
    const auto& f = bench::Fixture();
    course::RecordTable table = f.table;
    table[course::kRecordSlots - 1] = {};
    const std::string full = f.folder + "/full.dat";
    if (!course::WriteCourseFile(full, table).ok()) std::abort();
    return full;
  }();
  return path;
}

// As many lines as a book of one lesson can still take, as a spreadsheet saves them: a
// header, quoted fields with commas and quotes.
constexpr int kSpreadsheetLines = 2900;

const std::string& SpreadsheetBytes() {
  static const std::string bytes = [] {
    std::string csv = "英文,中文,词性\r\n";
    for (int i = 0; i < kSpreadsheetLines; ++i) {
      csv += "\"keep in touch, item " + std::to_string(i) + "\",\"与……保持联系；“第" +
             std::to_string(i) + "条”\",phr.\r\n";
    }
    return csv;
  }();
  return bytes;
}

void BM_OpenBookCore(benchmark::State& state) {
  for (auto _ : state) {
    const auto opened = editor::OpenBookFile(FullBookPath());
    const auto lessons = opened.book.lessons();
    for (std::size_t r = lessons[0].first; r < lessons[0].end(); ++r) {
      for (int field = 3; field <= 6; ++field) benchmark::DoNotOptimize(opened.book.text(r, field));
    }
  }
}
BENCHMARK(BM_OpenBookCore)->Unit(benchmark::kMillisecond);

void BM_OpenBookWindow(benchmark::State& state) {
  coursedesk::CourseWindow window(suite::FilePlaces{});
  window.show();
  const QString path = QFile::decodeName(QByteArray::fromStdString(FullBookPath()));
  for (auto _ : state) {
    window.openFile(path);
    QApplication::processEvents();  // laid out and drawn
  }
  if (window.book().size() != course::kLessonRecords) state.SkipWithError("the book did not open");
}
BENCHMARK(BM_OpenBookWindow)->Unit(benchmark::kMillisecond);

void BM_ImportCore(benchmark::State& state) {
  for (auto _ : state) {
    const auto table = editor::ReadImportBytes(SpreadsheetBytes());
    const auto made = editor::MakeEntries(table, editor::GuessColumns(table));
    if (made.entries.size() != kSpreadsheetLines) state.SkipWithError("not every line imported");
  }
}
BENCHMARK(BM_ImportCore)->Unit(benchmark::kMillisecond);

// From the bytes to the entries in a new lesson of a one-lesson book, through the preview
// dialog; undone between runs, unmeasured.
void BM_ImportWindow(benchmark::State& state) {
  const auto& f = bench::Fixture();
  course::RecordTable table;
  for (std::size_t i = 0; i < 24; ++i) table[i] = f.table[i];
  const std::string path = f.folder + "/one-lesson.dat";
  if (!course::WriteCourseFile(path, table).ok()) std::abort();
  coursedesk::CourseWindow window(suite::FilePlaces{});
  window.questions.import = [](coursedesk::ImportDialog& dialog) {
    dialog.lessonName->setText(QStringLiteral("第五周"));
    return true;
  };
  window.openFile(QFile::decodeName(QByteArray::fromStdString(path)));
  window.show();
  const QByteArray bytes = QByteArray::fromStdString(SpreadsheetBytes());
  for (auto _ : state) {
    window.importBytes(bytes, QStringLiteral("week5.csv"), QStringLiteral("week5"));
    QApplication::processEvents();
    state.PauseTiming();
    if (window.book().size() != 24 + kSpreadsheetLines) {
      state.SkipWithError("the lesson was not added");
    }
    window.undoStack->undo();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_ImportWindow)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
