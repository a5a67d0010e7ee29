#include "run/checkwater.h"

#include <algorithm>
#include <string>

#include "engine/stress.h"
#include "input/inventory.h"
#include "utl/scan.h"

namespace vadz {

void CheckWater::add(const PlannedRead& r, const RealGrid& grid) {
  InputPeriod p;
  if (!is_water(r.kind) || r.group < 0 || !parse_period(r.name, p)) return;
  const int year = p.year == 0 ? -1 : p.year;
  if (year != year_) {
    close();
    for (int w = 0; w < NWATER; ++w)
      for (int g = 0; g < 3; ++g) {
        RealGrid& a = annual_of(ann_, water_kind(w), g);
        std::fill(a.begin(), a.end(), 0.0);
      }
    year_ = year;
  }
  for (int s = 0; s < 3; ++s) {
    // Every group that reads this very file: its own folder, and a kind it reads.
    if (rtrim(cfg_.stdir[s]) != rtrim(r.dir)) continue;
    if (cfg_.ipump[s] == 0 && r.kind != FileKind::rcs && r.kind != FileKind::rcc) continue;
    RealGrid& target = annual_of(ann_, r.kind, s);
    if (r.kind == FileKind::mi && year > 0) {
      // The year's file serves its twelve months, each by its share.
      for (int m = 1; m <= 12; ++m)
        add_stress(target, cfg_, s, r.kind, year_fraction(month_seconds(year, m)), grid);
    } else {
      add_stress(target, cfg_, s, r.kind,
                 year_fraction(year > 0 ? month_seconds(year, p.month) : STEADY_SECONDS), grid);
    }
  }
}

void CheckWater::close() {
  if (year_ == 0) return;
  WaterAccount a;
  a.year = year_;
  sum_water(cfg_.ibound, ann_, a);
  done_.push_back(a);
  year_ = 0;
}

void CheckWater::report(Findings& found) {
  close();
  for (const WaterAccount& a : done_) {
    const std::string period = a.year < 0 ? std::string("steady") : std::to_string(a.year);
    for (int s = 0; s < 3; ++s) {
      const int cells = a.outside_cells[s];
      if (cells == 0) continue;
      double pump = 0.0, ret = 0.0;
      std::string kinds;
      for (int w = 0; w < NWATER; ++w) {
        const GroupWater& g = a.water[w][s];
        if (g.cells == 0) continue;
        (is_pumping(w) ? pump : ret) += g.outside;
        kinds += (kinds.empty() ? "" : ", ") + std::string(water_name(w)) + " " +
                 acre_feet(g.outside);
      }
      Diag d;
      d.where = std::string(rtrim(cfg_.stdir[s])) + "/" + period + ".*";
      d.what = "state group " + std::string(group_name(s)) + ", " +
               (a.year < 0 ? std::string("steady period") : period) + ": " +
               outside_words(pump, ret, cells) + ", which the model never receives";
      d.notes.push_back(kinds);
      const int first = a.first_outside[s];
      d.notes.push_back("the first at row " + std::to_string(first / NCOL + 1) + ", column " +
                        std::to_string(first % NCOL + 1));
      d.hint = "move the wells and returns into active cells or make the cells active in IBOUND; "
               "the MODFLOW 6 well list leaves such wells out and MODFLOW-2005 ignores them";
      found.warn(std::move(d), cells);
    }
  }
}

}  // namespace vadz
