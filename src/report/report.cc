#include "report/report.h"

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
std::string make_folders(Staging& staged, std::string dir) {
  while (dir.size() > 1 && dir.back() == '/') dir.pop_back();
  for (const std::string& d : {dir, dir + "/maps", dir + "/grids"})
    if (!staged.make_folders(d)) error("Cannot open file " + d);
  return dir;
}

}  // namespace

RunReport::RunReport(const RunConfig& cfg, Staging& staged, const WaterAccounting& acct)
    : cfg_(cfg),
      acct_(acct),
      staged_(staged),
      dir_(make_folders(staged, cfg.reportdir)),
      csv_(cfg, dir_ + "/budget.csv", staged, acct),
      content_(cfg) {
  ppt_.map = {"ppt", "Precipitation", "inches per year", {}, false};
  rcp_.map = {"rcp", "Recharge from precipitation", "inches per year", {}, false};
  rech_.map = {"rech", "Total recharge (precipitation and irrigation returns)",
               "inches per year", {}, false};
  gwirr_.map = {"gwirr", "Groundwater irrigation pumping", "acre-feet per year", {}, false};
  mi_.map.file = "mi";
  mi_.mapped = false;
  for (Layer* l : layers()) content_.grids.push_back(l->map.file);
  for (int32_t b : cfg.ibound) content_.active += b > 0 ? 1 : 0;
  // The inventory (a look at every file the run reads) and the maps of the
  // run's fixed inputs, on the worker while the run starts.
  jobs_.post([this] {
    content_.inventory = make_inventory(cfg_, run_read_plan(cfg_));
    // Without TERRAIN the multipliers are 1 everywhere: a map of one colour.
    if (cfg_.iterrain) terrain_ = draw(once_map("terrain"), cfg_.trn);
    soils_.file = once_map("soils");
    category_image(image_, cfg_.isoil, cfg_.ibound, cfg_.nsoil);
    soils_.png = encode_png(image_, path(soils_.file));
  });
}

RunReport::Map RunReport::draw(const std::string& file, const RealGrid& values) const {
  Map m;
  m.file = file;
  add_to_scale(m.by, values, cfg_.ibound);
  quantity_image(image_, values, cfg_.ibound, m.by);
  m.png = encode_png(image_, path(file));
  return m;
}

void RunReport::year(const YearResult& y) {
  // A fault in writing an earlier year's files stops the run here.
  jobs_.check();
  csv_.year(y);
  groups_.add(y.ann);
  content_.rows.push_back(y.budget);
  content_.row_year.push_back(y.year);
  content_.water.push_back(acct_.last());
  YearGrids& g = grids_.take();
  if (y.year < 0) {
    g.grid[1] = y.rcp;
    jobs_.post([this, &g] {
      write_esri_grid(staged_, path("grids/rcp_steady.asc"), g.grid[1], cfg_.ibound, buf_);
      steady_ = draw(once_map("rcp_steady"), g.grid[1]);
      grids_.give_back(g);
    });
    content_.steady_grid = true;
    return;
  }
  content_.years.push_back(y.year);
  g.grid[0] = y.rpp;
  g.grid[1] = y.rcp;
  total_recharge(y.rcp, y.ann, g.grid[2]);
  g.grid[3] = y.ann.annpump[0];
  g.grid[4] = y.ann.annmi[0];
  jobs_.post([this, &g, year = y.year] {
    const std::array<Layer*, NLAYER> all = layers();
    for (int k = 0; k < NLAYER; ++k) {
      Layer* l = all[k];
      write_esri_grid(staged_, path(yearly_grid(l->map.file, year)), g.grid[k], cfg_.ibound,
                      buf_);
      if (l->mapped) l->maps.push_back(draw(yearly_map(l->map.file, year), g.grid[k]));
    }
    grids_.give_back(g);
  });
}

void RunReport::finish() {
  jobs_.wait();
  csv_.finish();
  // Each quantity's scale over all years (the steady recharge shares the
  // yearly recharge's); each map coloured on it and written.
  for (Layer* l : {&ppt_, &rcp_, &rech_, &gwirr_}) {
    for (const Map& m : l->maps) l->map.scale.add(m.by);
    if (l == &rcp_ && content_.steady_grid) l->map.scale.add(steady_.by);
    for (Map& m : l->maps) {
      recolour_png(m.png, quantity_colours(m.by, l->map.scale));
      save_png(staged_, path(m.file), m.png);
    }
    content_.yearly.push_back(l->map);
  }
  if (content_.steady_grid) {
    MapLayer steady = rcp_.map;
    steady.file = "rcp_steady";
    steady.title = "Steady recharge from precipitation";
    recolour_png(steady_.png, quantity_colours(steady_.by, steady.scale));
    save_png(staged_, path(steady_.file), steady_.png);
    content_.once.push_back(steady);
  }
  if (cfg_.iterrain) {
    save_png(staged_, path(terrain_.file), terrain_.png);
    content_.once.push_back({"terrain", "Terrain multipliers", "multiplier", terrain_.by, false});
  }
  save_png(staged_, path(soils_.file), soils_.png);
  content_.once.push_back({"soils", "Soils", "", {}, true});

  // The borders of the budget zones (as the BUDGET file numbers them; other
  // numbers are no zone) and of the state groups, inside the active area.
  FlagGrid zones = cfg_.ibgt;
  for (int32_t& z : zones)
    if (z < 1 || z > cfg_.nbgt) z = 0;
  content_.zone_outline = outline_path(zones, &cfg_.ibound);
  content_.group_outline = outline_path(groups_.areas(), &cfg_.ibound);
  content_.monthly = monthly_view(monthly_);

  OutFile page;
  const std::string name = path("index.html");
  if (!staged_.open(page, name)) error("Cannot open file " + name);
  page.write(report_page(content_));
  page.close();
}

}  // namespace vadz
