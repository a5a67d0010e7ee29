#include "gridtool/cmd_raster.h"

#include <cmath>

#include "gridtool/gridfile.h"
#include "gridtool/options.h"
#include "gridtool/overlay.h"
#include "gridtool/raster_source.h"
#include "gridtool/summary.h"
#include "gridtool/target_grid.h"
#include "utl/console.h"

namespace vadz {

int grid_raster(int argc, const char* const* argv) {
  const Options o = parse_options(argc, argv, 2, {"--sum", "--mean", "--majority", "--bin"},
                                  {"--band", "--scale", "--fill"}, RASTER_USAGE);
  const int methods = static_cast<int>(o.flags.count("--sum") + o.flags.count("--mean") +
                                       o.flags.count("--majority"));
  if (o.args.size() != 3 || methods != 1) error(RASTER_USAGE);
  const Method m = o.has("--sum") ? Method::Sum : o.has("--mean") ? Method::Mean : Method::Majority;
  if (m == Method::Majority && o.has("--scale")) error("--scale does not apply to --majority");
  const double scale = o.real("--scale", 1.0);
  const TargetGrid g = read_target_grid(o.args[0]);
  const RasterBand b = read_raster_band(o.args[1], o.integer("--band", 1));
  warn_missing_crs(b.crs, g.crs, o.args[1]);

  const Overlay ov = overlay_raster(b, g, m);
  std::vector<double> out(static_cast<size_t>(g.ncell()), 0.0);
  std::vector<uint8_t> has(out.size(), 0);
  for (size_t k = 0; k < out.size(); ++k) {
    if (!(ov.area[k] > 0.0)) continue;
    has[k] = 1;
    switch (m) {
      case Method::Sum: out[k] = ov.weighted[k] * scale; break;
      case Method::Mean: out[k] = ov.weighted[k] / ov.area[k] * scale; break;
      case Method::Majority: out[k] = majority_class(ov.classes[k]); break;
    }
  }
  fill_missing(g, has, o, out);

  report_operations(ov);
  ConsoleLine line;
  if (m == Method::Sum) {
    line.text("source total " + num(ov.source_total * scale) + " (inside the grid " +
              num(ov.inside_total * scale) + "), written total " + num(written_total(out)));
  } else {
    double a = 0.0;
    for (double v : ov.area) a += v;
    line.text("source area inside the grid " + num(a / 43560.0) + " acres");
  }
  line.text("; " + coverage_counts(g, ov.area));
  console_line(line);
  write_real_grid(o.args[2], g, out, o.has("--bin"));
  return 0;
}

}  // namespace vadz
