// The run report (REPORT <folder>): gathers each year's balance as the run
// goes and writes budget.csv and the year's ESRI grids (the grids on a
// worker thread while the run computes the next year). Every map of a
// quantity shares one colour scale, known after the last year: the maps are
// encoded from then on, beside the run's last tables, and the page is
// written when the run ends.
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
    RealGrid now;
    bool mapped = true;
    MapLayer map;
    std::vector<std::vector<float>> years;
  };
  // The year's values of a mapped layer into its scale and its maps.
  void keep(Layer& layer);
  // Starts encoding every map (all scales known).
  void start_maps();
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  const RunConfig& cfg_;
  std::string dir_;
  BudgetCsv csv_;
  ReportContent content_;
  Layer ppt_, rcp_, rech_, gwirr_, mi_;
  std::vector<float> steady_;  // the steady period's recharge from precipitation
  std::vector<float> trn_;     // the terrain multipliers
  bool maps_started_ = false;
  std::string buf_;            // the worker's text room
  JobThread jobs_;             // last: ends before the data its jobs use
};

}  // namespace vadz
