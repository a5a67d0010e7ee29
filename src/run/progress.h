// A one-line progress display on standard error, shown only when standard
// error is a terminal; standard output and files are never touched.
#pragma once
#include <chrono>

namespace vadz {

class Progress {
 public:
  // total: the number of stress periods of the run.
  explicit Progress(int total);
  ~Progress();
  Progress(const Progress&) = delete;
  Progress& operator=(const Progress&) = delete;

  // One more period done; shows "year Y month M, about N s left" at most a
  // few times per second. month 0 for the steady period.
  void step(int year, int month);
  // Removes the line.
  void finish();

 private:
  using Clock = std::chrono::steady_clock;
  bool active_;
  int total_;
  int done_ = 0;
  int width_ = 0;  // characters of the line on screen
  Clock::time_point start_;
  Clock::time_point last_;
};

}  // namespace vadz
