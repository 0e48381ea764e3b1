// SPDX-License-Identifier: MIT
#include "book_checks.h"

#include <algorithm>
#include <map>
#include <set>

#include "answer_rule.h"
#include "chinese_text.h"
#include "lesson_index.h"

namespace editor {
namespace {

using course::kLessonRecords;
using course::kLessonSlots;

std::u16string FieldName(int field) {
  switch (field) {
    case kEnglishField:
      return u"英文";
    case kChineseField:
      return u"中文";
    case kPartOfSpeechField:
      return u"词性";
    default:
      return u"栏目";
  }
}

std::u16string Where(const LessonRun& lesson, std::size_t record) {
  return Quoted(lesson.name) + u" 第 " + Number(record - lesson.first + 1) + u" 条";
}

// By the study programs' own rule: what a keyboard types for it is plain ASCII.
bool Typable(char16_t c) {
  const char16_t typed = study::KeyboardForm(c);
  return typed >= 0x20 && typed <= 0x7E;
}

void CheckEntry(const Book& book, const LessonRun& lesson, std::size_t lessonIndex,
                std::size_t record, std::vector<Finding>& findings) {
  const auto add = [&](Rule rule, int field, std::u16string text) {
    findings.push_back({rule, lessonIndex, record, field, Where(lesson, record) + u"：" + text});
  };
  const std::u16string english = book.text(record, kEnglishField);
  const std::u16string chinese = book.text(record, kChineseField);
  if (english.empty() && !chinese.empty()) {
    add(Rule::ChineseWithoutEnglish, kEnglishField, u"有中文没有英文，选课程序不显示这一条");
  }
  if (!english.empty() && chinese.empty()) {
    add(Rule::EnglishWithoutChinese, kChineseField, u"有英文没有中文，学习时卡片上没有释义");
  }
  const auto untypable = std::find_if_not(english.begin(), english.end(), Typable);
  if (untypable != english.end()) {
    add(Rule::UntypableEnglish, kEnglishField,
        u"英文里的 " + Quoted(*untypable) + u" 在标准键盘上打不出来，听写和打字练习无法作答");
  }
  for (int field = kEnglishField; field <= kColumnField; ++field) {
    const std::u16string text = book.text(record, field);
    if (text.empty()) continue;
    if (text.front() == u' ' || text.back() == u' ') {
      add(Rule::StraySpaces, field, FieldName(field) + u"的开头或结尾有空格");
    } else if (text.find(u"  ") != std::u16string::npos) {
      add(Rule::StraySpaces, field, FieldName(field) + u"里有连续的空格");
    }
  }
}

void CheckLessonEntries(const Book& book, const LessonRun& lesson, std::size_t lessonIndex,
                        std::vector<Finding>& findings) {
  std::set<std::pair<std::u16string, std::u16string>> seen;
  for (std::size_t record = lesson.first; record < lesson.end(); ++record) {
    CheckEntry(book, lesson, lessonIndex, record, findings);
    const auto& stored = book.records()[record];
    if (stored.text(kEnglishField).empty() && stored.text(kChineseField).empty()) continue;
    if (!seen.insert({stored.text(kEnglishField), stored.text(kChineseField)}).second) {
      findings.push_back({Rule::RepeatedEntry, lessonIndex, record, kEnglishField,
                          Where(lesson, record) + u"：与本课前面的一条重复"});
    }
  }
}

}  // namespace

std::vector<Finding> CheckBook(const Book& book) {
  std::vector<Finding> findings;
  const auto lessons = book.lessons();
  const std::size_t listedRuns = book.lessonSlotsNeeded();
  if (!course::ChooserListsEveryLesson(listedRuns)) {
    findings.push_back({Rule::TooManyLessons, kLessonSlots, lessons[kLessonSlots].first, 0,
                        u"共 " + Number(listedRuns) + u" 课，选课程序只列出前 " +
                            Number(kLessonSlots) + u" 课：从 " +
                            Quoted(lessons[kLessonSlots].name) + u" 起不会列出"});
  }
  if (book.size() > kLessonRecords) {
    const auto last = std::find_if(lessons.begin(), lessons.end(),
                                   [](const LessonRun& l) { return l.end() > kLessonRecords; });
    findings.push_back({Rule::TooManyEntries, static_cast<std::size_t>(last - lessons.begin()),
                        kLessonRecords, 0,
                        u"共 " + Number(book.size()) + u" 条，课程文件的前 " +
                            Number(kLessonRecords) + u" 条之后的词条不属于任何一课"});
  }
  std::map<std::u16string, std::size_t> firstRun;
  for (std::size_t i = 0; i < lessons.size(); ++i) {
    const auto& lesson = lessons[i];
    if (!lesson.name.empty() && !firstRun.emplace(lesson.name, i).second) {
      findings.push_back({Rule::LessonNameComesBack, i, lesson.first, 0,
                          Quoted(lesson.name) + u" 在别的课之后又出现了一次，选课程序会列出两次"});
    }
    CheckLessonEntries(book, lesson, i, findings);
  }
  return findings;
}

}  // namespace editor
