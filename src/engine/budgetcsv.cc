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

}  // namespace

BudgetCsv::BudgetCsv(const RunConfig& cfg, const std::string& path, Staging& staged) {
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
      text_ += ptext;
      text_ += ',';
      text_ += budget_label(g);
      text_ += ',';
      if (col == 0)
        text_ += "total";
      else
        put_field(text_, rtrim(y.cfg.bgtname[col - 1]));
      text_ += ',';
      char num[SHORTEST_MAX];
      text_.append(num, put_shortest(num, row.value[g][col]));
      text_ += "\r\n";
    }
  }
  out_.write(text_);
}

void BudgetCsv::finish() { out_.close(); }

}  // namespace vadz
