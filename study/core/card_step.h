// SPDX-License-Identifier: MIT
// Where a memorising session stands: a card's front on show, its meaning on show and
// waiting for a grade, or the sitting over.
#pragma once

namespace study {

enum class CardStep { Front, Back, Finished };

}  // namespace study
