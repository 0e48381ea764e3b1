// SPDX-License-Identifier: MIT
#include "commands.h"

#include <cstdio>
#include <istream>
#include <memory>
#include <ostream>
#include <string>

#include "answer_log.h"
#include "input_file.h"
#include "open_store.h"
#include "progress_store.h"
#include "text_lines.h"

namespace studytool {

namespace {

// `source` names the log in messages: "" for the standard input.
int ReplayLines(suite::TextLines& lines, const std::string& source, std::ostream& out,
                std::ostream& err, const study::DayRule& days) {
  study::Replay replay(days);
  std::string text;
  std::string why;
  while (lines.next(text)) {
    const auto line = study::ParseLogLine(text, why);
    const auto after = line ? replay.apply(*line, why) : std::nullopt;
    if (!after) break;
    out << study::FormatReplayLine(*line, *after) << '\n';
  }
  if (!lines.error().empty()) why = lines.error();
  if (why.empty()) return 0;
  err << "studytool replay: " << source << (source.empty() ? "" : ": ") << "line " << lines.number()
      << ": " << why << '\n';
  return 1;
}

}  // namespace

int Replay(std::istream& in, std::ostream& out, std::ostream& err, const study::DayRule& days) {
  suite::TextLines lines(in);
  return ReplayLines(lines, "", out, err, days);
}

int ReplayFile(const std::string& path, std::ostream& out, std::ostream& err,
               const study::DayRule& days) {
  suite::InputFile file(path);
  int status = 0;
  if (file.ok()) {
    suite::TextLines lines(file);
    status = ReplayLines(lines, path, out, err, days);
  }
  if (file.ok()) return status;
  err << "studytool replay: cannot read " << file.status().message() << '\n';
  return 2;
}

namespace {

// Only to read: the store as it is.
std::unique_ptr<study::ProgressStore> OpenToRead(const std::string& path, const char* command,
                                                 study::Millis now, std::ostream& err) {
  study::OpenResult result;
  return OpenExisting(path, command, now, err, study::StoreAccess::Read, result);
}

int Finish(const study::StoreFailure& failure, const char* command, const std::string& path,
           std::ostream& err) {
  if (!failure.failed()) return 0;
  err << "studytool " << command << ": cannot read " << path << ": " << failure.detail << '\n';
  return 2;
}

}  // namespace

int Log(const std::string& path, std::ostream& out, std::ostream& err) {
  const auto store = OpenToRead(path, "log", 0, err);
  if (!store) return 2;
  study::StoreFailure failure;
  for (const study::LogLine& line : store->log(failure)) out << study::FormatLogLine(line) << '\n';
  return Finish(failure, "log", path, err);
}

int Results(const std::string& path, std::ostream& out, std::ostream& err) {
  const auto store = OpenToRead(path, "results", 0, err);
  if (!store) return 2;
  study::StoreFailure failure;
  for (const study::RoundResult& r : store->results(failure)) {
    char figures[96];
    std::snprintf(figures, sizeof figures, "\t%d\t%d\t%.1f\t", r.right, r.total, r.seconds);
    out << study::FormatIso(r.time) << '\t' << r.activity << '\t' << r.lesson << figures;
    if (r.wordsPerMinute && r.accuracy) {
      std::snprintf(figures, sizeof figures, "wpm=%.1f accuracy=%.3f", *r.wordsPerMinute,
                    *r.accuracy);
      out << figures;
    }
    out << '\n';
  }
  return Finish(failure, "results", path, err);
}

int Stats(const std::string& path, study::Millis now, std::ostream& out, std::ostream& err) {
  const auto store = OpenToRead(path, "stats", now, err);
  if (!store) return 2;
  study::StoreFailure failure;
  const study::Statistics stats = store->statistics(now, failure);
  for (int i = 0; i < study::Statistics::kDays; ++i) {
    out << "answers\t" << study::FormatDate(stats.answerDay(i)) << '\t' << stats.answersPerDay[i]
        << '\n';
  }
  for (int i = 0; i < study::Statistics::kDays; ++i) {
    out << "due\t" << study::FormatDate(stats.dueDay(i)) << '\t' << stats.duePerDay[i] << '\n';
  }
  for (int i = 0; i < study::Statistics::kWeeks; ++i) {
    const std::string weekStart = study::FormatDate(stats.weekStart(i));
    out << "reviews\t" << weekStart << '\t' << stats.reviewAnswersPerWeek[i] << '\n';
    out << "recalled\t" << weekStart << '\t' << stats.recalledPerWeek[i] << '\n';
  }
  out << "cards\tunlearned\t" << stats.unlearned << "\ncards\trelearning\t" << stats.relearning
      << "\ncards\tyoung\t" << stats.young << "\ncards\tmature\t" << stats.mature << '\n';
  return Finish(failure, "stats", path, err);
}

int DayStart(const std::string& path, std::optional<int> minutes, std::ostream& out,
             std::ostream& err) {
  // Asking is reading: only a new day start opens the store to write.
  study::OpenResult result;
  const auto store =
      OpenExisting(path, "day-start", study::NowMillis(), err,
                   minutes ? study::StoreAccess::Write : study::StoreAccess::Read, result);
  if (!store) return 2;
  study::StoreFailure failure;
  if (minutes && !store->setDayStart(*minutes, study::NowMillis(), failure)) {
    err << "studytool day-start: cannot write " << path << ": " << failure.detail << '\n';
    return 2;
  }
  out << study::FormatClockTime(store->dayRule().dayStartMinutes()) << '\n';
  return 0;
}

int Recover(const std::string& path, study::Millis now, std::ostream& out, std::ostream& err) {
  study::OpenResult result;
  const auto store = OpenExisting(path, "recover", now, err, study::StoreAccess::Write, result);
  if (!store) return 2;
  switch (result.outcome) {
    case study::OpenResult::Outcome::DamagedKeptAside:
      out << result.recovered.answersSaved << " answers saved, " << result.recovered.answersLost
          << " lost; the damaged store is kept as " << result.keptAs << '\n';
      return 0;
    case study::OpenResult::Outcome::Opened:
      out << path << " is sound: nothing to recover\n";
      return 0;
    default:
      err << "studytool recover: cannot write " << path << ": the store is read-only\n";
      return 2;
  }
}

}  // namespace studytool
