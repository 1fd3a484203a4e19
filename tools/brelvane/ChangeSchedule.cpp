#include "tools/brelvane/ChangeSchedule.h"

#include <algorithm>

namespace brel::cmd {

ChangeSchedule::ChangeSchedule(int blockSize, std::vector<ScheduledChange> changes)
    : mBlockSize(blockSize > 0 ? blockSize : 1), mChanges(std::move(changes)) {
  std::stable_sort(mChanges.begin(), mChanges.end(),
                   [](const ScheduledChange& a, const ScheduledChange& b) { return a.frame < b.frame; });
}

int ChangeSchedule::SliceLength(std::uint64_t position) const {
  std::uint64_t block = static_cast<std::uint64_t>(mBlockSize);
  std::uint64_t end = (position / block + 1) * block;
  for (std::size_t i = mNext; i < mChanges.size(); ++i)
    if (mChanges[i].frame > position) {
      end = std::min(end, mChanges[i].frame);
      break;
    }
  return static_cast<int>(end - position);
}

std::vector<const ScheduledChange*> ChangeSchedule::TakeDue(std::uint64_t position) {
  std::vector<const ScheduledChange*> due;
  while (mNext < mChanges.size() && mChanges[mNext].frame <= position) due.push_back(&mChanges[mNext++]);
  return due;
}

}  // namespace brel::cmd
