// On Windows a plug-in has no descriptors for the host to watch: its window's own messages drive
// its editor.
#include "hosts/clap/ClapHostServices.h"

namespace brel {

std::vector<ClapHost::FdWatch> ReadyDescriptors(const std::vector<ClapHost::FdWatch>&, int) { return {}; }

}  // namespace brel
