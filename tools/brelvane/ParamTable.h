#pragma once
// The plug-in's parameters as a host sees them: names, labels, real ranges and display texts,
// reconstructed from normalized values and display strings (see ParamProbe).
#include <string>
#include <vector>

namespace brel::cmd {

struct DisplayText {
  long value;
  std::string text;
};

struct ParamInfo {
  int index = 0;
  std::string name;
  std::string label;
  bool real = true;         // takes any value in its range; otherwise whole numbers only
  bool rangeKnown = false;  // min/max could be derived from the plug-in's display strings
  double min = 0.0;
  double max = 1.0;
  double defaultValue = 0.0;
  std::string minText;  // min, max and default as the plug-in displays them
  std::string maxText;
  std::string defaultText;
  std::vector<DisplayText> texts;  // whole-number parameters: the values that show a text
};

class ParamTable {
public:
  ParamTable() = default;
  explicit ParamTable(std::vector<ParamInfo> params) : mParams(std::move(params)) {}

  const std::vector<ParamInfo>& Params() const { return mParams; }
  int Size() const { return static_cast<int>(mParams.size()); }

  // NAME as the plug-in reports it (exact, else the one name equal ignoring case), or a
  // 0-based index. Returns nullptr and sets `error` when nothing or more than one matches.
  const ParamInfo* Find(const std::string& nameOrIndex, std::string& error) const;

private:
  std::vector<ParamInfo> mParams;
};

// "-5.00 to 25.00 dB" for a real parameter, "0 to 4" for a whole-number one.
std::string DescribeRange(const ParamInfo& param);

// A normalized value that the plug-in maps onto the whole value k of a linear range. The
// plug-in truncates toward zero when it looks up a display text, so the mapped value must not
// fall short of k in magnitude.
float NormalizedForWhole(const ParamInfo& param, long k);

// Helpers shared by the table's users.
bool EqualsIgnoringCase(const std::string& a, const std::string& b);
std::string Trimmed(const std::string& s);
// The whole text as a finite decimal number (surrounding blanks allowed), or false.
bool ParseNumber(const std::string& text, double& out);

}  // namespace brel::cmd
