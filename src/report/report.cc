#include "report/report.h"

#include <algorithm>
#include <filesystem>
#include <limits>
#include <system_error>

#include "engine/annual.h"
#include "input/schedule.h"
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

// Map values in single precision; magnitudes beyond its range are held to
// its largest finite value (they lie at an end of the scale anyway).
std::vector<float> to_float(const RealGrid& g) {
  constexpr double BIG = std::numeric_limits<float>::max();
  std::vector<float> f(g.size());
  for (size_t i = 0; i < g.size(); ++i) f[i] = static_cast<float>(std::clamp(g[i], -BIG, BIG));
  return f;
}

}  // namespace

RunReport::RunReport(const RunConfig& cfg)
    : cfg_(cfg), dir_(make_folders(cfg.reportdir)), csv_(dir_ + "/budget.csv"), content_(cfg) {
  ppt_.map = {"ppt", "Precipitation", "inches per year", {}, false};
  rcp_.map = {"rcp", "Recharge from precipitation", "inches per year", {}, false};
  rech_.map = {"rech", "Total recharge (precipitation and irrigation returns)",
               "inches per year", {}, false};
  gwirr_.map = {"gwirr", "Groundwater irrigation pumping", "acre-feet per year", {}, false};
  mi_.map.file = "mi";
  mi_.mapped = false;
  for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_, &mi_}) content_.grids.push_back(l->map.file);
  for (int32_t b : cfg.ibound) content_.active += b > 0 ? 1 : 0;
  content_.inventory = make_inventory(cfg, run_read_plan(cfg));
}

void RunReport::keep(Layer& layer) {
  if (!layer.mapped) return;
  add_to_scale(layer.map.scale, layer.now, cfg_.ibound);
  layer.years.push_back(to_float(layer.now));
}

void RunReport::year(const YearResult& y) {
  // The previous year's grids are written by now, or the run stops here.
  jobs_.wait();
  csv_.year(y);
  content_.rows.push_back(y.budget);
  content_.row_year.push_back(y.year);
  if (y.year < 0) {
    // The steady period: the window's mean recharge from precipitation, on
    // the scale of the yearly recharge so that the two compare.
    rcp_.now = y.rcp;
    add_to_scale(rcp_.map.scale, rcp_.now, cfg_.ibound);
    steady_ = to_float(rcp_.now);
    jobs_.post([this] {
      write_esri_grid(path("grids/rcp_steady.asc"), rcp_.now, cfg_.ibound, buf_);
    });
    content_.steady_grid = true;
    return;
  }
  content_.years.push_back(y.year);
  // The year's grids are copied: the run overwrites its own with the next year.
  ppt_.now = y.rpp;
  rcp_.now = y.rcp;
  total_recharge(y.rcp, y.ann, rech_.now);
  gwirr_.now = y.ann.annpump[0];
  mi_.now = y.ann.annmi[0];
  for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_, &mi_}) keep(*l);
  jobs_.post([this, year = y.year] {
    for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_, &mi_})
      write_esri_grid(path(yearly_grid(l->map.file, year)), l->now, cfg_.ibound, buf_);
  });
  // After the last year every scale is known: the maps are encoded while
  // the run writes its last tables.
  if (y.year == cfg_.tryr2) start_maps();
}

void RunReport::start_maps() {
  std::vector<std::function<void()>> maps;
  for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_}) {
    for (size_t j = 0; j < content_.years.size(); ++j) {
      maps.push_back([this, l, j] {
        write_png(path(yearly_map(l->map.file, content_.years[j])),
                  quantity_image(l->years[j], cfg_.ibound, l->map.scale));
      });
    }
    content_.yearly.push_back(l->map);
  }
  // Once per run: the steady recharge (on the scale of the yearly
  // recharge), the terrain multipliers and the soils.
  trn_ = to_float(cfg_.trn);
  std::vector<std::pair<MapLayer, const std::vector<float>*>> once;
  if (content_.steady_grid) {
    MapLayer steady = rcp_.map;
    steady.file = "rcp_steady";
    steady.title = "Steady recharge from precipitation";
    once.push_back({steady, &steady_});
  }
  MapLayer terrain{"terrain", "Terrain multipliers", "multiplier", {}, false};
  add_to_scale(terrain.scale, cfg_.trn, cfg_.ibound);
  once.push_back({terrain, &trn_});
  once.push_back({{"soils", "Soils", "", {}, true}, nullptr});
  for (const auto& [m, values] : once) {
    content_.once.push_back(m);
    maps.push_back([this, m = m, values = values] {
      write_png(path(once_map(m.file)),
                values ? quantity_image(*values, cfg_.ibound, m.scale)
                       : category_image(cfg_.isoil, cfg_.ibound, cfg_.nsoil));
    });
  }
  jobs_.start_all(std::move(maps));
  maps_started_ = true;
}

void RunReport::finish() {
  csv_.finish();
  if (!maps_started_) start_maps();
  jobs_.finish_all();

  OutFile page;
  const std::string name = path("index.html");
  if (!page.open(name)) error("Cannot open file " + name);
  page.write(report_page(content_));
  page.close();
}

}  // namespace vadz
