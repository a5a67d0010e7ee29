// Output work beside the run: a worker thread writes files (the report's
// grids and maps of a year, the MODFLOW 6 arrays of a period) while the run
// goes on. A failure (a fatal stop thrown in a job) reaches the run at the
// next wait, so that it stops there with the job's message.
#pragma once
#include <condition_variable>
#include <deque>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>

namespace vadz {

class JobThread {
 public:
  // Starts the worker; without a thread to be had, jobs run at once.
  JobThread();
  // Ends the worker after its current job (a run that stops drops the rest).
  ~JobThread();
  JobThread(const JobThread&) = delete;
  JobThread& operator=(const JobThread&) = delete;

  // Runs job on the worker after the jobs posted before it. Once a job has
  // failed, later jobs are skipped.
  void post(std::function<void()> job);
  // Waits until every posted job has run; rethrows the first failure.
  void wait();

 private:
  void loop();
  void run(const std::function<void()>& job);

  std::mutex m_;
  std::condition_variable wake_, idle_;
  std::deque<std::function<void()>> queue_;
  bool busy_ = false;
  bool stop_ = false;
  std::exception_ptr failure_;
  std::thread thread_;  // not joinable when no thread could be started
};

}  // namespace vadz
