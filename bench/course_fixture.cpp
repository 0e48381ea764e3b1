// SPDX-License-Identifier: MIT
#include "course_fixture.h"

#include <stdlib.h>

#include <filesystem>
#include <stdexcept>

#include "course_file.h"
#include "lesson_index.h"
#include "utf8.h"

namespace bench {
namespace {

std::u16string Text(const char* utf8) {
  return *course::FromUtf8(utf8);
}

CourseFixture Make() {
  const std::u16string words[] = {Text("keep in touch with"), Text("responsibility"),
                                  Text("take measures"), Text("glacier")};
  const std::u16string glosses[] = {Text("与……保持联系"), Text("责任；职责"), Text("采取措施"),
                                    Text("冰川")};
  const std::u16string examples[] = {
      Text("We must take measures to protect the 冰川 before it is too late."),
      Text("她每周给家里写信，与父母保持联系。"),
  };
  CourseFixture f;
  std::string folder = (std::filesystem::temp_directory_path() / "chooser-bench-XXXXXX").string();
  if (!mkdtemp(folder.data())) throw std::runtime_error("mkdtemp failed");
  f.folder = folder;
  f.coursePath = folder + "/c1.dat";
  constexpr std::size_t kPerLesson = 24;
  for (std::size_t i = 0; i < course::kRecordSlots; ++i) {
    auto& r = f.table[i];
    r.text(1) = Text("Book 4");
    r.text(2) = Text("Unit ") + std::u16string(1, u'0' + (i / kPerLesson) % 10) +
                Text(" 未来的学校") + std::u16string(1, u'A' + (i / kPerLesson / 10) % 26);
    r.text(3) = words[i % 4];
    r.text(4) = glosses[i % 4];
    r.text(5) = Text("phr.");
    r.text(6) = examples[i % 2];
    r.number1 = {static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8), 0, 0};
  }
  if (!course::WriteCourseFile(f.coursePath, f.table).ok()) {
    throw std::runtime_error("cannot write the benchmark's course file");
  }
  const auto items = course::BuildLessonIndex(course::RecordImage(f.table)).listItems();
  f.middleLesson = items[items.size() / 2];
  return f;
}

}  // namespace

const CourseFixture& Fixture() {
  static const CourseFixture fixture = Make();
  // The run's files go when the run ends.
  static const struct Cleanup {
    ~Cleanup() { std::filesystem::remove_all(fixture.folder); }
  } cleanup;
  return fixture;
}

}  // namespace bench
