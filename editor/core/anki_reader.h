// SPDX-License-Identifier: MIT
// Anki's "Notes in Plain Text" export: header lines (#separator:, #html:, #columns:, and
// "#guid column:", "#notetype column:", "#deck column:", "#tags column:", whose columns hold
// no entry text), then one note a line, quoted as in CSV, fields perhaps in HTML.
#pragma once

#include <string>
#include <string_view>

#include "import_table.h"

namespace editor {

// True when `text` begins with Anki's header lines.
bool LooksLikeAnkiNotes(std::u16string_view text);

ImportTable ReadAnkiNotes(std::u16string_view text);

// A field's HTML as plain text: tags dropped, a line break or block a new line, entities
// decoded, [sound:…] references removed, white space tidied in each line.
std::u16string HtmlToText(std::u16string_view html);

}  // namespace editor
