// SPDX-License-Identifier: MIT
#include "lesson_name.h"

#include "stored_text.h"
#include "utf8.h"

namespace editor {

Problem LessonNameCheck(const std::vector<LessonRun>& lessons, std::u16string_view name,
                        std::size_t except) {
  if (name.find_first_not_of(u" \t\u3000") == std::u16string_view::npos) {
    return {u"课名是空的", "the lesson name is empty"};
  }
  if (Problem problem = StoreProblem(name)) return problem;
  for (std::size_t i = 0; i < lessons.size(); ++i) {
    if (i != except && lessons[i].name == name) {
      return {u"已经有一课叫“" + std::u16string(name) + u"”",
              "the book already has a lesson named \"" + course::ToUtf8(name) + "\""};
    }
  }
  return {};
}

std::u16string LessonNameProblem(const std::vector<LessonRun>& lessons, std::u16string_view name,
                                 std::size_t except) {
  return LessonNameCheck(lessons, name, except).chinese;
}

std::u16string LessonLabel(const LessonRun& lesson) {
  return lesson.name.empty() ? u"（没有课名）" : lesson.name;
}

}  // namespace editor
