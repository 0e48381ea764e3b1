// SPDX-License-Identifier: MIT
// The suite's fixed file names: the four books and the hand-off file between the chooser
// and the study programs. Every program takes them from here.
#pragma once

#include <array>

namespace course {

struct Book {
  const char* title;     // UTF-8; also the item of the chooser's book list
  const char* fileName;  // a fixed name, found by the file places
};

inline constexpr std::array<Book, 4> kBooks{{
    {"大学英语精读第一册", "c1.dat"},
    {"大学英语精读第二册", "c2.dat"},
    {"大学英语精读第三册", "c3.dat"},
    {"大学英语精读第四册", "c4.dat"},
}};

// The titles alone, in book order, for a list of items.
inline constexpr std::array<const char*, kBooks.size()> kBookTitles = [] {
  std::array<const char*, kBooks.size()> titles{};
  for (std::size_t i = 0; i < kBooks.size(); ++i) titles[i] = kBooks[i].title;
  return titles;
}();

// Written by the chooser's confirm, read by every study program.
inline constexpr const char* kHandOffFileName = "900_1.dat";

}  // namespace course
