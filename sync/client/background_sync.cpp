// SPDX-License-Identifier: MIT
#include "background_sync.h"

#include <sys/stat.h>

#include "hub_link.h"

namespace studysync {

bool StartBackgroundSync(const std::string& storePath, const std::string& studytool,
                         const Launch& launch) {
  struct stat st {};
  if (::stat(HubLinkPathFor(storePath).c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
  return launch(studytool, {"sync", storePath});
}

}  // namespace studysync
