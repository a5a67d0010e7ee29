// Output work beside the run: a worker thread writes files (the report's
// grids and maps of a year, the MODFLOW 6 arrays of a period) while the run
// goes on. A failure (a fatal stop thrown in a job) reaches the run at the
// next wait or check, so that it stops there with the job's message.
//
// The run does not wait for the worker while a few jobs may still queue: the
// run's own thread is the critical path, and the worker writes in the time
// the run leaves over. The bound keeps a slow worker from holding the data
// of the whole run.
#pragma once
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace vadz {

class JobThread {
 public:
  // Starts the worker; without a thread to be had, jobs run at once.
  // queue: how many jobs may wait for the worker; post() waits for room.
  explicit JobThread(size_t queue = 1);
  // Ends the worker after its current job (a run that stops drops the rest).
  ~JobThread();
  JobThread(const JobThread&) = delete;
  JobThread& operator=(const JobThread&) = delete;

  // Runs job on the worker after the jobs posted before it. Once a job has
  // failed, later jobs are skipped.
  void post(std::function<void()> job);
  // Waits until every posted job has run; rethrows the first failure.
  void wait();
  // Rethrows the first failure of the jobs run so far, without waiting.
  void check();

 private:
  void loop();
  void run(const std::function<void()>& job);

  std::mutex m_;
  std::condition_variable wake_, idle_, room_;
  std::deque<std::function<void()>> queue_;
  const size_t limit_;
  bool busy_ = false;
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // not joinable when no thread could be started
};

// Data handed to a worker's job and back, reused from job to job: each job
// has data of its own (the run goes on with the next period's meanwhile)
// without room made afresh every time. Holds as many as were ever out at
// once; a JobThread's queue bounds that.
template <class T>
class Pool {
 public:
  // A free one, or a new (default-made) one.
  T& take() {
    std::lock_guard<std::mutex> lock(m_);
    if (free_.empty()) {
      all_.push_back(std::make_unique<T>());
      return *all_.back();
    }
    T* t = free_.back();
    free_.pop_back();
    return *t;
  }
  // Back for reuse, from any thread.
  void give_back(T& t) {
    std::lock_guard<std::mutex> lock(m_);
    free_.push_back(&t);
  }

 private:
  std::mutex m_;
  std::vector<std::unique_ptr<T>> all_;
  std::vector<T*> free_;
};

}  // namespace vadz
