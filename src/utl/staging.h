// Outputs that appear whole or not at all. A file is written under a
// temporary name beside its final one and renamed into place only when the
// run ends normally; a stop removes the temporaries and the folders the run
// made, so MODFLOW 6 never finds a simulation cut short (a package's last
// period block would be repeated for every missing period) and an earlier
// complete run's files stay as they were.
#pragma once
#include <filesystem>
#include <mutex>
#include <string>
#include <unordered_set>
#include <vector>

#include "utl/textio.h"

namespace vadz {

class Staging {
 public:
  Staging() = default;
  // Without commit(), takes everything back (see rollback()).
  ~Staging();
  Staging(const Staging&) = delete;
  Staging& operator=(const Staging&) = delete;

  // Makes the folder and its missing parents; the ones it made go again on
  // a stop. False when the folder cannot be made.
  bool make_folders(const std::string& path);
  // Opens f to write the file `final`: a regular file, or one not there
  // yet, is written as final + TEMP_SUFFIX (a link to a file, beside the
  // file it points to); anything else (a device, a pipe) directly, as it
  // cannot be replaced. f's messages name `final`. False when it cannot be
  // created. Safe to call from the report's worker thread.
  bool open(OutFile& f, const std::string& final);
  // Renames every staged file over its final name. Fatal ("Cannot write to
  // file " and the final name) when one cannot be renamed; the ones not yet
  // renamed are then taken back.
  void commit();

  static constexpr const char* TEMP_SUFFIX = ".partial";

 private:
  // Removes the temporaries, then the folders made, deepest first. A
  // failure is reported on standard error and the rest goes on.
  void rollback() noexcept;

  struct Staged {
    std::filesystem::path temp, final;
    std::string shown;  // the final name as the run's messages give it
  };
  std::mutex m_;
  std::vector<Staged> files_;
  std::unordered_set<std::string> finals_;  // the final names of files_
  std::vector<std::filesystem::path> folders_;  // in the order made
};

}  // namespace vadz
