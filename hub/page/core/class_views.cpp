// SPDX-License-Identifier: MIT
#include "class_views.h"

#include <cmath>
#include <ctime>

#include "csv_table.h"
#include "html.h"

namespace hub::page {
namespace {

std::string Formatted(Millis time, const char* format) {
  const std::time_t seconds = static_cast<std::time_t>(time / 1000);
  std::tm local{};
  localtime_r(&seconds, &local);
  char text[32] = {};
  std::strftime(text, sizeof text, format, &local);
  return text;
}

std::string ClassPath(const Frame& frame) {
  return "/class/" + std::to_string(frame.classId);
}

std::string Header(const Frame& frame) {
  return "<header><a href=\"/\"><b>班级学习情况</b></a><span>" + Escape(frame.teacher) +
         "</span><form method=\"post\" action=\"/signout\">" + CsrfField(frame.csrf) +
         "<button type=\"submit\">退出登录</button></form></header>";
}

// The class's name, its three views and the CSV of the one shown.
std::string ClassFrame(const Frame& frame, View view, const std::string& content) {
  struct Tab {
    View view;
    const char* path;
    const char* title;
  };
  static const Tab kTabs[] = {{View::Grid, "", "进度表"},
                              {View::Week, "/week", "本周"},
                              {View::Hardest, "/hardest", "最难词条"}};
  std::string nav = "<nav>";
  std::string csv;
  for (const Tab& tab : kTabs) {
    const std::string path = ClassPath(frame) + tab.path;
    nav += "<a href=\"" + path + "\"" + (tab.view == view ? " class=\"here\"" : "") + ">" +
           tab.title + "</a>";
    if (tab.view == view) {
      csv = "<p><a href=\"" + ClassPath(frame) + (tab.path[0] ? tab.path : "/grid") +
            ".csv\" download>下载 CSV</a></p>";
    }
  }
  nav += "</nav>";
  return Header(frame) + "<main><h1>" + Escape(frame.className) + "</h1>" + nav + content + csv +
         "</main>";
}

std::string Table(const std::string& head, const std::string& body) {
  return "<div class=\"scroll\"><table><thead><tr>" + head + "</tr></thead><tbody>" + body +
         "</tbody></table></div>";
}

std::string Th(const std::string& text) {
  return "<th>" + Escape(text) + "</th>";
}

std::string Td(const std::string& text, const char* cssClass = nullptr) {
  return std::string("<td") + (cssClass ? std::string(" class=\"") + cssClass + "\"" : "") + ">" +
         Escape(text) + "</td>";
}

std::string LearnerCells(const Learner& learner) {
  return "<th>" + Escape(learner.number) + "</th>" + Td(learner.name);
}

std::string Result(const std::optional<RoundResult>& result) {
  if (!result) return "";
  std::string text = std::to_string(result->right) + "/" + std::to_string(result->total);
  if (result->wordsPerMinute) {
    text +=
        " · " + std::to_string(static_cast<int>(std::lround(*result->wordsPerMinute))) + " 词/分";
  }
  if (result->accuracy) {
    text += " · " + std::to_string(static_cast<int>(std::lround(*result->accuracy * 100))) + "%";
  }
  return text + " (" + ShortTime(result->time) + ")";
}

std::string WeekTitle(Millis weekStart) {
  return "<p>本周自 " + Escape(FullTime(weekStart)) + "（服务器所在时区的星期一 0 点）起。</p>";
}

std::string EntryQuery(const HardEntry& entry) {
  return "lesson=" + UrlEncode(entry.lesson) + "&amp;line1=" + UrlEncode(entry.line1) +
         "&amp;line2=" + UrlEncode(entry.line2);
}

}  // namespace

std::string ShortTime(Millis time) {
  return Formatted(time, "%m-%d %H:%M");
}

std::string FullTime(Millis time) {
  return Formatted(time, "%Y-%m-%d %H:%M");
}

std::string ShareClass(std::int64_t learned, std::int64_t entries) {
  if (learned <= 0) return "p0";
  const int percent = Percent(learned, entries);
  return "p" + std::to_string(percent < 25 ? 1 : percent < 50 ? 2 : percent < 75 ? 3 : 4);
}

std::string GoalState(const WeekRow& row, int goalMinutes) {
  if (row.answers == 0) return "本周未学习";
  if (goalMinutes <= 0) return "未设定目标";
  if (row.minutes() >= goalMinutes) return "已达成";
  return "差 " + std::to_string(goalMinutes - row.minutes()) + " 分钟";
}

std::string ClassListPage(const Frame& frame, const std::vector<ClassLink>& classes) {
  std::string list;
  for (const ClassLink& link : classes) {
    list +=
        "<li><a href=\"/class/" + std::to_string(link.id) + "\">" + Escape(link.name) + "</a></li>";
  }
  if (classes.empty()) list = "<li>您还没有班级，请联系管理员。</li>";
  return Document("我的班级",
                  Header(frame) + "<main><h1>我的班级</h1><ul>" + list + "</ul></main>");
}

std::string GridPage(const Frame& frame, const Grid& grid) {
  std::string head = Th("学号") + Th("姓名");
  for (const GridLesson& lesson : grid.lessons) {
    head += "<th>" + Escape(lesson.name) + "<small>（" + std::to_string(lesson.entries) +
            " 条）</small></th>";
  }
  std::string body;
  for (const Learner& learner : grid.learners) {
    body += "<tr>" + LearnerCells(learner);
    for (const GridLesson& lesson : grid.lessons) {
      const GridCell* cell = grid.cell(learner.id, lesson.name);
      const GridCell empty;
      const GridCell& shown = cell ? *cell : empty;
      body += "<td class=\"" + ShareClass(shown.learned, lesson.entries) + "\" title=\"已学 " +
              std::to_string(shown.learned) + "/" + std::to_string(lesson.entries) + "，到期 " +
              std::to_string(shown.due) + "\">已学 " +
              std::to_string(Percent(shown.learned, lesson.entries)) + "%";
      if (shown.due > 0) {
        body += " <span class=\"due\">到期 " + std::to_string(Percent(shown.due, lesson.entries)) +
                "%</span>";
      }
      if (cell) body += "<small>" + Escape(ShortTime(shown.lastStudied)) + "</small>";
      body += "</td>";
    }
    body += "</tr>";
  }
  const std::string legend =
      "<p>"
      "每格：该课词条中已学过的比例（至少答过一次）、现在到期需要复习的比例，以及最近一次学习的时间"
      "。"
      "颜色越深，学过的越多。已发布到本班的课本中的课按课本顺序排在前面，按课本中的词条计算；"
      "其他答过的课排在后面。</p>";
  // A class on its first day: say what fills the table instead of showing an empty one.
  std::string missing;
  if (grid.learners.empty()) {
    missing += "<p>本班还没有学生：管理员用 studyhub learner import 导入名单。</p>";
  }
  if (grid.lessons.empty()) {
    missing +=
        "<p>还没有课可列：用课程编辑的“发布到班级”把课本发给本班，"
        "或等学生学习并同步之后再来看。</p>";
  }
  return Document(frame.className + " · 进度表",
                  ClassFrame(frame, View::Grid, legend + missing + Table(head, body)));
}

std::string WeekPage(const Frame& frame, const std::vector<WeekRow>& rows, int goalMinutes,
                     Millis weekStart) {
  const std::string form =
      "<form method=\"post\" action=\"" + ClassPath(frame) + "/goal\">" + CsrfField(frame.csrf) +
      "<label>每周目标（分钟） <input name=\"minutes\" type=\"number\" min=\"0\" max=\"10080\" "
      "value=\"" +
      std::to_string(goalMinutes) + "\"></label> <button type=\"submit\">保存目标</button></form>";
  std::string head;
  for (const char* title :
       {"学号", "姓名", "学习分钟", "答题数", "活跃天数", "听写", "打字", "目标"}) {
    head += Th(title);
  }
  std::string body;
  for (const WeekRow& row : rows) {
    const char* rowClass = row.answers == 0                                 ? " class=\"none\""
                           : goalMinutes > 0 && row.minutes() < goalMinutes ? " class=\"short\""
                                                                            : "";
    body += std::string("<tr") + rowClass + ">" + LearnerCells(row.learner) +
            Td(std::to_string(row.minutes()), "num") + Td(std::to_string(row.answers), "num") +
            Td(std::to_string(row.daysActive), "num") + Td(Result(row.dictation)) +
            Td(Result(row.typing)) + Td(GoalState(row, goalMinutes)) + "</tr>";
  }
  return Document(frame.className + " · 本周",
                  ClassFrame(frame, View::Week, WeekTitle(weekStart) + form + Table(head, body)));
}

std::string HardestPage(const Frame& frame, const std::vector<HardEntry>& entries,
                        Millis weekStart) {
  std::string head;
  for (const char* title : {"名次", "课", "英文", "中文", "重来次数", "人数"}) head += Th(title);
  std::string body;
  int rank = 0;
  for (const HardEntry& entry : entries) {
    body += "<tr>" + Td(std::to_string(++rank), "num") + Td(entry.lesson) + "<td><a href=\"" +
            ClassPath(frame) + "/who?" + EntryQuery(entry) + "\">" + Escape(entry.line1) +
            "</a></td>" + Td(entry.line2) + Td(std::to_string(entry.misses), "num") +
            Td(std::to_string(entry.learners), "num") + "</tr>";
  }
  if (entries.empty()) body = "<tr><td colspan=\"6\">本周还没有人答“重来”。</td></tr>";
  return Document(frame.className + " · 最难词条",
                  ClassFrame(frame, View::Hardest,
                             WeekTitle(weekStart) + "<p>本周全班答“重来”最多的 " +
                                 std::to_string(kHardestShown) + " 个词条；点击英文查看是谁。</p>" +
                                 Table(head, body)));
}

std::string WhoPage(const Frame& frame, const HardEntry& entry, const std::vector<Miss>& who) {
  std::string body;
  for (const Miss& miss : who) {
    body += "<tr>" + LearnerCells(miss.learner) + Td(std::to_string(miss.misses), "num") + "</tr>";
  }
  if (who.empty()) body = "<tr><td colspan=\"3\">本周没有人答“重来”。</td></tr>";
  const std::string title = "<h2>" + Escape(entry.line1) + " — " + Escape(entry.line2) +
                            "</h2><p>" + Escape(entry.lesson) + "：本周答“重来”的学生</p>";
  return Document(frame.className + " · " + entry.line1,
                  ClassFrame(frame, View::Hardest,
                             title + Table(Th("学号") + Th("姓名") + Th("重来次数"), body)));
}

std::string GridCsv(const Grid& grid) {
  CsvRow header{"学号", "姓名"};
  for (const GridLesson& lesson : grid.lessons) {
    header.push_back(lesson.name + " 已学%");
    header.push_back(lesson.name + " 到期%");
    header.push_back(lesson.name + " 最近学习");
  }
  std::vector<CsvRow> rows;
  for (const Learner& learner : grid.learners) {
    CsvRow row{learner.number, learner.name};
    for (const GridLesson& lesson : grid.lessons) {
      const GridCell* cell = grid.cell(learner.id, lesson.name);
      row.push_back(std::to_string(cell ? Percent(cell->learned, lesson.entries) : 0));
      row.push_back(std::to_string(cell ? Percent(cell->due, lesson.entries) : 0));
      row.push_back(cell ? FullTime(cell->lastStudied) : "");
    }
    rows.push_back(std::move(row));
  }
  return CsvText(header, rows);
}

std::string WeekCsv(const std::vector<WeekRow>& rows, int goalMinutes) {
  std::vector<CsvRow> lines;
  for (const WeekRow& row : rows) {
    lines.push_back({row.learner.number, row.learner.name, std::to_string(row.minutes()),
                     std::to_string(row.answers), std::to_string(row.daysActive),
                     Result(row.dictation), Result(row.typing), GoalState(row, goalMinutes)});
  }
  return CsvText({"学号", "姓名", "学习分钟", "答题数", "活跃天数", "听写", "打字", "目标"}, lines);
}

std::string HardestCsv(const std::vector<HardEntry>& entries) {
  std::vector<CsvRow> lines;
  int rank = 0;
  for (const HardEntry& entry : entries) {
    lines.push_back({std::to_string(++rank), entry.lesson, entry.line1, entry.line2,
                     std::to_string(entry.misses), std::to_string(entry.learners)});
  }
  return CsvText({"名次", "课", "英文", "中文", "重来次数", "人数"}, lines);
}

}  // namespace hub::page
