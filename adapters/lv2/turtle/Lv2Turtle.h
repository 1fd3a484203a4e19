#pragma once
// The LV2 bundle's description, written from a built instance of the plug-in (its parameters,
// meters and channels) and the release's identity, so that what hosts read cannot drift from
// the code: manifest.ttl names the plug-ins and the editor, Brelvane.ttl describes them.

#include <string>

class IPlugBase;

namespace lv2turtle {

// A port symbol from a display name: lower case, every run of other characters one "_".
std::string SymbolOf(const char* name);

std::string Manifest(const std::string& pluginBinary, const std::string& uiBinary,
                     const std::string& descriptionFile);
// `plug` is any instance of the plug-in; both plug-ins of the bundle are described from it.
std::string Description(IPlugBase& plug, const std::string& uiBinary);

}  // namespace lv2turtle
