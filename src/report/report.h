// The run report (REPORT <folder>): gathers each year's balance as the run
// goes and writes budget.csv and the year's ESRI grids (the grids on a
// worker thread while the run computes the next year), then the maps and the
// page when the run ends (every map of a quantity shares one colour scale,
// known only then).
#pragma once
#include <string>
#include <vector>

#include "engine/budgetcsv.h"
#include "engine/output.h"
#include "report/jobs.h"
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
  // A quantity with a grid file every transient year: the year's values
  // (kept for the worker) and, when it is mapped, the values of every year
  // (single precision is plenty for a colour) and its scale.
  struct Layer {
    std::string file;
    RealGrid now;
    bool mapped = true;
    MapLayer map;
    std::vector<std::vector<float>> years;
  };
  // On the worker: the year's grid of the layer, and its map values.
  void grid(Layer& layer, int year);
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  const RunConfig& cfg_;
  std::string dir_;
  BudgetCsv csv_;
  ReportContent content_;
  Layer ppt_, rcp_, rech_, gwirr_, mi_;
  std::vector<float> steady_;  // the steady period's recharge from precipitation
  std::string buf_;            // the worker's text room
  JobThread jobs_;             // last: ends before the data its jobs use
};

}  // namespace vadz
