#include "engine/ForegroundMonitor.h"

#include <filesystem>
#include <system_error>

#include "common/Messages.h"
#include "common/Text.h"
#include "platform/ports/ForegroundProcess.h"
#include "platform/ports/MessageTarget.h"
#include "profiles/ProfileFile.h"
#include "profiles/ProfileStore.h"

namespace vexlo {
namespace {

std::optional<std::filesystem::file_time_type> LastWriteTime(const std::string& path) {
  std::error_code error;
  const auto time = std::filesystem::last_write_time(path, error);
  if (error) return std::nullopt;
  return time;
}

}  // namespace

ForegroundMonitor::ForegroundMonitor(ForegroundProcess& foreground,
                                     std::chrono::milliseconds pollInterval)
    : foreground_(foreground), poll_interval_(pollInterval) {
  // A desktop that tells of changes ends the wait at once; the interval stays for those that
  // cannot, and for a program that changes behind the same window.
  foreground_.WatchChanges([this] {
    {
      std::scoped_lock lock(mutex_);
      changed_ = true;
    }
    wake_.notify_all();
  });
}

ForegroundMonitor::~ForegroundMonitor() {
  foreground_.WatchChanges({});
  Stop();
}

void ForegroundMonitor::SetTarget(MessageTarget* target) {
  std::scoped_lock lock(mutex_);
  target_ = target;
}

void ForegroundMonitor::RebuildLinkTable(const ProfileStore& profiles) {
  profiles.VisitList([this](const std::vector<std::string>& list) {
    std::vector<LinkEntry> table;
    for (const std::string& profile : list) {
      LinkSettings link;
      // An unreadable profile links to nothing.
      if (ReadProfile(profile, nullptr, nullptr, &link) != Result::Ok || link.bLinkProgram == 0) {
        continue;
      }
      std::string program = TruncateToBuffer(link.szLinkPath);
      std::error_code error;
      if (program.empty() || !std::filesystem::exists(program, error)) continue;
      table.push_back({TruncateToBuffer(profile), std::move(program)});
    }
    // Lock order: the store's list lock, held while this runs, first; the table lock second.
    std::scoped_lock lock(mutex_);
    table_.swap(table);
  });
}

std::vector<LinkEntry> ForegroundMonitor::LinkTable() const {
  std::scoped_lock lock(mutex_);
  return table_;
}

void ForegroundMonitor::StartMonitor() {
  {
    std::scoped_lock lock(mutex_);
    if (monitoring_) return;
    monitoring_ = true;
    last_program_.clear();
    if (!worker_.joinable()) {
      worker_ = std::jthread([this](std::stop_token stop) { Run(stop); });
    }
  }
  wake_.notify_all();
}

void ForegroundMonitor::StopMonitor() {
  {
    std::scoped_lock lock(mutex_);
    monitoring_ = false;
  }
  wake_.notify_all();
}

bool ForegroundMonitor::IsMonitoring() const {
  std::scoped_lock lock(mutex_);
  return monitoring_;
}

void ForegroundMonitor::Stop() {
  StopMonitor();
  worker_.request_stop();
  if (worker_.joinable()) worker_.join();
}

void ForegroundMonitor::Run(std::stop_token stop) {
  std::unique_lock lock(mutex_);
  while (!stop.stop_requested()) {
    if (!wake_.wait(lock, stop, [this] { return monitoring_; })) return;
    // One interval, cut short by a change of the foreground, StopMonitor or the destructor.
    wake_.wait_for(lock, stop, poll_interval_, [this] { return !monitoring_ || changed_; });
    changed_ = false;
    if (stop.stop_requested()) return;
    if (!monitoring_) continue;
    lock.unlock();
    Poll();
    lock.lock();
  }
}

void ForegroundMonitor::Poll() {
  {
    std::scoped_lock lock(mutex_);
    if (table_.empty() || target_ == nullptr) return;
  }
  const std::optional<std::string> queried = foreground_.ForegroundImagePath();
  if (!queried) return;
  const std::string program = TruncateToBuffer(*queried);
  std::vector<LinkEntry> matches;
  {
    std::scoped_lock lock(mutex_);
    if (foreground_.SameProgram(last_program_, program)) return;
    last_program_ = program;
    for (const LinkEntry& entry : table_) {
      if (foreground_.SameProgram(entry.programPath, program)) matches.push_back(entry);
    }
  }
  std::optional<LinkEntry> chosen = ChooseLink(matches);
  if (!chosen) return;
  // Posting never blocks; holding the lock across it is what lets SetTarget promise that a
  // replaced target is no longer used. A window that has gone drops the message.
  std::scoped_lock lock(mutex_);
  if (target_) {
    (void)target_->PostText(UM_LINKED_PROFILE, {std::move(chosen->profilePath),
                                                std::move(chosen->programPath), program});
  }
}

std::optional<LinkEntry> ForegroundMonitor::ChooseLink(const std::vector<LinkEntry>& matches) {
  if (matches.empty()) return std::nullopt;
  std::size_t best = 0;
  auto best_time = LastWriteTime(matches[0].profilePath);
  for (std::size_t i = 1; i < matches.size(); ++i) {
    // A file whose time cannot be read never counts as more recent.
    const auto time = LastWriteTime(matches[i].profilePath);
    if (time && (!best_time || *time > *best_time)) {
      best = i;
      best_time = time;
    }
  }
  return matches[best];
}

}  // namespace vexlo
