// SPDX-License-Identifier: MIT
// The class page in Debian's chromium, headless: a class of 40 filled through the real sync,
// a teacher signing in for the first time, the three views and a CSV checked against what
// the answers say, and requests that must be refused changing nothing.
#include <chrono>
#include <fstream>
#include <sstream>

#include "class_numbers.h"
#include "class_page_fill.h"
#include "hub_fixture.h"

namespace hubtest {
namespace {

using studysync::Millis;

Millis NowMillis() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

class ClassPageBrowser : public HubFixture {
 protected:
  // A zone where this week has begun at least three hours ago, so that it holds answers;
  // the server is started again in it, since its week is its local one.
  void SetUp() override {
    HubFixture::SetUp();
    for (const char* zone : {"UTC", "Asia/Shanghai", "America/New_York"}) {
      setenv("TZ", zone, 1);
      tzset();
      if (NowMillis() - hub::page::WeekStart(NowMillis()) >= 3 * 3600 * 1000) break;
    }
    hub_->stop();
    hub_->start();
  }

  // Every learner of the fill added from a class list, joined and synced once.
  void syncClass(const ClassFill& fill) {
    std::ofstream list(folder_->file("class.csv"));
    for (const FilledLearner& learner : fill.learners) {
      list << learner.number << ',' << learner.name << '\n';
    }
    list.close();
    std::istringstream codes(
        studyhub({"learner", "import", "Class 1", folder_->file("class.csv")}));
    std::string line;
    for (int i = 1; std::getline(codes, line); ++i) {
      const std::string secret = SecretOf(line.substr(line.rfind('\t') + 1));
      const HttpAnswer joined = client_->join(secret, DeviceId(i));
      ASSERT_EQ(joined.status, 200) << joined.body;
      std::string why;
      const auto reply = studysync::DecodeJoinReply(joined.body, why);
      ASSERT_TRUE(reply) << why;
      if (i == 1) learnerToken_ = reply->token;
      studysync::SyncRequest request{
          reply->learner, DeviceId(i), 0, fill.learners[static_cast<std::size_t>(i - 1)].items, {}};
      const HttpAnswer synced = client_->sync(reply->token, request);
      ASSERT_EQ(synced.status, 200) << synced.body;
    }
  }

  std::string learnerToken_;
};

TEST_F(ClassPageBrowser, ATeacherReadsTheThreeViewsAndNobodyElseChangesAnything) {
  const Millis now = NowMillis();
  const ClassFill fill = FillClass(40, now, hub::page::WeekStart(now));
  ASSERT_NO_FATAL_FAILURE(syncClass(fill));
  const std::string classId = ask("SELECT id FROM classes WHERE name = 'Class 1'");
  const std::string otherClass = HubServer::LastLine(studyhub({"class", "add", "Class 2"}));
  const std::string password =
      HubServer::LastLine(studyhub({"teacher", "add", "王老师", "Class 1"}));
  const std::string otherPassword =
      HubServer::LastLine(studyhub({"teacher", "add", "李老师", "Class 2"}));
  const std::string slowedPassword =
      HubServer::LastLine(studyhub({"teacher", "add", "张老师", "Class 2"}));
  std::ofstream(folder_->file("expected.json")) << ExpectedPage(fill).dump();
  const std::string artefacts = ARTEFACTS;
  const ProgramRun browser =
      RunProgram({SYSTEM_PYTHON, CLASS_PAGE_SCRIPT, "--url", "https://" + hub_->address(),
                  "--class", classId, "--other-class", otherClass, "--teacher", "王老师",
                  "--password", password, "--other-teacher", "李老师", "--other-password",
                  otherPassword, "--slowed-teacher", "张老师", "--slowed-password", slowedPassword,
                  // A token may start with "-", which would read as an option.
                  "--learner-token=" + learnerToken_, "--certificate", hub_->certificate().string(),
                  "--expected", folder_->file("expected.json"), "--downloads",
                  folder_->file("downloads"), "--artefacts", artefacts},
                 {}, std::chrono::seconds(100));
  EXPECT_EQ(browser.exitCode, 0) << browser.output;
  // The goal the teacher set stays; the refused requests left it and the sessions alone.
  EXPECT_EQ(ask("SELECT string_agg(class_id || ':' || minutes, ',') FROM class_goals"),
            classId + ":30");
  EXPECT_EQ(ask("SELECT count(*) FROM teachers WHERE must_change"), "1");  // 张老师 never in
}

}  // namespace
}  // namespace hubtest
