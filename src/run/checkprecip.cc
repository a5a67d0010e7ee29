#include "run/checkprecip.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

#include "engine/evalcurve.h"
#include "engine/pptplace.h"
#include "krige/krige.h"
#include "utl/console.h"

namespace vadz {

namespace {


std::string years_text(int first, int last) {
  return first == last ? std::to_string(first) : std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

void PrecipCheck::kriged_years() {
  if (cfg_.iprism != 0) return;
  const StationTable& st = cfg_.stations;
  auto krig = std::make_unique<Krig>();
  try {
    krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), *krig, st.nstn, st.idrift);
  } catch (const Fatal&) {
    return;  // the check's error line of the kriging system says it
  }
  KrigeWeights weights;
  weights.compute(*krig, st.stnx.data(), st.stny.data(), st.nstn, st.idrift, kriged_cells(cfg_));
  auto work = std::make_unique<EvalWork>();
  auto year = [&](int y) {
    if (st.has_year(y)) field(y, kriged_precipitation(cfg_, weights, *work, y), "");
  };
  if (cfg_.ssyr1 > 0)
    for (int y = cfg_.ssyr1; y <= cfg_.ssyr2; ++y) year(y);
  for (int y = cfg_.tryr1; y <= cfg_.tryr2; ++y) year(y);
}

void PrecipCheck::prism_grid(int year, const RealGrid& p, const std::string& path) {
  field(year, p, path);
}

void PrecipCheck::field(int year, const RealGrid& p, const std::string& source) {
  for (int i = 0; i < NCELL; ++i) {
    if (cfg_.ibound[i] <= 0) continue;
    const double v = p[i];
    const bool low = !precipitation_ok(v) || std::isnan(v);
    if (!low && cfg_.curves.covers(v)) continue;
    if (first_.cell < 0) first_ = {year, i, v};
    Extreme& e = low ? low_ : high_;
    const bool worse = e.cell < 0 || (low ? std::isnan(v) || (!std::isnan(e.value) && v < e.value)
                                          : v > e.value);
    if (worse) {
      e.value = v;
      e.year = year;
      e.cell = i;
      e.source = source;
    }
    if (e.cells++ == 0) e.first_year = year;
    e.last_year = std::max(e.last_year, year);
  }
}

Diag PrecipCheck::describe(const Extreme& e, const std::string& what, const char* most) const {
  const int r = e.cell / NCOL + 1, c = e.cell % NCOL + 1;
  Diag d{cell_place(e.year, r, c, xc(c), yc(r)), what, {}, ""};
  d.what += std::string(", the ") + most + " of " + number(static_cast<double>(e.cells), 0) +
            (e.cells == 1 ? " such value" : " such values") + " in " +
            years_text(e.first_year, e.last_year) +
            (e.source.empty() ? " (kriged from the stations)" : "");
  if (!e.source.empty()) d.notes.push_back("in " + e.source);
  if (e.source.empty()) {
    d.notes.push_back(nearest_stations(cfg_.stations, e.year, e.cell));
    d.hint = station_hint(cfg_.stations, e.year);
  }
  const bool stops_here = (&e == &low_) == (!precipitation_ok(first_.value) || std::isnan(first_.value));
  if (stops_here) {
    const int fr = first_.cell / NCOL + 1, fc = first_.cell % NCOL + 1;
    d.notes.push_back("the run stops at the first: " + cell_place(first_.year, fr, fc, xc(fc), yc(fr)) +
                      ", " + number(first_.value, 2) + " inches");
  }
  return d;
}

void PrecipCheck::report(Findings& f) const {
  if (low_.cell >= 0) {
    Diag d = describe(low_, std::isnan(low_.value)
                                ? std::string("precipitation is not a number")
                                : "negative precipitation " + number(low_.value, 2) + " inches",
                      "lowest");
    if (d.hint.empty() && !low_.source.empty() && is_missing_code(low_.value))
      d.hint = shortest(low_.value) + " looks like a missing-value code in " + low_.source;
    f.errors.push_back(std::move(d));
  }
  if (high_.cell >= 0) {
    Diag d = describe(high_, "precipitation " + number(high_.value, 2) +
                                 " inches beyond the recharge curves, which end at P = " +
                                 number(cfg_.curves.last_p(), 1),
                      "highest");
    if (d.hint.empty())
      d.hint = "extend the FUNCTION block to a P of at least " + number(high_.value, 2) + " inches";
    f.errors.push_back(std::move(d));
  }
}

}  // namespace vadz
