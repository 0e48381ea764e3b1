// SPDX-License-Identifier: MIT
// Replays an answer log through ts-fsrs, the TypeScript reference implementation of FSRS-6
// published by its authors, in the form `studytool replay` prints, to check ours against:
//   cp replay.mjs DIR && cd DIR && npm install ts-fsrs@5 && node replay.mjs < LOG > EXPECTED
//   TZ=Asia/Shanghai node replay.mjs --day-start 04:00 < LOG > EXPECTED
// Long-term scheduling only, no fuzz, desired retention 0.9, longest interval 36500 days.
// With --day-start, days are the learner's days in the zone TZ names: every time is shifted
// by the zone's offset at that moment less the day start before ts-fsrs sees it (so that
// its UTC dates are the learner's days), and the due time it gives is shifted back.
import { createInterface } from "node:readline";
import { createEmptyCard, fsrs, Rating } from "ts-fsrs";

const scheduler = fsrs({
  request_retention: 0.9,
  maximum_interval: 36500,
  enable_fuzz: false,
  enable_short_term: false,
});
const cards = new Map();
const iso = (date) => date.toISOString().replace(".000Z", "Z");

const dayStartAt = process.argv.indexOf("--day-start");
const dayStart = dayStartAt < 0 ? null : (() => {
  const [hours, minutes] = process.argv[dayStartAt + 1].split(":").map(Number);
  return (hours * 60 + minutes) * 60000;
})();
// The zone's offset from UTC at a moment, in milliseconds, by the rules TZ names.
const offset = (ms) => -new Date(ms).getTimezoneOffset() * 60000;
const shift = (ms) => dayStart === null ? ms : ms + offset(ms) - dayStart;
// As the study programs do it: the offset where the result lies, found in two steps.
const unshift = (ms) => {
  if (dayStart === null) return ms;
  const clock = ms + dayStart;
  return clock - offset(clock - offset(clock));
};

for await (const line of createInterface({ input: process.stdin })) {
  const [id, time, grade] = line.split("\t");
  const now = new Date(shift(Date.parse(time)));
  const card = cards.get(id) ?? createEmptyCard(now);
  const next = scheduler.next(card, now, Number(grade)).card;
  cards.set(id, next);
  console.log([id, time, grade, next.stability.toFixed(6), next.difficulty.toFixed(6),
               next.scheduled_days, iso(new Date(unshift(next.due.getTime())))].join("\t"));
}
