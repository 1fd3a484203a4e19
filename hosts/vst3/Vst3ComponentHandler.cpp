#include "hosts/vst3/Vst3ComponentHandler.h"

namespace brel {

using namespace Steinberg;

IMPLEMENT_FUNKNOWN_METHODS(Vst3ComponentHandler, Vst::IComponentHandler, Vst::IComponentHandler::iid)

Vst3ComponentHandler::Vst3ComponentHandler() { FUNKNOWN_CTOR }

void Vst3ComponentHandler::Record(Vst3Edit::Kind kind, Vst::ParamID id, double value) {
  std::lock_guard<std::mutex> hold(mMutex);
  mEdits.push_back(Vst3Edit{kind, id, value});
}

tresult PLUGIN_API Vst3ComponentHandler::beginEdit(Vst::ParamID id) {
  Record(Vst3Edit::Kind::Begin, id, 0.0);
  return kResultOk;
}

tresult PLUGIN_API Vst3ComponentHandler::performEdit(Vst::ParamID id, Vst::ParamValue valueNormalized) {
  Record(Vst3Edit::Kind::Perform, id, valueNormalized);
  return kResultOk;
}

tresult PLUGIN_API Vst3ComponentHandler::endEdit(Vst::ParamID id) {
  Record(Vst3Edit::Kind::End, id, 0.0);
  return kResultOk;
}

tresult PLUGIN_API Vst3ComponentHandler::restartComponent(int32 flags) {
  std::lock_guard<std::mutex> hold(mMutex);
  mRestarts.push_back(flags);
  return kResultOk;
}

std::vector<Vst3Edit> Vst3ComponentHandler::Edits() const {
  std::lock_guard<std::mutex> hold(mMutex);
  return mEdits;
}

std::vector<int32> Vst3ComponentHandler::Restarts() const {
  std::lock_guard<std::mutex> hold(mMutex);
  return mRestarts;
}

void Vst3ComponentHandler::Clear() {
  std::lock_guard<std::mutex> hold(mMutex);
  mEdits.clear();
  mRestarts.clear();
}

}  // namespace brel
