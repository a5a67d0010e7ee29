#include "engine/account.h"

#include <algorithm>

#include "engine/stress.h"
#include "utl/format.h"

namespace vadz {

namespace {

constexpr FileKind KINDS[NWATER] = {FileKind::pmp, FileKind::mi, FileKind::rcg, FileKind::rcs,
                                    FileKind::rcc};
// Their columns among the budget table's groups: gwIrr_af, gwMI_af,
// RchRcg_af, RchRcs_af, RchRcc_af.
constexpr int GROUPS[NWATER] = {2, 3, 8, 9, 10};
constexpr const char* NAMES[NWATER] = {
    "groundwater irrigation pumping", "municipal and industrial pumping",
    "return from groundwater-irrigated land", "return from surface-water-irrigated land",
    "return from commingled land"};

}  // namespace

FileKind water_kind(int w) { return KINDS[w]; }
int water_group(int w) { return GROUPS[w]; }
const char* water_name(int w) { return NAMES[w]; }

double group_total(const std::array<double, 3>& v, int nbgt) {
  double t = 0.0;
  for (int k = 1; k <= std::max(nbgt, 3); ++k) t += k <= 3 ? v[k - 1] : 0.0;
  return t;
}

void split_total(double total, double outside, double& applied, double& out) {
  applied = total - outside;
  out = outside;
  if (applied + out == total) return;
  // A rounded difference: the water outside to the total's last digit
  // makes the two add up again where that is exact.
  const double o2 = total - applied;
  if (applied + o2 == total) out = o2;
}

std::string acre_feet(double v) {
  char b[GROUPED_MAX];
  return std::string(b, put_grouped(b, 1, v)) + " acre-feet";
}

std::string outside_words(double pumping, double returns, int cells) {
  std::string s;
  if (pumping != 0.0) s = acre_feet(pumping) + " of pumping";
  if (returns != 0.0) s += (s.empty() ? "" : " and ") + acre_feet(returns) + " of returns";
  if (s.empty()) s = "pumping and returns that cancel out";
  return s + (cells == 1 ? " fall in 1 cell" : " fall in " + std::to_string(cells) + " cells") +
         " outside the active area (IBOUND 0 or below)";
}

void sum_water(const FlagGrid& ibound, const AnnualArrays& ann, WaterAccount& acct) {
  // A group's five kinds in one pass over the cells: each sum takes the
  // same additions in the same (grid) order as a pass of its own, and five
  // independent sums keep the processor busy where one waits on each add.
  for (int s = 0; s < 3; ++s) {
    std::array<const double*, NWATER> a;
    for (int w = 0; w < NWATER; ++w) a[w] = annual_of(ann, KINDS[w], s).data();
    std::array<double, NWATER> total{}, outside{};
    std::array<int, NWATER> cells{};
    int n = 0, first = -1;
    for (int i = 0; i < NCELL; ++i) {
      std::array<double, NWATER> v;
      for (int w = 0; w < NWATER; ++w) {
        v[w] = a[w][i];
        total[w] += v[w];
      }
      if (ibound[i] > 0) continue;
      bool any = false;
      for (int w = 0; w < NWATER; ++w) {
        outside[w] += v[w];
        if (v[w] != 0.0) {
          ++cells[w];
          any = true;
        }
      }
      if (any && n++ == 0) first = i;
    }
    for (int w = 0; w < NWATER; ++w) acct.water[w][s] = {total[w], outside[w], cells[w]};
    acct.outside_cells[s] = n;
    acct.first_outside[s] = first;
  }
}

void WaterAccounting::period(const PeriodResult& p) {
  const FlagGrid& ibound = cfg_.ibound;
  const FlagGrid& zone = cfg_.ibgt;
  static_assert(NRECH == 4, "the four kinds are summed side by side");
  // Summed in local copies (the same additions in the same order), which the
  // compiler keeps in registers where the account's own array it could not.
  auto r = now_.received;
  const double *r0 = p.rech[0].data(), *r1 = p.rech[1].data(), *r2 = p.rech[2].data(),
               *r3 = p.rech[3].data();
  double t0 = r[0][0], t1 = r[1][0], t2 = r[2][0], t3 = r[3][0];
  for (int i = 0; i < NCELL; ++i) {
    if (ibound[i] <= 0) continue;  // the model takes no recharge there
    t0 += r0[i];
    t1 += r1[i];
    t2 += r2[i];
    t3 += r3[i];
    const int z = zone[i];
    if (z < 1 || z > 9) continue;
    r[0][z] += r0[i];
    r[1][z] += r1[i];
    r[2][z] += r2[i];
    r[3][z] += r3[i];
  }
  r[0][0] = t0;
  r[1][0] = t1;
  r[2][0] = t2;
  r[3][0] = t3;
  now_.received = r;
}

void WaterAccounting::year(const YearResult& y) {
  sum_water(cfg_.ibound, y.ann, now_);
  now_.year = y.year;
  last_ = now_;
  now_ = WaterAccount{};
}

}  // namespace vadz
