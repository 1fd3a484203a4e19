#include "hosts/vst2/HostRecord.h"

#include <algorithm>

namespace brel {

int HostRecord::CountOf(VstInt32 opcode) const {
  return static_cast<int>(
      std::count_if(calls.begin(), calls.end(), [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

}  // namespace brel
