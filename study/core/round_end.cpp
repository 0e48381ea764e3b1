// SPDX-License-Identifier: MIT
#include "round_end.h"

namespace study {

RoundEnd EndRound(RoundResult result, const RoundKind& kind, const std::string& lesson,
                  RoundStore* store) {
  result.activity = kind.name;
  result.lesson = lesson;
  RoundEnd end;
  if (store) {
    end.days = store->dayRule();
    if (!store->saveResult(result, end.failure)) end.kept = RoundEnd::Kept::Failed;
    // A history that cannot be read leaves this round alone on the chart.
    StoreFailure unread;
    end.history = store->recentResults(kind.name, kind.typing ? std::string() : lesson,
                                       kHistoryRounds, unread);
  } else {
    end.kept = RoundEnd::Kept::NoStore;
  }
  if (end.history.empty()) end.history.push_back(result);
  return end;
}

}  // namespace study
