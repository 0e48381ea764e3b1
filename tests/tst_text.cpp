// SPDX-License-Identifier: MIT
// Code page 936 tables and the display transform.
#include <gtest/gtest.h>

#include "cp936.h"
#include "module1.h"

namespace course {
namespace {

const Cp936& codec() {
  return Cp936::instance();
}

std::u16string Decode(const std::string& bytes, std::size_t* escaped = nullptr) {
  std::u16string text;
  const auto n =
      codec().decode(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), text);
  if (escaped) *escaped = n;
  return text;
}

std::string Encode(const std::u16string& text) {
  std::string bytes;
  EXPECT_TRUE(codec().encode(text, bytes));
  return bytes;
}

TEST(Cp936, DecodesSingleAndDoubleByteCharacters) {
  EXPECT_EQ(Decode("abc"), u"abc");
  EXPECT_EQ(Decode("\xb0\xa1"), u"\u554a");                // 啊
  EXPECT_EQ(Decode("\xc4\xe3\xba\xc3"), u"\u4f60\u597d");  // 你好
  EXPECT_EQ(Decode("\x80"), u"\u20ac");                    // the euro sign, as on Windows
  EXPECT_EQ(codec().codeOf(u'\u554a'), 0xB0A1);
  EXPECT_EQ(codec().charOf(0xB0A1), u'\u554a');
}

// Bytes that start no character must come back out exactly as they went in.
TEST(Cp936, UndecodableBytesSurviveDecodeAndEncode) {
  const std::string cases[] = {
      std::string("\xff"),    // never a byte of code page 936
      std::string("ab\x81"),  // lead byte at the very end
      std::string("\x81\x7f"
                  "x"),                     // lead byte with a trail that is no trail
      std::string("\xb0\xa1\xff\xb0\xa1"),  // good, bad, good
      std::string("\x81\x81\x40"),          // lead bytes in a row
      std::string("\x00\x01\x7f", 3),       // control bytes are plain characters
      // Runs of Chinese are read two characters at a time: a bad pair in either place.
      std::string("\xb0\xa1\xff\xa1\xb0\xa1"),
      std::string("\xff\xa1\xb0\xa1\xb0\xa1"),
      std::string("\xb0\xa1\xb0\xa1\xb0"),
      std::string("\xb0\xa1\xb0\x20\xb0\xa1\xb0\xa1"),
  };
  for (const auto& bytes : cases) {
    std::size_t escaped = 0;
    const auto text = Decode(bytes, &escaped);
    EXPECT_EQ(Encode(text), bytes) << "case of " << bytes.size() << " bytes";
  }
  std::size_t escaped = 0;
  EXPECT_EQ(Decode("\xff", &escaped), u"\xdcff");
  EXPECT_EQ(escaped, 1u);
  EXPECT_EQ(Decode("\xb0\xa1\xff\xa1\xb0\xa1\xb0\xa1", &escaped),
            u"\u554a\xdcff\u201c\u201c\xdca1");  // after a byte that starts no character, pairs
                                                 // start anew
  EXPECT_EQ(escaped, 2u);
}

TEST(Cp936, CharactersWithoutACodeAreNotEncodable) {
  std::string bytes;
  EXPECT_FALSE(codec().encode(u"\u0e01", bytes));  // Thai has no place in code page 936
  EXPECT_FALSE(codec().encode(u"\xdc10", bytes));  // a surrogate that stands for no byte
  EXPECT_EQ(codec().codeOf(u'\u0e01'), Cp936::kNoCode);
}

TEST(Cp936, EveryDecodableCodeEncodesBackToItself) {
  std::size_t pairs = 0;
  for (std::uint32_t code = 0x8140; code <= 0xFEFE; ++code) {
    const char16_t c = codec().charOf(code);
    if (c == Cp936::kNoChar) continue;
    ++pairs;
    ASSERT_EQ(codec().codeOf(c), code);
  }
  EXPECT_GT(pairs, 21000u);  // GBK has about 21,800 double-byte characters
}

// Windows gives every double-byte code without a character of its own a Private Use Area
// character: the user-defined areas row by row, then the rest in code order.
TEST(Cp936, EveryDoubleByteCodeHasACharacterAsOnWindows) {
  const std::pair<std::uint32_t, char16_t> anchors[] = {
      {0xAAA1, 0xE000}, {0xAFFE, 0xE233}, {0xF8A1, 0xE234}, {0xFEFE, 0xE4C5},
      {0xA140, 0xE4C6}, {0xA1A0, 0xE525}, {0xA240, 0xE526}, {0xA7A0, 0xE765},
      {0xA2AB, 0xE766}, {0xD7FA, 0xE810}, {0xFE50, 0xE815}, {0xFEA0, 0xE864},
  };
  for (const auto& [code, c] : anchors) {
    EXPECT_EQ(codec().charOf(code), c) << std::hex << code;
  }
  std::size_t codes = 0;
  for (std::uint32_t lead = 0x81; lead <= 0xFE; ++lead) {
    for (std::uint32_t trail = 0x40; trail <= 0xFE; ++trail) {
      if (trail == 0x7F) continue;
      const std::uint32_t code = lead << 8 | trail;
      ++codes;
      const std::string bytes{static_cast<char>(lead), static_cast<char>(trail)};
      std::size_t escaped = 0;
      const std::u16string text = Decode(bytes, &escaped);
      ASSERT_EQ(text.size(), 1u) << std::hex << code;
      ASSERT_EQ(escaped, 0u) << std::hex << code;
      ASSERT_EQ(codec().codeOf(text[0]), code) << std::hex << code;
    }
  }
  EXPECT_EQ(codes, 126u * 190u);
}

// Every punctuation mark and symbol of GB2312 that a meaning can hold, written by hand.
const char16_t kGb2312Punctuation[] =
    u"　、。·ˉˇ¨〃々—～‖…‘’“”〔〕〈〉《》「」『』〖〗【】±×÷∶∧∨∑∏∪∩∈∷√⊥∥∠⌒⊙∫∮≡≌≈∽∝≠≮≯≤≥∞∵∴♂♀°′″℃"
    u"＄¤￠￡‰§№☆★○●◎◇◆□■△▲※→←↑↓〓"
    u"⒈⒉⒊⒋⒌⒍⒎⒏⒐⒑⑴⑵⑶⑷⑸⑹⑺⑻⑼⑽①②③④⑤⑥⑦⑧⑨⑩㈠㈡㈢㈣㈤㈥㈦㈧㈨㈩ⅠⅡⅢⅣⅤⅥⅦⅧⅨⅩⅪⅫ"
    u"！＂＃￥％＆＇（）＊＋，－．／０１２３４５６７８９：；＜＝＞？＠ＡＺ［＼］＾＿｀ａｚ｛｜｝￣"
    u"ぁんァヶΑΩαωАЯаяāáǎàēéěèīíǐìōóǒòūúǔùǖǘǚǜüêㄅㄆㄉㄋㄌㄍㄎㄩ─━│┃┄┅┆┇┈┉┊┋┌╋";

TEST(UnscrambleText, EveryGb2312PunctuationMarkHasAStoredFormThatComesBack) {
  for (const char16_t c : std::u16string_view(kGb2312Punctuation)) {
    const std::u16string display(1, c);
    ScrambleRefusal refusal;
    const auto stored = ScrambleText(display, &refusal);
    ASSERT_TRUE(stored) << "U+" << std::hex << static_cast<int>(c);
    std::string bytes;
    ASSERT_TRUE(codec().encode(*stored, bytes));
    EXPECT_EQ(Decode(bytes), *stored);
    EXPECT_EQ(UnscrambleText(*stored), display) << "U+" << std::hex << static_cast<int>(c);
  }
  // （ is A3A8: its stored form A39E lies in a user-defined area.
  std::string bytes;
  ASSERT_TRUE(codec().encode(ScrambleText(u"（").value(), bytes));
  EXPECT_EQ(bytes, "\xa3\x9e");
  EXPECT_EQ(UnscrambleText(*ScrambleText(u"abandon——放弃（名词）。")), u"abandon——放弃（名词）。");
}

struct UnscrambleCase {
  const char* name;
  std::u16string stored;
  std::u16string display;
};

TEST(UnscrambleText, MovesEveryCodeValueUpByTen) {
  const UnscrambleCase cases[] = {
      {"empty", u"", u""},
      {"letters", u"WXY", u"abc"},
      {"space becomes a letter", u"\x16", u" "},
      {"double-byte B097 to B0A1", std::u16string(1, codec().charOf(0xB097)), u"\u554a"},
      {"mixed", std::u16string{u'W', codec().charOf(0xB097), u'X'}, u"a\u554ab"},
      {"a single byte that becomes a lead byte alone", u"\u20ac", u"\ufffd"},
      {"an escaped byte", u"\xdcf5", u"\ufffd"},
      {"a value past the last lead byte", std::u16string(1, codec().charOf(0xFEFE)), u"\ufffd"},
      {"a character without a code value", u"a\u0e01b", u"k\ufffdl"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(UnscrambleText(c.stored), c.display) << c.name;
  }
}

TEST(UnscrambleText, LeavesItsInputAloneAndTwiceAddsTwenty) {
  const std::u16string stored = u"A";
  EXPECT_EQ(UnscrambleText(UnscrambleText(stored)), u"U");
  EXPECT_EQ(stored, u"A");
}

}  // namespace
}  // namespace course
