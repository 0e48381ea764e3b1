// SPDX-License-Identifier: MIT
#include "zone_check.h"

#include <sys/stat.h>

#include <cstdlib>
#include <regex>

namespace study {
namespace {

bool IsFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A zone file: a path, or a name under TZDIR or the system's zone folder.
bool NamesZoneFile(const std::string& name) {
  if (name.empty()) return false;
  if (name.front() == '/') return IsFile(name);
  const char* folder = std::getenv("TZDIR");
  return IsFile(std::string(folder && *folder ? folder : "/usr/share/zoneinfo") + "/" + name);
}

// A POSIX rule: a name of three letters or more (or <…> quoted) and an offset, then
// whatever says when summer time runs.
bool IsPosixRule(const std::string& rule) {
  static const std::regex kRule(
      "([A-Za-z]{3,}|<[A-Za-z0-9+-]{3,}>)[+-]?[0-9]{1,2}(:[0-9]{1,2}(:[0-9]{1,2})?)?"
      "(([A-Za-z]{3,}|<[A-Za-z0-9+-]{3,}>).*)?");
  return std::regex_match(rule, kRule);
}

}  // namespace

std::optional<std::string> UnknownZone() {
  const char* value = std::getenv("TZ");
  if (!value || !*value) return std::nullopt;
  const std::string zone = value;
  const std::string name = zone.front() == ':' ? zone.substr(1) : zone;
  if (NamesZoneFile(name) || IsPosixRule(name)) return std::nullopt;
  return zone;
}

}  // namespace study
