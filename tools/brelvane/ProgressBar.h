#pragma once
// A one-line progress bar for long renders: it appears only on a terminal and only once the
// render has run for a second, redraws at most ten times a second, and erases itself at the end.
#include <cstdint>
#include <ostream>
#include <string>

namespace brel::cmd {

class ProgressBar {
public:
  ProgressBar(std::ostream& out, bool terminal, double startSeconds);

  void Update(std::uint64_t done, std::uint64_t total, double nowSeconds);
  void Finish();
  bool Visible() const { return mVisible; }

private:
  std::ostream& mOut;
  bool mTerminal;
  double mStart;
  double mLastDraw = -1.0;
  bool mVisible = false;
};

// "[#########...........]  45%  2 s left", `width` characters between the brackets.
std::string ProgressLine(std::uint64_t done, std::uint64_t total, double elapsedSeconds, int width);

}  // namespace brel::cmd
