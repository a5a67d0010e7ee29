// The report's file work beside the run: one worker thread writes a year's
// grids while the run goes on with the next year, and encodes the maps
// while the run writes its last tables, with the calling thread joining in
// at the end. A failure (a fatal stop thrown in a job) reaches the run at
// the next wait, so that it stops there with the job's message.
#pragma once
#include <atomic>
#include <condition_variable>
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
  // Starts a batch of independent jobs on the worker, after the jobs posted
  // before; finish_all() joins in on the calling thread.
  void start_all(std::vector<std::function<void()>> jobs);
  // Runs what is left of the batch on the calling thread as well; returns
  // when every job has run and rethrows the failure of a posted job, else
  // of the first failed job of the batch in list order, so that the
  // message does not depend on timing.
  void finish_all();
  void run_all(std::vector<std::function<void()>> jobs) {
    start_all(std::move(jobs));
    finish_all();
  }

 private:
  struct Batch {
    std::vector<std::function<void()>> jobs;
    std::vector<std::exception_ptr> failures;
    std::atomic<size_t> next{0};
  };
  void loop();
  void run(const std::function<void()>& job);
  // Takes the batch's next job until none is left (or the run stops).
  void take(Batch& batch);

  std::mutex m_;
  std::condition_variable wake_, idle_;
  std::deque<std::function<void()>> queue_;
  bool busy_ = false;
  bool stop_ = false;
  std::exception_ptr failure_;
  std::unique_ptr<Batch> batch_;
  std::atomic<bool> cancel_{false};
  std::thread thread_;  // not joinable when no thread could be started
};

}  // namespace vadz
