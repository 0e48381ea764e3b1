// SPDX-License-Identifier: MIT
// The phonetics of an English line as the study windows show them, in a font that has
// every IPA symbol (the Chinese interface fonts lack ə, ɚ and ˈ).
#pragma once

#include <QFont>
#include <QString>

#include "entry_phonetics.h"

namespace studydesk {

// "/əˈbændən/", with "美音" before what the voice's lexicon gave; empty for none.
QString PhoneticsText(const study::Phonetics& phonetics);

// A font of `pointSize` that shows the IPA.
QFont PhoneticsFont(int pointSize);

}  // namespace studydesk
