// SPDX-License-Identifier: MIT
// The first sheet of an Excel workbook (.xlsx, as Excel and WPS save): its cells in rows, as
// text (shared strings, strings in the cell, numbers as written), each row numbered as the
// sheet numbers it, cells in the columns their references name.
#pragma once

#include <string_view>

#include "import_table.h"

namespace editor {

// A zip container, as every .xlsx is.
bool LooksLikeWorkbook(std::string_view bytes);

// At most kMostRows rows with text (`cut` tells of more); a container or sheet that cannot
// be read is refused with its reason.
ImportTable ReadWorkbook(std::string_view bytes);

}  // namespace editor
