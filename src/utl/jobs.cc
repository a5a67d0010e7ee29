#include "utl/jobs.h"

#include <system_error>

namespace vadz {

JobThread::JobThread(size_t queue) : limit_(queue < 1 ? 1 : queue) {
  try {
    thread_ = std::thread([this] { loop(); });
  } catch (const std::system_error&) {
    // No second thread: post() runs each job itself.
  }
}

JobThread::~JobThread() {
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
    room_.notify_one();
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
    std::unique_lock<std::mutex> lock(m_);
    room_.wait(lock, [this] { return queue_.size() < limit_; });
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

void JobThread::check() {
  std::exception_ptr failure;
  {
    // Kept: the jobs still queued are skipped while the run stops.
    std::lock_guard<std::mutex> lock(m_);
    failure = failure_;
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace vadz
