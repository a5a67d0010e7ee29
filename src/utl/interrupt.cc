#include "utl/interrupt.h"

#include <atomic>
#include <csignal>

#include "utl/console.h"

namespace vadz {

namespace {

// The first signal that arrived, 0 for none. Only lock-free atomic
// operations may be used in a signal handler.
std::atomic<int> caught{0};
static_assert(std::atomic<int>::is_always_lock_free);

extern "C" void on_signal(int sig) {
  int none = 0;
  caught.compare_exchange_strong(none, sig);
  // Where delivery resets the handler (Windows), a second signal would end
  // the program on the spot, before the appends are undone: keep catching.
  std::signal(sig, on_signal);
}

}  // namespace

void catch_interrupts() {
  std::signal(SIGINT, on_signal);
  std::signal(SIGTERM, on_signal);
}

bool interrupted() { return caught.load(std::memory_order_relaxed) != 0; }

void check_interrupt() {
  const int sig = caught.load(std::memory_order_relaxed);
  if (sig == 0) return;
  throw Fatal(ConsoleLine().text(sig == SIGINT ? "Interrupted by SIGINT" : "Interrupted by SIGTERM").str(),
              128 + sig);
}

}  // namespace vadz
