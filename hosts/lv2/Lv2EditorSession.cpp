#include "hosts/lv2/Lv2EditorSession.h"

#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>

#include <cstring>

namespace brel {
namespace {

using DescriptorFunction = const LV2UI_Descriptor* (*)(std::uint32_t);

// More UIs than any binary holds: the search ends even if the list has no end.
constexpr std::uint32_t kMaxDescriptors = 64;

}  // namespace

bool Lv2EditorSession::Load(const std::string& binaryPath, const char* uiUri) {
  Close();
  mDescriptor = nullptr;
  mModule.Close();
  if (!mModule.Open(binaryPath, mProblem)) return false;
  const auto entry = reinterpret_cast<DescriptorFunction>(mModule.Find("lv2ui_descriptor"));
  if (!entry) {
    mProblem = binaryPath + " exports no lv2ui_descriptor";
    return false;
  }
  for (std::uint32_t i = 0; i < kMaxDescriptors && !mDescriptor; ++i) {
    const LV2UI_Descriptor* descriptor = entry(i);
    if (!descriptor) break;
    if (descriptor->URI && uiUri && std::strcmp(descriptor->URI, uiUri) == 0) mDescriptor = descriptor;
  }
  if (!mDescriptor) mProblem = binaryPath + " has no UI " + (uiUri ? uiUri : "(none)");
  return mDescriptor != nullptr;
}

WindowId Lv2EditorSession::Open(EditorParent& parent, const char* pluginUri, const std::string& bundlePath,
                                const Lv2InstanceAccess* instance) {
  Close();
  mProblem.clear();
  if (!mDescriptor) {
    mProblem = "no UI loaded";
    return 0;
  }
  const std::vector<WindowId> before = parent.ChildWindows();
  if (!Instantiate(parent, pluginUri, bundlePath, instance)) return 0;
  mEditorWindow = AwaitNewWindow(parent, before, Stepper());
  if (!mEditorWindow) mProblem = "no editor window appeared in the host's window";
  return mEditorWindow;
}

bool Lv2EditorSession::Instantiate(EditorParent& parent, const char* pluginUri, const std::string& bundlePath,
                                   const Lv2InstanceAccess* instance) {
  mTouch = LV2UI_Touch{this, TouchFunction};
  mResize = LV2UI_Resize{this, ResizeFunction};
  mDataAccess = LV2_Extension_Data_Feature{instance ? instance->extensionData : nullptr};
  const LV2_Feature parentFeature{LV2_UI__parent, parent.ParentHandle()};
  const LV2_Feature touchFeature{LV2_UI__touch, &mTouch};
  const LV2_Feature resizeFeature{LV2_UI__resize, &mResize};
  const LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI, instance ? instance->instance : nullptr};
  const LV2_Feature dataFeature{LV2_DATA_ACCESS_URI, &mDataAccess};
  mMap = LV2_URID_Map{this, MapFunction};
  mOptions[0] = LV2_Options_Option{LV2_OPTIONS_INSTANCE,
                                   0,
                                   MapFunction(this, LV2_UI__scaleFactor),
                                   sizeof mScale,
                                   MapFunction(this, LV2_ATOM__Float),
                                   &mScale};
  mOptions[1] = LV2_Options_Option{};  // the end of the list
  const LV2_Feature mapFeature{LV2_URID__map, &mMap};
  const LV2_Feature optionsFeature{LV2_OPTIONS__options, mOptions};
  // The UI declares ui:idleInterface a feature it needs; it carries no data.
  const LV2_Feature idleFeature{LV2_UI__idleInterface, nullptr};
  std::vector<const LV2_Feature*> features{&parentFeature, &resizeFeature, &idleFeature};
  if (mOfferTouch) features.push_back(&touchFeature);
  if (mOfferScale) {
    features.push_back(&mapFeature);
    features.push_back(&optionsFeature);
  }
  if (instance) {
    features.push_back(&instanceFeature);
    features.push_back(&dataFeature);
  }
  features.push_back(nullptr);

  mParent = &parent;
  mUiClosed = false;
  mResizes.clear();
  LV2UI_Widget widget = nullptr;
  const std::string bundle = bundlePath.empty() || bundlePath.back() == '/' ? bundlePath : bundlePath + "/";
  mUi = mDescriptor->instantiate(mDescriptor, pluginUri, bundle.c_str(), WriteFunction, this, &widget,
                                 features.data());
  if (!mUi) {
    mParent = nullptr;
    mProblem = "instantiate refused";
    return false;
  }
  mWidget = reinterpret_cast<WindowId>(widget);
  return true;
}

void Lv2EditorSession::Close() {
  if (!mUi) return;
  mDescriptor->cleanup(mUi);
  mUi = nullptr;
  mWidget = 0;
  mEditorWindow = 0;
  if (mParent) mParent->Sync();
  mParent = nullptr;
}

void Lv2EditorSession::PortEvent(std::uint32_t port, std::uint32_t size, std::uint32_t format,
                                 const void* buffer) {
  if (mUi && mDescriptor->port_event) mDescriptor->port_event(mUi, port, size, format, buffer);
}

const LV2UI_Idle_Interface* Lv2EditorSession::IdleInterface() const {
  if (!mDescriptor || !mDescriptor->extension_data) return nullptr;
  return static_cast<const LV2UI_Idle_Interface*>(mDescriptor->extension_data(LV2_UI__idleInterface));
}

int Lv2EditorSession::Idle() {
  const LV2UI_Idle_Interface* idle = IdleInterface();
  if (!mUi || !idle || !idle->idle) return 1;
  const int answer = idle->idle(mUi);
  if (answer != 0) mUiClosed = true;
  return answer;
}

void Lv2EditorSession::Step() {
  mSettle();
  if (mUi && !mUiClosed) Idle();
}

// ---- The host's side of the UI's calls.

void Lv2EditorSession::WriteFunction(LV2UI_Controller controller, std::uint32_t port, std::uint32_t size,
                                     std::uint32_t protocol, const void* buffer) {
  auto* session = static_cast<Lv2EditorSession*>(controller);
  Lv2UiCall call;
  call.port = port;
  call.size = size;
  call.protocol = protocol;
  if (buffer && size == sizeof(float)) std::memcpy(&call.value, buffer, sizeof call.value);
  session->mCalls.push_back(call);
}

void Lv2EditorSession::TouchFunction(LV2UI_Feature_Handle handle, std::uint32_t port, bool grabbed) {
  Lv2UiCall call;
  call.kind = grabbed ? Lv2UiCall::Kind::TouchOn : Lv2UiCall::Kind::TouchOff;
  call.port = port;
  static_cast<Lv2EditorSession*>(handle)->mCalls.push_back(call);
}

// The host fits its window to the size the UI gives.
int Lv2EditorSession::ResizeFunction(LV2UI_Feature_Handle handle, int width, int height) {
  auto* session = static_cast<Lv2EditorSession*>(handle);
  session->mResizes.emplace_back(width, height);
  return session->mParent && session->mParent->Resize(width, height) ? 0 : 1;
}

LV2_URID Lv2EditorSession::MapFunction(LV2_URID_Map_Handle handle, const char* uri) {
  std::vector<std::string>& uris = static_cast<Lv2EditorSession*>(handle)->mUris;
  for (std::size_t i = 0; i < uris.size(); ++i)
    if (uris[i] == uri) return static_cast<LV2_URID>(i + 1);
  uris.emplace_back(uri);
  return static_cast<LV2_URID>(uris.size());
}

}  // namespace brel
