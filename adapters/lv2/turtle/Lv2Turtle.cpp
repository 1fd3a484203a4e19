// The Turtle of the LV2 bundle. Numbers are written by hand rather than through the C library's
// locale-dependent formatting only in one respect: a float always carries a decimal point, so a
// control's range and default read as the float values the plug-in compares its ports with.

#include "adapters/lv2/turtle/Lv2Turtle.h"

#include <cctype>
#include <cstdio>
#include <sstream>

#include "BrelvaneRelease.h"
#include "core/IPlugBase.h"

namespace lv2turtle {
namespace {

constexpr char kPrefixes[] =
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix units: <http://lv2plug.in/ns/extensions/units#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n\n";
constexpr char kInstanceAccess[] = "http://lv2plug.in/ns/ext/instance-access";
constexpr char kDataAccess[] = "http://lv2plug.in/ns/ext/data-access";
constexpr char kLicense[] = "http://usefulinc.com/doap/licenses/gpl";

struct PluginVariant {
  const char* uri;
  const char* nameSuffix;
  int channels;
};
constexpr PluginVariant kVariants[] = {{release::kLv2StereoUri, "", 2}, {release::kLv2MonoUri, " Mono", 1}};

std::string Uri(const std::string& uri) { return "<" + uri + ">"; }

// Turtle's string escapes: only the quote and the backslash can occur in our names.
std::string Quoted(const char* text) {
  std::string out = "\"";
  for (const char* c = text; *c; ++c) {
    if (*c == '"' || *c == '\\') out += '\\';
    out += *c;
  }
  return out + "\"";
}

// The shortest text that reads back as the same float, always with a decimal point.
std::string FloatLiteral(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.9g", static_cast<double>(static_cast<float>(value)));
  std::string out = text;
  for (char& c : out)
    if (c == ',') c = '.';  // a locale's decimal comma
  if (out.find_first_of(".eE") == std::string::npos) out += ".0";
  return out;
}

std::string IntLiteral(double value) { return std::to_string(static_cast<long long>(value)); }

bool IsWholeNumbered(const IParamDef& param) { return param.GetType() != ParamType::Double; }

std::string Number(const IParamDef& param, double value) {
  return IsWholeNumbered(param) ? IntLiteral(value) : FloatLiteral(value);
}

const char* UnitOf(const char* label) {
  struct Unit {
    const char* label;
    const char* unit;
  };
  static constexpr Unit kUnits[] = {{"dB", "units:db"}, {"Hz", "units:hz"}, {"kHz", "units:khz"},
                                    {"ms", "units:ms"}, {"s", "units:s"},   {"%", "units:pc"}};
  for (const Unit& u : kUnits)
    if (std::string(label) == u.label) return u.unit;
  return nullptr;
}

void WriteParamPort(std::ostream& out, int index, const IParamDef& param) {
  out << "\t\ta lv2:InputPort , lv2:ControlPort ;\n";
  out << "\t\tlv2:index " << index << " ;\n";
  out << "\t\tlv2:symbol " << Quoted(SymbolOf(param.GetName()).c_str()) << " ;\n";
  out << "\t\tlv2:name " << Quoted(param.GetName()) << " ;\n";
  out << "\t\tlv2:default " << Number(param, param.GetDefault()) << " ;\n";
  out << "\t\tlv2:minimum " << Number(param, param.GetMin()) << " ;\n";
  out << "\t\tlv2:maximum " << Number(param, param.GetMax());
  if (const char* unit = UnitOf(param.GetLabel())) out << " ;\n\t\tunits:unit " << unit;
  if (param.GetType() == ParamType::Bool) {
    out << " ;\n\t\tlv2:portProperty lv2:toggled";
  } else if (IsWholeNumbered(param)) {
    out << " ;\n\t\tlv2:portProperty lv2:integer";
    // Named values that cover every step are the only values there are.
    if (param.GetDisplayTextCount() == static_cast<int>(param.GetMax() - param.GetMin()) + 1)
      out << " , lv2:enumeration";
  }
  for (int i = 0; param.GetType() != ParamType::Bool && i < param.GetDisplayTextCount(); ++i) {
    const DisplayText& text = *param.GetDisplayText(i);
    out << " ;\n\t\tlv2:scalePoint [ rdfs:label " << Quoted(text.text) << " ; rdf:value " << text.value
        << " ]";
  }
}

void WriteMeterPort(std::ostream& out, int index, const char* name) {
  out << "\t\ta lv2:OutputPort , lv2:ControlPort ;\n";
  out << "\t\tlv2:index " << index << " ;\n";
  out << "\t\tlv2:symbol " << Quoted(SymbolOf(name).c_str()) << " ;\n";
  out << "\t\tlv2:name " << Quoted(name) << " ;\n";
  out << "\t\tlv2:minimum 0.0 ;\n";
  out << "\t\tlv2:maximum " << FloatLiteral(MeterFeed::kCeiling);
}

void WriteAudioPort(std::ostream& out, int index, bool isInput, int channel, int channels) {
  static constexpr const char* kSides[] = {"L", "R"};
  std::string name = isInput ? "In" : "Out";
  if (channels > 1)
    name += std::string(" ") + (channel < 2 ? kSides[channel] : std::to_string(channel + 1).c_str());
  out << "\t\ta lv2:AudioPort , " << (isInput ? "lv2:InputPort" : "lv2:OutputPort") << " ;\n";
  out << "\t\tlv2:index " << index << " ;\n";
  out << "\t\tlv2:symbol " << Quoted(SymbolOf(name.c_str()).c_str()) << " ;\n";
  out << "\t\tlv2:name " << Quoted(name.c_str());
}

void WritePorts(std::ostream& out, IPlugBase& plug, int channels) {
  int index = 0;
  const auto next = [&out, &index]() { out << (index++ == 0 ? "\tlv2:port [\n" : " ] , [\n"); };
  for (int i = 0; i < plug.NParams(); ++i) {
    next();
    WriteParamPort(out, i, *plug.GetParam(i));
  }
  for (int i = 0; i < plug.NMeters(); ++i) {
    next();
    WriteMeterPort(out, index - 1, plug.GetMeterName(i));
  }
  for (int direction = 0; direction < 2; ++direction) {
    for (int c = 0; c < channels; ++c) {
      next();
      WriteAudioPort(out, index - 1, direction == 0, c, channels);
    }
  }
  out << "\n\t] .\n\n";
}

std::string ProjectUri() { return std::string(release::kLv2StereoUri) + "#project"; }
std::string MaintainerUri() { return std::string(release::kLv2StereoUri) + "#maintainer"; }

void WriteProject(std::ostream& out) {
  out << Uri(MaintainerUri()) << "\n\ta foaf:Person ;\n\tfoaf:name " << Quoted(release::kVendor)
      << " ;\n\tfoaf:homepage " << Uri(release::kUrl) << " ;\n\tfoaf:mbox " << Uri(release::kMailto)
      << " .\n\n";
  out << Uri(ProjectUri()) << "\n\ta doap:Project ;\n\tdoap:name " << Quoted(release::kProduct)
      << " ;\n\tdoap:homepage " << Uri(release::kUrl) << " ;\n\tdoap:license " << Uri(kLicense)
      << " ;\n\tdoap:maintainer " << Uri(MaintainerUri()) << " .\n\n";
}

void WritePlugin(std::ostream& out, IPlugBase& plug, const PluginVariant& variant) {
  const std::string name = std::string(release::kProduct) + variant.nameSuffix;
  out << Uri(variant.uri) << "\n\ta lv2:Plugin , lv2:CompressorPlugin ;\n";
  out << "\tdoap:name " << Quoted(name.c_str()) << " ;\n";
  out << "\trdfs:comment " << Quoted(release::kDescription) << " ;\n";
  out << "\tlv2:project " << Uri(ProjectUri()) << " ;\n";
  out << "\tdoap:license " << Uri(kLicense) << " ;\n";
  // LV2 knows no major version: the bundle of one major release replaces the other's.
  out << "\tlv2:minorVersion " << release::kVersionMinor << " ;\n";
  out << "\tlv2:microVersion " << release::kVersionPatch << " ;\n";
  out << "\tlv2:optionalFeature lv2:hardRTCapable ;\n";
  out << "\tui:ui " << Uri(release::kLv2UiUri) << " ;\n";
  WritePorts(out, plug, variant.channels);
}

void WriteUi(std::ostream& out, IPlugBase& plug, const std::string& uiBinary) {
  out << Uri(release::kLv2UiUri) << "\n\ta ui:X11UI ;\n\tlv2:binary " << Uri(uiBinary) << " ;\n";
  out << "\tlv2:requiredFeature ui:idleInterface , ui:parent ;\n";
  out << "\tlv2:optionalFeature ui:touch , ui:noUserResize , " << Uri(kInstanceAccess) << " , "
      << Uri(kDataAccess) << " , urid:map , opts:options ;\n";
  // The host's scale for the editor; without it the editor follows the desktop's.
  out << "\topts:supportedOption ui:scaleFactor ;\n";
  out << "\tlv2:extensionData ui:idleInterface";
  // Output ports reach an editor only when it asks for them; its needles need the meters.
  for (const PluginVariant& variant : kVariants) {
    for (int i = 0; i < plug.NMeters(); ++i) {
      out << " ;\n\tui:portNotification [ ui:plugin " << Uri(variant.uri) << " ; lv2:symbol "
          << Quoted(SymbolOf(plug.GetMeterName(i)).c_str()) << " ; ui:protocol ui:floatProtocol ]";
    }
  }
  out << " .\n";
}

}  // namespace

std::string SymbolOf(const char* name) {
  std::string symbol;
  bool gap = false;
  for (const char* c = name; *c; ++c) {
    const auto byte = static_cast<unsigned char>(*c);
    if (std::isalnum(byte)) {
      if (gap && !symbol.empty()) symbol += '_';
      symbol += static_cast<char>(std::tolower(byte));
      gap = false;
    } else {
      gap = true;
    }
  }
  // A symbol may not begin with a digit.
  if (symbol.empty() || std::isdigit(static_cast<unsigned char>(symbol[0]))) symbol.insert(0, "_");
  return symbol;
}

std::string Manifest(const std::string& pluginBinary, const std::string& uiBinary,
                     const std::string& descriptionFile) {
  std::ostringstream out;
  out << kPrefixes;
  for (const PluginVariant& variant : kVariants) {
    out << Uri(variant.uri) << "\n\ta lv2:Plugin ;\n\tlv2:binary " << Uri(pluginBinary)
        << " ;\n\trdfs:seeAlso " << Uri(descriptionFile) << " .\n\n";
  }
  out << Uri(release::kLv2UiUri) << "\n\ta ui:X11UI ;\n\tlv2:binary " << Uri(uiBinary)
      << " ;\n\trdfs:seeAlso " << Uri(descriptionFile) << " .\n";
  return out.str();
}

std::string Description(IPlugBase& plug, const std::string& uiBinary) {
  std::ostringstream out;
  out << kPrefixes;
  WriteProject(out);
  for (const PluginVariant& variant : kVariants) WritePlugin(out, plug, variant);
  WriteUi(out, plug, uiBinary);
  return out.str();
}

}  // namespace lv2turtle
