// SPDX-License-Identifier: MIT
#include "fsrs.h"

#include <algorithm>
#include <cmath>

namespace study {
namespace {

// Values are rounded to 8 decimals, half up, where the TypeScript reference
// implementation (ts-fsrs) rounds them, so that a replay agrees with it digit for digit.
double Round8(double value) {
  const double scaled = value * 1e8;
  double whole = std::floor(scaled);
  if (scaled - whole >= 0.5) whole += 1;
  return whole / 1e8;
}

double Clamp(double value, double low, double high) {
  return std::min(std::max(value, low), high);
}

}  // namespace

Fsrs::Fsrs(DayRule days) : days_(days) {
  decay_ = -w_[20];
  factor_ = Round8(std::exp(std::log(0.9) / decay_) - 1.0);
  intervalModifier_ = Round8((std::pow(kDesiredRetention, 1 / decay_) - 1) / factor_);
}

double Fsrs::retrievability(double elapsedDays, double stability) const {
  return Round8(std::pow(1 + factor_ * elapsedDays / stability, decay_));
}

double Fsrs::initialDifficulty(int grade) const {
  return Round8(w_[4] - std::exp((grade - 1) * w_[5]) + 1);
}

MemoryState Fsrs::firstMemory(int grade) const {
  return {std::max(w_[grade - 1], 0.1), Clamp(initialDifficulty(grade), 1, 10)};
}

double Fsrs::nextDifficulty(double difficulty, int grade) const {
  const double delta = -w_[6] * (grade - 3);
  const double damped = difficulty + Round8(delta * (10 - difficulty) / 9);
  // Mean reversion towards the initial difficulty of Easy, taken unclamped.
  const double reverted = Round8(w_[7] * initialDifficulty(4) + (1 - w_[7]) * damped);
  return Clamp(reverted, 1, 10);
}

double Fsrs::recallStability(const MemoryState& m, double recall, int grade) const {
  const double hardPenalty = grade == 2 ? w_[15] : 1;
  const double easyBonus = grade == 4 ? w_[16] : 1;
  const double growth = std::exp(w_[8]) * (11 - m.difficulty) * std::pow(m.stability, -w_[9]) *
                        (std::exp((1 - recall) * w_[10]) - 1) * hardPenalty * easyBonus;
  return Round8(Clamp(m.stability * (1 + growth), kMinStability, kMaxStability));
}

double Fsrs::forgetStability(const MemoryState& m, double recall) const {
  const double after = w_[11] * std::pow(m.difficulty, -w_[12]) *
                       (std::pow(m.stability + 1, w_[13]) - 1) * std::exp((1 - recall) * w_[14]);
  const double forgotten = Round8(Clamp(after, kMinStability, kMaxStability));
  // A lapse never leaves a card more stable than it was.
  return Clamp(Round8(m.stability), kMinStability, forgotten);
}

MemoryState Fsrs::nextMemory(const MemoryState& memory, double recall, int grade) const {
  const double stability =
      grade == 1 ? forgetStability(memory, recall) : recallStability(memory, recall, grade);
  return {stability, nextDifficulty(memory.difficulty, grade)};
}

int Fsrs::interval(double stability) const {
  const double days = std::max(1.0, std::floor(stability * intervalModifier_ + 0.5));
  return static_cast<int>(std::min<double>(days, kMaximumInterval));
}

std::array<Outcome, 4> Fsrs::preview(const CardState& card, Millis now) const {
  std::array<Outcome, 4> outcomes;
  const double recall =
      card.isNew() ? 1.0
                   : retrievability(days_.daysBetween(card.lastAnswer, now), card.memory.stability);
  for (int grade = 1; grade <= 4; ++grade) {
    Outcome& outcome = outcomes[static_cast<std::size_t>(grade - 1)];
    outcome.memory = card.isNew() ? firstMemory(grade) : nextMemory(card.memory, recall, grade);
    outcome.intervalDays = interval(outcome.memory.stability);
  }
  auto& [again, hard, good, easy] = outcomes;
  again.intervalDays = std::min(again.intervalDays, hard.intervalDays);
  hard.intervalDays = std::max(hard.intervalDays, again.intervalDays + 1);
  good.intervalDays = std::max(good.intervalDays, hard.intervalDays + 1);
  easy.intervalDays = std::max(easy.intervalDays, good.intervalDays + 1);
  return outcomes;
}

CardState Fsrs::answer(const CardState& card, Grade grade, Millis now) const {
  const int g = static_cast<int>(grade);
  const Outcome outcome = preview(card, now)[static_cast<std::size_t>(g - 1)];
  CardState next = card;
  if (grade == Grade::Again && !card.isNew()) ++next.lapses;
  ++next.reps;
  next.memory = outcome.memory;
  next.lastAnswer = now;
  next.intervalDays = outcome.intervalDays;
  // The same time of the learner's day, that many learner's days on.
  next.due = days_.unshift(days_.shift(now) + outcome.intervalDays * kMillisPerDay);
  next.lastGrade = g;
  return next;
}

}  // namespace study
