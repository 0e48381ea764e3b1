// SPDX-License-Identifier: MIT
#include "sign_in_pages.h"

#include "html.h"

namespace hub::page {
namespace {

std::string Problem(std::string_view message) {
  if (message.empty()) return {};
  return "<p class=\"error\" role=\"alert\">" + Escape(message) + "</p>";
}

std::size_t Characters(std::string_view utf8) {
  std::size_t count = 0;
  for (const char c : utf8) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  return count;
}

}  // namespace

std::string SignInPage(std::string_view csrf, std::string_view name, std::string_view message) {
  return Document("教师登录",
                  "<header><b>班级学习情况</b></header><main>"
                  "<form class=\"box\" method=\"post\" action=\"/signin\"><h1>教师登录</h1>" +
                      Problem(message) + CsrfField(csrf) +
                      "<label>用户名 <input name=\"name\" autocomplete=\"username\" value=\"" +
                      Escape(name) +
                      "\" required></label>"
                      "<label>密码 <input name=\"password\" type=\"password\" "
                      "autocomplete=\"current-password\" required></label>"
                      "<button type=\"submit\">登录</button></form></main>");
}

std::string NewPasswordPage(std::string_view teacher, std::string_view csrf,
                            std::string_view message) {
  return Document("设置新密码",
                  "<header><b>" + Escape(teacher) +
                      "</b></header><main><form class=\"box\" method=\"post\" action=\"/password\">"
                      "<h1>设置新密码</h1><p>首次登录请把一次性密码换成您自己的密码（至少 " +
                      std::to_string(kShortestPassword) + " 个字符）。</p>" + Problem(message) +
                      CsrfField(csrf) +
                      "<label>新密码 <input name=\"password\" type=\"password\" "
                      "autocomplete=\"new-password\" required></label>"
                      "<label>再输一次 <input name=\"again\" type=\"password\" "
                      "autocomplete=\"new-password\" required></label>"
                      "<button type=\"submit\">保存新密码</button></form></main>");
}

std::string MessagePage(std::string_view title, std::string_view message) {
  return Document(title, "<header><b>班级学习情况</b></header><main><h1>" + Escape(title) +
                             "</h1><p>" + Escape(message) +
                             "</p><p><a href=\"/\">返回首页</a></p></main>");
}

std::string NewPasswordProblem(std::string_view password, std::string_view again,
                               std::string_view teacher) {
  if (password != again) return "两次输入的密码不一致。";
  if (Characters(password) < kShortestPassword) {
    return "密码太短：至少需要 " + std::to_string(kShortestPassword) + " 个字符。";
  }
  if (password == teacher) return "密码不能与用户名相同。";
  return {};
}

}  // namespace hub::page
