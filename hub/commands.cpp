// SPDX-License-Identifier: MIT
#include "commands.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <functional>
#include <map>
#include <ostream>

#include "certificate.h"
#include "class_list.h"
#include "file_io.h"
#include "https_server.h"
#include "join_code.h"
#include "published_books.h"
#include "roster.h"
#include "schema.h"
#include "teachers.h"

namespace hub {
namespace {

constexpr const char* kUsage =
    "usage: studyhub COMMAND [--db CONNINFO]   (or STUDYHUB_DB in the environment)\n"
    "  init                                   make or upgrade the schema\n"
    "  serve --listen HOST:PORT --cert FILE --key FILE\n"
    "  make-cert HOST DIR                     write DIR/cert.pem and DIR/key.pem\n"
    "  class add NAME                         prints the class id last\n"
    "  learner add CLASS NUMBER NAME          prints a join code last\n"
    "  learner code CLASS NUMBER              a new join code for another device\n"
    "  learner import CLASS FILE.csv          学号,姓名 lines; prints each learner's code\n"
    "  learner list CLASS                     number, name, devices, last sync\n"
    "  teacher add NAME CLASS...              prints a one-time password last\n"
    "  teacher classes NAME CLASS...          the classes the teacher sees, instead\n"
    "  teacher password NAME                  a new one-time password last (one forgotten)\n"
    "  publish CLASS BOOK FILE                hands the course file FILE out as book BOOK (1-4),\n"
    "                                         with the phonetics of its words beside it, to\n"
    "                                         every learner of CLASS at their next sync\n"
    "join codes: --address HOST:PORT instead of the one serve last ran with,\n"
    "            --days N valid for N days (7)\n";

constexpr std::uint64_t kMostClassListBytes = 16u << 20;

class UsageError : public std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct Invocation {
  std::vector<std::string> words;  // the command and its operands
  std::map<std::string, std::string> options;

  std::string option(const std::string& name) const {
    const auto found = options.find(name);
    return found == options.end() ? std::string() : found->second;
  }
};

Invocation Parse(const std::vector<std::string>& args) {
  static const std::vector<std::string> kOptions{"--db",   "--address", "--listen",
                                                 "--cert", "--key",     "--days"};
  Invocation invocation;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!args[i].starts_with("--")) {
      invocation.words.push_back(args[i]);
      continue;
    }
    if (std::find(kOptions.begin(), kOptions.end(), args[i]) == kOptions.end()) {
      throw UsageError("unknown option " + args[i]);
    }
    if (i + 1 == args.size()) throw UsageError(args[i] + " needs a value");
    invocation.options[args[i]] = args[i + 1];
    ++i;
  }
  return invocation;
}

void Expect(const Invocation& invocation, std::size_t words) {
  if (invocation.words.size() != words) throw UsageError("wrong number of operands");
}

int Number(const std::string& text, int least, int most, const std::string& what) {
  int number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (error != std::errc() || end != text.data() + text.size() || number < least || number > most) {
    throw UsageError(what + " must be a whole number from " + std::to_string(least) + " to " +
                     std::to_string(most) + ": " + text);
  }
  return number;
}

std::string Conninfo(const Invocation& invocation) {
  std::string conninfo = invocation.option("--db");
  if (conninfo.empty()) {
    const char* fromEnvironment = std::getenv("STUDYHUB_DB");
    if (fromEnvironment) conninfo = fromEnvironment;
  }
  if (conninfo.empty()) throw UsageError("no database: give --db CONNINFO or set STUDYHUB_DB");
  return conninfo;
}

// What the teacher hands a learner's device.
class CodeMaker {
 public:
  CodeMaker(Database& database, const Invocation& invocation) : database_(database) {
    days_ = invocation.options.count("--days")
                ? Number(invocation.option("--days"), 1, 365, "--days")
                : 7;
    const auto recorded = RecordedServerPlace(database);
    if (!recorded) {
      throw std::runtime_error(
          "the server's address and certificate are not known yet: run studyhub serve once");
    }
    place_ = *recorded;
    if (invocation.options.count("--address")) place_.address = invocation.option("--address");
    std::string why;
    if (!studysync::ParseJoinCode(place_.address + "/" + place_.pin + "/" + std::string(22, 'A'),
                                  why)) {
      throw UsageError("the address " + place_.address + " cannot go into a join code: " + why);
    }
  }

  std::string code(std::int64_t learner) {
    return place_.address + "/" + place_.pin + "/" + NewJoinSecret(database_, learner, days_);
  }
  int days() const { return days_; }

 private:
  Database& database_;
  ServerPlace place_;
  int days_ = 7;
};

ClassRow TheClass(Database& database, const std::string& nameOrId) {
  const auto found = FindClass(database, nameOrId);
  if (!found) throw std::runtime_error("no class " + nameOrId);
  return *found;
}

int Init(Database& database, std::ostream& out) {
  const std::size_t before = SchemaVersion(database);
  const std::size_t after = UpgradeSchema(database);
  if (before == after) {
    out << "the schema is up to date (version " << after << ")\n";
  } else {
    out << "the schema went from version " << before << " to " << after << '\n';
  }
  return 0;
}

int AddClassCommand(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 3);
  const std::int64_t id = AddClass(database, invocation.words[2]);
  out << "class " << invocation.words[2] << " added, its id:\n" << id << '\n';
  return 0;
}

int LearnerAdd(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 5);
  CodeMaker codes(database, invocation);
  database.transaction([&] {
    const ClassRow group = TheClass(database, invocation.words[2]);
    const std::int64_t learner =
        PutLearner(database, group.id, invocation.words[3], invocation.words[4], false);
    out << "learner " << invocation.words[3] << " " << invocation.words[4] << " added to "
        << group.name << "; join code, valid " << codes.days() << " days, for one device:\n"
        << codes.code(learner) << '\n';
  });
  return 0;
}

int LearnerCode(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 4);
  CodeMaker codes(database, invocation);
  const ClassRow group = TheClass(database, invocation.words[2]);
  const auto learner = FindLearner(database, group.id, invocation.words[3]);
  if (!learner) throw std::runtime_error(group.name + " has no learner " + invocation.words[3]);
  out << "join code for " << invocation.words[3] << ", valid " << codes.days()
      << " days, for one device:\n"
      << codes.code(*learner) << '\n';
  return 0;
}

int LearnerImport(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 4);
  const std::string& path = invocation.words[3];
  std::vector<std::uint8_t> bytes;
  std::uint64_t size = 0;
  const suite::FileStatus read = suite::ReadFilePrefix(path, kMostClassListBytes, bytes, size);
  if (!read.ok()) throw UsageError(read.message());
  if (size > kMostClassListBytes) throw UsageError(path + ": too large for a class list");
  std::string why;
  const auto learners =
      ReadClassList({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, why);
  if (!learners) throw std::runtime_error(path + ": " + why);
  CodeMaker codes(database, invocation);
  std::string printed;
  database.transaction([&] {
    const ClassRow group = TheClass(database, invocation.words[2]);
    for (const auto& listed : *learners) {
      const std::int64_t learner = PutLearner(database, group.id, listed.number, listed.name, true);
      printed += listed.number + '\t' + listed.name + '\t' + codes.code(learner) + '\n';
    }
  });
  // Printed once all are kept: a code on paper whose learner was never stored is worse
  // than none.
  out << printed;
  return 0;
}

int LearnerList(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 3);
  const ClassRow group = TheClass(database, invocation.words[2]);
  out << "number\tname\tdevices\tlast sync\n";
  for (const auto& learner : ListLearners(database, group.id)) {
    out << learner.number << '\t' << learner.name << '\t' << learner.devices << '\t'
        << (learner.lastSync.empty() ? "never" : learner.lastSync) << '\n';
  }
  return 0;
}

int Publish(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 4);
  const int book = Number(invocation.words[2], 1, studysync::kPublishedBooks, "BOOK");
  const std::string& path = invocation.words[3];
  std::vector<std::uint8_t> bytes;
  std::uint64_t size = 0;
  const suite::FileStatus read =
      suite::ReadFilePrefix(path, studysync::kMaxBookBytes + 1, bytes, size);
  if (!read.ok()) throw UsageError(read.message());
  const std::string content(bytes.begin(), bytes.end());
  // The teacher's phonetics beside the file go with it, those of its own words.
  course::PhoneticsTable phonetics;
  const std::string phoneticsPath = course::PhoneticsPathBeside(path);
  if (const auto table = course::ReadPhoneticsTable(phoneticsPath, phonetics); !table.ok()) {
    throw std::runtime_error(path + " cannot be handed out: " + table.whole().message());
  }
  phonetics = studysync::BookPhonetics(content, phonetics);
  const ClassRow group = TheClass(database, invocation.words[1]);
  const char* user = std::getenv("USER");
  const Publication done = PublishIfUsable(database, group.id, book, content, phonetics.text(),
                                           user ? user : "studyhub");
  if (!done.check.usable()) {
    throw std::runtime_error(path + " cannot be handed out: " + done.check.why);
  }
  out << path << " is book " << book << " of " << group.name << ": " << done.check.lessons
      << " lessons, " << done.check.entries << " entries, phonetics of " << phonetics.size()
      << " words (version " << done.version << "); learners receive it at their next sync\n";
  return 0;
}

std::vector<std::string> Operands(const Invocation& invocation, std::size_t from) {
  if (invocation.words.size() <= from) throw UsageError("wrong number of operands");
  return {invocation.words.begin() + static_cast<std::ptrdiff_t>(from), invocation.words.end()};
}

int TeacherAdd(Database& database, const Invocation& invocation, std::ostream& out) {
  const std::vector<std::string> classes = Operands(invocation, 3);
  const std::string& name = invocation.words[2];
  std::string password;
  database.transaction([&] { password = AddTeacher(database, name, classes); });
  out << "teacher " << name << " added; one-time password, to be changed at the first sign-in:\n"
      << password << '\n';
  return 0;
}

int TeacherPassword(Database& database, const Invocation& invocation, std::ostream& out) {
  Expect(invocation, 3);
  const std::string& name = invocation.words[2];
  std::string password;
  database.transaction([&] { password = ResetTeacherPassword(database, name); });
  out << "teacher " << name << " signed out; new one-time password, to be changed at the next "
      << "sign-in:\n"
      << password << '\n';
  return 0;
}

int TeacherClasses(Database& database, const Invocation& invocation, std::ostream& out) {
  const std::vector<std::string> classes = Operands(invocation, 3);
  const std::string& name = invocation.words[2];
  database.transaction([&] { SetTeacherClasses(database, name, classes); });
  out << "teacher " << name << " now sees " << classes.size() << " class"
      << (classes.size() == 1 ? "" : "es") << '\n';
  return 0;
}

int ServeCommand(const Invocation& invocation, std::ostream& err) {
  Expect(invocation, 1);
  ServeSettings settings;
  settings.conninfo = Conninfo(invocation);
  const std::string listen = invocation.option("--listen");
  const auto colon = listen.rfind(':');
  if (colon == std::string::npos) throw UsageError("--listen HOST:PORT is needed");
  settings.host = listen.substr(0, colon);
  if (settings.host.size() > 1 && settings.host.front() == '[' && settings.host.back() == ']') {
    settings.host = settings.host.substr(1, settings.host.size() - 2);
  }
  settings.port = Number(listen.substr(colon + 1), 1, 65535, "the port");
  settings.certificate = invocation.option("--cert");
  settings.key = invocation.option("--key");
  if (settings.certificate.empty() || settings.key.empty()) {
    throw UsageError("--cert FILE and --key FILE are needed");
  }
  return Serve(settings, err);
}

using DatabaseCommand = std::function<int(Database&, const Invocation&, std::ostream&)>;

DatabaseCommand FindDatabaseCommand(const Invocation& invocation) {
  const auto& w = invocation.words;
  if (w.size() == 1 && w[0] == "init") {
    return [](Database& d, const Invocation&, std::ostream& o) { return Init(d, o); };
  }
  if (w.size() >= 2 && w[0] == "class" && w[1] == "add") return AddClassCommand;
  if (w.size() >= 2 && w[0] == "learner") {
    if (w[1] == "add") return LearnerAdd;
    if (w[1] == "code") return LearnerCode;
    if (w[1] == "import") return LearnerImport;
    if (w[1] == "list") return LearnerList;
  }
  if (!w.empty() && w[0] == "publish") return Publish;
  if (w.size() >= 2 && w[0] == "teacher") {
    if (w[1] == "add") return TeacherAdd;
    if (w[1] == "classes") return TeacherClasses;
    if (w[1] == "password") return TeacherPassword;
  }
  return nullptr;
}

int Run(const Invocation& invocation, std::ostream& out, std::ostream& err) {
  if (invocation.words.empty()) throw UsageError("no command");
  if (invocation.words[0] == "make-cert") {
    Expect(invocation, 3);
    MakeCertificate(invocation.words[1], invocation.words[2]);
    out << "wrote " << invocation.words[2] << "/cert.pem and " << invocation.words[2]
        << "/key.pem; pin " << CertificatePin(invocation.words[2] + "/cert.pem") << '\n';
    return 0;
  }
  if (invocation.words[0] == "serve") return ServeCommand(invocation, err);
  const DatabaseCommand command = FindDatabaseCommand(invocation);
  if (!command) throw UsageError("unknown command");
  Database database(Conninfo(invocation));
  if (invocation.words[0] != "init" && SchemaVersion(database) != LatestSchemaVersion()) {
    throw std::runtime_error("the database's schema is not this studyhub's: run studyhub init");
  }
  return command(database, invocation, out);
}

}  // namespace

int RunStudyhub(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  try {
    return Run(Parse(args), out, err);
  } catch (const UsageError& error) {
    err << "studyhub: " << error.what() << '\n' << kUsage;
    return 2;
  } catch (const DatabaseError& error) {
    err << "studyhub: database: " << error.what();
    return error.unreachable() ? 3 : 1;
  } catch (const std::exception& error) {
    err << "studyhub: " << error.what() << '\n';
    return 1;
  }
}

}  // namespace hub
