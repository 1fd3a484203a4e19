#pragma once
// The host's component handler: records, in call order, the edit gestures a plug-in reports
// (begin, perform, end) and its restart requests, so tests can check both the calls and their
// sequence. Safe to call and read from any thread.

#include <mutex>
#include <vector>

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace brel {

struct Vst3Edit {
  enum class Kind { Begin, Perform, End };
  Kind kind = Kind::Begin;
  Steinberg::Vst::ParamID id = 0;
  double value = 0.0;  // Perform only: the normalized value
};

class Vst3ComponentHandler : public Steinberg::Vst::IComponentHandler {
public:
  Vst3ComponentHandler();
  virtual ~Vst3ComponentHandler() = default;

  Steinberg::tresult PLUGIN_API beginEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API performEdit(Steinberg::Vst::ParamID id,
                                            Steinberg::Vst::ParamValue valueNormalized) override;
  Steinberg::tresult PLUGIN_API endEdit(Steinberg::Vst::ParamID id) override;
  Steinberg::tresult PLUGIN_API restartComponent(Steinberg::int32 flags) override;

  std::vector<Vst3Edit> Edits() const;
  std::vector<Steinberg::int32> Restarts() const;
  void Clear();

  DECLARE_FUNKNOWN_METHODS

private:
  void Record(Vst3Edit::Kind kind, Steinberg::Vst::ParamID id, double value);

  mutable std::mutex mMutex;
  std::vector<Vst3Edit> mEdits;
  std::vector<Steinberg::int32> mRestarts;
};

}  // namespace brel
