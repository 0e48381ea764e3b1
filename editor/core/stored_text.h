// SPDX-License-Identifier: MIT
// Display text the teacher types -> the stored text of a course file, or why it cannot be.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "import_table.h"

namespace editor {

// Why `display` cannot go into a course file, naming the character, or nothing when it can.
Problem StoreProblem(std::u16string_view display);
// The same in Chinese alone.
std::u16string UnstorableReason(std::u16string_view display);

// The stored form of a text UnstorableReason accepts.
std::u16string Stored(std::u16string_view display);

}  // namespace editor
