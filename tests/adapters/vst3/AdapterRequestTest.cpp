// The VST3 adapter in-process, under a scripted host: the transport the plug-in reads back from
// the last block, the host's context menu for a parameter, editor resizes through the first
// view's frame, and the automatable flag as the host reads it from the parameter list.
#include <gtest/gtest.h>

#include <vector>

#include "adapters/vst3/IPlugVST3.h"
#include "core/FourCC.h"
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/vst/ivstcontextmenu.h"

using namespace Steinberg;

namespace {

class TwoParamPlug : public IPlugVST3 {
public:
  TwoParamPlug()
      : IPlugVST3(IPlugVST3InstanceInfo{}, 2, "2-2", 1, "Two", "", "Maker", 0x10000,
                  FourCC('T', 'w', 'o', 'P'), FourCC('M', 'a', 'k', 'r')) {
    GetParam(0)->DefineDouble("Gain", 0.0, -30.0, 20.0, 0.01, "dB");
    GetParam(1)->DefineBool("Freeze", false);
    GetParam(1)->SetCanAutomate(false);
  }
  void OnEditorResized() override { ++editorResizes; }

  int editorResizes = 0;
};

// An editor that could open a window: hosts are offered views only for such an editor.
class WindowedEditor : public IEditor {
public:
  int GetWidth() const override { return 100; }
  int GetHeight() const override { return 50; }
  void ApplyPlugValueToControls(int, double) override {}
  void CreateDrawingSurfaces() override {}
  void ApplyParameterFromPlug(int, double, bool) override {}
  bool HasWindowHost() const override { return true; }
};

// Counts its popups; the handler hands out the one menu and records for which view and id.
class ScriptedMenu : public Vst::IContextMenu {
public:
  int32 PLUGIN_API getItemCount() override { return 0; }
  tresult PLUGIN_API getItem(int32, Item&, Vst::IContextMenuTarget**) override { return kResultFalse; }
  tresult PLUGIN_API addItem(const Item&, Vst::IContextMenuTarget*) override { return kResultFalse; }
  tresult PLUGIN_API removeItem(const Item&, Vst::IContextMenuTarget*) override { return kResultFalse; }
  tresult PLUGIN_API popup(UCoord x, UCoord y) override {
    popups.push_back({x, y});
    return kResultOk;
  }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return ++refs; }
  uint32 PLUGIN_API release() override { return --refs; }

  std::vector<std::vector<UCoord>> popups;
  uint32 refs = 1;
};

class ScriptedHandler : public Vst::IComponentHandler, public Vst::IComponentHandler3 {
public:
  explicit ScriptedHandler(bool offersMenus) : mOffersMenus(offersMenus) {}
  tresult PLUGIN_API beginEdit(Vst::ParamID) override { return kResultOk; }
  tresult PLUGIN_API performEdit(Vst::ParamID, Vst::ParamValue) override { return kResultOk; }
  tresult PLUGIN_API endEdit(Vst::ParamID) override { return kResultOk; }
  tresult PLUGIN_API restartComponent(int32) override { return kResultOk; }
  Vst::IContextMenu* PLUGIN_API createContextMenu(IPlugView* view, const Vst::ParamID* id) override {
    asked.push_back(id ? static_cast<int>(*id) : -1);
    askedView = view;
    menu.addRef();
    return &menu;
  }
  tresult PLUGIN_API queryInterface(const TUID iid, void** obj) override {
    QUERY_INTERFACE(iid, obj, FUnknown::iid, Vst::IComponentHandler)
    QUERY_INTERFACE(iid, obj, Vst::IComponentHandler::iid, Vst::IComponentHandler)
    if (mOffersMenus) QUERY_INTERFACE(iid, obj, Vst::IComponentHandler3::iid, Vst::IComponentHandler3)
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

  ScriptedMenu menu;
  std::vector<int> asked;
  IPlugView* askedView = nullptr;

private:
  bool mOffersMenus;
};

// A host's frame: records the sizes asked of it and, as hosts do, answers with the view's onSize.
class ScriptedFrame : public IPlugFrame {
public:
  struct Request {
    IPlugView* view;
    int32 width, height;
    bool operator==(const Request& o) const {
      return view == o.view && width == o.width && height == o.height;
    }
  };
  tresult PLUGIN_API resizeView(IPlugView* view, ViewRect* size) override {
    asked.push_back({view, size->getWidth(), size->getHeight()});
    return view->onSize(size);
  }
  tresult PLUGIN_API queryInterface(const TUID, void** obj) override {
    *obj = nullptr;
    return kNoInterface;
  }
  uint32 PLUGIN_API addRef() override { return 1; }
  uint32 PLUGIN_API release() override { return 1; }

  std::vector<Request> asked;
};

class AdapterRequests : public ::testing::Test {
protected:
  AdapterRequests() { plug->initialize(nullptr); }
  ~AdapterRequests() override {
    plug->terminate();
    plug->release();
  }
  void Block(Vst::ProcessContext* context) {
    Vst::ProcessData data;
    data.numSamples = 0;  // a flush: only what comes with the block, no audio
    data.processContext = context;
    plug->process(data);
  }
  TwoParamPlug* plug = new TwoParamPlug;
};

TEST_F(AdapterRequests, TransportIsTheOneTheLastBlockBrought) {
  Vst::ProcessContext context{};
  context.state = Vst::ProcessContext::kPlaying;
  context.tempo = 132.0;
  context.projectTimeSamples = 48000;
  context.projectTimeMusic = 16.5;
  context.barPositionMusic = 16.0;
  context.cycleStartMusic = 8.0;
  context.cycleEndMusic = 24.0;
  context.timeSigNumerator = 6;
  context.timeSigDenominator = 8;
  Block(&context);
  context.tempo = 60.0;  // the plug-in keeps its own copy
  Block(nullptr);        // a block without a context leaves the last one standing

  EXPECT_EQ(plug->GetHostTempo(), 132.0);
  EXPECT_EQ(plug->GetHostSamplePosition(), 48000);
  int numerator = 0, denominator = 0;
  plug->GetHostTimeSignature(numerator, denominator);
  EXPECT_EQ(numerator, 6);
  EXPECT_EQ(denominator, 8);
  TransportInfo info;
  plug->GetHostTransport(info);
  EXPECT_EQ(info.samplePosition, 48000.0);
  EXPECT_EQ(info.ppqPosition, 16.5);
  EXPECT_EQ(info.lastBarPosition, 16.0);
  EXPECT_EQ(info.cycleStart, 8.0);
  EXPECT_EQ(info.cycleEnd, 24.0);
  EXPECT_TRUE(info.playing);
  EXPECT_FALSE(info.looping);
}

TEST_F(AdapterRequests, ParamMenuNeedsAViewAndAHandlerThatOffersMenus) {
  ScriptedHandler plain(false), offering(true);
  plug->setComponentHandler(&offering);
  plug->OpenHostParamMenu(1, 10, 20);
  EXPECT_TRUE(offering.asked.empty()) << "no view yet: nowhere to show a menu";

  plug->AttachEditor(new WindowedEditor);
  IPlugView* view = plug->createView(Vst::ViewType::kEditor);
  ASSERT_NE(view, nullptr);
  plug->OpenHostParamMenu(1, 10, 20);
  EXPECT_EQ(offering.asked, std::vector<int>{1});
  EXPECT_EQ(offering.askedView, view);
  EXPECT_EQ(offering.menu.popups, (std::vector<std::vector<UCoord>>{{10, 20}}));
  EXPECT_EQ(offering.menu.refs, 1u) << "the menu is released after its popup";

  plug->setComponentHandler(&plain);
  plug->OpenHostParamMenu(0, 5, 5);
  EXPECT_EQ(offering.asked.size(), 1u);
  plug->setComponentHandler(nullptr);
  view->release();
}

TEST_F(AdapterRequests, EditorResizesGoToTheFrameOfTheFirstViewStillAlive) {
  plug->ResizeEditor(200, 80);  // no editor, no view: nowhere to go
  plug->AttachEditor(new WindowedEditor);
  IPlugView* first = plug->createView(Vst::ViewType::kEditor);
  IPlugView* second = plug->createView(Vst::ViewType::kEditor);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  ScriptedFrame a, b;
  second->setFrame(&b);
  plug->ResizeEditor(200, 80);
  EXPECT_TRUE(b.asked.empty()) << "the first view has no frame yet";

  first->setFrame(&a);
  plug->ResizeEditor(200, 80);
  EXPECT_EQ(a.asked, (std::vector<ScriptedFrame::Request>{{first, 200, 80}}));
  EXPECT_TRUE(b.asked.empty());
  EXPECT_EQ(plug->editorResizes, 1) << "the host's answer to the request";
  ViewRect hostsOwn(0, 0, 300, 90);
  EXPECT_EQ(first->onSize(&hostsOwn), kResultOk);
  EXPECT_EQ(first->onSize(nullptr), kResultOk);
  EXPECT_EQ(plug->editorResizes, 1) << "a size the plug-in did not ask for";

  first->release();
  plug->ResizeEditor(120, 60);
  EXPECT_EQ(b.asked, (std::vector<ScriptedFrame::Request>{{second, 120, 60}}));
  EXPECT_EQ(plug->editorResizes, 2);
  second->setFrame(nullptr);
  second->release();
}

TEST_F(AdapterRequests, AutomatableFlagIsTheParametersOwn) {
  Vst::ParameterInfo info;
  ASSERT_EQ(plug->getParameterInfo(2, info), kResultOk);  // after the preset and bypass entries
  EXPECT_EQ(info.id, 0u);
  EXPECT_EQ(info.flags, Vst::ParameterInfo::kCanAutomate);
  ASSERT_EQ(plug->getParameterInfo(3, info), kResultOk);
  EXPECT_EQ(info.id, 1u);
  EXPECT_EQ(info.flags, 0);
}

}  // namespace
