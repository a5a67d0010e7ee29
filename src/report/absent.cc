#include "report/absent.h"

#include "input/schedule.h"
#include "utl/textio.h"

namespace vadz {

std::vector<AbsentFiles> absent_inputs(const RunConfig& cfg) {
  std::vector<AbsentFiles> all;
  for (const PlannedRead& r : run_read_plan(cfg)) {
    AbsentFiles* row = nullptr;
    for (AbsentFiles& a : all)
      if (a.dir == r.dir && a.kind == r.tag) row = &a;
    if (!row) {
      all.push_back({r.dir, r.tag, 0, 0, "", ""});
      row = &all.back();
    }
    ++row->planned;
    const std::string path = r.path();
    if (file_exists(path)) continue;
    if (++row->absent == 1) row->first = path;
    row->last = path;
  }
  std::vector<AbsentFiles> absent;
  for (AbsentFiles& a : all)
    if (a.absent > 0) absent.push_back(std::move(a));
  return absent;
}

}  // namespace vadz
