#include "report/jobs.h"

#include <system_error>

namespace vadz {

JobThread::JobThread() {
  try {
    thread_ = std::thread([this] { loop(); });
  } catch (const std::system_error&) {
    // No second thread: post() runs each job itself.
  }
}

JobThread::~JobThread() {
  cancel_ = true;
  {
    std::lock_guard<std::mutex> lock(m_);
    stop_ = true;
    queue_.clear();
  }
  wake_.notify_all();
  if (thread_.joinable()) thread_.join();
}

void JobThread::run(const std::function<void()>& job) {
  try {
    job();
  } catch (...) {
    std::lock_guard<std::mutex> lock(m_);
    if (!failure_) failure_ = std::current_exception();
  }
}

void JobThread::loop() {
  std::unique_lock<std::mutex> lock(m_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || !queue_.empty(); });
    if (stop_) return;
    std::function<void()> job = std::move(queue_.front());
    queue_.pop_front();
    const bool skip = failure_ != nullptr;
    busy_ = true;
    lock.unlock();
    if (!skip) run(job);
    lock.lock();
    busy_ = false;
    if (queue_.empty()) idle_.notify_all();
  }
}

void JobThread::post(std::function<void()> job) {
  if (!thread_.joinable()) {
    bool skip;
    {
      std::lock_guard<std::mutex> lock(m_);
      skip = failure_ != nullptr;
    }
    if (!skip) run(job);
    return;
  }
  {
    std::lock_guard<std::mutex> lock(m_);
    queue_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void JobThread::wait() {
  std::exception_ptr failure;
  {
    std::unique_lock<std::mutex> lock(m_);
    idle_.wait(lock, [this] { return queue_.empty() && !busy_; });
    std::swap(failure, failure_);
  }
  if (failure) std::rethrow_exception(failure);
}

void JobThread::take(Batch& batch) {
  for (size_t i; !cancel_ && (i = batch.next.fetch_add(1)) < batch.jobs.size();) {
    try {
      batch.jobs[i]();
    } catch (...) {
      batch.failures[i] = std::current_exception();
    }
  }
}

void JobThread::start_all(std::vector<std::function<void()>> jobs) {
  batch_ = std::make_unique<Batch>();
  batch_->failures.resize(jobs.size());
  batch_->jobs = std::move(jobs);
  post([this, b = batch_.get()] { take(*b); });
}

void JobThread::finish_all() {
  if (!batch_) return;
  take(*batch_);
  wait();
  const std::unique_ptr<Batch> done = std::move(batch_);
  for (const std::exception_ptr& f : done->failures)
    if (f) std::rethrow_exception(f);
}

}  // namespace vadz
