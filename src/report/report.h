// The run report (REPORT <folder>): gathers each year's balance as the run
// goes, writes the yearly ESRI grids and budget.csv at once, and the maps
// and the page when the run ends (every map of a quantity shares one colour
// scale, known only then).
#pragma once
#include <string>
#include <vector>

#include "engine/budgetcsv.h"
#include "engine/output.h"
#include "report/page.h"

namespace vadz {

class RunReport : public RunOutput {
 public:
  // Creates the folder with its maps/ and grids/ folders (fatal "Cannot open
  // file " with the folder's name when it cannot be created) and budget.csv.
  explicit RunReport(const RunConfig& cfg);
  void year(const YearResult& y) override;
  void finish() override;

 private:
  // A quantity mapped every transient year: its values per year (single
  // precision is plenty for a colour) and its scale.
  struct Layer {
    MapLayer map;
    std::vector<std::vector<float>> years;
  };
  // Writes the year's grid of a quantity and, with a layer, keeps the
  // values for its map.
  void grid(const std::string& stem, int year, const RealGrid& values, Layer* layer);
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  const RunConfig& cfg_;
  std::string dir_;
  BudgetCsv csv_;
  ReportContent content_;
  Layer ppt_, rcp_, rech_, gwirr_;
  std::vector<float> steady_;  // the steady period's recharge from precipitation
  RealGrid total_;             // a year's total recharge
  std::string buf_;
};

}  // namespace vadz
