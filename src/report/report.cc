#include "report/report.h"

#include <filesystem>
#include <system_error>

#include "engine/annual.h"
#include "report/esrigrid.h"
#include "report/pngfile.h"
#include "utl/console.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// The report's folder, created with its two subfolders; its name without
// trailing slashes.
std::string make_folders(std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  for (const std::string& d : {dir, dir + "/maps", dir + "/grids"}) {
    std::error_code ec;
    std::filesystem::create_directories(d, ec);
    if (ec || !std::filesystem::is_directory(d, ec)) error("Cannot open file " + d);
  }
  return dir;
}

std::vector<float> to_float(const RealGrid& g) { return std::vector<float>(g.begin(), g.end()); }

}  // namespace

RunReport::RunReport(const RunConfig& cfg)
    : cfg_(cfg), dir_(make_folders(cfg.reportdir)), csv_(dir_ + "/budget.csv"), content_(cfg) {
  ppt_.map = {"ppt", "Precipitation", "inches per year", {}, false};
  rcp_.map = {"rcp", "Recharge from precipitation", "inches per year", {}, false};
  rech_.map = {"rech", "Total recharge (precipitation and irrigation returns)",
               "inches per year", {}, false};
  gwirr_.map = {"gwirr", "Groundwater irrigation pumping", "acre-feet per year", {}, false};
  content_.grids = {"ppt", "rcp", "rech", "gwirr", "mi"};
  for (int32_t b : cfg.ibound) content_.active += b > 0 ? 1 : 0;
  content_.absent = absent_inputs(cfg);
}

void RunReport::grid(const std::string& stem, int year, const RealGrid& values, Layer* layer) {
  write_esri_grid(path(yearly_grid(stem, year)), values, cfg_.ibound, buf_);
  if (!layer) return;
  add_to_scale(layer->map.scale, values, cfg_.ibound);
  layer->years.push_back(to_float(values));
}

void RunReport::year(const YearResult& y) {
  csv_.year(y);
  content_.rows.push_back(y.budget);
  content_.row_year.push_back(y.year);
  if (y.year < 0) {
    // The steady period: the window's mean recharge from precipitation, on
    // the scale of the yearly recharge so that the two compare.
    write_esri_grid(path("grids/rcp_steady.asc"), y.rcp, cfg_.ibound, buf_);
    add_to_scale(rcp_.map.scale, y.rcp, cfg_.ibound);
    steady_ = to_float(y.rcp);
    content_.steady_grid = true;
    return;
  }
  content_.years.push_back(y.year);
  grid("ppt", y.year, y.rpp, &ppt_);
  grid("rcp", y.year, y.rcp, &rcp_);
  total_recharge(y.rcp, y.ann, total_);
  grid("rech", y.year, total_, &rech_);
  grid("gwirr", y.year, y.ann.annpump[0], &gwirr_);
  grid("mi", y.year, y.ann.annmi[0], nullptr);
}

void RunReport::finish() {
  csv_.finish();
  for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_}) {
    for (size_t j = 0; j < content_.years.size(); ++j)
      write_png(path(yearly_map(l->map.file, content_.years[j])),
                quantity_image(l->years[j], cfg_.ibound, l->map.scale));
    content_.yearly.push_back(l->map);
  }
  if (cfg_.ssyr1 > 0) {
    MapLayer steady = rcp_.map;
    steady.file = "rcp_steady";
    steady.title = "Steady recharge from precipitation";
    write_png(path(once_map(steady.file)), quantity_image(steady_, cfg_.ibound, steady.scale));
    content_.once.push_back(steady);
  }
  MapLayer terrain{"terrain", "Terrain multipliers", "multiplier", {}, false};
  add_to_scale(terrain.scale, cfg_.trn, cfg_.ibound);
  write_png(path(once_map(terrain.file)), quantity_image(to_float(cfg_.trn), cfg_.ibound, terrain.scale));
  content_.once.push_back(terrain);
  MapLayer soils{"soils", "Soils", "", {}, true};
  write_png(path(once_map(soils.file)), category_image(cfg_.isoil, cfg_.ibound, cfg_.nsoil));
  content_.once.push_back(soils);

  OutFile page;
  const std::string name = path("index.html");
  if (!page.open(name)) error("Cannot open file " + name);
  page.write(report_page(content_));
  page.close();
}

}  // namespace vadz
