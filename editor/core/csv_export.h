// SPDX-License-Identifier: MIT
// A lesson or a whole book as CSV for a spreadsheet: UTF-8 with a byte order mark (so that
// spreadsheets on Chinese systems do not take it for GBK), CRLF line ends, a header row.
#pragma once

#include <string>

#include "book.h"

namespace editor {

// Columns 课, 英文, 中文, 词性, 栏目; the records of `lesson`, or of every lesson.
std::string ExportCsv(const Book& book, const LessonRun* lesson = nullptr);

}  // namespace editor
