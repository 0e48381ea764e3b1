// SPDX-License-Identifier: MIT
#include "open_store.h"

#include <sys/stat.h>

#include <ostream>

namespace studytool {

std::unique_ptr<study::ProgressStore> OpenExisting(const std::string& path, const char* command,
                                                   study::Millis now, std::ostream& err,
                                                   study::StoreAccess access,
                                                   study::OpenResult& result, Missing missing) {
  struct stat st {};
  if (missing == Missing::Refused && ::stat(path.c_str(), &st) != 0) {
    err << "studytool " << command << ": no store at " << path << '\n';
    return nullptr;
  }
  auto store = study::ProgressStore::Open(path, now, result, access);
  if (result.mayBeOutOfDate) {
    err << "studytool " << command << ": " << path << "-wal holds answers that cannot be read"
        << " here (the folder is read-only): what is shown may be out of date\n";
  }
  if (result.outcome == study::OpenResult::Outcome::NotOurs) {
    err << "studytool " << command << ": " << path << " is not a store of the study programs ("
        << result.failure.detail << "); it is left as it is\n";
  } else if (result.outcome == study::OpenResult::Outcome::TooNew) {
    err << "studytool " << command << ": " << path << " was written by a newer program (version "
        << result.foundVersion << "); this one knows up to version " << study::kStoreVersion
        << '\n';
  } else if (result.outcome == study::OpenResult::Outcome::DamagedKeptAside) {
    err << "studytool " << command << ": " << path << " was damaged (" << result.failure.detail
        << "); it is kept as " << result.keptAs << ", and a fresh store holds what could be"
        << " read of it: " << result.recovered.answersSaved << " answers saved, "
        << result.recovered.answersLost << " lost\n";
  } else if (!store && result.failure.kind == study::StoreFailure::Kind::Damaged) {
    err << "studytool " << command << ": " << path << " is damaged (" << result.failure.detail
        << "); 'studytool recover " << path << "' saves what can be read of it\n";
  } else if (!store) {
    err << "studytool " << command << ": cannot open " << path << ": " << result.failure.detail
        << '\n';
  }
  return store;
}

}  // namespace studytool
