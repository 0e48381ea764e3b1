// SPDX-License-Identifier: MIT
#include "schema.h"

#include <string>
#include <vector>

namespace hub {
namespace {

using Step = std::vector<const char*>;

// Never change a step once released: add a new one.
const std::vector<Step>& Steps() {
  static const std::vector<Step> steps{
      // 1: classes, learners, their join codes and devices, and where the server listens.
      {"CREATE TABLE classes (id bigserial PRIMARY KEY, name text NOT NULL UNIQUE,"
       " created timestamptz NOT NULL DEFAULT now())",
       // counter: the number given to the learner's last stored item.
       "CREATE TABLE learners (id bigserial PRIMARY KEY,"
       " class_id bigint NOT NULL REFERENCES classes, number text NOT NULL,"
       " name text NOT NULL, counter bigint NOT NULL DEFAULT 0, UNIQUE (class_id, number))",
       "CREATE TABLE join_codes (hash text PRIMARY KEY,"
       " learner_id bigint NOT NULL REFERENCES learners, expires timestamptz NOT NULL,"
       " used timestamptz)",
       "CREATE TABLE devices (learner_id bigint NOT NULL REFERENCES learners, id text NOT NULL,"
       " token_hash text NOT NULL UNIQUE, name text NOT NULL,"
       " joined timestamptz NOT NULL DEFAULT now(), last_sync timestamptz,"
       " PRIMARY KEY (learner_id, id))",
       "CREATE TABLE server (id int PRIMARY KEY CHECK (id = 1), address text NOT NULL,"
       " pin text NOT NULL, changed timestamptz NOT NULL DEFAULT now())"},
      // 2: what the devices send, each numbered per learner in the order stored.
      {"CREATE TABLE answers (learner_id bigint NOT NULL REFERENCES learners,"
       " device text NOT NULL, seq bigint NOT NULL, number bigint NOT NULL,"
       " lesson text NOT NULL, line1 text NOT NULL, line2 text NOT NULL, part text NOT NULL,"
       " time bigint NOT NULL, grade smallint NOT NULL, activity text NOT NULL,"
       " seconds double precision NOT NULL, PRIMARY KEY (learner_id, device, seq))",
       "CREATE INDEX answers_by_number ON answers (learner_id, number)",
       "CREATE TABLE withdrawals (learner_id bigint NOT NULL REFERENCES learners,"
       " device text NOT NULL, seq bigint NOT NULL, number bigint NOT NULL,"
       " time bigint NOT NULL, PRIMARY KEY (learner_id, device, seq))",
       "CREATE INDEX withdrawals_by_number ON withdrawals (learner_id, number)",
       "CREATE TABLE results (learner_id bigint NOT NULL REFERENCES learners,"
       " device text NOT NULL, seq bigint NOT NULL, number bigint NOT NULL,"
       " time bigint NOT NULL, activity text NOT NULL, lesson text NOT NULL,"
       " right_count integer NOT NULL, total integer NOT NULL,"
       " seconds double precision NOT NULL, words_per_minute double precision,"
       " accuracy double precision, PRIMARY KEY (learner_id, device, seq))",
       "CREATE INDEX results_by_number ON results (learner_id, number)",
       "CREATE TABLE settings (learner_id bigint NOT NULL REFERENCES learners,"
       " name text NOT NULL, value text NOT NULL, changed bigint NOT NULL,"
       " PRIMARY KEY (learner_id, name))"},
      // 3: teachers, the classes each may see, their sign-in sessions (only a hash of the
      // session's id), and the weekly goal a teacher sets for a class.
      {"CREATE TABLE teachers (id bigserial PRIMARY KEY, name text NOT NULL UNIQUE,"
       " password_hash text NOT NULL, must_change boolean NOT NULL DEFAULT true,"
       " created timestamptz NOT NULL DEFAULT now())",
       "CREATE TABLE teacher_classes (teacher_id bigint NOT NULL REFERENCES teachers"
       " ON DELETE CASCADE, class_id bigint NOT NULL REFERENCES classes ON DELETE CASCADE,"
       " PRIMARY KEY (teacher_id, class_id))",
       "CREATE TABLE teacher_sessions (hash text PRIMARY KEY,"
       " teacher_id bigint NOT NULL REFERENCES teachers ON DELETE CASCADE,"
       " csrf text NOT NULL, expires timestamptz NOT NULL)",
       "CREATE TABLE class_goals (class_id bigint PRIMARY KEY REFERENCES classes"
       " ON DELETE CASCADE, minutes integer NOT NULL CHECK (minutes >= 0),"
       " changed timestamptz NOT NULL DEFAULT now())",
       // The page reads a class's answers of a week.
       "CREATE INDEX answers_by_time ON answers (learner_id, time)",
       // Each learner's latest counted answer to each card, kept up to date by the
       // database itself as answers and withdrawals arrive, so that the class page need
       // not go through every answer of the class. Time and grade travel as one number
       // (time * 8 + grade), whose maximum is the latest answer.
       "CREATE TABLE card_states (learner_id bigint NOT NULL REFERENCES learners,"
       " lesson text NOT NULL, line1 text NOT NULL, line2 text NOT NULL,"
       " latest_time bigint NOT NULL, latest_grade smallint NOT NULL,"
       " PRIMARY KEY (learner_id, lesson, line1, line2))",
       "INSERT INTO card_states SELECT learner_id, lesson, line1, line2,"
       " max(time * 8 + grade) / 8, max(time * 8 + grade) % 8 FROM answers a"
       " WHERE NOT EXISTS (SELECT 1 FROM withdrawals w WHERE w.learner_id = a.learner_id"
       "  AND w.device = a.device AND w.seq = a.seq)"
       " GROUP BY learner_id, lesson, line1, line2",
       "CREATE FUNCTION card_states_after_answers() RETURNS trigger LANGUAGE plpgsql AS $$"
       " BEGIN"
       " INSERT INTO card_states AS s SELECT learner_id, lesson, line1, line2,"
       "  max(time * 8 + grade) / 8, max(time * 8 + grade) % 8 FROM new_answers a"
       " WHERE NOT EXISTS (SELECT 1 FROM withdrawals w WHERE w.learner_id = a.learner_id"
       "  AND w.device = a.device AND w.seq = a.seq)"
       " GROUP BY learner_id, lesson, line1, line2"
       " ON CONFLICT (learner_id, lesson, line1, line2) DO UPDATE"
       " SET latest_time = EXCLUDED.latest_time, latest_grade = EXCLUDED.latest_grade"
       " WHERE s.latest_time * 8 + s.latest_grade < EXCLUDED.latest_time * 8"
       "  + EXCLUDED.latest_grade;"
       " RETURN NULL; END $$",
       "CREATE TRIGGER answers_to_card_states AFTER INSERT ON answers"
       " REFERENCING NEW TABLE AS new_answers FOR EACH STATEMENT"
       " EXECUTE FUNCTION card_states_after_answers()",
       // A withdrawal is rare: the cards it touches are counted again from their answers.
       "CREATE FUNCTION card_states_after_withdrawals() RETURNS trigger LANGUAGE plpgsql AS $$"
       " BEGIN"
       " DELETE FROM card_states s USING new_withdrawals w JOIN answers a"
       "  ON a.learner_id = w.learner_id AND a.device = w.device AND a.seq = w.seq"
       " WHERE s.learner_id = a.learner_id AND s.lesson = a.lesson AND s.line1 = a.line1"
       "  AND s.line2 = a.line2;"
       " INSERT INTO card_states SELECT a.learner_id, a.lesson, a.line1, a.line2,"
       "  max(a.time * 8 + a.grade) / 8, max(a.time * 8 + a.grade) % 8 FROM answers a"
       " WHERE (a.learner_id, a.lesson, a.line1, a.line2) IN (SELECT b.learner_id, b.lesson,"
       "  b.line1, b.line2 FROM new_withdrawals w JOIN answers b"
       "  ON b.learner_id = w.learner_id AND b.device = w.device AND b.seq = w.seq)"
       " AND NOT EXISTS (SELECT 1 FROM withdrawals w WHERE w.learner_id = a.learner_id"
       "  AND w.device = a.device AND w.seq = a.seq)"
       " GROUP BY a.learner_id, a.lesson, a.line1, a.line2;"
       " RETURN NULL; END $$",
       "CREATE TRIGGER withdrawals_to_card_states AFTER INSERT ON withdrawals"
       " REFERENCING NEW TABLE AS new_withdrawals FOR EACH STATEMENT"
       " EXECUTE FUNCTION card_states_after_withdrawals()"},
      // 4: the books handed out to each class, the latest publication of each, with the
      // phonetics table of its words.
      {"CREATE SEQUENCE book_versions",
       "CREATE TABLE books (class_id bigint NOT NULL REFERENCES classes,"
       " book smallint NOT NULL CHECK (book BETWEEN 1 AND 4), version bigint NOT NULL,"
       " content bytea NOT NULL, phonetics text NOT NULL DEFAULT '',"
       " published timestamptz NOT NULL DEFAULT now(),"
       " published_by text NOT NULL, PRIMARY KEY (class_id, book))"},
  };
  return steps;
}

// Any number, the same in every studyhub: serialises the steps of two inits at once.
constexpr const char* kSchemaLock = "SELECT pg_advisory_xact_lock(2600726)";

}  // namespace

std::size_t LatestSchemaVersion() {
  return Steps().size();
}

std::size_t SchemaVersion(Database& database) {
  const Rows exists = database.run("SELECT to_regclass('schema_version') IS NOT NULL");
  if (exists.text(0, 0) != "t") return 0;
  const Rows version = database.run("SELECT coalesce(max(version), 0) FROM schema_version");
  return static_cast<std::size_t>(version.integer(0, 0));
}

std::size_t UpgradeSchema(Database& database, std::size_t upTo) {
  database.transaction([&] {
    database.run(kSchemaLock);
    database.run(
        "CREATE TABLE IF NOT EXISTS schema_version (version integer PRIMARY KEY,"
        " done timestamptz NOT NULL DEFAULT now())");
  });
  for (std::size_t step = 1; step <= upTo; ++step) {
    database.transaction([&] {
      database.run(kSchemaLock);
      const std::size_t version = SchemaVersion(database);
      if (version > LatestSchemaVersion()) {
        throw std::runtime_error("the database's schema is version " + std::to_string(version) +
                                 ", newer than this studyhub knows (" +
                                 std::to_string(LatestSchemaVersion()) + ")");
      }
      if (version >= step) return;
      for (const char* statement : Steps()[step - 1]) database.run(statement);
      database.run("INSERT INTO schema_version (version) VALUES ($1)", {std::to_string(step)});
    });
  }
  return SchemaVersion(database);
}

}  // namespace hub
