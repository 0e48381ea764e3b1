// SPDX-License-Identifier: MIT
// The class page without a server: its rules (due cards, the week, the order of learners),
// what a request asks for, and the HTML and CSV made from numbers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

#include "book_lessons.h"
#include "class_numbers.h"
#include "class_views.h"
#include "csv_table.h"
#include "html.h"
#include "page_routes.h"
#include "sign_in_pages.h"

namespace {

using namespace hub::page;

constexpr Millis kHour = 3600 * 1000;
constexpr Millis kDay = 24 * kHour;

class InZone {
 public:
  explicit InZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }
  ~InZone() {
    unsetenv("TZ");
    tzset();
  }
};

// Seconds since the epoch of a UTC date and time.
Millis Utc(int year, int month, int day, int hour, int minute = 0) {
  std::tm time{};
  time.tm_year = year - 1900;
  time.tm_mon = month - 1;
  time.tm_mday = day;
  time.tm_hour = hour;
  time.tm_min = minute;
  return static_cast<Millis>(timegm(&time)) * 1000;
}

TEST(ClassPageRules, TheWeekStartsOnMondayAtLocalMidnight) {
  struct Case {
    const char* zone;
    Millis now;
    Millis weekStart;
    Millis length;  // to the next Monday
  };
  const Case cases[] = {
      // Monday 2026-12-07 00:30 in Shanghai is still Sunday in UTC.
      {"Asia/Shanghai", Utc(2026, 12, 6, 16, 30), Utc(2026, 12, 6, 16), 7 * kDay},
      {"Asia/Shanghai", Utc(2026, 12, 6, 15, 59), Utc(2026, 11, 29, 16), 7 * kDay},
      {"UTC", Utc(2026, 12, 13, 23, 59), Utc(2026, 12, 7, 0), 7 * kDay},
      // Summer time begins on Sunday 2026-03-08: that week is an hour shorter.
      {"America/New_York", Utc(2026, 3, 8, 12), Utc(2026, 3, 2, 5), 7 * kDay - kHour},
  };
  for (const Case& c : cases) {
    const InZone zone(c.zone);
    EXPECT_EQ(WeekStart(c.now), c.weekStart) << c.zone << " " << c.now;
    const std::vector<Millis> days = DayStarts(WeekStart(c.now));
    ASSERT_EQ(days.size(), 8u);
    EXPECT_EQ(days.back() - days.front(), c.length) << c.zone;
    EXPECT_EQ(days.front(), c.weekStart);
  }
}

TEST(ClassPageRules, ACardIsDueByItsLatestGrade) {
  const Millis now = Utc(2026, 12, 8, 12);
  struct Case {
    int grade;
    Millis answered;
    bool due;
  };
  const Case cases[] = {{1, now - 1000, true},     {2, now - kDay + 1000, false},
                        {2, now - kDay, true},     {3, now - 3 * kDay + 1000, false},
                        {3, now - 3 * kDay, true}, {4, now - 6 * kDay, false},
                        {4, now - 7 * kDay, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(IsDueNow(c.grade, c.answered, now), c.due) << c.grade << " " << now - c.answered;
    EXPECT_EQ(c.answered <= DueCutoffs(now)[static_cast<std::size_t>(c.grade - 1)], c.due);
  }
}

TEST(ClassPageRules, SharesAndNamesInReadingOrder) {
  struct Share {
    std::int64_t part, whole;
    int percent;
    const char* cssClass;
  };
  for (const Share& c :
       {Share{0, 10, 0, "p0"}, Share{1, 10, 10, "p1"}, Share{1, 3, 33, "p2"}, Share{2, 3, 66, "p3"},
        Share{3, 4, 75, "p4"}, Share{5, 5, 100, "p4"}, Share{3, 0, 0, "p1"}}) {
    EXPECT_EQ(Percent(c.part, c.whole), c.percent) << c.part << "/" << c.whole;
    EXPECT_EQ(ShareClass(c.part, c.whole), c.cssClass) << c.part << "/" << c.whole;
  }
  struct Order {
    const char* a;
    const char* b;
    bool less;
  };
  for (const Order& c :
       {Order{"第2课", "第10课", true}, Order{"Lesson 10", "Lesson 9", false},
        Order{"999", "1000", true}, Order{"007", "7", true}, Order{"7", "007", false},
        Order{"Unit 1", "Unit 1b", true}, Order{"b", "a", false}}) {
    EXPECT_EQ(NaturalLess(c.a, c.b), c.less) << c.a << " " << c.b;
  }
}

TEST(ClassPageRules, IdleLearnersComeFirstThenThoseShortOfTheGoal) {
  const auto row = [](const char* number, double seconds, std::int64_t answers) {
    WeekRow made;
    made.learner = {0, number, number};
    made.seconds = seconds;
    made.answers = answers;
    return made;
  };
  struct Case {
    int goal;
    std::vector<std::string> order;
  };
  const Case cases[] = {{30, {"9", "100", "2", "10", "1"}}, {0, {"9", "100", "1", "2", "10"}}};
  for (const Case& c : cases) {
    std::vector<WeekRow> rows{row("1", 1800, 40), row("2", 1799, 40), row("9", 0, 0),
                              row("10", 60, 1), row("100", 0, 0)};
    OrderWeek(rows, c.goal);
    std::vector<std::string> order;
    for (const WeekRow& r : rows) order.push_back(r.learner.number);
    EXPECT_EQ(order, c.order) << c.goal;
    EXPECT_EQ(GoalState(rows.back(), c.goal), c.goal ? "已达成" : "未设定目标");
  }
  EXPECT_EQ(GoalState(row("3", 600, 5), 30), "差 20 分钟");
  EXPECT_EQ(GoalState(row("3", 0, 0), 30), "本周未学习");
}

TEST(ClassPageRules, BooksJoinInBookOrderOneLessonPerName) {
  const std::vector<BookLesson> book1 = {{"B", {{"x", "叉"}, {"y", "歪"}, {"x", "叉"}}},
                                         {"A", {{"a", "啊"}}}};
  const std::vector<BookLesson> book2 = {{"C", {}}, {"B", {{"z", "贼"}, {"y", "歪"}}}};
  const struct {
    const char* what;
    std::vector<const std::vector<BookLesson>*> books;
    std::vector<BookLesson> joined;
  } kCases[] = {
      {"no book", {}, {}},
      {"one book, a repeated entry once",
       {&book1},
       {{"B", {{"x", "叉"}, {"y", "歪"}}}, {"A", {{"a", "啊"}}}}},
      {"a name in two books stays first with the entries of both",
       {&book1, &book2},
       {{"B", {{"x", "叉"}, {"y", "歪"}, {"z", "贼"}}}, {"A", {{"a", "啊"}}}, {"C", {}}}},
      {"book order, not reading order",
       {&book2, &book1},
       {{"C", {}}, {"B", {{"z", "贼"}, {"y", "歪"}, {"x", "叉"}}}, {"A", {{"a", "啊"}}}}},
  };
  for (const auto& c : kCases) EXPECT_EQ(JoinBooks(c.books), c.joined) << c.what;
}

TEST(ClassPageRequests, PathsNameTheirPageAndClass) {
  struct Case {
    const char* method;
    const char* path;
    Route route;
    std::int64_t classId;
  };
  const Case cases[] = {{"GET", "/", Route::Home, 0},
                        {"POST", "/", Route::NotFound, 0},
                        {"POST", "/signin", Route::SignIn, 0},
                        {"GET", "/signin", Route::NotFound, 0},
                        {"GET", "/class/12", Route::Grid, 12},
                        {"GET", "/class/12/week", Route::Week, 12},
                        {"GET", "/class/12/hardest.csv", Route::HardestCsv, 12},
                        {"POST", "/class/12/goal", Route::Goal, 12},
                        {"GET", "/class/12/goal", Route::NotFound, 0},
                        {"GET", "/class/0", Route::NotFound, 0},
                        {"GET", "/class/-3", Route::NotFound, 0},
                        {"GET", "/class/", Route::NotFound, 0},
                        {"GET", "/class/12x", Route::NotFound, 0},
                        {"GET", "/class/99999999999999999999", Route::NotFound, 0},
                        {"GET", "/class/12/../13", Route::NotFound, 0}};
  for (const Case& c : cases) {
    const RouteMatch match = MatchRoute(c.method, c.path);
    EXPECT_EQ(match.route, c.route) << c.method << " " << c.path;
    EXPECT_EQ(match.classId, c.classId) << c.path;
  }
}

TEST(ClassPageRequests, CookiesAreFoundByTheirWholeName) {
  struct Case {
    const char* header;
    const char* value;
  };
  const Case cases[] = {{"studyhub_session=abc", "abc"},
                        {"a=1; studyhub_session=abc; b=2", "abc"},
                        {"xstudyhub_session=evil; studyhub_session=abc", "abc"},
                        {"studyhub_sessionx=evil", ""},
                        {"", ""},
                        {"studyhub_session=", ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(CookieValue(c.header, "studyhub_session"), c.value) << c.header;
  }
  EXPECT_EQ(CookieHeader("s", "v", 60),
            "s=v; Path=/; Max-Age=60; Secure; HttpOnly; SameSite=Strict");
}

TEST(ClassPageText, EveryValueIsEscapedAndEveryCsvFieldSafe) {
  EXPECT_EQ(Escape("<a href=\"x\">'&'</a>"),
            "&lt;a href=&quot;x&quot;&gt;&#39;&amp;&#39;&lt;/a&gt;");
  EXPECT_EQ(UrlEncode("a b&c=d/王"), "a%20b%26c%3Dd%2F%E7%8E%8B");
  struct Case {
    std::string field;
    std::string written;
  };
  const Case cases[] = {{"plain", "plain"},
                        {"a,b", "\"a,b\""},
                        {"say \"hi\"", "\"say \"\"hi\"\"\""},
                        {"say \"hi\", then", "\"say \"\"hi\"\", then\""},
                        {"two\nlines", "\"two\nlines\""},
                        {"=HYPERLINK(\"x\")", "\"'=HYPERLINK(\"\"x\"\")\""},
                        {"+1", "'+1"},
                        {"@SUM(A1)", "'@SUM(A1)"},
                        {"李雷", "李雷"}};
  for (const Case& c : cases) {
    EXPECT_EQ(CsvText({"h"}, {{c.field}}), "\xEF\xBB\xBFh\r\n" + c.written + "\r\n") << c.field;
  }
}

TEST(ClassPageText, TheGridShowsEachCellsSharesAndEscapesNames) {
  const InZone zone("Asia/Shanghai");
  Grid grid;
  grid.learners = {{1, "1001", "<script>x</script>"}, {2, "1002", "韩梅梅"}};
  grid.lessons = {{"Lesson <1>", 4}, {"Lesson 2", 3}};
  grid.cells[{1, "Lesson <1>"}] = {3, 1, Utc(2026, 12, 8, 6, 5)};
  const Frame frame{"王老师", "token\"", 5, "高一(3)班"};
  const std::string html = GridPage(frame, grid);
  struct Case {
    const char* part;
    bool shown;
  };
  const Case cases[] = {{"&lt;script&gt;x&lt;/script&gt;", true},
                        {"<script>", false},
                        {"Lesson &lt;1&gt;", true},
                        {"<td class=\"p4\" title=\"已学 3/4，到期 1\">已学 75% <span "
                         "class=\"due\">到期 25%</span><small>12-08 14:05</small>",
                         true},
                        {"<td class=\"p0\" title=\"已学 0/3，到期 0\">已学 0%</td>", true},
                        {"value=\"token&quot;\"", true},
                        {"href=\"/class/5/grid.csv\"", true},
                        {"http://", false},
                        {"https://", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(html.find(c.part) != std::string::npos, c.shown) << c.part;
  }
  EXPECT_EQ(GridCsv(grid),
            "\xEF\xBB\xBF学号,姓名,Lesson <1> 已学%,Lesson <1> 到期%,Lesson <1> 最近学习,"
            "Lesson 2 已学%,Lesson 2 到期%,Lesson 2 最近学习\r\n"
            "1001,<script>x</script>,75,25,2026-12-08 14:05,0,0,\r\n"
            "1002,韩梅梅,0,0,,0,0,\r\n");
  EXPECT_EQ(html.find("还没有"), std::string::npos);

  // A class on its first day says what fills the table.
  const std::string empty = GridPage(frame, Grid{});
  EXPECT_NE(empty.find("本班还没有学生"), std::string::npos);
  EXPECT_NE(empty.find("还没有课可列：用课程编辑的“发布到班级”"), std::string::npos);
}

TEST(ClassPageText, TheHardestEntriesLinkToWhoMissedThem) {
  const Frame frame{"王老师", "t", 5, "班"};
  const std::vector<HardEntry> entries{{"第1课", "a & b", "甲", 7, 3}};
  const std::string html = HardestPage(frame, entries, Utc(2026, 12, 7, 0));
  EXPECT_NE(html.find("href=\"/class/5/who?lesson=%E7%AC%AC1%E8%AF%BE&amp;line1=a%20%26%20b&amp;"
                      "line2=%E7%94%B2\">a &amp; b</a>"),
            std::string::npos)
      << html;
  EXPECT_EQ(HardestCsv(entries),
            "\xEF\xBB\xBF名次,课,英文,中文,重来次数,人数\r\n1,第1课,a & b,甲,7,3\r\n");
}

TEST(ClassPageText, ANewPasswordMustBeLongRepeatedAndNotTheName) {
  struct Case {
    const char* password;
    const char* again;
    bool accepted;
  };
  const Case cases[] = {{"一个很长的新密码字符", "一个很长的新密码字符", true},
                        {"一个很长的新密码字", "一个很长的新密码字", false},
                        {"abcdefghij", "abcdefghij", true},
                        {"abcdefghij", "abcdefghik", false},
                        {"王老师王老师王老师王", "王老师王老师王老师王", false}};
  for (const Case& c : cases) {
    EXPECT_EQ(NewPasswordProblem(c.password, c.again, "王老师王老师王老师王").empty(), c.accepted)
        << c.password;
  }
}

}  // namespace
