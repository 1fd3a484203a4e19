#pragma once
// The --at changes of a render in frame order, and where the render must cut its blocks so
// that each change lands before exactly the frame it names.
#include <cstdint>
#include <vector>

#include "tools/brelvane/ValueResolver.h"

namespace brel::cmd {

struct ScheduledChange {
  std::uint64_t frame = 0;
  ParamSetting setting;
};

class ChangeSchedule {
public:
  // Changes at the same frame keep their command-line order.
  ChangeSchedule(int blockSize, std::vector<ScheduledChange> changes);

  // Frames to process from `position`: up to the end of the block holding `position` on the
  // grid of whole blocks from frame 0, cut short at the next change after `position`.
  int SliceLength(std::uint64_t position) const;

  // The changes due before frame `position`, in order; each is handed out once.
  std::vector<const ScheduledChange*> TakeDue(std::uint64_t position);

  // Changes not yet handed out (after the last frame, they lie beyond the end of the audio).
  bool HasPending() const { return mNext < mChanges.size(); }
  std::uint64_t FirstPendingFrame() const { return mChanges[mNext].frame; }

private:
  int mBlockSize;
  std::vector<ScheduledChange> mChanges;
  std::size_t mNext = 0;
};

}  // namespace brel::cmd
