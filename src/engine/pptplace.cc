#include "engine/pptplace.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "utl/grid.h"
#include "utl/scan.h"

namespace vadz {

namespace {

constexpr int NEAREST = 3;  // stations named beside a kriged value

std::string number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.6g", v);
  return buf;
}

std::string station_name(const StationTable& st, int k) {
  return k < static_cast<int>(st.names.size()) ? std::string(rtrim(st.names[k]))
                                               : "station " + std::to_string(k + 1);
}

constexpr double FEET_PER_MILE = 5280.0;

std::string fixed(double v, int decimals) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
  return buf;
}

}  // namespace

Diag precipitation_place(const RunConfig& cfg, int year, int i, double p) {
  const int r = i / NCOL + 1, c = i % NCOL + 1;
  Diag d;
  d.where = cell_place(year, r, c, xc(c), yc(r));
  const StationTable& st = cfg.stations;
  const bool kriged = cfg.iprism == 0 && st.nstn > 0 && year >= FIRST_YEAR && year <= LAST_YEAR;
  if (kriged) {
    d.notes.push_back(nearest_stations(st, year, i));
    d.hint = station_hint(st, year);
  } else if (cfg.iprism == 1) {
    d.notes.push_back("read from the year's PRISM grid");
    if (is_missing_code(p)) d.hint = number(p) + " looks like a missing-value code in the PRISM grid";
  }
  const CurveTable& cv = cfg.curves;
  if (d.hint.empty() && cv.ncurv > 0 && p > cv.at(cv.ncurv, 1, 0))
    d.hint = "the recharge curves end at P = " + number(cv.at(cv.ncurv, 1, 0)) +
             "; extend the FUNCTION data to at least " + number(p);
  return d;
}

std::string nearest_stations(const StationTable& st, int year, int i) {
  const int r = i / NCOL + 1, c = i % NCOL + 1;
  std::vector<std::pair<double, int>> by_distance;
  for (int k = 0; k < st.nstn; ++k)
    by_distance.emplace_back(std::hypot(st.stnx[k] - xc(c), st.stny[k] - yc(r)), k);
  std::sort(by_distance.begin(), by_distance.end());
  const double* v = st.year_values(year);
  std::string near = "nearest stations in " + std::to_string(year) + ":";
  for (int n = 0; n < NEAREST && n < static_cast<int>(by_distance.size()); ++n) {
    const int k = by_distance[n].second;
    near += (n ? ", " : " ") + station_name(st, k) + " " + fixed(v[k], 2) + " at " +
            fixed(by_distance[n].first / FEET_PER_MILE, 1) + " miles";
  }
  return near;
}

std::string station_hint(const StationTable& st, int year) {
  const double* v = st.year_values(year);
  for (int k = 0; k < st.nstn; ++k)
    if (is_missing_code(v[k]))
      return station_name(st, k) + " has " + number(v[k]) + " in " + std::to_string(year) + " in " +
             st.pcpfile + ": a missing-value code is read as precipitation; fill the gap";
  bool degrees = st.nstn > 0;
  for (int k = 0; k < st.nstn; ++k) degrees = degrees && looks_like_degrees(st.stnx[k], st.stny[k]);
  if (degrees)
    return "the station coordinates in " + st.locfile +
           " look like degrees (longitude, latitude): X and Y are feet on the model's plane";
  return "";
}

}  // namespace vadz
