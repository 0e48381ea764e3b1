// SPDX-License-Identifier: MIT
// The handed-off lesson as the cards 课文初记 goes through.
#pragma once

#include <vector>

#include "card_store.h"
#include "handoff_lesson.h"

namespace study {

// The lesson's entries as cards, in file order: from `store` when there is one (entries it
// lacks are added, stamped `now`), otherwise new cards that are saved nowhere (id 0).
std::vector<Card> LessonCards(const HandOffLesson& lesson, CardStore* store, Millis now,
                              StoreFailure& failure);

}  // namespace study
