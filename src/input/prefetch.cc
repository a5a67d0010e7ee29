#include "input/prefetch.h"

#include <algorithm>

namespace vadz {

int GridPrefetcher::default_depth() {
  constexpr size_t ROOM = size_t{16} << 20;
  const size_t grid = static_cast<size_t>(NCELL) * sizeof(double);
  return static_cast<int>(std::clamp<size_t>(grid ? ROOM / grid : 32, 8, 32));
}

GridPrefetcher::GridPrefetcher(ReadPlan plan, int ibin, int depth, OnFault on_fault)
    : plan_(std::move(plan)),
      on_fault_(on_fault),
      reader_(ibin),
      slots_(depth > 0 ? depth : 1),
      refill_(slots_.size() - std::max<size_t>(1, slots_.size() / 4)) {
  if (!plan_.empty()) thread_ = std::thread(&GridPrefetcher::work, this);
}

GridPrefetcher::~GridPrefetcher() { stop(); }

void GridPrefetcher::stop() {
  {
    std::lock_guard<std::mutex> lock(mu_);
    quit_ = true;
    stopped_ = true;
  }
  cv_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void GridPrefetcher::work() {
  const size_t depth = slots_.size();
  for (;;) {
    size_t i;
    {
      std::unique_lock<std::mutex> lock(mu_);
      // Once ahead by the whole depth, this thread sleeps until a quarter of
      // it is taken and then reads a run of grids: woken at every grid
      // taken, it would take the core from the run's thread each time; left
      // to sleep longer, a slow parse (text grids) would fall behind.
      if (produced_ - consumed_ >= depth)
        cv_.wait(lock, [&] { return quit_ || produced_ - consumed_ <= refill_; });
      if (quit_ || produced_ == plan_.size()) return;
      i = produced_;
    }
    Slot& slot = slots_[i % depth];
    const PlannedRead& r = plan_[i];
    bool failed = false;
    try {
      reader_.readfile(slot.grid, r.dir, r.name, r.tag, r.mustexist);
    } catch (...) {
      // Kept for the moment the run reaches this read; a run reads nothing
      // after it, as a plain run would stop there.
      slot.fault = std::current_exception();
      failed = on_fault_ == OnFault::Stop;
    }
    {
      std::lock_guard<std::mutex> lock(mu_);
      slot.ready = true;
      ++produced_;
    }
    cv_.notify_all();
    if (failed) return;
  }
}

bool GridPrefetcher::take(RealGrid& grid, std::string_view dir, std::string_view name,
                          std::string_view tag, int mustexist) {
  if (stopped_) return false;
  if (consumed_ >= plan_.size()) {
    stop();
    return false;
  }
  const PlannedRead& r = plan_[consumed_];
  if (r.dir != dir || r.name != name || r.tag != tag || r.mustexist != mustexist) {
    stop();
    return false;
  }
  Slot& slot = slots_[consumed_ % slots_.size()];
  {
    std::unique_lock<std::mutex> lock(mu_);
    cv_.wait(lock, [&] { return slot.ready; });
  }
  std::exception_ptr fault = std::move(slot.fault);
  slot.fault = nullptr;
  if (fault && on_fault_ == OnFault::Stop) {
    stop();
    std::rethrow_exception(fault);
  }
  if (!fault) grid.swap(slot.grid);
  bool wake;
  {
    std::lock_guard<std::mutex> lock(mu_);
    slot.ready = false;
    ++consumed_;
    wake = produced_ - consumed_ == refill_;
  }
  if (wake) cv_.notify_all();
  if (fault) std::rethrow_exception(fault);
  ++served_;
  return true;
}

}  // namespace vadz
