#include "engine/budgetcsv.h"

#include "engine/modelfiles.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// A field of the CSV: quoted, with doubled quotes, when it holds a comma,
// a quote or a line break.
void put_field(std::string& s, std::string_view f) {
  if (f.find_first_of(",\"\r\n") == std::string_view::npos) {
    s += f;
    return;
  }
  s += '"';
  for (char c : f) {
    if (c == '"') s += '"';
    s += c;
  }
  s += '"';
}

// A row: period, group, zone (a zone's name, or "total"), value.
void put_row(std::string& s, std::string_view period, std::string_view group,
             std::string_view zone, double v) {
  s += period;
  s += ',';
  s += group;
  s += ',';
  put_field(s, zone);
  s += ',';
  char num[SHORTEST_MAX];
  s.append(num, put_shortest(num, v));
  s += "\r\n";
}

// A group's label without its unit: "gwIrr" of "gwIrr_af".
std::string stem(int group) {
  std::string_view l = budget_label(group);
  return std::string(l.substr(0, l.rfind('_')));
}

}  // namespace

BudgetCsv::BudgetCsv(const RunConfig& cfg, const std::string& path, Staging& staged,
                     const WaterAccounting& acct)
    : acct_(acct) {
  if (is_model_file(cfg, path) || !staged.open(out_, path)) error("Cannot open file " + path);
  out_.line("period,group,zone,value");
}

void BudgetCsv::year(const YearResult& y) {
  const BudgetRow& row = y.budget;
  char period[8];
  std::string_view ptext = "steady";
  if (y.year >= 0) {
    put_int(period, 4, y.year);
    ptext = std::string_view(period, 4);
  }
  text_.clear();
  for (int g = 0; g < NBGROUP; ++g) {
    if (row.steady && g != RCP_GROUP) continue;
    // Zone columns, then the group's total, as the table shows them.
    for (int z = 1; z <= row.nbgt + 1; ++z) {
      const int col = z <= row.nbgt ? z : 0;
      put_row(text_, ptext, budget_label(g),
              col == 0 ? std::string_view("total") : rtrim(y.cfg.bgtname[col - 1]),
              row.value[g][col]);
    }
  }
  out_.write(text_);
  account(ptext, y.cfg, row);
}

void BudgetCsv::account(std::string_view period, const RunConfig& cfg, const BudgetRow& row) {
  const WaterAccount& a = acct_.last();
  const int nbgt = row.nbgt;
  auto zone = [&](int z) {
    return z <= nbgt ? rtrim(cfg.bgtname[z - 1]) : std::string_view("total");
  };
  // The by-state-group columns as the table has them: zone z shows state
  // group z (0 beyond the third), then the total of the groups.
  auto columns = [&](int w, auto value) {
    std::array<double, 3> v{};
    for (int s = 0; s < 3; ++s) v[s] = value(a.water[w][s]);
    std::array<double, 10> col{};
    for (int z = 1; z <= nbgt; ++z) col[z] = z <= 3 ? v[z - 1] : 0.0;
    col[0] = group_total(v, nbgt);
    return col;
  };
  // The steady period's pumping and returns, keyed as a year's.
  if (row.steady) {
    for (int w = 0; w < NWATER; ++w) {
      const auto t = columns(w, [](const GroupWater& g) { return g.total; });
      for (int z = 1; z <= nbgt + 1; ++z)
        put_row(accounts_, period, budget_label(water_group(w)), zone(z), t[z <= nbgt ? z : 0]);
    }
  }
  // Water outside the active area, and the rest: applied + outside = total.
  std::array<std::array<double, 10>, NWATER> applied{}, outside{};
  for (int w = 0; w < NWATER; ++w) {
    const auto t = columns(w, [](const GroupWater& g) { return g.total; });
    const auto o = columns(w, [](const GroupWater& g) { return g.outside; });
    for (int z = 0; z <= nbgt; ++z) split_total(t[z], o[z], applied[w][z], outside[w][z]);
  }
  for (const auto* part : {&outside, &applied}) {
    const char* suffix = part == &outside ? "_outside_af" : "_applied_af";
    for (int w = 0; w < NWATER; ++w) {
      const std::string label = stem(water_group(w)) + suffix;
      for (int z = 1; z <= nbgt + 1; ++z)
        put_row(accounts_, period, label, zone(z), (*part)[w][z <= nbgt ? z : 0]);
    }
  }
  // The recharge as the model receives it, by kind and in all.
  const auto& r = a.received;
  for (int k = 0; k <= NRECH; ++k) {
    const std::string label =
        (k < NRECH ? stem(RCP_GROUP + k) : std::string("Rch")) + "_model_af";
    for (int z = 1; z <= nbgt + 1; ++z) {
      const int c = z <= nbgt ? z : 0;
      const double v = k < NRECH ? r[k][c] : ((r[0][c] + r[1][c]) + r[2][c]) + r[3][c];
      put_row(accounts_, period, label, zone(z), v);
    }
  }
}

void BudgetCsv::finish() {
  out_.write(accounts_);
  out_.close();
}

}  // namespace vadz
