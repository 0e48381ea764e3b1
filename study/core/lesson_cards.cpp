// SPDX-License-Identifier: MIT
#include "lesson_cards.h"

#include "utf8.h"

namespace study {

std::vector<Card> LessonCards(const HandOffLesson& lesson, CardStore* store, Millis now,
                              StoreFailure& failure) {
  const std::string name = course::ToUtf8(lesson.name);
  std::vector<EntryText> entries;
  for (const Entry& entry : lesson.entries) {
    entries.push_back({course::ToUtf8(entry.line1), course::ToUtf8(entry.line2),
                       course::ToUtf8(entry.partOfSpeech)});
  }
  if (store) return store->lessonCards(name, entries, now, failure);
  std::vector<Card> cards;
  for (const EntryText& e : entries)
    cards.push_back({0, name, e.line1, e.line2, {}, e.partOfSpeech});
  return cards;
}

}  // namespace study
