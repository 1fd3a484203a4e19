#include "tools/brelvane/ChangeSchedule.h"

#include <algorithm>

namespace brel::cmd {

ChangeSchedule::ChangeSchedule(int blockSize, std::vector<ScheduledChange> changes)
    : blockSize_(blockSize > 0 ? blockSize : 1), changes_(std::move(changes)) {
  std::stable_sort(changes_.begin(), changes_.end(),
                   [](const ScheduledChange& a, const ScheduledChange& b) { return a.frame < b.frame; });
}

int ChangeSchedule::sliceLength(std::uint64_t position) const {
  std::uint64_t block = static_cast<std::uint64_t>(blockSize_);
  std::uint64_t end = (position / block + 1) * block;
  for (std::size_t i = next_; i < changes_.size(); ++i)
    if (changes_[i].frame > position) {
      end = std::min(end, changes_[i].frame);
      break;
    }
  return static_cast<int>(end - position);
}

std::vector<const ScheduledChange*> ChangeSchedule::takeDue(std::uint64_t position) {
  std::vector<const ScheduledChange*> due;
  while (next_ < changes_.size() && changes_[next_].frame <= position) due.push_back(&changes_[next_++]);
  return due;
}

}  // namespace brel::cmd
