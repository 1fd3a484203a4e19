#pragma once
// Whether a file can be handed to the system's loader as a module of this machine. The loader
// maps a module's parts where its headers say they lie, so a file cut short (an interrupted
// copy) would end the process with a bus error once a missing page is touched; checked first,
// it is refused with a reason instead. One implementation per platform (hosts/module/linux,
// hosts/module/win), shared by every host library.
#include <string>

namespace brel {

// True when `path` is a whole shared library built for this machine. Otherwise false, and
// `why` says what is wrong, to follow the file's name: "is cut short: its segments end at
// 1200 bytes but the file holds 1000".
bool CheckModuleFile(const std::string& path, std::string& why);

}  // namespace brel
