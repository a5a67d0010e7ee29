#include "report/accountpage.h"

#include <array>
#include <vector>

#include "engine/budget.h"
#include "input/schedule.h"
#include "report/colormap.h"
#include "report/svgchart.h"
#include "utl/format.h"

namespace vadz {

namespace {

constexpr const char* RECH_NAME[NRECH] = {"recharge from precipitation",
                                          "return from groundwater-irrigated land",
                                          "return from surface-water-irrigated land",
                                          "return from commingled land"};

std::string period_name(int year) {
  if (year < 0) return "steady";
  char b[4];
  put_int(b, 4, year);
  return std::string(b, 4);
}

// The sum over the state groups of one kind's figure.
double over_groups(const WaterAccount& a, int w, double GroupWater::*part) {
  std::array<double, 3> v{};
  for (int s = 0; s < 3; ++s) v[s] = a.water[w][s].*part;
  return group_total(v, 3);
}

// "1990: 1,234.5 acre-feet of pumping and 56.7 acre-feet of returns fall in
// 14 cells outside ... (by state group, acre-feet: CO 1,000.0, KS 291.2)",
// or "" when every drop of the period lands in active cells.
std::string outside_sentence(const WaterAccount& a) {
  int cells = 0;
  for (int s = 0; s < 3; ++s) cells += a.outside_cells[s];
  if (cells == 0) return "";
  double pump = 0.0, ret = 0.0;
  for (int w = 0; w < NWATER; ++w)
    (is_pumping(w) ? pump : ret) += over_groups(a, w, &GroupWater::outside);
  std::string groups;
  for (int s = 0; s < 3; ++s) {
    if (a.outside_cells[s] == 0) continue;
    double g = 0.0;
    for (int w = 0; w < NWATER; ++w) g += a.water[w][s].outside;
    groups += std::string(groups.empty() ? "" : ", ") + group_name(s) + " " + grouped(g, 1);
  }
  const std::string when = a.year < 0 ? std::string("Steady period") : period_name(a.year);
  return "<p class=\"note\"><b>" + when + ":</b> " + outside_words(pump, ret, cells) +
         ", which the model never receives (by state group, acre-feet: " + groups + ").</p>\n";
}

std::string num(double v) { return "<td class=\"n\">" + grouped(v, 1) + "</td>"; }

}  // namespace

std::string account_section(const ReportContent& rc) {
  const std::vector<WaterAccount>& acc = rc.water;
  std::string s = "<h3 id=\"account\">Pumping and returns: where the water goes</h3>\n";
  std::string sentences;
  for (const WaterAccount& a : acc) sentences += outside_sentence(a);
  s += sentences.empty() ? "<p class=\"note\">Every well and irrigation return of the run lies "
                           "in an active cell.</p>\n"
                         : sentences;

  // The water outside the active area over the periods, a line per kind.
  Chart c;
  c.width = 560;
  c.title = "Pumping and returns outside the active area";
  c.unit = "acre-feet per year";
  for (const WaterAccount& a : acc) c.x.push_back(period_name(a.year));
  for (int w = 0; w < NWATER; ++w) {
    std::vector<double> v;
    for (const WaterAccount& a : acc) v.push_back(over_groups(a, w, &GroupWater::outside));
    c.series.push_back({water_name(w), qualitative(w), v});
  }
  s += "<div class=\"charts\">\n" + line_chart(c) + "</div>\n";

  // The accounts: per kind the state groups' water and their total, and of
  // it the part outside the active area; then the recharge as the model
  // receives it.
  s += "<div class=\"tablewrap\"><table class=\"budget\">\n<thead><tr><th>Kind</th><th></th>";
  for (const WaterAccount& a : acc) s += "<th>" + period_name(a.year) + "</th>";
  s += "</tr></thead>\n<tbody>\n";
  for (int w = 0; w < NWATER; ++w) {
    s += "<tr><th class=\"g\" rowspan=\"5\">" + std::string(budget_label(water_group(w))) +
         "<small>" + water_name(w) + ", acre-feet per year</small></th>";
    for (int s3 = 0; s3 < 3; ++s3) {
      s += std::string(s3 ? "<tr>" : "") + "<td>" + group_name(s3) + "</td>";
      for (const WaterAccount& a : acc) s += num(a.water[w][s3].total);
      s += "</tr>\n";
    }
    s += "<tr><td>total</td>";
    for (const WaterAccount& a : acc) s += num(over_groups(a, w, &GroupWater::total));
    s += "</tr>\n<tr class=\"total\"><td>outside the active area</td>";
    for (const WaterAccount& a : acc) s += num(over_groups(a, w, &GroupWater::outside));
    s += "</tr>\n";
  }
  s += "<tr><th class=\"g\" rowspan=\"5\">as the model receives it<small>recharge after "
       "XFACTOR, active cells, acre-feet per year</small></th>";
  for (int k = 0; k <= NRECH; ++k) {
    s += std::string(k ? "<tr" : "") + (k == NRECH ? " class=\"total\">" : k ? ">" : "") +
         "<td>" + (k < NRECH ? RECH_NAME[k] : "all recharge") + "</td>";
    for (const WaterAccount& a : acc) {
      const auto& r = a.received;
      s += num(k < NRECH ? r[k][0] : ((r[0][0] + r[1][0]) + r[2][0]) + r[3][0]);
    }
    s += "</tr>\n";
  }
  s += "</tbody></table></div>\n<p class=\"note\">Pumping and returns by state group (CO, KS, "
       "NE), the steady period included, with the multipliers and masks applied and before "
       "XFACTOR, as the budget table counts them. Wells and returns in cells of IBOUND 0 or "
       "below are counted there but never reach the model: the MODFLOW 6 well list leaves them "
       "out and MODFLOW-2005 ignores them. The recharge as the model receives it is that of the "
       "recharge arrays (XFACTOR applied, the month's or the STEADY multiplier on the recharge "
       "from precipitation) over the active cells: the figures to compare with the model's "
       "budget. <a href=\"budget.csv\">budget.csv</a> holds them all at full precision.</p>\n";
  return s;
}

}  // namespace vadz
