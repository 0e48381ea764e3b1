// SPDX-License-Identifier: MIT
#include "import_text.h"

#include <algorithm>
#include <cstdint>

#include "cp936.h"
#include "utf8.h"

namespace editor {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16Mark = "\xFF\xFE";
// Office's compound files: .xls, .doc, an encrypted .xlsx.
constexpr std::string_view kCompoundFileMark = "\xD0\xCF\x11\xE0";
constexpr std::u16string_view kSaveAsCsv = u"请在 Excel 或 WPS 中另存为 CSV";
constexpr const char* kSaveAsCsvInEnglish = "save the list as CSV in Excel or WPS";

std::size_t LineOf(std::u16string_view text, std::size_t position) {
  return 1 + static_cast<std::size_t>(std::count(
                 text.begin(), text.begin() + static_cast<std::ptrdiff_t>(position), u'\n'));
}

DecodedText FromUtf16(std::string_view bytes) {
  DecodedText decoded{{}, Encoding::Utf16WithMark, {}};
  if (bytes.size() % 2 != 0) {
    decoded.refusal = {0, u"文件按 UTF-16 保存，但字节数不成对",
                       "the file is marked UTF-16 but has an odd number of bytes"};
    return decoded;
  }
  decoded.text.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    decoded.text.push_back(static_cast<char16_t>(static_cast<std::uint8_t>(bytes[i]) |
                                                 static_cast<std::uint8_t>(bytes[i + 1]) << 8));
  }
  return decoded;
}

DecodedText FromGbk(std::string_view bytes) {
  DecodedText decoded{{}, Encoding::Gbk, {}};
  const auto& codec = course::Cp936::instance();
  const std::size_t escaped =
      codec.decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), decoded.text);
  if (escaped > 0) {
    const auto bad = std::find_if(decoded.text.begin(), decoded.text.end(), [](char16_t c) {
      return c >= course::Cp936::kEscapeBase && c <= course::Cp936::kEscapeBase + 0xFF;
    });
    decoded.refusal = {LineOf(decoded.text, static_cast<std::size_t>(bad - decoded.text.begin())),
                       u"这些字节不是文字：" + std::u16string(kSaveAsCsv),
                       std::string("these bytes are no text: ") + kSaveAsCsvInEnglish};
  }
  return decoded;
}

}  // namespace

DecodedText DecodeImportBytes(std::string_view bytes) {
  if (bytes.starts_with(kUtf16Mark)) return FromUtf16(bytes.substr(kUtf16Mark.size()));
  // No text holds a NUL byte.
  if (bytes.starts_with(kCompoundFileMark) || bytes.find('\0') != std::string_view::npos) {
    return {{},
            Encoding::Utf8,
            {0, u"这不是文字文件（例如 .xls 工作簿）：" + std::u16string(kSaveAsCsv),
             std::string("this is no text file (an .xls workbook, say): ") + kSaveAsCsvInEnglish}};
  }
  const bool marked = bytes.starts_with(kUtf8Mark);
  if (marked) bytes.remove_prefix(kUtf8Mark.size());
  if (auto text = course::FromUtf8(bytes)) {
    return {std::move(*text), marked ? Encoding::Utf8WithMark : Encoding::Utf8, {}};
  }
  if (marked) {
    return {{},
            Encoding::Utf8WithMark,
            {0, u"文件标明是 UTF-8，却有不是 UTF-8 的字节",
             "the file is marked UTF-8 but holds bytes that are not UTF-8"}};
  }
  return FromGbk(bytes);
}

}  // namespace editor
