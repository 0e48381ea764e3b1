// SPDX-License-Identifier: MIT
// The course editor's import: the formats teachers bring lists in, the column guess, and
// what is refused, with its line.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "anki_reader.h"
#include "chinese_text.h"
#include "delimited_reader.h"
#include "import_entries.h"
#include "import_reader.h"
#include "import_text.h"
#include "test_support.h"
#include "utf8.h"
#include "workbook_reader.h"

namespace editor {
namespace {

using Rows = std::vector<std::vector<std::string>>;

std::string Utf8(const std::u16string& text) {
  return course::ToUtf8(text);
}

Rows Fields(const ImportTable& table) {
  Rows rows;
  for (const auto& row : table.rows) {
    auto& fields = rows.emplace_back();
    for (const auto& field : row.fields) fields.push_back(Utf8(field));
  }
  return rows;
}

TEST(ImportBytes, DecodesEveryEncodingSpreadsheetsSave) {
  struct Case {
    const char* what;
    std::string bytes;
    Encoding encoding;
  };
  const Case cases[] = {
      {"UTF-8", "apple,苹果\n", Encoding::Utf8},
      {"UTF-8 with a byte order mark",
       "\xEF\xBB\xBF"
       "apple,苹果\n",
       Encoding::Utf8WithMark},
      {"GBK", testsupport::ToGbk("apple,苹果\n"), Encoding::Gbk},
      {"UTF-16 with a byte order mark",
       std::string("\xFF\xFE"
                   "a\0p\0p\0l\0e\0,\0\xF9\x82\x9C\x67\n\0",
                   20),
       Encoding::Utf16WithMark},
  };
  for (const auto& c : cases) {
    const auto decoded = DecodeImportBytes(c.bytes);
    EXPECT_FALSE(decoded.refusal) << c.what;
    EXPECT_EQ(decoded.encoding, c.encoding) << c.what;
    EXPECT_EQ(Utf8(decoded.text), "apple,苹果\n") << c.what;
  }
}

TEST(ImportBytes, RefusesBytesThatAreNoTextWithTheirLine) {
  const auto decoded = DecodeImportBytes("a,b\nc,d\n\xFF\xFF,e\n");
  ASSERT_TRUE(decoded.refusal);
  EXPECT_EQ(decoded.refusal.line, 3u);
  EXPECT_TRUE(DecodeImportBytes("\xEF\xBB\xBF\xC6\xBB\xFF").refusal) << "marked UTF-8 that is not";
}

TEST(DelimitedText, ReadsQuotedFieldsAsRfc4180Says) {
  struct Case {
    const char* what;
    std::u16string text;
    char16_t separator;
    Rows rows;
  };
  const Case cases[] = {
      {"plain, LF", u"a,b\nc,d\n", u',', {{"a", "b"}, {"c", "d"}}},
      {"CRLF, no final line end", u"a,b\r\nc,d", u',', {{"a", "b"}, {"c", "d"}}},
      {"a comma inside quotes", u"\"a, b\",c\n", u',', {{"a, b", "c"}}},
      {"doubled quotes", u"\"say \"\"hi\"\"\",x\n", u',', {{"say \"hi\"", "x"}}},
      {"a line break inside quotes",
       u"\"two\r\nlines\",x\ny,z\n",
       u',',
       {{"two\r\nlines", "x"}, {"y", "z"}}},
      {"empty fields", u",,\n\"\",x\n", u',', {{"", "", ""}, {"", "x"}}},
      {"blank lines skipped", u"a;b\n\n\r\nc;d\n", u';', {{"a", "b"}, {"c", "d"}}},
      {"tabs", u"a b\tc,d\n", u'\t', {{"a b", "c,d"}}},
      {"a quote inside an unquoted field stays", u"it's \"x\",y\n", u',', {{"it's \"x\"", "y"}}},
  };
  for (const auto& c : cases) {
    ImportTable table;
    table.rows = ReadDelimited(c.text, c.separator, table.refusal);
    EXPECT_FALSE(table.refusal) << c.what;
    EXPECT_EQ(Fields(table), c.rows) << c.what;
  }
}

TEST(DelimitedText, NumbersRowsByTheLineTheyStartOn) {
  Refusal refusal;
  const auto rows = ReadDelimited(u"a,\"b\nc\"\n\nd,e\n", u',', refusal);
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].line, 1u);
  EXPECT_EQ(rows[1].line, 4u);
}

TEST(DelimitedText, RefusesBrokenQuotingWithTheLine) {
  const std::pair<std::u16string, std::size_t> cases[] = {
      {u"a,b\nc,\"d\ne,f\n", 2},  // never closed: the line where it opened
      {u"a,b\n\"c\"d,e\n", 2},    // text after the closing quote
      {u"\"x\ny\"z,w\n", 2},      // the same after a line break inside quotes
  };
  for (const auto& [text, line] : cases) {
    Refusal refusal;
    EXPECT_TRUE(ReadDelimited(text, u',', refusal).empty()) << Utf8(text);
    EXPECT_EQ(refusal.line, line) << Utf8(text);
    EXPECT_EQ(Utf8(refusal.text()).rfind("第 " + std::to_string(line) + " 行：", 0), 0u);
  }
}

TEST(DelimitedText, GuessesTheSeparatorThatSplitsEveryRowAlike) {
  const std::pair<std::u16string, std::optional<char16_t>> cases[] = {
      {u"a,b\nc,d\n", u','},
      {u"a;b\nc;d\n", u';'},
      {u"a, b\tc\nd, e\tf\n", u'\t'},
      {u"\"1,5\";x\n\"2,5\";y\n", u';'},  // commas only inside quotes
      {u"apple 苹果\npear 梨\n", std::nullopt},
      {u"\"open,x\n", u','},            // broken quoting still shows the separator
      {u"a,b\nc,d\n\"e\"f,g\n", u','},  // as do the rows before it
      {u"Yes, he said. 他说是\n\"No,\" she said. 她说不\n", std::nullopt},  // a quoted sentence
  };
  for (const auto& [text, separator] : cases) {
    EXPECT_EQ(GuessSeparator(text), separator) << Utf8(text);
  }
}

TEST(AnkiNotes, TakesItsHeaderLinesAndDropsTheNoteColumns) {
  const std::u16string text =
      u"#separator:tab\n#html:true\n#guid column:1\n#notetype column:2\n#deck column:3\n"
      u"#tags column:6\n"
      u"abc\tBasic\tWords\tapple\t苹果\tfruit\n"
      u"def\tBasic\tWords\t\"run, ran\"\t<b>跑</b><br>奔跑\t\n";
  ASSERT_TRUE(LooksLikeAnkiNotes(text));
  const auto table = ReadAnkiNotes(text);
  EXPECT_FALSE(table.refusal) << Utf8(table.refusal.text());
  EXPECT_EQ(Fields(table), (Rows{{"apple", "苹果"}, {"run, ran", "跑\n奔跑"}}));
  EXPECT_EQ(table.rows[0].line, 7u);
}

TEST(AnkiNotes, ANoteOfNothingButNoteColumnsGivesNoRow) {
  const auto table = ReadAnkiNotes(u"#guid column:1\n#deck column:2\nabc\tWords\nx\n");
  EXPECT_TRUE(table.rows.empty());
  EXPECT_EQ(table.columnCount(), 0u);
}

TEST(AnkiNotes, NamesColumnsFromTheHeaderAndReadsOtherSeparators) {
  const auto table = ReadAnkiNotes(u"#separator:Semicolon\n#columns:英文;中文\nx;一\n");
  EXPECT_EQ(Fields(table), (Rows{{"x", "一"}}));
  ASSERT_EQ(table.columnNames.size(), 2u);
  EXPECT_EQ(Utf8(table.columnNames[1]), "中文");
  EXPECT_EQ(GuessColumns(table), (ColumnChoice{0, 1, kNoColumn}));
}

TEST(AnkiNotes, RefusesHeaderValuesItCannotUse) {
  const std::pair<std::u16string, std::size_t> cases[] = {
      {u"#separator:wave\na\tb\n", 1},
      {u"#html:false\n#deck column:x\na\tb\n", 2},
      {u"#separator:comma\n\"a,b\n", 2},
  };
  for (const auto& [text, line] : cases) {
    const auto table = ReadAnkiNotes(text);
    EXPECT_TRUE(table.refusal) << Utf8(text);
    EXPECT_EQ(table.refusal.line, line) << Utf8(text);
  }
}

TEST(AnkiNotes, TurnsHtmlIntoPlainText) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"<b>bold</b> word", "bold word"},
      {u"one<br>two<br/>three", "one\ntwo\nthree"},
      {u"<div>a</div><div>b</div>", "a\nb"},
      {u"fish &amp; chips&nbsp;&quot;x&quot; &lt;y&gt; &#39;z&#x27;", "fish & chips \"x\" <y> 'z'"},
      {u"apple[sound:apple.mp3]", "apple"},
      {u"[sound:a.mp3] 苹果 ", "苹果"},
      {u"a &bogus; b &", "a &bogus; b &"},
      {u"x < y", "x < y"},
  };
  for (const auto& [html, text] : cases) EXPECT_EQ(Utf8(HtmlToText(html)), text) << text;
}

TEST(PastedLists, SplitsEachLineAtTheFirstChineseCharacter) {
  const auto table = ReadImportText(u"apple 苹果\ngive up  放弃，停止\nrun v. 跑\n\nhello\n");
  EXPECT_EQ(table.format, ImportFormat::Paste);
  EXPECT_EQ(Fields(table), (Rows{{"apple", "", "", "苹果"},
                                 {"give up", "", "", "放弃，停止"},
                                 {"run", "", "v.", "跑"},
                                 {"hello", "", "", ""}}));
  EXPECT_EQ(table.rows[3].line, 5u);
}

// An entry as english | phonetic | part of speech | chinese, to compare in one string.
std::vector<std::string> EntriesOf(const ImportTable& table) {
  std::vector<std::string> entries;
  const auto made = MakeEntries(table, GuessColumns(table));
  EXPECT_FALSE(made.refusal) << Utf8(made.refusal.text());
  for (const auto& e : made.entries) {
    entries.push_back(Utf8(e.english) + " | " + Utf8(e.phonetic) + " | " + Utf8(e.partOfSpeech) +
                      " | " + Utf8(e.chinese));
  }
  return entries;
}

TEST(ListsAsTyped, GiveTheEntriesTheTeacherMeant) {
  struct Case {
    const char* what;
    std::u16string text;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"numbering of every kind",
       u"1. abandon 放弃\n2、ability 能力\n③absorb 吸收\n(4) abstract 抽象的\n5) academic 学术的\n"
       u"6．access 接近\n（7）accident 事故\n8.5 times 八点五倍\n",
       {"abandon |  |  | 放弃", "ability |  |  | 能力", "absorb |  |  | 吸收",
        "abstract |  |  | 抽象的", "academic |  |  | 学术的", "access |  |  | 接近",
        "accident |  |  | 事故", "8.5 times |  |  | 八点五倍"}},
      {"phonetics in brackets or slashes, the mark apart or glued",
       u"abandon [əˈbændən] vt. 放弃\nabsorb /əbˈzɔːb/ v.吸收\nand/or 和或\n"
       u"access [ˈækses] n.&v.接近\nabsent 英 [ˈæbsənt] 美 [ˈæbsənt] adj. 缺席的\n"
       u"abuse\t/əˈbjuːs/ n. 滥用\nbeautiful 美丽的\n",
       {"abandon | əˈbændən | vt. | 放弃", "absorb | əbˈzɔːb | v. | 吸收", "and/or |  |  | 和或",
        "access | ˈækses | n.&v. | 接近", "absent | ˈæbsənt | adj. | 缺席的",
        "abuse | əˈbjuːs | n. | 滥用", "beautiful |  |  | 美丽的"}},
      {"lines with a tab beside lines without",
       u"apple\t苹果\nbanana 香蕉\nrun\tvi.跑\ncherry——樱桃\n",
       {"apple |  |  | 苹果", "banana |  |  | 香蕉", "run |  | vi. | 跑", "cherry |  |  | 樱桃"}},
      {"sentences keep their commas",
       u"Where there is a will, there is a way. 有志者事竟成\nNo pain, no gain. 不劳无获\n",
       {"Where there is a will, there is a way. |  |  | 有志者事竟成",
        "No pain, no gain. |  |  | 不劳无获"}},
      {"a header row of a table, never an entry",
       u"序号\t单词\t音标\t词性\t中文释义\n1\tabandon\t[əˈbændən]\tvt.\t放弃\n"
       u"2\tabsorb\t/əbˈzɔːb/\tv.\t吸收\n",
       {"abandon | əˈbændən | vt. | 放弃", "absorb | əbˈzɔːb | v. | 吸收"}},
      {"a header line of a pasted list", u"单词 释义\napple 苹果\n", {"apple |  |  | 苹果"}},
      {"a title and a section line as Word pastes them",
       u"第一单元 生词表\n1. apple 苹果\n二、短语\ngive up 放弃\n",
       {"apple |  |  | 苹果", "give up |  |  | 放弃"}},
      {"an entry whose words name columns",
       u"word 单词\nmeaning,意思\n",
       {"word |  |  | 单词", "meaning |  |  | 意思"}},
      {"English header names, the mark glued to the meaning",
       u"Word,Meaning\nabandon,vt.放弃\nabsorb,v. 吸收\n",
       {"abandon |  | vt. | 放弃", "absorb |  | v. | 吸收"}},
      {"meanings between <br> or on lines of a cell",
       u"abandon,放弃<br>抛弃\nabsorb,\"吸收\n吸引\"\n",
       {"abandon |  |  | 放弃；抛弃", "absorb |  |  | 吸收；吸引"}},
      {"the flashcard program's notes",
       u"#separator:tab\n#html:true\nabandon\tvt. 放弃<br>抛弃\n2. absorb\t<b>v.</b>吸收\n",
       {"abandon |  | vt. | 放弃；抛弃", "absorb |  | v. | 吸收"}},
  };
  for (const auto& c : cases) EXPECT_EQ(EntriesOf(ReadImportText(c.text)), c.entries) << c.what;
}

TEST(ListsAsTyped, AreATableOnlyWhenEveryRowSplitsAlike) {
  struct Case {
    const char* what;
    std::u16string text;
    ImportFormat format;
  };
  const Case cases[] = {
      {"one line with a comma among lines without", u"apple 苹果\ngive up, quit 放弃\n",
       ImportFormat::Paste},
      {"one line with a tab among lines without", u"apple 苹果\npear\t梨\n", ImportFormat::Paste},
      {"commas inside sentences", u"No pain, no gain. 不劳无获\nEasy come, easy go. 来得容易\n",
       ImportFormat::Paste},
      {"every row split at a comma", u"apple,苹果\npear,梨\n", ImportFormat::Delimited},
      {"a line without a tab far down",
       u"a\t一\nb\t二\nc\t三\nd\t四\ne\t五\nf\t六\ng\t七\nh\t八\ni\t九\nj\t十\n"
       u"k\t一\nl\t二\nm\t三\nn\t四\no\t五\np\t六\nq\t七\nr\t八\ns\t九\nt\t十\n"
       u"u\t一\nbanana 香蕉\n",
       ImportFormat::Paste},
      {"every row split at a tab, the mark in the meaning", u"run\tv. 跑\ngo\tv. 去\n",
       ImportFormat::Delimited},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadImportText(c.text).format, c.format) << c.what;
}

TEST(ListsAsTyped, TheTeachersChoiceOfSeparatorAndHeaderWins) {
  const std::u16string text = u"word,meaning\napple,苹果\n";
  struct Case {
    const char* what;
    ReadChoices choices;
    bool headerRow;
    std::vector<std::string> entries;
  };
  const Case cases[] = {
      {"guessed", {}, true, {"apple |  |  | 苹果"}},
      {"no header",
       {Separation::Guess, false},
       false,
       {"word |  |  | meaning", "apple |  |  | 苹果"}},
      {"one entry a line", {Separation::Lines, {}}, true, {"apple |  |  | 苹果"}},
  };
  for (const auto& c : cases) {
    const auto table = ReadImportText(text, c.choices);
    EXPECT_EQ(table.headerRow, c.headerRow) << c.what;
    EXPECT_EQ(EntriesOf(table), c.entries) << c.what;
  }
  EXPECT_TRUE(ReadImportText(u"apple 苹果\npear 梨\n", {Separation::Guess, true}).headerRow);
  const auto notes =
      ReadImportText(u"#separator:tab\nword\tmeaning\napple\t苹果\n", {Separation::Guess, true});
  EXPECT_TRUE(notes.headerRow);
  EXPECT_EQ(EntriesOf(notes), std::vector<std::string>{"apple |  |  | 苹果"});
}

TEST(ListsAsTyped, AreReadNoFurtherThanAnyBookCouldHold) {
  std::u16string lines;
  for (std::size_t i = 0; i < kMostRows + 5; ++i) lines += u"apple 苹果\n";
  for (const auto& text : {lines, u"#separator:tab\n" + lines}) {
    const auto table = ReadImportText(text);
    EXPECT_TRUE(table.cut);
    EXPECT_EQ(table.rows.size(), kMostRows);
  }
  std::u16string rows;
  for (std::size_t i = 0; i < kMostRows + 5; ++i) rows += u"apple,苹果\n";
  EXPECT_TRUE(ReadImportText(rows).cut);
  EXPECT_FALSE(ReadImportText(u"apple 苹果\n").cut);
}

using testsupport::SheetXml;
using testsupport::Workbook;

TEST(Workbooks, ReadTheFirstSheetWithSharedInlineAndNumberCells) {
  const std::string workbook =
      "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\">"
      "<sheets><sheet name=\"词表\" r:id=\"rId7\"/><sheet name=\"草稿\" r:id=\"rId8\"/>"
      "</sheets></workbook>";
  const std::string relationships =
      "<Relationships><Relationship Id=\"rId8\" Target=\"worksheets/sheet1.xml\"/>"
      "<Relationship Id=\"rId7\" Target=\"worksheets/words.xml\"/></Relationships>";
  const std::string shared =
      "<sst><si><t>序号</t></si><si><t>单词</t></si><si><t>中文释义</t></si>"
      "<si><t>abandon [əˈbændən]</t></si><si><r><t>ab</t></r><r><t>sorb</t></r></si>"
      "<si><t>vt.放弃</t><rPh><t>ほうき</t></rPh></si></sst>";
  const std::string words = SheetXml(
      "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"s\"><v>1</v></c>"
      "<c r=\"C1\" t=\"s\"><v>2</v></c></row>"
      "<row r=\"3\"><c r=\"A3\"><v>1</v></c><c r=\"B3\" t=\"s\"><v>3</v></c>"
      "<c r=\"C3\" t=\"s\"><v>5</v></c></row>"
      "<row r=\"4\"><c r=\"A4\"><v>2.5</v></c><c r=\"B4\" t=\"s\"><v>4</v></c>"
      "<c r=\"D4\" t=\"inlineStr\"><is><t>note</t></is></c>"
      "<c r=\"C4\" t=\"inlineStr\"><is><t>吸收</t></is></c></row>");
  const auto table = ReadImportBytes(Workbook({{"xl/workbook.xml", workbook},
                                               {"xl/_rels/workbook.xml.rels", relationships},
                                               {"xl/sharedStrings.xml", shared},
                                               {"xl/worksheets/sheet1.xml", SheetXml("")},
                                               {"xl/worksheets/words.xml", words}}));
  ASSERT_FALSE(table.refusal) << Utf8(table.refusal.text());
  EXPECT_EQ(table.format, ImportFormat::Workbook);
  EXPECT_TRUE(table.headerRow);
  EXPECT_EQ(Fields(table),
            (Rows{{"1", "abandon [əˈbændən]", "vt.放弃"}, {"2.5", "absorb", "吸收", "note"}}));
  EXPECT_EQ(table.rows[1].line, 4u);
  EXPECT_EQ(EntriesOf(table),
            (std::vector<std::string>{"abandon | əˈbændən | vt. | 放弃", "absorb |  |  | 吸收"}));
}

TEST(Workbooks, WithoutWorkbookPartsTheFirstSheetIsSheet1) {
  const auto table = ReadWorkbook(
      Workbook({{"xl/worksheets/sheet1.xml", SheetXml("<row><c t=\"inlineStr\"><is><t>apple</t>"
                                                      "</is></c><c><v>7</v></c></row>")}}));
  EXPECT_FALSE(table.refusal);
  EXPECT_EQ(Fields(table), (Rows{{"apple", "7"}}));
}

TEST(NotText, IsRefusedAskingForCsv) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const Case cases[] = {
      {"an .xls workbook", std::string("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1\0\0", 10)},
      {"bytes with NUL", std::string("apple\0\0\0pie", 11)},
      {"bytes GBK cannot read", "apple,\xFF\xFF\n"},
      {"a zip that is no workbook", Workbook({{"word/document.xml", "<w/>"}})},
      {"a workbook whose sheet is cut short",
       Workbook({{"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row><c"}})},
      {"a broken zip", std::string("PK\x03\x04 broken", 11)},
  };
  for (const auto& c : cases) {
    const auto table = ReadImportBytes(c.bytes);
    ASSERT_TRUE(table.refusal) << c.what;
    EXPECT_NE(Utf8(table.refusal.text()).find("请在 Excel 或 WPS 中另存为 CSV"), std::string::npos)
        << c.what << ": " << Utf8(table.refusal.text());
  }
}

TEST(ImportFormats, AreToldApartByWhatTheTextHolds) {
  EXPECT_EQ(ReadImportText(u"#separator:tab\na\tb\n").format, ImportFormat::Anki);
  EXPECT_EQ(ReadImportText(u"a\t苹果\n").format, ImportFormat::Delimited);
  EXPECT_EQ(ReadImportText(u"a 苹果\n").format, ImportFormat::Paste);
}

TEST(ImportFormats, AGbkSpreadsheetWithAHeaderAndQuotedFields) {
  const auto table = ReadImportBytes(
      testsupport::ToGbk("英文,中文\r\n\"apple, red\",\"苹果\"\r\n\"run\",\"跑\r\n跑\"\r\n"));
  ASSERT_FALSE(table.refusal);
  EXPECT_EQ(Fields(table), (Rows{{"apple, red", "苹果"}, {"run", "跑\r\n跑"}}));
  const auto entries = MakeEntries(table, GuessColumns(table));
  ASSERT_EQ(entries.entries.size(), 2u);
  EXPECT_EQ(Utf8(entries.entries[1].chinese), "跑；跑") << "a cell's lines are meanings";
  EXPECT_EQ(entries.entries[1].line, 3u);
}

TEST(ColumnGuess, FindsChinesePartOfSpeechAndEnglishByContent) {
  struct Case {
    const char* what;
    std::u16string text;
    ColumnChoice choice;
  };
  const Case cases[] = {
      {"English, Chinese", u"apple,苹果\npear,梨\n", {0, 1, kNoColumn}},
      {"Chinese first", u"苹果,apple\n梨,pear\n", {1, 0, kNoColumn}},
      {"with part of speech", u"apple\tn.\t苹果\nrun\tv./n.\t跑\n", {0, 2, 1}},
      {"a number column first", u"1,apple,苹果\n2,pear,梨\n", {1, 2, kNoColumn}},
      {"named columns win", u"中文,英文\napple,苹果\n", {1, 0, kNoColumn}},
      {"a column of mixed notes is no part of speech",
       u"apple,n.,苹果\npear,fruit,梨\nfig,tree,无花果\n",
       {0, 2, kNoColumn}},
  };
  for (const auto& c : cases) EXPECT_EQ(GuessColumns(ReadImportText(c.text)), c.choice) << c.what;
}

TEST(ImportEntries, TidyTextsAndSkipEmptyRows) {
  const auto table = ReadImportText(u"  apple  pie ,苹果派\n,\n pear,梨\n");
  const auto made = MakeEntries(table, GuessColumns(table));
  EXPECT_EQ(made.entries, (std::vector<ImportedEntry>{{u"apple pie", u"苹果派", u"", 1, {}},
                                                      {u"pear", u"梨", u"", 3, {}}}));
  EXPECT_EQ(MakeEntries(table, GuessColumns(table), 1).entries.size(), 1u);
}

TEST(ImportEntries, RefuseTextsACourseFileCannotHoldNamingLineAndCharacter) {
  const std::pair<std::u16string, std::string> cases[] = {
      {u"apple,苹果\nก,泰文字母\n", "“ก”"},
      {u"apple,苹果\nsnow,雪☃\n", "“☃”"},
  };
  for (const auto& [text, character] : cases) {
    const auto made = MakeEntries(ReadImportText(text), {0, 1, kNoColumn});
    ASSERT_TRUE(made.refusal) << Utf8(text);
    EXPECT_EQ(made.refusal.line, 2u);
    EXPECT_NE(Utf8(made.refusal.text()).find(character), std::string::npos)
        << Utf8(made.refusal.text());
  }
}

TEST(PartOfSpeech, KnowsTheMarksWordListsUse) {
  for (const char16_t* mark : {u"n.", u"v.", u"adj.", u"adv.", u"prep.", u"conj.", u"phr.", u"vt.",
                               u"N.", u"n./v.", u"adj. & adv."}) {
    EXPECT_TRUE(IsPartOfSpeech(mark)) << Utf8(mark);
  }
  for (const char16_t* other : {u"n", u"noun", u"x.", u"", u"apple", u"n./", u"e.g."}) {
    EXPECT_FALSE(IsPartOfSpeech(other)) << Utf8(other);
  }
}

}  // namespace
}  // namespace editor
