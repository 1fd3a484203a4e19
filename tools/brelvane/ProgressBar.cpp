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

std::string progressLine(std::uint64_t done, std::uint64_t total, double elapsedSeconds, int width) {
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
    : out_(out), terminal_(terminal), start_(startSeconds) {}

void ProgressBar::update(std::uint64_t done, std::uint64_t total, double nowSeconds) {
  double elapsed = nowSeconds - start_;
  if (!terminal_ || total == 0 || elapsed < kDelaySeconds) return;
  if (visible_ && nowSeconds - lastDraw_ < kRedrawSeconds) return;
  // Erase to the end of the line: the text can get shorter as the estimate drops.
  out_ << '\r' << progressLine(done, total, elapsed, kBarWidth) << "\033[K" << std::flush;
  lastDraw_ = nowSeconds;
  visible_ = true;
}

void ProgressBar::finish() {
  if (visible_) out_ << "\r\033[K" << std::flush;
  visible_ = false;
}

}  // namespace brel::cmd
