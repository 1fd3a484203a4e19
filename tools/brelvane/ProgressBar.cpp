#include "tools/brelvane/ProgressBar.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace brel::cmd {
namespace {

constexpr double kDelaySeconds = 1.0;
constexpr double kRedrawSeconds = 0.1;
constexpr int kBarWidth = 30;

}  // namespace

std::string ProgressLine(std::uint64_t done, std::uint64_t total, double elapsedSeconds, int width) {
  double fraction = total > 0 ? std::min(1.0, static_cast<double>(done) / static_cast<double>(total)) : 0.0;
  int filled = static_cast<int>(fraction * width);
  std::string line = "[" + std::string(static_cast<std::size_t>(filled), '#') +
                     std::string(static_cast<std::size_t>(width - filled), '.') + "]";
  char tail[64];
  std::snprintf(tail, sizeof tail, " %3d%%", static_cast<int>(fraction * 100.0));
  line += tail;
  if (fraction > 0.0 && fraction < 1.0) {
    double left = elapsedSeconds * (1.0 - fraction) / fraction;
    std::snprintf(tail, sizeof tail, "  %.0f s left", std::ceil(left));
    line += tail;
  }
  return line;
}

ProgressBar::ProgressBar(std::ostream& out, bool terminal, double startSeconds)
    : mOut(out), mTerminal(terminal), mStart(startSeconds) {}

void ProgressBar::Update(std::uint64_t done, std::uint64_t total, double nowSeconds) {
  double elapsed = nowSeconds - mStart;
  if (!mTerminal || total == 0 || elapsed < kDelaySeconds) return;
  if (mVisible && nowSeconds - mLastDraw < kRedrawSeconds) return;
  // Erase to the end of the line: the text can get shorter as the estimate drops.
  mOut << '\r' << ProgressLine(done, total, elapsed, kBarWidth) << "\033[K" << std::flush;
  mLastDraw = nowSeconds;
  mVisible = true;
}

void ProgressBar::Finish() {
  if (mVisible) mOut << "\r\033[K" << std::flush;
  mVisible = false;
}

}  // namespace brel::cmd
