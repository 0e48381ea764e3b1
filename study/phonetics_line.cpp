// SPDX-License-Identifier: MIT
#include "phonetics_line.h"

namespace studydesk {

QString PhoneticsText(const study::Phonetics& phonetics) {
  if (phonetics.ipa.empty()) return {};
  const QString ipa = QStringLiteral("/%1/").arg(QString::fromStdString(phonetics.ipa));
  return phonetics.american ? QStringLiteral("美音 ") + ipa : ipa;
}

QFont PhoneticsFont(int pointSize) {
  // DejaVu has every symbol (the suite needs it); 美音 falls back to the Chinese font.
  return QFont(QStringLiteral("DejaVu Sans"), pointSize);
}

}  // namespace studydesk
