// The run report (REPORT <folder>): gathers each year's balance as the run
// goes and writes budget.csv; a worker thread writes the year's ESRI grids
// and encodes its maps while the run computes the next year. Every map of a
// quantity shares one colour scale, known only after the last year: a
// year's map is drawn over the year's own range, and at the end its palette
// is coloured on the quantity's range over all years; then the maps and the
// page are written.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/account.h"
#include "engine/budgetcsv.h"
#include "engine/output.h"
#include "report/monthly.h"
#include "report/overlay.h"
#include "utl/jobs.h"
#include "report/page.h"
#include "report/pngfile.h"

namespace vadz {

class RunReport : public RunOutput {
 public:
  // Creates the folder with its maps/ and grids/ folders (fatal "Cannot open
  // file " with the folder's name when it cannot be created) and budget.csv.
  // acct: the run's water accounts, listed among the outputs before this one.
  // Every file is staged: the report appears when the run completes.
  RunReport(const RunConfig& cfg, Staging& staged, const WaterAccounting& acct);
  void period(const PeriodResult& p) override { monthly_.period(p); }
  bool beside() const override { return true; }
  void year(const YearResult& y) override;
  void finish() override;

 private:
  // A map encoded, with the range it was drawn over.
  struct Map {
    std::string file;
    MapScale by;
    std::vector<uint8_t> png;
  };
  // A quantity with a grid file every transient year and, when it is
  // mapped, its maps and its scale over all years.
  struct Layer {
    bool mapped = true;
    MapLayer map;
    std::vector<Map> maps;
  };
  // A year's grids for the worker, in the order of layers(): copies, since
  // the run overwrites its own with the next year's.
  static constexpr int NLAYER = 5;
  struct YearGrids {
    std::array<RealGrid, NLAYER> grid;
  };
  std::array<Layer*, NLAYER> layers() { return {&ppt_, &rcp_, &rech_, &gwirr_, &mi_}; }
  // On the worker: a map of values drawn over their own range.
  Map draw(const std::string& file, const RealGrid& values) const;
  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  const RunConfig& cfg_;
  const WaterAccounting& acct_;
  Staging& staged_;
  std::string dir_;
  BudgetCsv csv_;
  ReportContent content_;
  Layer ppt_, rcp_, rech_, gwirr_, mi_;
  Map steady_;   // the steady recharge, on the scale of the yearly recharge
  Map terrain_;  // the terrain multipliers
  Map soils_;
  MonthlyFigures monthly_;
  GroupAreas groups_;
  std::string buf_;             // the worker's text room
  mutable IndexedImage image_;  // the worker's drawing room
  Pool<YearGrids> grids_;
  // A few years may wait for the worker (about 2 MB each).
  JobThread jobs_{4};  // last: ends before the data its jobs use
};

}  // namespace vadz
