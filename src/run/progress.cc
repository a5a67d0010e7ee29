#include "run/progress.h"

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <cstdio>
#include <cstring>

namespace vadz {

namespace {
constexpr auto INTERVAL = std::chrono::milliseconds(250);

bool stderr_is_terminal() {
#ifdef _WIN32
  return _isatty(2) != 0;
#else
  return isatty(2) == 1;
#endif
}
}  // namespace

Progress::Progress(int total)
    : active_(total > 0 && stderr_is_terminal()), total_(total), start_(Clock::now()), last_(start_) {}

Progress::~Progress() { finish(); }

void Progress::step(int year, int month) {
  ++done_;
  if (!active_ || done_ >= total_) return;
  const auto now = Clock::now();
  if (now - last_ < INTERVAL) return;
  last_ = now;
  const double elapsed = std::chrono::duration<double>(now - start_).count();
  const long left = static_cast<long>(elapsed / done_ * (total_ - done_) + 0.5);
  char buf[96];
  int n = month > 0 ? std::snprintf(buf, sizeof buf, "\ryear %d month %d, about %ld s left", year,
                                    month, left)
                    : std::snprintf(buf, sizeof buf, "\rsteady period, about %ld s left", left);
  if (n < 0) return;
  n = n < static_cast<int>(sizeof buf) ? n : static_cast<int>(sizeof buf) - 1;
  // Blank out what a longer previous line left behind.
  const int shown = n - 1;
  std::fwrite(buf, 1, n, stderr);
  for (int k = shown; k < width_; ++k) std::fputc(' ', stderr);
  if (width_ > shown) {
    std::fputc('\r', stderr);
    std::fwrite(buf + 1, 1, shown, stderr);
  }
  width_ = shown;
  std::fflush(stderr);
}

void Progress::finish() {
  if (!active_ || width_ == 0) return;
  std::fputc('\r', stderr);
  for (int k = 0; k < width_; ++k) std::fputc(' ', stderr);
  std::fputc('\r', stderr);
  std::fflush(stderr);
  width_ = 0;
}

}  // namespace vadz
