// SPDX-License-Identifier: MIT
#include "stored_text.h"

#include "chinese_text.h"
#include "module1.h"
#include "utf8.h"

namespace editor {

Problem StoreProblem(std::u16string_view display) {
  course::ScrambleRefusal refusal;
  if (course::ScrambleText(display, &refusal)) return {};
  if (refusal.storedBytes > 0) {
    return {u"文字太长，课程文件的一项最多存 65535 字节",
            "the text is too long: a course file stores at most 65535 bytes a field"};
  }
  if (refusal.character == 0) {
    return {u"有字符连在一起读回来会变样，课程文件存不下",
            "characters in it would read back changed: a course file cannot hold them"};
  }
  const std::string character =
      "the character \"" + course::ToUtf8(std::u16string(1, refusal.character)) + "\"";
  if (refusal.noCodeValue) {
    return {
        u"字符 " + Quoted(refusal.character) + u" 不在 GBK（代码页 936）字符集中，课程文件存不下",
        character + " is not in GBK (code page 936): a course file cannot hold it"};
  }
  return {u"字符 " + Quoted(refusal.character) + u" 在课程文件的存储方式下没有对应的字符，存不下",
          character + " has no stored form in a course file"};
}

std::u16string UnstorableReason(std::u16string_view display) {
  return StoreProblem(display).chinese;
}

std::u16string Stored(std::u16string_view display) {
  return course::ScrambleText(display).value_or(std::u16string());
}

}  // namespace editor
