// SPDX-License-Identifier: MIT
// Any bytes as a teacher's request to hand out a book: one that is read must be encoded so
// that it reads back the same, and its book and phonetics are checked without failing.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "book_check.h"
#include "sync_messages.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string why;
  const auto request =
      studysync::DecodePublishRequest({reinterpret_cast<const char*>(data), size}, why);
  if (!request) return 0;
  if (studysync::DecodePublishRequest(studysync::Encode(*request), why) != request) std::abort();
  studysync::CheckBookFile(request->content);
  course::PhoneticsTable phonetics;
  course::ParsePhoneticsTable(request->phonetics, phonetics);
  studysync::BookPhonetics(request->content, phonetics);
  return 0;
}
