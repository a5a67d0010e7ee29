#include "report/page.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "report/accountpage.h"
#include "report/colormap.h"
#include "report/overlay.h"
#include "report/svgchart.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// The skeleton of the page; each {{name}} is replaced by its section.
constexpr std::string_view SKELETON = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<meta name="viewport" content="width=device-width, initial-scale=1">
<title>Run report: {{name}}</title>
<style>
body { margin: 0; font: 14px/1.45 system-ui, "Segoe UI", Helvetica, Arial, sans-serif;
  color: #1f2328; background: #f3f3f1; }
header { background: #253746; color: #fff; padding: 14px 28px; }
header h1 { margin: 0; font-size: 21px; font-weight: 600; }
header p { margin: 2px 0 0; color: #c9d3dc; }
nav { margin-top: 6px; }
nav a { color: #fff; margin-right: 16px; text-decoration: none; border-bottom: 1px dotted #9fb3c4; }
main { padding: 4px 28px 28px; max-width: 1400px; }
section { background: #fff; border: 1px solid #d8d8d4; border-radius: 6px; padding: 6px 20px 14px;
  margin-top: 14px; }
h2 { font-size: 17px; margin: 8px 0 8px; }
h3 { font-size: 14px; margin: 14px 0 4px; color: #444; }
.note { color: #555; font-size: 13px; margin: 4px 0; }
.facts { display: flex; flex-wrap: wrap; gap: 8px 40px; }
table.kv { border-collapse: collapse; }
table.kv th { text-align: left; font-weight: 600; padding: 2px 14px 2px 0; vertical-align: top;
  white-space: nowrap; }
table.kv td { padding: 2px 0; }
table.list { border-collapse: collapse; font-size: 13px; }
table.list th, table.list td { border-bottom: 1px solid #e4e4e0; padding: 3px 12px 3px 0;
  text-align: left; }
table.list td { vertical-align: top; }
.absent { color: #a04000; }
.none { color: #777; font-style: italic; }
code { font: 12.5px ui-monospace, Menlo, Consolas, monospace; }
.stepper { display: flex; align-items: center; gap: 10px; margin: 4px 0 8px; position: sticky;
  top: 0; background: #fff; padding: 6px 0; z-index: 1; }
.stepper button { font-size: 15px; padding: 2px 12px; }
.stepper input { width: 320px; }
.stepper .year { font-size: 20px; font-weight: 600; min-width: 5ch; }
.maps { display: grid; grid-template-columns: repeat(2, minmax(0, 1fr)); gap: 12px 22px; }
.maps.once { grid-template-columns: repeat(3, minmax(0, 1fr)); }
figure { margin: 0; }
figcaption { font-weight: 600; margin-bottom: 3px; }
figure img { display: block; width: 100%; height: auto; image-rendering: pixelated;
  border: 1px solid #c8c8c4; background: #fff; }
figure img[hidden] { display: none; }
.mapbox { position: relative; }
svg.ov { position: absolute; left: 1px; top: 1px; width: calc(100% - 2px); height: calc(100% - 2px);
  pointer-events: none; }
svg.ov .olz { stroke: #fff; stroke-width: 1.4; }
svg.ov .olz.halo { stroke: #000; stroke-opacity: 0.6; stroke-width: 3.4; }
svg.ov .olg { stroke: #ff2d7a; stroke-width: 2.2; stroke-dasharray: 5 3; }
svg.ov circle { fill: #fff; stroke: #111; stroke-width: 1.2; vector-effect: non-scaling-stroke;
  pointer-events: auto; cursor: help; }
svg.ov circle:hover { fill: #ff2d7a; }
svg.ovdefs { position: absolute; }
.ovkey { display: flex; flex-wrap: wrap; gap: 4px 18px; margin: 0 0 8px; font-size: 13px; }
.ovkey label span { display: inline-block; width: 22px; height: 0; margin: 0 5px 3px 4px;
  vertical-align: middle; }
.ovkey .kz { border-top: 2px solid #fff; box-shadow: 0 0 0 1.5px #333; }
.ovkey .kg { border-top: 2.5px dashed #ff2d7a; }
.ovkey .ks { width: 8px; height: 8px; border: 1.5px solid #111; border-radius: 50%; }
#maps.hide-olz .olz, #maps.hide-olg .olg, #maps.hide-stn .stn { display: none; }
svg text { font-family: system-ui, "Segoe UI", Helvetica, Arial, sans-serif; }
svg .bl { font-size: 11px; text-anchor: middle; fill: #333; }
svg .br { font-size: 12px; fill: #333; }
svg .tick { stroke: #333; }
.legend { display: flex; flex-wrap: wrap; gap: 4px 16px; margin-top: 6px; font-size: 13px; }
.legend span::before { content: ""; display: inline-block; width: 13px; height: 13px;
  margin-right: 5px; vertical-align: -2px; background: var(--c); border: 1px solid #888; }
.charts { display: flex; flex-wrap: wrap; gap: 8px 14px; }
svg.chart { background: #fff; }
svg.chart .ct { font-size: 13px; font-weight: 600; }
svg.chart .cu { font-size: 11.5px; fill: #555; }
svg.chart .yl { font-size: 11px; text-anchor: end; dominant-baseline: middle; fill: #333; }
svg.chart .xl { font-size: 11px; text-anchor: middle; fill: #333; }
svg.chart .lg { font-size: 11.5px; fill: #222; }
svg.chart .grid { stroke: #e3e3e0; }
svg.chart .zero { stroke: #888; }
.tablewrap { overflow-x: auto; }
table.budget { border-collapse: collapse; font-size: 12.5px; font-variant-numeric: tabular-nums; }
table.budget th, table.budget td { padding: 2px 7px; border-bottom: 1px solid #ecece8;
  white-space: nowrap; }
table.budget td.n { text-align: right; }
table.budget thead th { position: sticky; top: 0; background: #f6f6f3; text-align: right;
  border-bottom: 1px solid #bbb; }
table.budget thead th:first-child, table.budget thead th:nth-child(2) { text-align: left; }
table.budget tr.total td { font-weight: 600; border-bottom: 1px solid #bbb; }
table.budget th.g { text-align: left; vertical-align: top; font-weight: 600; border-bottom: 1px solid #bbb;
  white-space: normal; min-width: 140px; max-width: 190px; }
table.budget th.g small { display: block; font-weight: normal; color: #555; }
table.budget.month { font-size: 12px; }
table.budget.month th, table.budget.month td { padding: 2px 4px; }
table.budget.month thead th { text-align: right; }
table.budget.month thead th:first-child { text-align: left; }
table.budget.month thead th.span { text-align: center; border-left: 1px solid #ccc; }
table.budget.month td.b { border-left: 1px solid #e0e0dc; }
</style>
</head>
<body>
<header>
<h1>Run report: {{name}}</h1>
<p>{{summary}}</p>
<nav><a href="#run">Run</a><a href="#maps">Maps</a><a href="#charts">Budget charts</a><a href="#monthly">Monthly</a><a href="#table">Budget table</a><a href="#files">Files</a></nav>
</header>
<main>
<section id="run">
<h2>Run</h2>
{{facts}}
</section>
<section id="maps">
<h2>Maps</h2>
{{maps}}
</section>
<section id="charts">
<h2>Budget charts</h2>
{{charts}}
</section>
<section id="monthly">
<h2>Monthly</h2>
{{monthly}}
</section>
<section id="table">
<h2>Budget table</h2>
{{table}}
</section>
<section id="files">
<h2>Files</h2>
{{files}}
</section>
</main>
<noscript><style>.stepper, .ovkey input, .yearpick { display: none; } figure img.y[hidden] { display: block; margin-top: 6px; }
.monthly[hidden] { display: block; }</style></noscript>
<script>
// Steps the yearly maps through the years: buttons, slider, arrow keys.
(function () {
  var slider = document.getElementById("year");
  if (!slider) return;
  var years = slider.getAttribute("data-years").split(" ");
  var label = document.getElementById("yearlabel");
  var imgs = document.querySelectorAll("[data-i]");
  var picks = document.querySelectorAll("select.yearpick");
  function show(i) {
    i = Math.max(0, Math.min(years.length - 1, i));
    slider.value = i;
    label.textContent = years[i];
    for (var k = 0; k < imgs.length; k++) imgs[k].hidden = imgs[k].getAttribute("data-i") != i;
    for (var k = 0; k < picks.length; k++) picks[k].selectedIndex = i;
  }
  slider.addEventListener("input", function () { show(+slider.value); });
  for (var k = 0; k < picks.length; k++)
    picks[k].addEventListener("change", function (e) { show(e.target.selectedIndex); });
  document.getElementById("prev").addEventListener("click", function () { show(+slider.value - 1); });
  document.getElementById("next").addEventListener("click", function () { show(+slider.value + 1); });
  document.addEventListener("keydown", function (e) {
    if (e.target.tagName == "INPUT" && e.target !== slider) return;
    if (e.key == "ArrowLeft") { show(+slider.value - 1); e.preventDefault(); }
    if (e.key == "ArrowRight") { show(+slider.value + 1); e.preventDefault(); }
  });
  show(0);
})();
// Shows and hides the lines and marks drawn over the maps.
(function () {
  var maps = document.getElementById("maps");
  var boxes = document.querySelectorAll(".ovkey input");
  for (var k = 0; k < boxes.length; k++)
    boxes[k].addEventListener("change", function (e) {
      maps.classList.toggle("hide-" + e.target.getAttribute("data-ov"), !e.target.checked);
    });
})();
</script>
</body>
</html>
)";

// Group descriptions and units of the budget table, in column order.
struct GroupText {
  const char* what;
  const char* unit;
  int decimals;
};
constexpr GroupText GROUPS[NBGROUP] = {
    {"active cells", "cells", 0},
    {"mean precipitation", "inches per year", 1},
    {"groundwater irrigation pumping", "acre-feet per year", 1},
    {"municipal and industrial pumping", "acre-feet per year", 1},
    {"groundwater-irrigated area", "acres", 1},
    {"commingled irrigated area", "acres", 1},
    {"surface-water-irrigated area", "acres", 1},
    {"recharge from precipitation", "acre-feet per year", 1},
    {"return from groundwater-irrigated land", "acre-feet per year", 1},
    {"return from surface-water-irrigated land", "acre-feet per year", 1},
    {"return from commingled land", "acre-feet per year", 1},
};
enum Group { CELLS, PRECIP, GWIRR, GWMI, GWAREA, COAREA, SWAREA, RCP, RCG, RCS, RCC };

// The three state groups, in the order of DIR.
constexpr const char* STATE_GROUP[3] = {"CO", "KS", "NE"};

std::string shortest(double v) {
  char b[SHORTEST_MAX];
  return std::string(b, put_shortest(b, v));
}

std::string year_text(int y) {
  char b[4];
  put_int(b, 4, y);
  return std::string(b, 4);
}

std::string zone_name(const RunConfig& cfg, int z) {
  return std::string(rtrim(cfg.bgtname[z - 1]));
}

// The skeleton with each {{key}} replaced by its text; inserted texts are
// not searched again.
std::string fill(std::string_view skeleton,
                 const std::vector<std::pair<std::string_view, std::string>>& parts) {
  std::string out;
  for (;;) {
    const size_t at = skeleton.find("{{");
    const size_t end = skeleton.find("}}", at);
    if (at == std::string_view::npos || end == std::string_view::npos) break;
    out += skeleton.substr(0, at);
    const std::string_view key = skeleton.substr(at + 2, end - at - 2);
    for (const auto& [k, text] : parts)
      if (k == key) out += text;
    skeleton.remove_prefix(end + 2);
  }
  out += skeleton;
  return out;
}

std::string row(std::string_view key, const std::string& value) {
  return "<tr><th>" + std::string(key) + "</th><td>" + value + "</td></tr>\n";
}

std::string years_text(int y1, int y2) {
  return y1 == y2 ? year_text(y1) : year_text(y1) + "&ndash;" + year_text(y2);
}

// ------------------------------------------------------------ run facts

std::string inventory(const Inventory& inv);

std::string facts(const ReportContent& rc) {
  const RunConfig& cfg = rc.cfg;
  std::string kv = "<table class=\"kv\">\n";
  std::error_code ec;
  const std::string abs = std::filesystem::absolute(cfg.parfile, ec).lexically_normal().string();
  // The name as given; the full path shows on pointing at it.
  kv += row("Parameter file", "<code title=\"" + escape(ec ? cfg.parfile : abs) + "\">" +
                                  escape(cfg.parfile) + "</code>");
  if (cfg.ssyr1 > 0) {
    const int n = cfg.ssyr2 - cfg.ssyr1 + 1;
    kv += row("Steady period", "mean of " + years_text(cfg.ssyr1, cfg.ssyr2) + " (" +
                                   whole(n) + (n == 1 ? " year" : " years") +
                                   "), recharge multiplier " + shortest(cfg.ssmult));
  } else {
    kv += row("Steady period", "none");
  }
  const int ntr = cfg.tryr2 >= cfg.tryr1 ? cfg.tryr2 - cfg.tryr1 + 1 : 0;
  kv += row("Transient years",
            ntr == 0 ? std::string("none")
                     : years_text(cfg.tryr1, cfg.tryr2) + " (" + whole(ntr) +
                           (ntr == 1 ? " year, " : " years, ") + whole(12 * ntr) +
                           " monthly stress periods)");
  if (cfg.iprism == 1) {
    kv += row("Precipitation",
              "yearly grids (PRISM) from <code>" + escape(rtrim(cfg.prismpath)) + "</code>");
  } else {
    static const char* DRIFT[] = {"none", "linear", "quadratic"};
    const int d = cfg.stations.idrift;
    kv += row("Precipitation", "kriged from " + whole(cfg.stations.nstn) +
                                   " stations, drift order " + whole(d) +
                                   (d >= 0 && d <= 2 ? std::string(" (") + DRIFT[d] + ")" : ""));
  }
  std::string zones;
  for (int z = 1; z <= cfg.nbgt; ++z) zones += (z > 1 ? ", " : "") + escape(zone_name(cfg, z));
  kv += row("Budget zones", zones);
  std::string groups;
  for (int s = 0; s < 3; ++s) {
    groups += std::string(s > 0 ? ", " : "") + STATE_GROUP[s] + " in <code>" +
              escape(rtrim(cfg.stdir[s])) + "</code>" + (cfg.ipump[s] ? "" : " (no pumping)");
  }
  kv += row("State groups", groups);
  kv += row("Stress multipliers",
            "groundwater CO " + shortest(cfg.stressf[0]) + ", KS " + shortest(cfg.stressf[1]) +
                ", NE " + shortest(cfg.stressf[2]) + "; surface water and commingled in mound cells " +
                shortest(cfg.stressf[3]) + (cfg.icmdsf ? " (from the command line)" : ""));
  std::string months;
  for (int m = 0; m < 12; ++m) months += (m > 0 ? " " : "") + shortest(cfg.monmult[m]);
  kv += row("Month multipliers", months);
  MapScale trn;
  add_to_scale(trn, cfg.trn, cfg.ibound);
  if (!cfg.iterrain)
    kv += row("Terrain multipliers", "none (no <code>TERRAIN</code>)");
  else if (!trn.empty)
    kv += row("Terrain multipliers", grouped(trn.lo, 3) + " to " + grouped(trn.hi, 3) +
                                         " over the active cells");
  std::string soils;
  for (int k = 1; k <= cfg.nsoil; ++k)
    soils += (k > 1 ? ", " : "") + whole(k) + " " + escape(rtrim(cfg.soilname[k - 1]));
  kv += row("Soils", soils);
  kv += row("Active cells", grouped(rc.active, 0) + " of " + grouped(NCELL, 0));
  // The grid and its CRS where the parameter file set them.
  const GridGeometry& grid = model_grid();
  auto feet = [](double v) { return grouped(v, v == std::round(v) ? 0 : 2); };
  if (!grid.is_default())
    kv += row("Grid", whole(NROW) + " rows by " + whole(NCOL) + " columns of " + feet(CELL) +
                          "-foot cells, south-west corner x " + feet(X0) + ", y " + feet(Y0) +
                          " feet");
  if (!grid.crs_name.empty()) kv += row("Coordinate reference system", escape(grid.crs_name));
  std::string model = "recharge <code>" + escape(cfg.rchfile[0]) + "</code>";
  for (int k = 1; k < cfg.nrch; ++k) model += ", <code>" + escape(cfg.rchfile[k]) + "</code>";
  model += "; wells <code>" + escape(cfg.welfile) + "</code>";
  kv += row("Model files", model);
  kv += "</table>\n";

  return "<div class=\"facts\"><div>" + kv + "</div>" + inventory(rc.inventory) + "</div>\n";
}

// The grid inputs of the run: per file kind (rows) and folder (columns)
// the periods whose file is there and those whose file is absent (read as
// zeros).
std::string inventory(const Inventory& inv) {
  std::string s = "<div><h3>Grid inputs</h3>\n<p class=\"note\">" + grouped(inv.files, 0) +
                  " files read (" + grouped(static_cast<double>(inv.bytes) / 1e6, 1) + " MB), " +
                  grouped(inv.absent, 0) +
                  " absent: the run reads an absent file as zeros.</p>\n<table class=\"list\">"
                  "<tr><th>Kind</th>";
  std::vector<const InventoryFolder*> folders;
  for (const InventoryFolder& f : inv.folders) {
    if (!f.read()) continue;
    folders.push_back(&f);
    s += "<th>" + std::string(f.group >= 0 ? STATE_GROUP[f.group] : "PRISM") + " <code>" +
         escape(f.dir) + "</code>" +
         (f.exists ? "" : " <span class=\"absent\">(does not exist)</span>");
    // A folder without any file of the run is more likely a wrong name in
    // DIR than a group without water: kinds read "none in this run" there.
    bool any = false;
    for (const InventoryKind& k : f.kinds) any = any || !k.present.empty();
    if (f.exists && !any) s += " <span class=\"absent\">(no file of the run)</span>";
    s += "</th>";
  }
  s += "</tr>\n";
  for (FileKind kind : all_kinds()) {
    std::string row;
    bool read = false;
    for (const InventoryFolder* f : folders) {
      row += "<td>";
      for (const InventoryKind& k : f->kinds) {
        if (k.kind != kind || !k.read()) continue;
        read = true;
        // A kind with no file in any period is a group without that water
        // (no surface water, say), not a gap in its data.
        if (k.present.empty()) {
          row += "<span class=\"none\">none in this run</span>";
          continue;
        }
        row += grouped(k.files, 0) + (k.files == 1 ? " file" : " files");
        row += ": " + escape(period_ranges(k.present));
        if (!k.absent.empty())
          row += "<br><span class=\"absent\">absent: " + escape(period_ranges(k.absent)) +
                 "</span>";
      }
      row += "</td>";
    }
    if (read) s += "<tr><td><code>." + std::string(kind_tag(kind)) + "</code></td>" + row + "</tr>\n";
  }
  s += "</table></div>\n";
  return s;
}

// ------------------------------------------------------------ maps

std::string map_figure(const MapLayer& m, const std::vector<int>& years, bool yearly,
                       const std::string& marks) {
  std::string s =
      "<figure><figcaption>" + escape(m.title) + "</figcaption>\n<div class=\"mapbox\">";
  const std::string size = " width=\"" + whole(NCOL * MAP_PIXELS) + "\" height=\"" +
                           whole(NROW * MAP_PIXELS) + "\"";
  if (yearly) {
    for (size_t j = 0; j < years.size(); ++j) {
      const std::string y = year_text(years[j]);
      s += "<a href=\"" + yearly_map(m.file, years[j]) + "\"><img class=\"y\" data-i=\"" +
           whole(j) + "\" src=\"" + yearly_map(m.file, years[j]) + "\"" + size +
           " alt=\"" + escape(m.title) + " " + y + "\" title=\"" + escape(m.title) + " " + y +
           "\"" + (j == 0 ? "" : " hidden loading=\"lazy\"") + "></a>\n";
    }
  } else {
    s += "<a href=\"" + once_map(m.file) + "\"><img src=\"" + once_map(m.file) + "\"" + size +
         " alt=\"" + escape(m.title) + "\"></a>\n";
  }
  s += map_overlay(marks) + "</div>\n";
  return s;
}

std::string soil_legend(const RunConfig& cfg, bool missing) {
  std::string s = "<div class=\"legend\">";
  for (int k = 1; k <= cfg.nsoil; ++k) {
    s += "<span style=\"--c: " + css_colour(qualitative(k - 1)) + "\">" + whole(k) +
         " " + escape(rtrim(cfg.soilname[k - 1])) + "</span>";
  }
  if (missing) s += "<span style=\"--c: " + css_colour(no_category()) + "\">no soil</span>";
  s += "</div>\n";
  return s;
}

std::string maps(const ReportContent& rc) {
  // Stations are shown where precipitation is kriged from them.
  const bool kriged = rc.cfg.iprism != 1;
  const std::string marks = kriged ? station_marks(rc.cfg.stations, rc.years) : "";
  std::string s = overlay_defs(rc.zone_outline, rc.group_outline, kriged);
  if (!rc.years.empty()) {
    std::string list;
    for (size_t j = 0; j < rc.years.size(); ++j) list += (j ? " " : "") + year_text(rc.years[j]);
    s += "<div class=\"stepper\"><button id=\"prev\" type=\"button\" title=\"previous year "
         "(left arrow)\">&#9664;</button><input id=\"year\" type=\"range\" min=\"0\" max=\"" +
         whole(rc.years.size() - 1) + "\" value=\"0\" data-years=\"" + list +
         "\" aria-label=\"year\"><button id=\"next\" type=\"button\" title=\"next year (right "
         "arrow)\">&#9654;</button><span class=\"year\" id=\"yearlabel\">" +
         year_text(rc.years[0]) + "</span><span class=\"note\">Every year's map of a quantity "
         "shares one colour scale. Cells outside the active area are blank.</span></div>\n";
    s += "<div class=\"maps\">\n";
    int id = 0;
    for (const MapLayer& m : rc.yearly) {
      s += "<div>" + map_figure(m, rc.years, true, m.file == "ppt" ? marks : "") +
           colour_bar(m.scale, m.unit, "cb" + whole(id++)) + "</figure></div>\n";
    }
    s += "</div>\n";
  }
  s += "<h3>Once per run</h3>\n<div class=\"maps once\">\n";
  int id = 100;
  for (const MapLayer& m : rc.once) {
    s += "<div>" + map_figure(m, rc.years, false, "");
    if (m.soils) {
      bool missing = false;
      for (int i = 0; i < NCELL; ++i)
        if (rc.cfg.ibound[i] > 0 && (rc.cfg.isoil[i] < 1 || rc.cfg.isoil[i] > rc.cfg.nsoil))
          missing = true;
      s += soil_legend(rc.cfg, missing);
    } else {
      s += colour_bar(m.scale, m.unit, "cb" + whole(id++));
    }
    s += "</figure></div>\n";
  }
  s += "</div>\n";
  return s;
}

// ------------------------------------------------------------ charts

// The values of one group and zone (0 the total) over the rows that carry it.
std::vector<double> values(const ReportContent& rc, int g, int z, bool with_steady) {
  std::vector<double> v;
  for (size_t k = 0; k < rc.rows.size(); ++k) {
    if (rc.row_year[k] < 0 && !with_steady) continue;
    const bool has = !rc.rows[k].steady || g == RCP_GROUP;
    v.push_back(has ? rc.rows[k].value[g][z] : NAN);
  }
  return v;
}

std::vector<std::string> labels(const ReportContent& rc, bool with_steady) {
  std::vector<std::string> x;
  for (int y : rc.row_year) {
    if (y >= 0)
      x.push_back(year_text(y));
    else if (with_steady)
      x.push_back("steady");
  }
  return x;
}

// One line per zone and one for the total.
std::string zone_lines(const ReportContent& rc, int g, const std::string& title) {
  Chart c;
  c.title = title;
  c.unit = GROUPS[g].unit;
  c.x = labels(rc, false);
  for (int z = 1; z <= rc.cfg.nbgt; ++z)
    c.series.push_back({zone_name(rc.cfg, z), qualitative(z - 1), values(rc, g, z, false)});
  c.series.push_back({"total", TOTAL_COLOUR, values(rc, g, 0, false), true});
  return line_chart(c);
}

// Panels of stacked kinds, one per zone and one for the total.
std::string kind_panels(const ReportContent& rc, const std::string& title,
                        const std::vector<std::pair<int, int>>& kinds,
                        const std::vector<std::string>& names, bool with_steady) {
  std::string s;
  for (int z = 0; z <= rc.cfg.nbgt; ++z) {
    const int zone = z == rc.cfg.nbgt ? 0 : z + 1;  // zones first, the total last
    Chart c;
    c.width = 310;
    c.title = title + ": " + (zone == 0 ? std::string("total") : zone_name(rc.cfg, zone));
    c.unit = GROUPS[kinds[0].first].unit;
    c.x = labels(rc, with_steady);
    for (size_t k = 0; k < kinds.size(); ++k)
      c.series.push_back(
          {names[k], qualitative(kinds[k].second), values(rc, kinds[k].first, zone, with_steady)});
    s += stacked_chart(c);
  }
  return s;
}

std::string charts(const ReportContent& rc) {
  if (rc.years.empty()) return "<p class=\"note\">No transient years.</p>\n";
  std::string s = "<h3>Precipitation and pumping</h3>\n<div class=\"charts\">\n";
  s += zone_lines(rc, PRECIP, "Mean precipitation");
  s += zone_lines(rc, GWIRR, "Groundwater irrigation pumping");
  s += zone_lines(rc, GWMI, "Municipal and industrial pumping");
  s += "</div>\n<h3>Irrigated areas</h3>\n<div class=\"charts\">\n";
  s += kind_panels(rc, "Irrigated area",
                   {{GWAREA, COLOUR_GW}, {COAREA, COLOUR_CO}, {SWAREA, COLOUR_SW}},
                   {"groundwater", "commingled", "surface water"}, false);
  s += "</div>\n<h3>Recharge by kind</h3>\n<div class=\"charts\">\n";
  s += kind_panels(rc, "Recharge",
                   {{RCP, COLOUR_PRECIP}, {RCG, COLOUR_GW}, {RCS, COLOUR_SW}, {RCC, COLOUR_CO}},
                   {"precipitation", "gw irrigation", "sw irrigation", "commingled"}, true);
  s += "</div>\n";
  s += "<p class=\"note\">Pumping, areas and irrigation returns are taken by state group: zone "
       "columns 1, 2 and 3 show the state groups CO, KS and NE, zones beyond the third show 0. "
       "Precipitation, cell counts and the recharge from precipitation are taken by budget zone. "
       "The steady period has only the recharge from precipitation here; its pumping and "
       "returns are in the account below.</p>\n";
  s += account_section(rc);
  return s;
}

// ------------------------------------------------------------ table

std::string table(const ReportContent& rc) {
  const int nbgt = rc.cfg.nbgt;
  std::string s = "<div class=\"tablewrap\"><table class=\"budget\">\n<thead><tr><th>Group</th><th>Zone</th>";
  for (int y : rc.row_year) s += "<th>" + (y < 0 ? std::string("steady") : year_text(y)) + "</th>";
  s += "</tr></thead>\n<tbody>\n";
  for (int g = 0; g < NBGROUP; ++g) {
    for (int k = 0; k <= nbgt; ++k) {
      const int zone = k == nbgt ? 0 : k + 1;
      s += zone == 0 ? "<tr class=\"total\">" : "<tr>";
      if (k == 0) {
        s += "<th class=\"g\" rowspan=\"" + whole(nbgt + 1) + "\">" +
             budget_label(g) + "<small>" + GROUPS[g].what + ", " + GROUPS[g].unit +
             "</small></th>";
      }
      s += "<td>" + (zone == 0 ? std::string("total") : escape(zone_name(rc.cfg, zone))) + "</td>";
      for (const BudgetRow& r : rc.rows) {
        if (r.steady && g != RCP_GROUP) {
          s += "<td></td>";
          continue;
        }
        const double v = r.value[g][zone];
        s += std::isnan(v) ? "<td class=\"n\" title=\"no active cells\">&ndash;</td>"
                           : "<td class=\"n\">" + grouped(v, GROUPS[g].decimals) + "</td>";
      }
      s += "</tr>\n";
    }
  }
  s += "</tbody></table></div>\n<p class=\"note\">Rounded for reading; <a href=\"budget.csv\">"
       "budget.csv</a> holds every number at full precision. A zone without active cells has "
       "no mean precipitation (&ndash;).</p>\n";
  return s;
}

// ------------------------------------------------------------ files

std::string files(const ReportContent& rc) {
  std::string s = "<p><a href=\"budget.csv\"><code>budget.csv</code></a>: the budget table, one "
                  "row per number (period, group, zone, value) at full precision.</p>\n";
  s += "<p>ESRI ASCII grids for GIS tools (165 rows by 326 columns of 5,280 feet, lower-left "
       "corner 266023, 14092806; inactive cells NODATA -9999): precipitation, recharge from "
       "precipitation and total recharge in inches per year, groundwater irrigation and "
       "municipal-industrial pumping in acre-feet.</p>\n<table class=\"list\"><tr><th>Year</th>";
  for (const std::string& g : rc.grids) s += "<th>" + escape(g) + "</th>";
  s += "</tr>\n";
  if (rc.steady_grid) {
    s += "<tr><td>steady</td><td></td><td><a href=\"grids/rcp_steady.asc\">rcp_steady.asc</a>"
         "</td></tr>\n";
  }
  for (int y : rc.years) {
    s += "<tr><td>" + year_text(y) + "</td>";
    for (const std::string& g : rc.grids) {
      const std::string f = yearly_grid(g, y);
      s += "<td><a href=\"" + f + "\">" + f.substr(6) + "</a></td>";
    }
    s += "</tr>\n";
  }
  s += "</table>\n";
  return s;
}

}  // namespace

std::string yearly_map(const std::string& stem, int year) {
  return "maps/" + stem + "_" + year_text(year) + ".png";
}
std::string once_map(const std::string& name) { return "maps/" + name + ".png"; }
std::string yearly_grid(const std::string& stem, int year) {
  return "grids/" + stem + "_" + year_text(year) + ".asc";
}

std::string report_page(const ReportContent& rc) {
  const RunConfig& cfg = rc.cfg;
  const std::string name = std::filesystem::path(cfg.parfile).filename().string();
  std::string summary;
  if (cfg.ssyr1 > 0) summary += "steady " + years_text(cfg.ssyr1, cfg.ssyr2) + " &middot; ";
  summary += rc.years.empty() ? std::string("no transient years")
                              : "transient " + years_text(rc.years.front(), rc.years.back());
  summary += " &middot; " + whole(cfg.nbgt) + (cfg.nbgt == 1 ? " budget zone" : " budget zones");
  summary += " &middot; " + std::string(cfg.iprism == 1 ? "PRISM precipitation" : "station precipitation");
  const std::string page = fill(SKELETON, {{"name", escape(name)},
                                           {"summary", summary},
                                           {"facts", facts(rc)},
                                           {"maps", maps(rc)},
                                           {"charts", charts(rc)},
                                           {"monthly", rc.monthly},
                                           {"table", table(rc)},
                                           {"files", files(rc)}});
  // Every text file of the program ends its lines with CR LF.
  std::string out;
  out.reserve(page.size() + page.size() / 16);
  for (char c : page) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace vadz
