// SPDX-License-Identifier: MIT
// The lesson the chooser handed off in its hand-off file, as the study programs take it.
#pragma once

#include <string>
#include <vector>

#include "file_places.h"
#include "file_status.h"

namespace study {

struct Entry {
  std::u16string line1;  // the English entry, as the learner sees it
  std::u16string line2;  // its Chinese meaning
  std::u16string partOfSpeech = {};
};

struct HandOffLesson {
  suite::FileStatus read;
  std::u16string name;  // display text; empty when no lesson is handed off
  std::vector<Entry> entries;
};

// The records whose entry (text 3) is not empty, in file order.
HandOffLesson LoadHandOff(const std::string& path);
// The lesson the chooser last handed off, from the hand-off file this user's programs read.
HandOffLesson LoadChosenLesson(const suite::FilePlaces& places);

}  // namespace study
