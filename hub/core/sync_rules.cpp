// SPDX-License-Identifier: MIT
#include "sync_rules.h"

#include <algorithm>
#include <map>
#include <tuple>

namespace hub {
namespace {

bool HasNul(const std::string& text) {
  return text.find('\0') != std::string::npos;
}

bool Storable(const studysync::SyncRequest& request) {
  for (const auto& a : request.items.answers) {
    if (HasNul(a.lesson) || HasNul(a.line1) || HasNul(a.line2) || HasNul(a.part) ||
        HasNul(a.activity)) {
      return false;
    }
  }
  for (const auto& r : request.items.results) {
    if (HasNul(r.activity) || HasNul(r.lesson)) return false;
  }
  return std::none_of(request.items.settings.begin(), request.items.settings.end(),
                      [](const auto& s) { return HasNul(s.name) || HasNul(s.value); });
}

bool OwnItems(const studysync::SyncRequest& request) {
  const auto& items = request.items;
  const auto mine = [&](const studysync::ItemId& id) { return id.device == request.device; };
  return std::all_of(items.answers.begin(), items.answers.end(),
                     [&](const auto& a) { return mine(a.id); }) &&
         std::all_of(items.withdrawals.begin(), items.withdrawals.end(),
                     [&](const auto& w) { return mine(w.answer); }) &&
         std::all_of(items.results.begin(), items.results.end(),
                     [&](const auto& r) { return mine(r.id); });
}

}  // namespace

RequestCheck CheckSyncRequest(const studysync::SyncRequest& request, std::int64_t learner,
                              const std::string& device) {
  if (!Storable(request)) return {RequestVerdict::Malformed, "a text holds a NUL character"};
  if (request.learner != learner) {
    return {RequestVerdict::Forbidden, "the request names another learner"};
  }
  if (request.device != device) {
    return {RequestVerdict::Forbidden, "the request names another device"};
  }
  if (!OwnItems(request)) return {RequestVerdict::Forbidden, "an item is another device's"};
  return {};
}

RequestCheck CheckJoinRequest(const studysync::JoinRequest& request) {
  if (HasNul(request.deviceName))
    return {RequestVerdict::Malformed, "a text holds a NUL character"};
  return {};
}

std::vector<studysync::SyncSetting> LatestSettings(std::vector<studysync::SyncSetting> settings) {
  std::map<std::string, studysync::SyncSetting> latest;
  for (auto& setting : settings) {
    const auto [at, added] = latest.try_emplace(setting.name, setting);
    if (!added &&
        std::tie(at->second.changed, at->second.value) < std::tie(setting.changed, setting.value)) {
      at->second = std::move(setting);
    }
  }
  std::vector<studysync::SyncSetting> kept;
  for (auto& [name, setting] : latest) kept.push_back(std::move(setting));
  return kept;
}

std::optional<std::int64_t> PageEnd(const std::vector<std::vector<PageItem>>& items,
                                    std::size_t page, std::size_t mostBytes) {
  std::optional<std::int64_t> end;
  for (const auto& kind : items) {
    if (page > 0 && kind.size() > page) {
      end = std::min(end.value_or(kind[page - 1].number), kind[page - 1].number);
    }
  }
  std::vector<PageItem> inOrder;
  for (const auto& kind : items) {
    for (const PageItem& item : kind) {
      if (!end || item.number <= *end) inOrder.push_back(item);
    }
  }
  std::sort(inOrder.begin(), inOrder.end(),
            [](const PageItem& a, const PageItem& b) { return a.number < b.number; });
  std::size_t bytes = 0;
  for (std::size_t i = 0; i < inOrder.size(); ++i) {
    bytes += inOrder[i].bytes;
    // The first item always goes, so that a page is never empty while items wait.
    if (bytes > mostBytes && i > 0) return inOrder[i - 1].number;
  }
  return end;
}

}  // namespace hub
