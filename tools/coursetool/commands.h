// SPDX-License-Identifier: MIT
// The three things coursetool does; each returns the process exit code.
#pragma once

#include <iosfwd>
#include <string>

namespace coursetool {

int Dump(const std::string& path, std::ostream& out, std::ostream& err);
int Build(const std::string& sourcePath, const std::string& coursePath, std::ostream& err);
// 0: the chooser can show the file fully; 1: it cannot; 2: the file cannot be read.
int Check(const std::string& path, std::ostream& out, std::ostream& err);

}  // namespace coursetool
