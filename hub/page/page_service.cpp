// SPDX-License-Identifier: MIT
#include "page_service.h"

#include <sodium.h>

#include <charconv>
#include <chrono>
#include <iostream>
#include <memory>

#include "class_queries.h"
#include "class_views.h"
#include "page_routes.h"
#include "secrets.h"
#include "sign_in_pages.h"
#include "teacher_sessions.h"
#include "teachers.h"

namespace hub::page {
namespace {

constexpr const char* kSessionCookie = "studyhub_session";
// Before signing in there is no session: the sign-in form's token is matched against a
// cookie of its own instead.
constexpr const char* kSignInCookie = "studyhub_signin";
constexpr int kSessionSeconds = 12 * 60 * 60;
constexpr int kMostGoalMinutes = 7 * 24 * 60;

std::string Param(const PageRequest& request, const std::string& name) {
  const auto found = request.params.find(name);
  return found == request.params.end() ? std::string() : found->second;
}

bool SameSecret(const std::string& a, const std::string& b) {
  return !a.empty() && a.size() == b.size() && sodium_memcmp(a.data(), b.data(), a.size()) == 0;
}

PageReply Html(int status, std::string body) {
  PageReply reply;
  reply.status = status;
  reply.body = std::move(body);
  return reply;
}

PageReply Message(int status, const char* title, const std::string& message) {
  return Html(status, MessagePage(title, message));
}

PageReply Redirect(const std::string& to) {
  PageReply reply;
  reply.status = 303;
  reply.headers.emplace_back("Location", to);
  return reply;
}

PageReply Csv(std::string body, const std::string& name) {
  PageReply reply;
  reply.contentType = "text/csv; charset=utf-8";
  reply.body = std::move(body);
  reply.headers.emplace_back("Content-Disposition", "attachment; filename=\"" + name + "\"");
  return reply;
}

PageReply SignInForm(int status, const std::string& name, const std::string& message) {
  const std::string token = RandomSecret(kSecretBytes);
  PageReply reply = Html(status, SignInPage(token, name, message));
  reply.headers.emplace_back("Set-Cookie", CookieHeader(kSignInCookie, token, 3600));
  return reply;
}

Millis Now() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

std::unique_ptr<Database>& ThreadConnection() {
  thread_local std::unique_ptr<Database> connection;
  return connection;
}

std::string WaitText(std::chrono::seconds wait) {
  return "登录失败次数过多，请 " + std::to_string((wait.count() + 59) / 60) + " 分钟后再试。";
}

PageReply ClassView(Database& database, HandedOutLessons& books, const RouteMatch& match,
                    const Frame& frame, const PageRequest& request) {
  const Millis now = Now();
  const Millis weekStart = WeekStart(now);
  const std::string name = "class-" + std::to_string(frame.classId);
  switch (match.route) {
    case Route::Grid:
    case Route::GridCsv: {
      const Grid grid = ReadGrid(database, frame.classId, books.of(database, frame.classId), now);
      if (match.route == Route::GridCsv) return Csv(GridCsv(grid), name + "-grid.csv");
      return Html(200, GridPage(frame, grid));
    }
    case Route::Week:
    case Route::WeekCsv: {
      const int goal = ReadGoal(database, frame.classId);
      std::vector<WeekRow> rows = ReadWeek(database, frame.classId, weekStart);
      OrderWeek(rows, goal);
      if (match.route == Route::WeekCsv) return Csv(WeekCsv(rows, goal), name + "-week.csv");
      return Html(200, WeekPage(frame, rows, goal, weekStart));
    }
    case Route::Hardest:
      return Html(200,
                  HardestPage(frame, ReadHardest(database, frame.classId, weekStart), weekStart));
    case Route::HardestCsv:
      return Csv(HardestCsv(ReadHardest(database, frame.classId, weekStart)),
                 name + "-hardest.csv");
    case Route::Who: {
      const HardEntry entry{Param(request, "lesson"), Param(request, "line1"),
                            Param(request, "line2"), 0, 0};
      return Html(200,
                  WhoPage(frame, entry, ReadWhoMissed(database, frame.classId, weekStart, entry)));
    }
    case Route::Goal: {
      const std::string text = Param(request, "minutes");
      int minutes = -1;
      const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
      if (error != std::errc() || end != text.data() + text.size() || minutes < 0 ||
          minutes > kMostGoalMinutes) {
        return Message(
            400, "目标无效",
            "每周目标须为 0 到 " + std::to_string(kMostGoalMinutes) + " 之间的整数分钟。");
      }
      WriteGoal(database, frame.classId, minutes);
      return Redirect("/class/" + std::to_string(frame.classId) + "/week");
    }
    default:
      return Message(404, "找不到页面", "没有这个页面。");
  }
}

}  // namespace

PageService::PageService(std::string conninfo) : conninfo_(std::move(conninfo)) {}

PageReply PageService::handle(const PageRequest& request) {
  PageReply reply = answer(request);
  // Nothing of a class kept by the browser or a proxy, nothing framed or run.
  reply.headers.emplace_back("Cache-Control", "no-store");
  reply.headers.emplace_back("X-Content-Type-Options", "nosniff");
  reply.headers.emplace_back("Referrer-Policy", "no-referrer");
  reply.headers.emplace_back("Content-Security-Policy",
                             "default-src 'none'; style-src 'unsafe-inline'; form-action 'self';"
                             " frame-ancestors 'none'");
  return reply;
}

PageReply PageService::answer(const PageRequest& request) {
  const RouteMatch match = MatchRoute(request.method, request.path);
  if (match.route == Route::NotFound) return Message(404, "找不到页面", "没有这个页面。");
  auto& connection = ThreadConnection();
  // A kept connection may have died with a restarted database, which shows only at its
  // first statement, before anything was done: that is tried once more on a new one.
  for (int attempt = 0;; ++attempt) {
    const bool fresh = !connection;
    try {
      if (!connection) connection = std::make_unique<Database>(conninfo_);
      return match.route == Route::SignIn ? signIn(*connection, request)
                                          : signedIn(*connection, request);
    } catch (const DatabaseError& error) {
      std::cerr << "studyhub: database: " << error.what() << '\n';
      if (!error.unreachable()) return Message(500, "出错了", "服务器处理请求时出错。");
      connection.reset();
      if (fresh || attempt > 0) {
        return Message(503, "暂时无法使用", "数据库暂时无法连接，请稍后再试。");
      }
    }
  }
}

PageReply PageService::signIn(Database& database, const PageRequest& request) {
  const std::string name = Param(request, "name");
  if (!SameSecret(Param(request, "csrf"), CookieValue(request.cookies, kSignInCookie))) {
    return SignInForm(403, name, "登录表单已过期，请重新输入。");
  }
  const auto now = AttemptLimiter::Clock::now();
  const auto wait =
      std::max(wrongByAddress_.waitFor(request.address, now), wrongByName_.waitFor(name, now));
  if (wait.count() > 0) {
    PageReply reply = SignInForm(429, name, WaitText(wait));
    reply.headers.emplace_back("Retry-After", std::to_string(wait.count()));
    return reply;
  }
  const auto teacher = CheckTeacher(database, name, Param(request, "password"));
  if (!teacher) {
    wrongByAddress_.failed(request.address, now);
    wrongByName_.failed(name, now);
    return SignInForm(401, name, "用户名或密码不正确。");
  }
  const TeacherSession session = StartSession(database, teacher->id);
  PageReply reply = Redirect("/");
  reply.headers.emplace_back("Set-Cookie",
                             CookieHeader(kSessionCookie, session.id, kSessionSeconds));
  reply.headers.emplace_back("Set-Cookie", CookieHeader(kSignInCookie, "", 0));
  return reply;
}

PageReply PageService::signedIn(Database& database, const PageRequest& request) {
  const RouteMatch match = MatchRoute(request.method, request.path);
  const bool posted = request.method == "POST";
  const auto session = FindSession(database, CookieValue(request.cookies, kSessionCookie));
  const auto teacher = session ? FindTeacher(database, session->teacher) : std::nullopt;
  if (!teacher) {
    if (posted) return Message(403, "请先登录", "登录已失效，请重新登录。");
    if (match.route == Route::Home) return SignInForm(200, "", "");
    return Redirect("/");
  }
  if (posted && !SameSecret(Param(request, "csrf"), session->csrf)) {
    return Message(403, "表单已过期", "表单已过期，请返回并刷新页面后重试。");
  }
  if (match.route == Route::SignOut) {
    EndSession(database, session->id);
    PageReply reply = Redirect("/");
    reply.headers.emplace_back("Set-Cookie", CookieHeader(kSessionCookie, "", 0));
    return reply;
  }
  if (match.route == Route::Password) {
    const std::string password = Param(request, "password");
    std::string problem = NewPasswordProblem(password, Param(request, "again"), teacher->name);
    if (problem.empty() && CheckTeacher(database, teacher->name, password)) {
      problem = "新密码不能与原密码相同。";
    }
    if (!problem.empty()) return Html(400, NewPasswordPage(teacher->name, session->csrf, problem));
    ChangeTeacherPassword(database, teacher->id, password);
    EndOtherSessions(database, teacher->id, session->id);
    return Redirect("/");
  }
  if (teacher->mustChangePassword) {
    if (posted) return Redirect("/");
    return Html(200, NewPasswordPage(teacher->name, session->csrf, ""));
  }
  Frame frame{teacher->name, session->csrf, 0, {}};
  if (!IsClassRoute(match.route)) {
    return Html(200, ClassListPage(frame, TeacherClasses(database, teacher->id)));
  }
  const auto owned = TeachersClass(database, teacher->id, match.classId);
  if (!owned) return Message(404, "找不到班级", "没有这个班级，或者您无权查看。");
  frame.classId = owned->id;
  frame.className = owned->name;
  return ClassView(database, handedOut_, match, frame, request);
}

}  // namespace hub::page
