// SPDX-License-Identifier: MIT
#include "answer_log.h"

#include <cstdio>

#include "text_lines.h"

namespace study {

std::string FormatLogLine(const LogLine& line) {
  return line.card + '\t' + FormatIso(line.time) + '\t' +
         std::to_string(static_cast<int>(line.grade));
}

std::optional<LogLine> ParseLogLine(std::string_view text, std::string& why) {
  const auto firstTab = text.find('\t');
  const auto secondTab =
      firstTab == std::string_view::npos ? firstTab : text.find('\t', firstTab + 1);
  if (secondTab == std::string_view::npos ||
      text.find('\t', secondTab + 1) != std::string_view::npos) {
    why = "expected three fields separated by tabs: card, time, grade";
    return std::nullopt;
  }
  LogLine line;
  line.card = std::string(text.substr(0, firstTab));
  if (line.card.empty()) {
    why = "the card is empty";
    return std::nullopt;
  }
  const std::string_view time = text.substr(firstTab + 1, secondTab - firstTab - 1);
  const auto moment = ParseIso(time);
  if (!moment) {
    why = "the time " + suite::Quoted(time) + " is not ISO-8601 UTC such as 2026-01-05T08:00:00Z";
    return std::nullopt;
  }
  line.time = *moment;
  const std::string_view grade = text.substr(secondTab + 1);
  if (grade.size() != 1 || !IsGrade(grade[0] - '0')) {
    why = "the grade " + suite::Quoted(grade) + " is not 1, 2, 3 or 4";
    return std::nullopt;
  }
  line.grade = static_cast<Grade>(grade[0] - '0');
  return line;
}

std::optional<CardState> Replay::apply(const LogLine& line, std::string& why) {
  CardState& card = cards_[line.card];
  if (!card.isNew() && line.time < card.lastAnswer) {
    why = "the time " + FormatIso(line.time) + " is earlier than card " + line.card +
          "'s answer before it (" + FormatIso(card.lastAnswer) +
          "): each card's answers must come in time order";
    return std::nullopt;
  }
  card = fsrs_.answer(card, line.grade, line.time);
  return card;
}

CardState ReplayCard(const Fsrs& fsrs, const std::vector<std::pair<Millis, Grade>>& answers) {
  CardState state;
  for (const auto& [time, grade] : answers) state = fsrs.answer(state, grade, time);
  return state;
}

std::string FormatReplayLine(const LogLine& line, const CardState& after) {
  char numbers[96];
  std::snprintf(numbers, sizeof numbers, "\t%.6f\t%.6f\t%d\t", after.memory.stability,
                after.memory.difficulty, after.intervalDays);
  return FormatLogLine(line) + numbers + FormatIso(after.due);
}

}  // namespace study
