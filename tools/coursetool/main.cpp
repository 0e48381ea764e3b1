// SPDX-License-Identifier: MIT
// coursetool: make and check the chooser's course files.
#include <cstring>
#include <iostream>
#include <string>

#include "command_line.h"
#include "commands.h"
#include "import_command.h"

namespace {

constexpr const char* kUsage =
    "usage: coursetool dump FILE\n"
    "       coursetool build IN.tsv OUT.dat\n"
    "       coursetool check FILE\n"
    "       coursetool import [--columns en,ph,zh,pos] [--lesson NAME] [--book TEXT] IN OUT.dat\n"
    "Run 'coursetool COMMAND --help' for one command.\n";

constexpr const char* kDumpHelp =
    "usage: coursetool dump FILE\n"
    "Prints one line per slot that is not the empty record, in slot order, as UTF-8:\n"
    "the slot, the six texts as display text, and the three numbers as lowercase hex of\n"
    "their bytes in file order, separated by tabs. A tab, newline or backslash inside a\n"
    "text is written as \\t, \\n, \\\\, another control character as \\x and two hex digits.\n";

constexpr const char* kBuildHelp =
    "usage: coursetool build IN.tsv OUT.dat\n"
    "Reads lines in the form 'coursetool dump' prints and writes the course file: slots\n"
    "that no line names are empty records; every text is stored with each code value\n"
    "lowered by 10. Lines end with LF or CRLF, are at most 1 MiB long and hold no control\n"
    "character but the tab. A bad line is refused with its number and the reason, and\n"
    "then nothing is written. The course file is exactly the records, whatever it held.\n";

constexpr const char* kCheckHelp =
    "usage: coursetool check FILE\n"
    "Says what the course file holds and what the chooser cannot show of it.\n"
    "Exit status: 0 the chooser can show the file fully, 1 it cannot (an empty file too),\n"
    "2 unreadable or not a regular file.\n";

constexpr const char* kImportHelp =
    "usage: coursetool import [--columns en,ph,zh,pos] [--lesson NAME] [--book TEXT] IN OUT.dat\n"
    "Appends the entries of IN as one lesson to OUT.dat (made as a book of empty records\n"
    "when absent), as the course editor imports: CSV or TSV (UTF-8, with or without a byte\n"
    "order mark, or GBK), Anki's \"Notes in Plain Text\", the first sheet of an Excel\n"
    "workbook (.xlsx), or lines \"word meaning\" (numbering, phonetics and part-of-speech\n"
    "marks taken apart; a header row of column names skipped).\n"
    "--columns gives each column's role in order (en, zh, pos, ph for phonetics, or - for\n"
    "none); without it the roles are guessed. The lesson is named NAME, else IN's file name\n"
    "less its extension; --book sets text field 1 of its records. A bad line is refused with\n"
    "its number and the reason, and so is a list the book cannot take (past 2,985 entries\n"
    "or 129 lessons); then nothing is written.\n";

// The options before the two paths; false for an unknown or incomplete one.
bool TakeImportOptions(int argc, char** argv, coursetool::ImportOptions& options) {
  for (int i = 2; i + 2 < argc; i += 2) {
    const std::string name = argv[i];
    auto* slot = name == "--columns"  ? &options.columns
                 : name == "--lesson" ? &options.lesson
                 : name == "--book"   ? &options.book
                                      : nullptr;
    if (!slot || i + 3 >= argc) return false;
    *slot = argv[i + 1];
  }
  return argc >= 4 && argc % 2 == 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string command = argc > 1 ? argv[1] : "";
  const bool help = tools::AsksForHelp(argc, argv);
  if (command == "dump") {
    if (help || argc != 3) return tools::Usage(kDumpHelp, help ? 0 : 2);
    return coursetool::Dump(argv[2], std::cout, std::cerr);
  }
  if (command == "build") {
    if (help || argc != 4) return tools::Usage(kBuildHelp, help ? 0 : 2);
    return coursetool::Build(argv[2], argv[3], std::cerr);
  }
  if (command == "check") {
    if (help || argc != 3) return tools::Usage(kCheckHelp, help ? 0 : 2);
    return coursetool::Check(argv[2], std::cout, std::cerr);
  }
  if (command == "import") {
    coursetool::ImportOptions options;
    if (help || !TakeImportOptions(argc, argv, options))
      return tools::Usage(kImportHelp, help ? 0 : 2);
    return coursetool::Import(argv[argc - 2], argv[argc - 1], options, std::cout, std::cerr);
  }
  return tools::Usage(kUsage, help ? 0 : 2);
}
