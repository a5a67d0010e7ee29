#include "run/readahead.h"

#include <array>
#include <filesystem>
#include <set>
#include <string>

#include "engine/evalcurve.h"
#include "engine/period.h"
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

ReadPlan run_read_plan(const RunConfig& cfg) {
  ReadPlan plan;
  std::array<std::string, 3> mikeys;
  if (cfg.ssyr1 > 0) {
    for (int y = cfg.ssyr1; y <= cfg.ssyr2; ++y) evalcurve_reads(cfg, 1, y, plan);
    period_reads(cfg, "steady", "steady", mikeys, plan);
  }
  for (int y = cfg.tryr1; y <= cfg.tryr2; ++y) {
    evalcurve_reads(cfg, 0, y, plan);
    const std::string ys = year_text(y);
    for (int m = 1; m <= 12; ++m) {
      char pstem[7];
      put_fixed(pstem, 7, 2, y + m / 100.0);
      period_reads(cfg, std::string_view(pstem, 7), ys, mikeys, plan);
    }
  }
  return plan;
}

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
  for (const PlannedRead& r : plan) {
    const std::string path = std::string(rtrim(r.dir)) + "/" + r.name + "." + r.tag;
    if (outputs.count(normal(path))) return false;
  }
  return true;
}

}  // namespace vadz
