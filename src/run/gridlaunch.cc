#include "run/gridlaunch.h"

#include <string>
#include <string_view>
#include <vector>

#include "utl/console.h"
#include "utl/textio.h"

#ifdef _WIN32
#include <process.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace vadz {

namespace {

// The folder of the running program, with its trailing separator.
std::string own_folder(const char* argv0) {
  std::string self;
#ifdef _WIN32
  char buf[4096];
  const DWORD n = GetModuleFileNameA(nullptr, buf, sizeof buf);
  if (n > 0 && n < sizeof buf) self.assign(buf, n);
#else
  char buf[4096];
  const ssize_t n = readlink("/proc/self/exe", buf, sizeof buf);
  if (n > 0 && static_cast<size_t>(n) < sizeof buf) self.assign(buf, static_cast<size_t>(n));
#endif
  if (self.empty() && argv0 != nullptr) self = argv0;
  const size_t cut = self.find_last_of("/\\");
  return cut == std::string::npos ? std::string() : self.substr(0, cut + 1);
}

}  // namespace

bool is_grid_command(int argc, const char* const* argv) {
  if (argc < 3 || std::string_view(argv[1]) != "grid") return false;
  const std::string_view cmd = argv[2];
  return cmd == "raster" || cmd == "points" || cmd == "flags" || cmd == "--help" || cmd == "-h";
}

int run_grid_command(int argc, const char* const* argv) {
#ifdef _WIN32
  const std::string tool = own_folder(argv[0]) + "vadz-grid.exe";
#else
  const std::string tool = own_folder(argv[0]) + "vadz-grid";
#endif
  if (!file_exists(tool))
    error2("vadz grid needs the program vadz-grid (built with GDAL) beside vadz; not found:", tool);
  std::vector<const char*> args{tool.c_str()};
  for (int i = 2; i < argc; ++i) args.push_back(argv[i]);
  args.push_back(nullptr);
  console_flush();
#ifdef _WIN32
  // Windows passes a command line, not a list: quote every argument.
  std::vector<std::string> quoted;
  for (size_t i = 0; i + 1 < args.size(); ++i) quoted.push_back('"' + std::string(args[i]) + '"');
  std::vector<const char*> q;
  for (const std::string& s : quoted) q.push_back(s.c_str());
  q.push_back(nullptr);
  const intptr_t st = _spawnv(_P_WAIT, tool.c_str(), q.data());
  if (st < 0) error2("Cannot run", tool);
  return static_cast<int>(st);
#else
  execv(tool.c_str(), const_cast<char* const*>(args.data()));
  error2("Cannot run", tool);
#endif
}

}  // namespace vadz
