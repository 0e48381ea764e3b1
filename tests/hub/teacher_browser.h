// SPDX-License-Identifier: MIT
// A teacher's browser on the class page: one kept HTTPS connection trusting the server's own
// certificate, the cookies the server sets, and the CSRF token each form carries.
#pragma once

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace hubtest {

class TeacherBrowser {
 public:
  TeacherBrowser(int port, const std::string& certificate);
  ~TeacherBrowser();

  // The body of a page that must answer 200.
  std::string get(const std::string& path);
  // A form sent with the CSRF token of the page at `/`; it must answer with a redirect.
  void post(const std::string& path, std::vector<std::pair<std::string, std::string>> fields);
  // Signs in with the one-time password and chooses `newPassword`, as at a first sign-in.
  void signIn(const std::string& name, const std::string& oneTimePassword,
              const std::string& newPassword);
  // The time in milliseconds to the first byte of a page's body, and its size.
  std::pair<double, std::size_t> firstByte(const std::string& path);

 private:
  struct Connection;
  std::unique_ptr<Connection> connection_;
  std::vector<std::pair<std::string, std::string>> cookies_;
};

}  // namespace hubtest
