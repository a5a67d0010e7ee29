#include "report/monthly.h"

#include "report/colormap.h"
#include "report/svgchart.h"

namespace vadz {

namespace {

constexpr const char* MONTH[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr const char* GROUP[3] = {"CO", "KS", "NE"};

// The sums over the cells of five grids in one pass; with Weighted, the
// third and fourth of each value times its cell's weight. Even and odd
// cells are summed apart and then added: ten running sums side by side keep
// the processor busy while the grids stream in.
using Five = std::array<const RealGrid*, 5>;
template <bool Weighted>
std::array<double, 5> sums(const Five& v, const double* w) {
  const double *v0 = v[0]->data(), *v1 = v[1]->data(), *v2 = v[2]->data(), *v3 = v[3]->data(),
               *v4 = v[4]->data();
  double a0 = 0.0, a1 = 0.0, a2 = 0.0, a3 = 0.0, a4 = 0.0;
  double b0 = 0.0, b1 = 0.0, b2 = 0.0, b3 = 0.0, b4 = 0.0;
  const int even = NCELL - NCELL % 2;  // a grid of odd cell count ends on one
  for (int i = 0; i < even; i += 2) {
    a0 += v0[i];
    b0 += v0[i + 1];
    a1 += v1[i];
    b1 += v1[i + 1];
    if constexpr (Weighted) {
      a2 += v2[i] * w[i];
      b2 += v2[i + 1] * w[i + 1];
      a3 += v3[i] * w[i];
      b3 += v3[i + 1] * w[i + 1];
    } else {
      a2 += v2[i];
      b2 += v2[i + 1];
      a3 += v3[i];
      b3 += v3[i + 1];
    }
    a4 += v4[i];
    b4 += v4[i + 1];
  }
  if (even < NCELL) {
    const int i = even;
    a0 += v0[i];
    a1 += v1[i];
    a2 += Weighted ? v2[i] * w[i] : v2[i];
    a3 += Weighted ? v3[i] * w[i] : v3[i];
    a4 += v4[i];
  }
  return {a0 + b0, a1 + b1, a2 + b2, a3 + b3, a4 + b4};
}

std::string cell(double v, bool first = false) {
  return std::string(first ? "<td class=\"n b\">" : "<td class=\"n\">") + grouped(v, 0) + "</td>";
}

// A year's charts: the pumping of each group and of all, and the recharge
// over all groups by kind, stacked.
std::string charts(const MonthlyFigures::Year& y) {
  Chart pump, rech;
  pump.title = "Pumping by month, " + whole(y.year);
  rech.title = "Recharge by kind, all groups, " + whole(y.year);
  pump.unit = rech.unit = "acre-feet in the month";
  for (size_t k = 0; k < y.months.size() && k < 12; ++k) pump.x.push_back(MONTH[k]);
  rech.x = pump.x;
  for (int g = 0; g < 3; ++g) {
    ChartSeries s{GROUP[g], qualitative(g), {}};
    for (const MonthFigures& m : y.months) s.values.push_back(m.group[g][0]);
    pump.series.push_back(s);
  }
  ChartSeries all{"all groups", TOTAL_COLOUR, {}, true};
  for (const MonthFigures& m : y.months) all.values.push_back(m.total[0]);
  pump.series.push_back(all);
  const char* kind[4] = {"precipitation", "gw irrigation", "sw irrigation", "commingled"};
  const int colour[4] = {COLOUR_PRECIP, COLOUR_GW, COLOUR_SW, COLOUR_CO};
  for (int q = 0; q < 4; ++q) {
    ChartSeries s{kind[q], qualitative(colour[q]), {}};
    for (const MonthFigures& m : y.months) s.values.push_back(m.total[q + 1]);
    rech.series.push_back(s);
  }
  return "<div class=\"charts\">\n" + line_chart(pump) + stacked_chart(rech) + "</div>\n";
}

}  // namespace

void MonthlyFigures::period(const PeriodResult& p) {
  if (p.year < 0) return;
  if (years_.empty() || years_.back().year != p.year) {
    years_.push_back({p.year, {}});
    sofar_ = {};
  }
  MonthFigures m;
  m.total = sums<false>({&p.pump, &p.rech[0], &p.rech[1], &p.rech[2], &p.rech[3]}, nullptr);
  // The annual arrays hold the year so far, before XFACTOR. XFACTOR adjusts
  // every month of a year or none, so the change of the adjusted sums is
  // the month's adjusted returns.
  const AnnualArrays& a = p.ann;
  for (int s = 0; s < 3; ++s) {
    const int k = s + 1;
    const Five g{&a.annpump[k], &a.annmi[k], &a.annrcg[k], &a.annrcs[k], &a.annrcc[k]};
    const std::array<double, 5> t =
        p.xfactor ? sums<true>(g, p.cfg.xfactor.data()) : sums<false>(g, nullptr);
    const std::array<double, 4> now{t[0] + t[1], t[2], t[3], t[4]};
    for (int q = 0; q < 4; ++q) m.group[s][q] = now[q] - sofar_[s][q];
    sofar_[s] = now;
  }
  years_.back().months.push_back(m);
}

std::string monthly_view(const MonthlyFigures& mf) {
  if (mf.years().empty()) return "<p class=\"note\">No transient years.</p>\n";
  // The year follows the maps' year stepper.
  std::string s = "<p>Year <select class=\"yearpick\" aria-label=\"year\">";
  for (const MonthlyFigures::Year& y : mf.years()) s += "<option>" + whole(y.year) + "</option>";
  s += "</select></p>\n";
  int j = 0;
  for (const MonthlyFigures::Year& y : mf.years()) {
    s += "<div class=\"monthly\" data-i=\"" + whole(j) + "\"" + (j == 0 ? "" : " hidden") +
         ">" + charts(y) +
         "<div class=\"tablewrap\"><table class=\"budget month\">\n<thead><tr><th rowspan=\"2\">" +
         whole(y.year) + "</th>";
    for (const char* g : GROUP) s += "<th colspan=\"4\" class=\"span\">" + std::string(g) + "</th>";
    s += "<th colspan=\"6\" class=\"span\">all groups</th></tr>\n<tr>";
    for (int g = 0; g < 3; ++g) s += "<th>pumping</th><th>Rcg</th><th>Rcs</th><th>Rcc</th>";
    s += "<th>pumping</th><th>Rcp</th><th>Rcg</th><th>Rcs</th><th>Rcc</th><th>recharge</th>"
         "</tr></thead>\n<tbody>\n";
    MonthFigures sum;
    for (size_t k = 0; k < y.months.size(); ++k) {
      const MonthFigures& m = y.months[k];
      s += "<tr><td>" + std::string(k < 12 ? MONTH[k] : "") + "</td>";
      for (int g = 0; g < 3; ++g) {
        for (int q = 0; q < 4; ++q) {
          s += cell(m.group[g][q], q == 0);
          sum.group[g][q] += m.group[g][q];
        }
      }
      double rech = 0.0;
      for (int q = 0; q < 5; ++q) {
        s += cell(m.total[q], q == 0);
        sum.total[q] += m.total[q];
        if (q > 0) rech += m.total[q];
      }
      s += cell(rech) + "</tr>\n";
    }
    s += "<tr class=\"total\"><td>year</td>";
    for (int g = 0; g < 3; ++g)
      for (int q = 0; q < 4; ++q) s += cell(sum.group[g][q], q == 0);
    double rech = 0.0;
    for (int q = 0; q < 5; ++q) {
      s += cell(sum.total[q], q == 0);
      if (q > 0) rech += sum.total[q];
    }
    s += cell(rech) + "</tr>\n</tbody></table></div></div>\n";
    ++j;
  }
  s += "<p class=\"note\">Acre-feet in each monthly stress period, rounded to whole acre-feet. "
       "Pumping is groundwater irrigation and municipal-industrial pumping, as the well file "
       "lists it; Rcg, Rcs and Rcc are the returns from groundwater-, surface-water- and "
       "commingled-irrigated land, after the <code>XFACTOR</code> grid, as the recharge files "
       "hold them. The recharge from precipitation (Rcp) belongs to no state group and shows "
       "over all groups only. The columns over all groups are the sums of the model files' "
       "arrays and wells.</p>\n";
  return s;
}

}  // namespace vadz
