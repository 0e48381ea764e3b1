// SPDX-License-Identifier: MIT
// Outside bytes or pasted text to an import table, whatever the format: Anki's export when
// it begins with Anki's header lines, separated fields when a separator splits the lines,
// else a pasted list.
#pragma once

#include <string_view>

#include "import_table.h"

namespace editor {

ImportTable ReadImportText(std::u16string_view text);
ImportTable ReadImportBytes(std::string_view bytes);

}  // namespace editor
