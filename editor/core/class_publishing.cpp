// SPDX-License-Identifier: MIT
#include "class_publishing.h"

#include <algorithm>

#include "book_check.h"
#include "book_checks.h"
#include "course_file.h"
#include "join_code.h"
#include "utf8.h"

namespace editor {
namespace {

std::u16string U16(std::string_view utf8) {
  return course::FromUtf8(utf8).value_or(u"");
}

std::u16string Number(std::int64_t n) {
  return U16(std::to_string(n));
}

// What the server said, for a teacher to pass on: printable ASCII only, cut short, as it
// comes from the network.
std::u16string ServerWords(const std::string& body) {
  std::string shown;
  for (const char c : body.substr(0, 200)) shown += (c >= 0x20 && c < 0x7f) ? c : ' ';
  return U16(shown);
}

std::u16string RefusalMessage(const studysync::HttpReply& reply,
                              const studysync::PublishRequest& request) {
  switch (reply.status) {
    case 401:
      return u"教师名或密码不对。";
    case 403:
      return u"班级“" + U16(request.className) + u"”不是您的班级，或者服务器上没有这个班级。";
    case 409:
      return u"这还是一次性密码：请先用浏览器登录班级网页，换成您自己的密码，再用新密码发布。";
    case 422:
      return u"服务器不接受这本课本（" + ServerWords(reply.body) + u"）。";
    case 429:
      return u"密码错误的次数太多，请过一会儿再试。";
    default:
      if (reply.status >= 500) return u"班级服务器暂时出了问题（例如连不上数据库），请稍后再试。";
      return u"班级服务器拒绝了请求（" + Number(reply.status) + u"：" + ServerWords(reply.body) +
             u"）。";
  }
}

}  // namespace

std::optional<studysync::HttpsEndpoint> TeacherServer(std::string_view text) {
  while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
  // The pin's base64 may hold '/' itself: a line without a secret is read as a code with a
  // stand-in secret, else as the whole join code.
  std::string why;
  auto code = studysync::ParseJoinCode(std::string(text) + "/" + std::string(22, 'A'), why);
  if (!code) code = studysync::ParseJoinCode(text, why);
  if (!code) return std::nullopt;
  std::string address = studysync::FormatJoinCode(*code);
  address.resize(address.find('/'));
  return studysync::HttpsEndpoint{address, code->pin};
}

std::variant<Publishing, std::u16string> PreparePublishing(
    const PublishForm& form, const Book& book, const course::PhoneticsTable& phonetics) {
  const auto endpoint = TeacherServer(form.server);
  if (!endpoint) return u"服务器地址应为“主机:端口/指纹”，例如 192.168.1.20:8443/q5Jv…=。";
  if (form.teacher.empty()) return u"请填写教师名。";
  if (form.password.empty()) return u"请填写密码。";
  if (form.className.empty()) return u"请填写班级。";
  if (form.book < 1 || form.book > studysync::kPublishedBooks) return u"第几册应为 1 到 4。";
  const auto lessons = book.lessons();
  if (std::none_of(lessons.begin(), lessons.end(),
                   [](const LessonRun& lesson) { return !lesson.name.empty(); })) {
    return u"这本课本还没有任何一课，无法发布。";
  }
  for (const Finding& finding : CheckBook(book)) {
    if (finding.rule == Rule::TooManyLessons || finding.rule == Rule::TooManyEntries) {
      return u"无法发布：" + finding.text + u"。";
    }
  }
  Publishing publishing{*endpoint,
                        {form.teacher, form.password, form.className, form.book, {}, {}}};
  if (!book.fitsCourseFile() ||
      !course::SerializeCourseTable(book.table(), publishing.request.content)) {
    return u"这本课本无法写成课程文件，无法发布。";
  }
  if (publishing.request.content.size() > studysync::kMaxBookBytes) {
    return u"这本课本太大（超过 " + Number(studysync::kMaxBookBytes / 1024) + u" KB），无法发布。";
  }
  publishing.request.phonetics =
      studysync::BookPhonetics(publishing.request.content, phonetics).text();
  if (publishing.request.phonetics.size() > studysync::kMaxBookPhoneticsBytes) {
    return u"这本课本的音标太多（超过 " + Number(studysync::kMaxBookPhoneticsBytes / 1024) +
           u" KB），无法发布。";
  }
  return publishing;
}

PublishResult SendPublishing(const studysync::Post& post,
                             const studysync::PublishRequest& request) {
  const studysync::HttpReply reply = post("/v1/publish", studysync::Encode(request), "");
  if (reply.outcome != studysync::HttpReply::Outcome::Answered) {
    return {false, u"无法连接班级服务器（网络不通、服务器没有运行，或服务器的证书指纹不符）。"};
  }
  if (reply.status != 200) return {false, RefusalMessage(reply, request)};
  std::string why;
  const auto published = studysync::DecodePublishReply(reply.body, why);
  if (!published) return {false, u"班级服务器的回答无法读懂。"};
  // The phonetics go as one line a word.
  const auto words = std::count(request.phonetics.begin(), request.phonetics.end(), '\n');
  return {true, u"已发布到班级“" + U16(request.className) + u"”作为第 " + Number(request.book) +
                    u" 册：共 " + Number(published->lessons) + u" 课、" +
                    Number(published->entries) + u" 条" +
                    (words > 0 ? u"，附 " + Number(words) + u" 个词的音标" : u"") +
                    u"。学生下次同步时就会收到。"};
}

}  // namespace editor
