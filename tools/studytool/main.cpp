// SPDX-License-Identifier: MIT
// studytool: look into a learner's progress and check the scheduler.
#include <iostream>
#include <string>
#include <string_view>

#include "command_line.h"
#include "commands.h"
#include "file_places.h"
#include "hub_commands.h"
#include "progress_store.h"
#include "zone_check.h"

namespace {

constexpr const char* kUsage =
    "usage: studytool replay [--day-start HH:MM] [LOG]\n"
    "       studytool log [STORE]\n"
    "       studytool stats [STORE]\n"
    "       studytool results [STORE]\n"
    "       studytool day-start [HH:MM] [STORE]\n"
    "       studytool recover [STORE]\n"
    "       studytool join CODE [STORE]\n"
    "       studytool sync [STORE]\n"
    "Run 'studytool COMMAND --help' for one command.\n";

constexpr const char* kReplayHelp =
    "usage: studytool replay [--day-start HH:MM] [LOG]\n"
    "Reads answers from LOG (standard input without it), one a line, each card's in time\n"
    "order:\n"
    "card<TAB>time<TAB>grade, the time in ISO-8601 UTC such as 2026-01-05T08:00:00Z, the\n"
    "grade 1 to 4. Prints one line per answer: the three fields, then the card's\n"
    "stability and difficulty (6 decimals), the interval in days and the due time, as\n"
    "FSRS-6 schedules them. Lines end with LF or CRLF, a byte order mark at the start is\n"
    "skipped; a line longer than 65536 bytes, one holding a control character other than\n"
    "the tab, or any other bad line is refused with its number and the reason (exit 1).\n"
    "A LOG that cannot be read or is not a regular file is refused at once (exit 2).\n"
    "Days are UTC dates; with --day-start, the learner's days as the study programs count\n"
    "them: from HH:MM to HH:MM the next day, in the local time of the zone TZ names.\n";

constexpr const char* kLogHelp =
    "usage: studytool log [STORE]\n"
    "Prints every answer in STORE in the form 'studytool replay' reads, in the order the\n"
    "store took them, the cards named by their numbers in the store. Without STORE, the\n"
    "store the study programs of this folder use for the running user. Reading changes\n"
    "nothing: a file that is not a store is refused (exit 2) and left as it is.\n";

constexpr const char* kStatsHelp =
    "usage: studytool stats [STORE]\n"
    "Prints what the statistics window shows, one 'what<TAB>when<TAB>count' line each:\n"
    "answers per day over the last 30 days, cards due per day over the next 30 (overdue\n"
    "ones today), reviews and how many were recalled per week over 12 weeks, and cards per\n"
    "state. Days are the learner's days (from the store's day start to the next, in the\n"
    "local time of the zone TZ names), by their dates. Without STORE, as for 'studytool log'.\n";

constexpr const char* kResultsHelp =
    "usage: studytool results [STORE]\n"
    "Prints the finished rounds of 听写训练, 听力自测 and 休闲打字, one a line in time order:\n"
    "time<TAB>activity<TAB>lesson<TAB>right<TAB>total<TAB>seconds<TAB>details, the activity\n"
    "dictation, listening or typing, the details 'wpm=23.4 accuracy=0.975' for typing and\n"
    "empty otherwise. Without STORE, as for 'studytool log'.\n";

constexpr const char* kDayStartHelp =
    "usage: studytool day-start [HH:MM] [STORE]\n"
    "Prints the hour at which the learner's day starts (04:00 unless changed), or keeps\n"
    "HH:MM (00:00 to 23:59) as the new one. A day runs from it to the same local time the\n"
    "next day; it decides what is due today, the days the scheduler counts and the days of\n"
    "the statistics. Without STORE, as for 'studytool log'.\n";

constexpr const char* kRecoverHelp =
    "usage: studytool recover [STORE]\n"
    "Checks the whole store. A damaged one is kept as STORE.damaged-YYYYMMDD-HHMMSS and what\n"
    "can be read of it (cards, answers, rounds, settings) saved into a fresh store at STORE,\n"
    "each card's state made again from its answers; prints how many answers were saved and\n"
    "how many lost. A sound store is left as it is. A file that is not a store is refused\n"
    "(exit 2) and left as it is. Without STORE, as for 'studytool log'.\n";

constexpr const char* kJoinHelp =
    "usage: studytool join CODE [STORE]\n"
    "Links STORE to the class server with the join code CODE the teacher gave\n"
    "(HOST:PORT/PIN/SECRET; each code serves once): keeps the link, with this device's own\n"
    "token, in study.hub beside STORE (readable by its owner alone), and prints who joined.\n"
    "A missing STORE is made, so a wiped computer joins as well; 'studytool sync' then\n"
    "brings the learner's progress. The server unreachable: exit 3; the code refused:\n"
    "exit 1; a bad code or no usable store: exit 2. Without STORE, as for 'studytool log'.\n";

constexpr const char* kSyncHelp =
    "usage: studytool sync [STORE]\n"
    "Sends the class server what STORE learned since the last sync and takes in what the\n"
    "learner's other devices sent, then prints 'sent N, received M, withdrawn K': N answers\n"
    "new to the server, M answers new to STORE, K answers taken back either way; then\n"
    "'books received B': the books the class was handed out since, each checked and written\n"
    "as c1.dat ... c4.dat beside STORE, where the chooser finds them. The study\n"
    "programs run it themselves when a sitting starts and ends. The server unreachable or in\n"
    "trouble: exit 3 with the reason; refused or not understood: exit 1; no study.hub beside\n"
    "STORE or no usable store: exit 2. Without STORE, as for 'studytool log'.\n";

// The store of the study programs in this program's folder, by the suite's folder rule;
// its folder made when `prepare` says so (a failure shows when the store is opened).
std::string DefaultStore(bool prepare = false) {
  const std::string folder = suite::FolderOfThisProgram();
  const auto places = suite::FilePlaces::ForThisUser(folder.empty() ? "." : folder);
  if (prepare) places.prepareWrite(study::kStoreFileName);
  return places.writePath(study::kStoreFileName);
}

// A usage error: what was wrong, the bad value named, then the command's usage (exit 2).
int BadUsage(const std::string& command, const std::string& problem, const char* usage) {
  std::cerr << "studytool" << (command.empty() ? "" : " ") << command << ": " << problem << '\n';
  return tools::Usage(usage, 2);
}

std::string BadTime(const char* text) {
  return std::string("bad time '") + text + "': expected HH:MM, from 00:00 to 23:59";
}

// The C library counts a zone it does not know in UTC without a word: said once, where
// the learner's days are counted.
void WarnOfUnknownZone(const std::string& command) {
  if (const auto zone = study::UnknownZone()) {
    std::cerr << "studytool " << command << ": TZ names no zone this system knows ('" << *zone
              << "'): local times are counted in UTC\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const bool help = tools::AsksForHelp(argc, argv);
  if (command == "replay") {
    int next = 2;
    study::DayRule days = study::DayRule::Utc();
    if (argc > 2 && std::string_view(argv[2]) == "--day-start") {
      if (argc == 3) return BadUsage(command, "--day-start needs a time HH:MM", kReplayHelp);
      const std::optional<int> start = study::ParseClockTime(argv[3]);
      if (!start) return BadUsage(command, BadTime(argv[3]), kReplayHelp);
      days = study::DayRule::Local(*start);
      next = 4;
      WarnOfUnknownZone(command);
    }
    if (help) return tools::Usage(kReplayHelp, 0);
    if (argc > next + 1) {
      return BadUsage(command, std::string("unexpected argument '") + argv[next + 1] + "'",
                      kReplayHelp);
    }
    if (argc == next) return studytool::Replay(std::cin, std::cout, std::cerr, days);
    return studytool::ReplayFile(argv[next], std::cout, std::cerr, days);
  }
  if (command == "log" || command == "stats" || command == "results" || command == "recover") {
    const char* usage = command == "log"       ? kLogHelp
                        : command == "stats"   ? kStatsHelp
                        : command == "results" ? kResultsHelp
                                               : kRecoverHelp;
    if (help) return tools::Usage(usage, 0);
    if (argc > 3) {
      return BadUsage(command, std::string("unexpected argument '") + argv[3] + "'", usage);
    }
    const std::string store = argc == 3 ? argv[2] : DefaultStore();
    if (command == "log") return studytool::Log(store, std::cout, std::cerr);
    if (command == "results") return studytool::Results(store, std::cout, std::cerr);
    WarnOfUnknownZone(command);
    if (command == "recover") {
      return studytool::Recover(store, study::NowMillis(), std::cout, std::cerr);
    }
    return studytool::Stats(store, study::NowMillis(), std::cout, std::cerr);
  }
  if (command == "day-start") {
    if (help) return tools::Usage(kDayStartHelp, 0);
    const std::optional<int> minutes = argc > 2 ? study::ParseClockTime(argv[2]) : std::nullopt;
    // A first argument with a colon is meant as a time; anything else names the store.
    const bool timeGiven =
        argc > 2 && std::string_view(argv[2]).find(':') != std::string_view::npos;
    if (timeGiven && !minutes) return BadUsage(command, BadTime(argv[2]), kDayStartHelp);
    const int storeAt = minutes ? 3 : 2;
    if (argc > storeAt + 1) {
      return BadUsage(command, std::string("unexpected argument '") + argv[storeAt + 1] + "'",
                      kDayStartHelp);
    }
    const std::string store = argc > storeAt ? argv[storeAt] : DefaultStore();
    WarnOfUnknownZone(command);
    return studytool::DayStart(store, minutes, std::cout, std::cerr);
  }
  if (command == "join" || command == "sync") {
    const bool join = command == "join";
    const char* usage = join ? kJoinHelp : kSyncHelp;
    if (help) return tools::Usage(usage, 0);
    const int storeAt = join ? 3 : 2;
    if (join && argc < 3) return BadUsage(command, "a join code is needed", usage);
    if (argc > storeAt + 1) {
      return BadUsage(command, std::string("unexpected argument '") + argv[storeAt + 1] + "'",
                      usage);
    }
    const std::string store = argc > storeAt ? argv[storeAt] : DefaultStore(join);
    if (!join) return studytool::Sync(store, std::cout, std::cerr);
    return studytool::Join(argv[2], store, studytool::ComputerName(), std::cout, std::cerr);
  }
  if (help || command.empty()) return tools::Usage(kUsage, help ? 0 : 2);
  return BadUsage("", "unknown command '" + command + "'", kUsage);
}
