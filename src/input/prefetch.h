// Reading ahead: a second thread reads and parses the grid files of the run
// in the order the run will ask for them, while the main thread computes
// and writes. Results are handed over whole (a grid swap), so the numbers
// and the order of every floating-point operation are those of a plain run.
#pragma once
#include <condition_variable>
#include <exception>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "input/gridio.h"
#include "input/schedule.h"

namespace vadz {

class GridPrefetcher {
 public:
  // After a failed read, a run reads nothing more (it stops there); the
  // input check reads on, to report every damaged file at once.
  enum class OnFault { Stop, ReadOn };
  // Starts reading the plan ahead, at most `depth` grids in advance.
  GridPrefetcher(ReadPlan plan, int ibin, int depth = default_depth(),
                 OnFault on_fault = OnFault::Stop);
  // A period reads a grid per group and kind (a dozen with three groups).
  // While the MODFLOW 6 writer and the report's worker take the second core
  // in bursts, about three periods read ahead keep the run from waiting on
  // its reads: 32 grids, 14 MB on the default grid. The room is held to
  // 16 MiB, and never below 8 grids, so that a large grid keeps the memory
  // the run's estimate counts on.
  static int default_depth();
  ~GridPrefetcher();
  GridPrefetcher(const GridPrefetcher&) = delete;
  GridPrefetcher& operator=(const GridPrefetcher&) = delete;

  // Serves the next planned read into grid when it is this read: true when
  // served (a read failure is raised here, where a plain run would meet it;
  // with ReadOn the next request is served as usual). A request off the plan
  // stops the read-ahead for good and returns false, so the caller reads the
  // file itself.
  bool take(RealGrid& grid, std::string_view dir, std::string_view name, std::string_view tag,
            int mustexist);
  // Requests served from the plan (for tests).
  size_t served() const { return served_; }
  bool stopped() const { return stopped_; }

 private:
  struct Slot {
    RealGrid grid = real_grid();
    bool ready = false;
    std::exception_ptr fault;
  };
  void work();
  void stop();

  ReadPlan plan_;
  OnFault on_fault_;
  GridReader reader_;
  std::vector<Slot> slots_;
  size_t refill_;  // the reader, once full, reads on when this few are left
  std::mutex mu_;
  std::condition_variable cv_;
  size_t produced_ = 0;  // next plan index the worker reads
  size_t consumed_ = 0;  // next plan index the main thread takes
  bool quit_ = false;
  bool stopped_ = false;
  size_t served_ = 0;
  std::thread thread_;
};

}  // namespace vadz
