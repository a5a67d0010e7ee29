#include "engine/budget.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

constexpr int FIELD = 10;
constexpr int MAXITEMS = 100;  // items of one heading line, " Year" included
constexpr int NZ = 10;         // tallies of zones 0..9

constexpr const char* LABELS[11] = {"act.cells", "Precip_in", "gwIrr_af",  "gwMI_af",
                                    "gwArea_ac", "coArea_ac", "swArea_ac", "RchRcp_af",
                                    "RchRcg_af", "RchRcs_af", "RchRcc_af"};

// Longest line: " Year" or " " + name, then 11 groups of 9 zones and a total.
constexpr int LINEMAX = 8 + 11 * (9 + 1) * FIELD + 2;

char* put_text(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

// A text right-aligned in 10 columns, cut to its first 10 characters.
char* put_field(char* p, std::string_view s) {
  s = s.substr(0, FIELD);
  std::memset(p, ' ', FIELD - s.size());
  return put_text(p + (FIELD - s.size()), s);
}

char* put_crlf(char* p) {
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

// The by-state-group quantities of a transient row, in column order.
enum Quantity { PUMP, MI, GWAREA, COAREA, SWAREA, RCG, RCS, RCC, NQ };

}  // namespace

void budget_heading(const RunConfig& cfg) {
  const int nbgt = std::clamp(cfg.nbgt, 0, 9);
  char buf[LINEMAX];
  char* p = put_text(buf, " Year");
  int item = 1;
  for (const char* label : LABELS) {
    for (int z = 0; z <= nbgt; ++z) {
      // A zone name comes from the zone file's header as it stands.
      const std::string text = z < nbgt ? printable(rtrim(cfg.bgtname[z])) : std::string(label);
      ++item;
      if (item % MAXITEMS == 1) {
        // A continuation line starts with its first item at its own length.
        p = put_crlf(p);
        p = put_text(p, std::string_view(text).substr(0, FIELD));
      } else {
        p = put_field(p, text);
      }
    }
  }
  p = put_crlf(p);
  console_write(std::string_view(buf, p - buf));
}

const char* budget_label(int group) { return LABELS[group]; }

BudgetRow budget(const RunConfig& cfg, std::string_view name, const RealGrid& rcp,
                 AnnualArrays& ann, const RealGrid& rpp) {
  const int nbgt = std::clamp(cfg.nbgt, 0, 9);
  name = name.substr(0, 4);  // "SS  " or the year text
  const bool steady = name.find("SS") != std::string_view::npos;
  BudgetRow row;
  row.steady = steady;
  row.nbgt = nbgt;
  if (nbgt == 0 && steady) return row;

  std::array<int, NZ> count{};
  std::array<double, NZ> precip{};
  std::array<double, NZ> rcpz{};
  if (nbgt > 0) {
    const FlagGrid& ibgt = cfg.ibgt;
    const FlagGrid& ibound = cfg.ibound;
    for (int i = 0; i < NCELL; ++i) {
      const int z = ibgt[i];
      if (z < 0 || z > 9) continue;  // the zone reader keeps zones within 0..9
      if (ibound[i] != 0) {
        count[z] += 1;
        precip[z] += rpp[i];
      }
      rcpz[z] += rcp[i];
    }
    count[0] = count[1] + count[2] + count[3];
    precip[0] = (precip[1] + precip[2]) + precip[3];
    // Mean over the zone's active cells; an empty zone gives 0/0, a NaN.
    for (int z = 0; z <= nbgt; ++z) precip[z] = precip[z] / count[z];
  }
  // Inches per year over the cells' acres to acre-feet per year.
  double rcptot = 0.0;
  for (int z = 1; z <= nbgt; ++z) {
    rcpz[z] = rcpz[z] / 12 * model_grid().acres;
    rcptot += rcpz[z];
  }

  for (int z = 1; z <= nbgt; ++z) row.value[RCP_GROUP][z] = rcpz[z];
  row.value[RCP_GROUP][0] = rcptot;

  char buf[LINEMAX];
  char* p = buf;
  if (steady) {
    p = put_text(p, " ");
    p = put_text(p, name);
    for (int z = 1; z <= nbgt; ++z) p = put_fixed(p, FIELD, 1, rcpz[z]);
    p = put_fixed(p, FIELD, 1, rcptot);
    p = put_crlf(p);
    console_write(std::string_view(buf, p - buf));
    return row;
  }

  // Slot 0 of the annual arrays: per-cell totals over the three state groups,
  // added group by group; tally(q, k) sums group k of quantity q over the grid.
  std::array<SlotGrid*, NQ> arrays{&ann.annpump, &ann.annmi,  &ann.gwarea, &ann.coarea,
                                   &ann.swarea,  &ann.annrcg, &ann.annrcs, &ann.annrcc};
  std::array<std::array<double, NZ>, NQ> tally{};
  for (int q = 0; q < NQ; ++q) {
    SlotGrid& a = *arrays[q];
    RealGrid& total = a[0];
    std::fill(total.begin(), total.end(), 0.0);
    for (int i = 0; i < NCELL; ++i) {
      for (int k = 1; k <= 3; ++k) {
        const double v = a[k][i];
        tally[q][k] += v;
        total[i] += v;
      }
    }
  }
  if (nbgt == 0) return row;

  // Totals over every state group; columns of zones above 3 hold 0.
  const int ntot = std::max(nbgt, 3);
  std::array<double, NQ> qtot{};
  for (int q = 0; q < NQ; ++q) {
    for (int k = 1; k <= ntot; ++k) qtot[q] += tally[q][k];
  }

  for (int z = 0; z <= nbgt; ++z) {
    row.value[0][z] = count[z];
    row.value[1][z] = precip[z];
  }
  for (int q = 0; q < NQ; ++q) {
    // Column order: five groups before the recharge from precipitation, three after.
    const int g = q < RCG ? 2 + q : 3 + q;
    for (int z = 1; z <= nbgt; ++z) row.value[g][z] = tally[q][z];
    row.value[g][0] = qtot[q];
  }

  p = put_text(p, " ");
  p = put_text(p, name);
  for (int z = 1; z <= nbgt; ++z) p = put_int(p, FIELD, count[z]);
  p = put_int(p, FIELD, count[0]);
  for (int z = 1; z <= nbgt; ++z) p = put_fixed(p, FIELD, 1, precip[z]);
  p = put_fixed(p, FIELD, 1, precip[0]);
  auto group = [&](int q) {
    for (int z = 1; z <= nbgt; ++z) p = put_fixed(p, FIELD, 1, tally[q][z]);
    p = put_fixed(p, FIELD, 1, qtot[q]);
  };
  group(PUMP);
  group(MI);
  group(GWAREA);
  group(COAREA);
  group(SWAREA);
  for (int z = 1; z <= nbgt; ++z) p = put_fixed(p, FIELD, 1, rcpz[z]);
  p = put_fixed(p, FIELD, 1, rcptot);
  group(RCG);
  group(RCS);
  group(RCC);
  p = put_crlf(p);
  console_write(std::string_view(buf, p - buf));
  return row;
}

}  // namespace vadz
