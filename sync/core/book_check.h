// SPDX-License-Identifier: MIT
// Whether a course file handed out to a class is one the chooser can use whole: checked by
// the server before it takes the file and by each device before it writes it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "phonetics_table.h"

namespace studysync {

struct BookCheck {
  std::string why;  // English; empty when the file is usable
  std::size_t lessons = 0;
  std::size_t entries = 0;  // the records of its lessons
  bool usable() const { return why.empty(); }
};

BookCheck CheckBookFile(std::string_view bytes);

// What of `all` the entries of the course file `bytes` show, to travel with the book.
course::PhoneticsTable BookPhonetics(std::string_view bytes, const course::PhoneticsTable& all);

}  // namespace studysync
