#pragma once
// The editor's contract: its window, timer, drawing and mouse handling all run on one thread, the
// host's user-interface thread (docs/threads.md). The first such call binds the editor to its
// thread; a later call from another thread aborts with a message in debug builds (the sanitizer
// trees). Shipped modules do not check: a host that strays is not worth ending a session for.
// Host value changes do not count: they arrive on any thread through the mailbox.

#include <atomic>
#include <thread>

class EditorThreadCheck {
public:
  // True when the calling thread is the editor's (binding it on the first call).
  bool OnEditorThread() {
    const std::thread::id self = std::this_thread::get_id();
    std::thread::id expected{};
    if (mOwner.compare_exchange_strong(expected, self)) return true;
    return expected == self;
  }

private:
  std::atomic<std::thread::id> mOwner{};
};

// Reports the broken contract (what was called, where) and aborts.
[[noreturn]] void FailEditorThreadContract(const char* what, const char* file, int line);

#if defined(NDEBUG) || !defined(BREL_DEBUG_CONTRACTS)
#define BREL_EXPECT_EDITOR_THREAD(check, what) ((void)0)
#else
#define BREL_EXPECT_EDITOR_THREAD(check, what) \
  ((check).OnEditorThread() ? (void)0 : FailEditorThreadContract(what, __FILE__, __LINE__))
#endif
