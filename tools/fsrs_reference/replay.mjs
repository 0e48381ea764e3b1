// SPDX-License-Identifier: MIT
// Replays an answer log through ts-fsrs, the TypeScript reference implementation of FSRS-6
// published by its authors, in the form `studytool replay` prints, to check ours against:
//   cp replay.mjs DIR && cd DIR && npm install ts-fsrs@5 && node replay.mjs < LOG > EXPECTED
// Long-term scheduling only, no fuzz, desired retention 0.9, longest interval 36500 days.
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

for await (const line of createInterface({ input: process.stdin })) {
  const [id, time, grade] = line.split("\t");
  const now = new Date(time);
  const card = cards.get(id) ?? createEmptyCard(now);
  const next = scheduler.next(card, now, Number(grade)).card;
  cards.set(id, next);
  console.log([id, iso(now), grade, next.stability.toFixed(6), next.difficulty.toFixed(6),
               next.scheduled_days, iso(next.due)].join("\t"));
}
