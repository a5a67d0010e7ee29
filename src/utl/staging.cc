#include "utl/staging.h"

#include <system_error>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "utl/console.h"
#include "utl/diag.h"

namespace vadz {

namespace fs = std::filesystem;

namespace {

// Puts temp in the place of final, replacing a file of that name. Windows'
// own rename refuses an existing target; the replacing move does not.
bool replace_file(const fs::path& temp, const fs::path& final) {
#ifdef _WIN32
  return MoveFileExW(temp.c_str(), final.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
#else
  std::error_code ec;
  fs::rename(temp, final, ec);
  return !ec;
#endif
}

// A clean-up that failed is said on standard error; never thrown, as it runs
// while a stop unwinds.
void warn(const fs::path& where, const char* what, const std::error_code& ec) noexcept {
  try {
    diag_write(render(Diag{where.string(), std::string(what) + ": " + ec.message(), {}, ""},
                      "warning"));
  } catch (...) {
  }
}

}  // namespace

Staging::~Staging() { rollback(); }

bool Staging::make_folders(const std::string& path) {
  std::error_code ec;
  // The missing folders, innermost first, then made outermost first.
  std::vector<fs::path> missing;
  for (fs::path p = fs::path(path).lexically_normal(); !p.empty() && !fs::exists(p, ec);
       p = p.parent_path()) {
    missing.push_back(p);
    if (p == p.parent_path()) break;
  }
  std::lock_guard<std::mutex> lock(m_);
  for (auto p = missing.rbegin(); p != missing.rend(); ++p) {
    const bool made = fs::create_directory(*p, ec);
    if (ec) return false;
    if (made) folders_.push_back(*p);
  }
  return fs::is_directory(path, ec);
}

bool Staging::open(OutFile& f, const std::string& final) {
  std::error_code ec;
  fs::path target = final;
  if (fs::is_symlink(target, ec)) {
    fs::path resolved = fs::canonical(target, ec);
    if (ec) return f.open(final);
    target = std::move(resolved);
  }
  const fs::file_type type = fs::status(target, ec).type();
  if (type != fs::file_type::not_found && type != fs::file_type::regular) return f.open(final);
  fs::path temp = target;
  temp += TEMP_SUFFIX;
  {
    std::lock_guard<std::mutex> lock(m_);
    if (finals_.insert(target.string()).second) files_.push_back({temp, target, final});
  }
  return f.open_as(temp.string(), final);
}

void Staging::commit() {
  std::lock_guard<std::mutex> lock(m_);
  for (size_t k = 0; k < files_.size(); ++k) {
    if (!replace_file(files_[k].temp, files_[k].final)) {
      const std::string shown = files_[k].shown;
      // The files already in place stay, and so do their folders.
      files_.erase(files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(k));
      finals_.clear();
      folders_.clear();
      error2("Cannot write to file", shown);
    }
  }
  files_.clear();
  finals_.clear();
  folders_.clear();
}

void Staging::rollback() noexcept {
  std::lock_guard<std::mutex> lock(m_);
  std::error_code ec;
  for (const Staged& s : files_) {
    fs::remove(s.temp, ec);
    if (ec) warn(s.temp, "the unfinished file of the stopped run cannot be removed", ec);
  }
  for (auto p = folders_.rbegin(); p != folders_.rend(); ++p) {
    fs::remove(*p, ec);
    if (ec) warn(*p, "the folder made by the stopped run cannot be removed", ec);
  }
  files_.clear();
  finals_.clear();
  folders_.clear();
}

}  // namespace vadz
