// SPDX-License-Identifier: MIT
// 课程编辑's 发布到班级 against the real class server over TLS on a throwaway PostgreSQL
// cluster: the dialog driven by keys hands the book being edited out to the teacher's class,
// remembers the server and the teacher but never the password, and says in Chinese why a
// wrong password, another teacher's class or a wrong server line is refused.
#include <gtest/gtest.h>

#include <QApplication>
#include <QInputMethodEvent>
#include <QSettings>
#include <QTest>

#include "course_window.h"
#include "database.h"
#include "hub_server.h"
#include "postgres_cluster.h"
#include "teachers.h"
#include "test_support.h"

namespace {

using coursedesk::CourseWindow;
using coursedesk::PublishDialog;

std::string Book() {
  return testsupport::ShownCourseFileBytes(
      {{"Unit 1", "market", "市场"}, {"Unit 1", "stall", "货摊"}, {"Unit 2", "river", "河"}});
}

class PublishDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // The editor's settings go to a folder of the test's own.
    settingsFolder_ = std::make_unique<testsupport::TempDir>();
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(settingsFolder_->path().string()));
    cluster_ = std::make_unique<hubtest::PostgresCluster>();
  }
  static void TearDownTestSuite() { cluster_.reset(); }

  void SetUp() override {
    QSettings().clear();
    QSettings(QStringLiteral("lumadesk"), QStringLiteral("coursedesk")).clear();
    conninfo_ = cluster_->newDatabase();
    hub_ = std::make_unique<hubtest::HubServer>(STUDYHUB, conninfo_, hubFolder_.path());
    hub_->start();
    run({"class", "add", "英语1班"});
    run({"class", "add", "英语2班"});
    const std::string code =
        hubtest::HubServer::LastLine(run({"learner", "add", "英语1班", "2024001", "李华"}));
    serverLine_ = QString::fromStdString(code.substr(0, code.rfind('/')));
    oneTimePassword_ = QString::fromStdString(
        hubtest::HubServer::LastLine(run({"teacher", "add", "王老师", "英语1班"})));
    run({"teacher", "add", "赵老师", "英语2班"});
    testsupport::WriteBytes(bookFolder_.file("c1.dat"), Book());
    // The teacher's phonetics beside the book: those of its words go with it.
    testsupport::WriteBytes(bookFolder_.file("phonetics.txt"),
                            "market\tˈmɑrkɪt\nStall\tstɔl\nzebra\tˈziːbrə\n");
    window_ = std::make_unique<CourseWindow>(
        suite::FilePlaces(bookFolder_.path().string(), bookFolder_.file("user"), true));
    window_->openBook(0);
    window_->show();
  }

  std::string run(const std::vector<std::string>& args) {
    const hubtest::ProgramRun done = hub_->run(args);
    EXPECT_EQ(done.exitCode, 0) << done.output;
    return done.output;
  }
  std::string ask(const char* sql) {
    hub::Database database(conninfo_);
    const hub::Rows rows = database.run(sql);
    return rows.size() == 0 ? std::string() : rows.text(0, 0);
  }
  PublishDialog& openDialog() {
    window_->publishAction->trigger();
    EXPECT_TRUE(window_->publishDialog);
    QApplication::setActiveWindow(window_->publishDialog);
    EXPECT_TRUE(QTest::qWaitForWindowActive(window_->publishDialog));
    return *window_->publishDialog;
  }
  // Presses 发布 and waits for the outcome; its text.
  static QString publish(PublishDialog& dialog) {
    QTest::mouseClick(dialog.publishButton, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.busy(); }, 60'000));
    return dialog.outcome->text();
  }

  static inline std::unique_ptr<testsupport::TempDir> settingsFolder_;
  static inline std::unique_ptr<hubtest::PostgresCluster> cluster_;
  testsupport::TempDir hubFolder_;
  testsupport::TempDir bookFolder_;
  std::string conninfo_;
  std::unique_ptr<hubtest::HubServer> hub_;
  // The teacher's own password, chosen at the first sign-in on the class page.
  void chooseOwnPassword() {
    hub::Database database(conninfo_);
    hub::ChangeTeacherPassword(database,
                               std::stoll(ask("SELECT id FROM teachers WHERE name = '王老师'")),
                               password_.toStdString());
  }

  QString serverLine_;
  QString oneTimePassword_;
  QString password_ = QStringLiteral("王老师自己的密码2026");
  std::unique_ptr<CourseWindow> window_;
};

TEST_F(PublishDialogTest, KeysHandTheBookOutToTheTeachersClassAndTheServerIsRemembered) {
  chooseOwnPassword();
  EXPECT_EQ(window_->publishAction->text(), QStringLiteral("发布到班级(&P)…"));
  PublishDialog& dialog = openDialog();
  ASSERT_EQ(QApplication::focusWidget(), dialog.server);
  // Chinese comes as a Pinyin input method commits it; the rest as keys.
  const auto type = [](const QString& text) {
    QWidget* field = QApplication::focusWidget();
    bool ascii = true;
    for (const QChar c : text) ascii = ascii && c.unicode() < 0x80;
    if (ascii) {
      QTest::keyClicks(field, text);
    } else {
      QInputMethodEvent commit;
      commit.setCommitString(text);
      QApplication::sendEvent(field, &commit);
    }
    QTest::keyClick(field, Qt::Key_Tab);
  };
  type(serverLine_);
  type(QStringLiteral("王老师"));
  type(password_);
  type(QStringLiteral("英语1班"));
  ASSERT_EQ(QApplication::focusWidget(), dialog.bookNumber);
  QTest::keyClick(dialog.bookNumber, Qt::Key_Up);
  QTest::keyClick(dialog.bookNumber, Qt::Key_Return);
  ASSERT_TRUE(QTest::qWaitFor([&] { return !dialog.busy(); }, 60'000));
  EXPECT_EQ(dialog.outcome->text(),
            QStringLiteral("已发布到班级“英语1班”作为第 2 册：共 2 课、3 条，附 2 个词的音标。"
                           "学生下次同步时就会收到。"));
  EXPECT_EQ(ask("SELECT count(*) FROM books WHERE book = 2 AND published_by = '王老师'"), "1");
  EXPECT_EQ(ask("SELECT encode(content, 'hex') FROM books"),
            QByteArray::fromStdString(Book()).toHex().toStdString());
  EXPECT_EQ(ask("SELECT phonetics FROM books"), "market\tˈmɑrkɪt\nStall\tstɔl\n");

  dialog.close();
  PublishDialog& again = openDialog();
  EXPECT_EQ(again.server->text(), serverLine_);
  EXPECT_GT(again.server->width(), again.server->fontMetrics().horizontalAdvance(serverLine_))
      << "the whole server line shows";
  EXPECT_EQ(again.teacher->text(), QStringLiteral("王老师"));
  EXPECT_EQ(again.className->text(), QStringLiteral("英语1班"));
  EXPECT_EQ(again.bookNumber->value(), 2);
  EXPECT_TRUE(again.password->text().isEmpty());
  EXPECT_EQ(QApplication::focusWidget(), again.password);
  QSettings settings(QStringLiteral("lumadesk"), QStringLiteral("coursedesk"));
  for (const QString& key : settings.allKeys()) {
    EXPECT_FALSE(settings.value(key).toString().contains(password_)) << key.toStdString();
  }
}

TEST_F(PublishDialogTest, ARefusalIsSaidInChineseAndNothingIsPublished) {
  const struct {
    const char* what;
    QString server;
    QString teacher;
    QString password;
    QString className;
    QString said;
  } cases[] = {
      {"a wrong password", serverLine_, "王老师", password_ + "x", "英语1班", "教师名或密码不对"},
      {"another teacher's class", serverLine_, "王老师", password_, "英语2班", "不是您的班级"},
      {"no such class", serverLine_, "王老师", password_, "英语9班", "不是您的班级"},
      {"not a server line", "192.168.1.20", "王老师", password_, "英语1班", "服务器地址应为"},
      {"no password", serverLine_, "王老师", "", "英语1班", "请填写密码"},
      {"nobody listening", "127.0.0.1:1/" + serverLine_.section('/', 1), "王老师", password_,
       "英语1班", "无法连接班级服务器"},
  };
  PublishDialog& dialog = openDialog();
  dialog.server->setText(serverLine_);
  dialog.teacher->setText(QStringLiteral("王老师"));
  dialog.password->setText(oneTimePassword_);
  dialog.className->setText(QStringLiteral("英语1班"));
  EXPECT_TRUE(publish(dialog).contains(QStringLiteral("请先用浏览器登录班级网页")))
      << dialog.outcome->text().toStdString();
  chooseOwnPassword();
  for (const auto& c : cases) {
    dialog.server->setText(c.server);
    dialog.teacher->setText(c.teacher);
    dialog.password->setText(c.password);
    dialog.className->setText(c.className);
    EXPECT_TRUE(publish(dialog).contains(c.said))
        << c.what << ": " << dialog.outcome->text().toStdString();
  }
  EXPECT_EQ(ask("SELECT count(*) FROM books"), "0");
}

}  // namespace
