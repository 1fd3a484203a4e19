#include "hosts/vst3/Vst3HostContext.h"

#include "public.sdk/source/vst/utility/stringconvert.h"

namespace brel {

Steinberg::tresult PLUGIN_API Vst3HostContext::getName(Steinberg::Vst::String128 name) {
  return Steinberg::Vst::StringConvert::convert(mProductName, name, 128) ? Steinberg::kResultOk
                                                                         : Steinberg::kInternalError;
}

}  // namespace brel
