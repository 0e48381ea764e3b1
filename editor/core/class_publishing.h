// SPDX-License-Identifier: MIT
// Handing the book being edited out to a class on the class server: what the teacher typed
// checked, the book's bytes, the request sent, and what happened said in Chinese.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "book.h"
#include "https_transport.h"
#include "phonetics_table.h"
#include "sync_messages.h"

namespace editor {

struct PublishForm {
  std::string server;  // "HOST:PORT/PIN", or a learner's join code (its secret is not used)
  std::string teacher;
  std::string password;
  std::string className;
  int book = 1;  // 1-4
};

// The server's address and pin from what the teacher typed; nothing when it is neither form.
std::optional<studysync::HttpsEndpoint> TeacherServer(std::string_view text);

struct Publishing {
  studysync::HttpsEndpoint endpoint;
  studysync::PublishRequest request;
};

// The request for `book` with what `phonetics` has for its words, or why it cannot be sent
// (a field missing, a book the chooser could not list whole), in Chinese.
std::variant<Publishing, std::u16string> PreparePublishing(const PublishForm& form,
                                                           const Book& book,
                                                           const course::PhoneticsTable& phonetics);

struct PublishResult {
  bool done = false;
  std::u16string message;  // success with the lessons and entries, or the reason
};

// Sends the request (over `post`, which may take long: not on a window's thread).
PublishResult SendPublishing(const studysync::Post& post, const studysync::PublishRequest& request);

}  // namespace editor
