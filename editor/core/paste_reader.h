// SPDX-License-Identifier: MIT
// A list pasted from a document, one "word meaning" a line: the meaning starts at the first
// Chinese character; a part-of-speech mark just before it ("apple n. 苹果") is kept apart.
#pragma once

#include <string_view>

#include "import_table.h"

namespace editor {

// Rows of three fields: the word, the part of speech (perhaps empty), the meaning (empty
// when the line has no Chinese character).
ImportTable ReadPastedLines(std::u16string_view text);

}  // namespace editor
