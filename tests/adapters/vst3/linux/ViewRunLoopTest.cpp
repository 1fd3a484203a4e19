// The VST3 view on Linux: it opens the editor only in an X11 parent and only where the host's run
// loop (offered by the view's frame) can keep the window going; the loop then calls the editor
// when its connection is readable and at its frame period, until the view is removed.
#include <gtest/gtest.h>

#include <vector>

#include "adapters/vst3/IPlugVST3.h"
#include "core/FourCC.h"
#include "pluginterfaces/gui/iplugview.h"

using namespace Steinberg;

namespace {

class OneParamPlug : public IPlugVST3 {
public:
  OneParamPlug()
      : IPlugVST3(IPlugVST3InstanceInfo{}, 1, "2-2", 1, "One", "", "Maker", 0x10000,
                  FourCC('O', 'n', 'e', 'P'), FourCC('M', 'a', 'k', 'r')) {
    GetParam(0)->DefineDouble("Gain", 0.0, -30.0, 20.0, 0.01, "dB");
  }
};

// An X11 editor as far as the view can tell: a connection while open, calls wanted every 40 ms.
class X11LikeEditor : public IEditor {
public:
  int GetWidth() const override { return 100; }
  int GetHeight() const override { return 50; }
  void ApplyPlugValueToControls(int, double) override {}
  void CreateDrawingSurfaces() override {}
  void ApplyParameterFromPlug(int, double, bool) override {}
  bool HasWindowHost() const override { return true; }
  const char* WindowType() const override { return kPlatformTypeX11EmbedWindowID; }
  bool OpenEditorWindow(void* parent) override {
    opened.push_back(parent);
    open = openSucceeds;
    return open;
  }
  void CloseEditorWindow() override {
    ++closes;
    open = false;
  }
  int EventFd() const override { return open ? 42 : -1; }
  int IdlePeriodMs() const override { return 40; }
  void Idle() override { ++idles; }

  std::vector<void*> opened;
  bool openSucceeds = true;
  bool open = false;
  int closes = 0;
  int idles = 0;
};

class ScriptedRunLoop : public Linux::IRunLoop {
public:
  tresult PLUGIN_API registerEventHandler(Linux::IEventHandler* handler, Linux::FileDescriptor fd) override {
    if (refuse) return kResultFalse;
    handler->addRef();
    handlers.push_back({handler, fd});
    return kResultOk;
  }
  tresult PLUGIN_API unregisterEventHandler(Linux::IEventHandler* handler) override {
    for (auto it = handlers.begin(); it != handlers.end(); ++it)
      if (it->handler == handler) {
        handlers.erase(it);
        handler->release();
        return kResultOk;
      }
    return kInvalidArgument;
  }
  tresult PLUGIN_API registerTimer(Linux::ITimerHandler* handler, Linux::TimerInterval ms) override {
    handler->addRef();
    timers.push_back({handler, ms});
    return kResultOk;
  }
  tresult PLUGIN_API unregisterTimer(Linux::ITimerHandler* handler) override {
    for (auto it = timers.begin(); it != timers.end(); ++it)
      if (it->handler == handler) {
        timers.erase(it);
        handler->release();
        return kResultOk;
      }
    return kInvalidArgument;
  }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return ++refs; }
  uint32 PLUGIN_API release() override { return --refs; }

  struct Handler {
    Linux::IEventHandler* handler;
    int fd;
  };
  struct Timer {
    Linux::ITimerHandler* handler;
    Linux::TimerInterval ms;
  };
  std::vector<Handler> handlers;
  std::vector<Timer> timers;
  bool refuse = false;
  uint32 refs = 1;
};

// A frame that offers the run loop, or (withLoop false) a frame of a host that has none.
class ScriptedFrame : public IPlugFrame {
public:
  explicit ScriptedFrame(ScriptedRunLoop* loop) : mLoop(loop) {}
  tresult PLUGIN_API resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    *obj = nullptr;
    if (mLoop && FUnknownPrivate::iidEqual(iid, Linux::IRunLoop::iid)) {
      mLoop->addRef();
      *obj = static_cast<Linux::IRunLoop*>(mLoop);
      return kResultOk;
    }
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

private:
  ScriptedRunLoop* mLoop;
};

void* const kParent = reinterpret_cast<void*>(0x2a0001);

class ViewRunLoop : public ::testing::Test {
protected:
  ViewRunLoop() {
    plug->initialize(nullptr);
    plug->AttachEditor(editor);
    view = plug->createView(Vst::ViewType::kEditor);
  }
  ~ViewRunLoop() override {
    if (view) view->release();
    plug->terminate();
    plug->release();
  }
  OneParamPlug* plug = new OneParamPlug;
  X11LikeEditor* editor = new X11LikeEditor;  // the plug-in owns it
  IPlugView* view = nullptr;
  ScriptedRunLoop loop;
  ScriptedFrame frame{&loop};
};

TEST_F(ViewRunLoop, OnlyTheEditorsParentKindIsSupported) {
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(view->isPlatformTypeSupported(kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view->isPlatformTypeSupported(nullptr), kResultFalse);
  view->setFrame(&frame);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeHWND), kResultFalse);
  EXPECT_EQ(view->attached(kParent, nullptr), kResultFalse);
  EXPECT_TRUE(editor->opened.empty());
  EXPECT_TRUE(loop.handlers.empty());
}

TEST_F(ViewRunLoop, AttachedRegistersTheConnectionAndTheFrameTimerUntilRemoved) {
  EXPECT_EQ(view->removed(), kResultOk) << "removed before attached is harmless";
  view->setFrame(&frame);
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(editor->opened, std::vector<void*>{kParent});
  ASSERT_EQ(loop.handlers.size(), 1u);
  EXPECT_EQ(loop.handlers[0].fd, 42);
  ASSERT_EQ(loop.timers.size(), 1u);
  EXPECT_EQ(loop.timers[0].ms, 40u);
  loop.handlers[0].handler->onFDIsSet(42);
  loop.timers[0].handler->onTimer();
  EXPECT_EQ(editor->idles, 2);

  // A second attach of the view moves the window and registers once, afresh.
  ASSERT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultOk);
  EXPECT_EQ(loop.handlers.size(), 1u);
  EXPECT_EQ(loop.timers.size(), 1u);

  // The host may still hold a handler after removed: calling it reaches nothing.
  Linux::ITimerHandler* kept = loop.timers[0].handler;
  kept->addRef();
  const int closesBefore = editor->closes;
  EXPECT_EQ(view->removed(), kResultOk);
  EXPECT_TRUE(loop.handlers.empty());
  EXPECT_TRUE(loop.timers.empty());
  EXPECT_EQ(editor->closes, closesBefore + 1);
  kept->onTimer();
  EXPECT_EQ(editor->idles, 2);
  kept->release();
  EXPECT_EQ(loop.refs, 1u) << "the view holds no reference to the run loop";
}

TEST_F(ViewRunLoop, WithoutAFrameOrARunLoopNoWindowOpens) {
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse) << "no frame yet";
  ScriptedFrame withoutLoop(nullptr);
  view->setFrame(&withoutLoop);
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_TRUE(editor->opened.empty());
  view->setFrame(nullptr);
}

TEST_F(ViewRunLoop, AWindowThatCannotOpenOrBeDrivenIsReportedAndClosed) {
  view->setFrame(&frame);
  editor->openSucceeds = false;  // no X server, say
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_TRUE(loop.handlers.empty());

  editor->openSucceeds = true;
  loop.refuse = true;
  const int closesBefore = editor->closes;
  EXPECT_EQ(view->attached(kParent, kPlatformTypeX11EmbedWindowID), kResultFalse);
  EXPECT_EQ(editor->closes, closesBefore + 1) << "a window nobody drives is closed again";
  EXPECT_FALSE(editor->open);
  EXPECT_TRUE(loop.timers.empty());
  EXPECT_EQ(loop.refs, 1u);
}

}  // namespace
