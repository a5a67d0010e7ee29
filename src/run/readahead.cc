#include "run/readahead.h"

#include <array>
#include <filesystem>
#include <set>
#include <string>

#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

std::string year_text(int y) {
  char b[4];
  put_int(b, 4, y);
  return std::string(b, 4);
}

// One spelling per file: links of the existing part of the path resolved,
// the rest as far as the path's text tells.
std::string normal(const std::string& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(path, ec);
  if (ec) {
    p = std::filesystem::absolute(path, ec);
    if (ec) p = path;
  }
  std::string s = p.lexically_normal().string();
#ifdef _WIN32
  // Windows file names ignore case: CO\1990.MI and co\1990.mi are one file.
  for (char& ch : s)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
#endif
  return s;
}

}  // namespace

bool read_ahead_safe(const RunConfig& cfg, const ReadPlan& plan) {
  std::set<std::string> outputs;
  outputs.insert(normal(std::string(rtrim(cfg.welfile))));
  for (int k = 0; k < cfg.nrch && k < 4; ++k) outputs.insert(normal(std::string(rtrim(cfg.rchfile[k]))));
  for (int y = cfg.tryr1; y <= cfg.tryr2; ++y) {
    const std::string ys = year_text(y);
    if (cfg.iannpump) outputs.insert(normal(ys + "annpump.csv"));
    if (cfg.nfile > 0)
      for (const std::string& ext : cfg.fileext)
        outputs.insert(normal(std::string(rtrim(cfg.filedir)) + "/" + ys + "." +
                              std::string(rtrim(ext))));
  }
  if (cfg.iannrech) {
    outputs.insert(normal("annrcp.csv"));
    outputs.insert(normal("annrech.csv"));
  }
  for (const PlannedRead& r : plan)
    if (outputs.count(normal(r.path()))) return false;
  return true;
}

}  // namespace vadz
