// SPDX-License-Identifier: MIT
// What 发布到班级 accepts before anything goes to the network: the server line in either of
// the forms a teacher has at hand, and only books the chooser can list whole.
#include <gtest/gtest.h>

#include "book_check.h"
#include "class_publishing.h"
#include "course_file.h"
#include "test_support.h"

namespace editor {
namespace {

// A pin with '/' in it, as base64 often has.
const std::string kPin = "q5Jv/123456789abcdefghijklmnopqrstuvwxyzAB+=";

TEST(ClassPublishing, TheServerLineIsReadInEitherForm) {
  const struct {
    std::string typed;
    std::optional<std::string> address;
  } cases[] = {
      {"192.168.1.20:8443/" + kPin, "192.168.1.20:8443"},
      {"  192.168.1.20:8443/" + kPin + " ", "192.168.1.20:8443"},
      {"192.168.1.20:8443/" + kPin + "/K7Q2abcdefghijklmnopqrst", "192.168.1.20:8443"},
      {"[::1]:8443/" + kPin, "[::1]:8443"},
      {"192.168.1.20:8443", std::nullopt},
      {"192.168.1.20/" + kPin, std::nullopt},
      {"192.168.1.20:8443/shortpin", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) {
    const auto endpoint = TeacherServer(c.typed);
    EXPECT_EQ(endpoint ? std::optional(endpoint->address) : std::nullopt, c.address) << c.typed;
    if (endpoint) {
      EXPECT_EQ(endpoint->pin, kPin) << c.typed;
    }
  }
}

Book BookOf(const std::vector<std::array<std::string, 3>>& entries) {
  const std::string bytes = testsupport::CourseFileBytes(entries);
  course::RecordTable table;
  course::ParseCourseImage(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(),
                           table);
  return Book(table);
}

TEST(ClassPublishing, OnlyABookTheChooserListsWholeIsSent) {
  const PublishForm form{"127.0.0.1:8443/" + kPin, "王老师", "secret", "英语1班", 2};
  std::vector<std::array<std::string, 3>> tooMany;
  for (int i = 0; i < 130; ++i) {
    std::string lesson = "L";
    lesson += std::to_string(i);
    tooMany.push_back({lesson, "w", "词"});
  }
  const struct {
    const char* what;
    Book book;
    std::u16string said;  // empty: sent
  } cases[] = {
      {"two lessons", BookOf({{"U1", "a", "甲"}, {"U2", "b", "乙"}}), u""},
      {"no lesson", Book(), u"没有任何一课"},
      {"entries without a lesson name", BookOf({{"", "a", "甲"}}), u"没有任何一课"},
      {"130 lessons", BookOf(tooMany), u"选课程序只列出前 129 课"},
  };
  for (const auto& c : cases) {
    const auto prepared = PreparePublishing(form, c.book, {});
    if (c.said.empty()) {
      ASSERT_TRUE(std::holds_alternative<Publishing>(prepared)) << c.what;
      const auto& request = std::get<Publishing>(prepared).request;
      EXPECT_EQ(request.book, 2);
      EXPECT_TRUE(studysync::CheckBookFile(request.content).usable()) << c.what;
    } else {
      ASSERT_TRUE(std::holds_alternative<std::u16string>(prepared)) << c.what;
      EXPECT_NE(std::get<std::u16string>(prepared).find(c.said), std::u16string::npos) << c.what;
    }
  }
}

}  // namespace
}  // namespace editor
