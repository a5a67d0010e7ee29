#include "gis/crs.h"

#include <cmath>
#include <memory>

#include "utl/console.h"
#include "utl/textio.h"

#if VADZ_HAVE_PROJ
#include <proj.h>
#endif

namespace vadz {

#if VADZ_HAVE_PROJ

namespace {

// Metres per foot and per US survey foot (1200/3937).
constexpr double FOOT = 0.3048;
constexpr double US_FOOT = 1200.0 / 3937.0;

struct ContextFree {
  void operator()(PJ_CONTEXT* c) const { proj_context_destroy(c); }
};
struct ObjectFree {
  void operator()(PJ* p) const { proj_destroy(p); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextFree>;
using Object = std::unique_ptr<PJ, ObjectFree>;

bool near(double a, double b) { return std::fabs(a - b) <= 1e-12 * b; }

// The plane part of a CRS: a bound CRS's source, a compound CRS's first part.
Object horizontal(PJ_CONTEXT* ctx, Object crs) {
  switch (proj_get_type(crs.get())) {
    case PJ_TYPE_BOUND_CRS:
      return horizontal(ctx, Object(proj_get_source_crs(ctx, crs.get())));
    case PJ_TYPE_COMPOUND_CRS:
      return horizontal(ctx, Object(proj_crs_get_sub_crs(ctx, crs.get(), 0)));
    default:
      return crs;
  }
}

}  // namespace

CrsInfo resolve_crs(const std::string& what) {
  Context ctx(proj_context_create());
  if (!ctx) error("Out of memory");
  // Messages go to the console line, not through PROJ's own logger.
  proj_log_level(ctx.get(), PJ_LOG_NONE);
  std::string definition = what;
  const bool file = file_exists(what);
  if (file && !read_whole_file(what, definition)) error2("Error opening file", what);
  Object crs(proj_create(ctx.get(), definition.c_str()));
  if (!crs || !proj_is_crs(crs.get()))
    error(file ? "No CRS in file " + what : "Unknown CRS " + what);
  crs = horizontal(ctx.get(), std::move(crs));
  const char* named = crs ? proj_get_name(crs.get()) : nullptr;
  const std::string name = named ? named : "";
  Object cs(crs ? proj_crs_get_coordinate_system(ctx.get(), crs.get()) : nullptr);
  if (!cs) error("Unknown CRS " + what);
  const char* unit = nullptr;
  double metres = 0.0;
  if (!proj_cs_get_axis_info(ctx.get(), cs.get(), 0, nullptr, nullptr, nullptr, &metres, &unit,
                             nullptr, nullptr))
    error("Unknown CRS " + what);
  const PJ_COORDINATE_SYSTEM_TYPE type = proj_cs_get_type(ctx.get(), cs.get());
  if (type == PJ_CS_TYPE_ELLIPSOIDAL || type == PJ_CS_TYPE_SPHERICAL)
    error("CRS has no linear unit (geographic): " + name);
  if (!near(metres, FOOT) && !near(metres, US_FOOT))
    error("CRS unit is not the foot or US survey foot: " + std::string(unit ? unit : "") + " in " +
          name);
  const char* options[] = {"MULTILINE=NO", nullptr};
  const char* wkt = proj_as_wkt(ctx.get(), crs.get(), PJ_WKT1_ESRI, options);
  if (!wkt) error("CRS cannot be written as ESRI WKT: " + name);
  return {name, wkt};
}

#else

CrsInfo resolve_crs(const std::string&) {
  error("CRS needs a build with PROJ");
}

#endif

}  // namespace vadz
