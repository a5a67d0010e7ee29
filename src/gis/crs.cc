#include "gis/crs.h"

#include <cmath>
#include <memory>

#include "utl/console.h"
#include "utl/textio.h"

#if VADZ_HAVE_PROJ
#include <dlfcn.h>
#include <proj.h>

#include <type_traits>
#endif

namespace vadz {

#if VADZ_HAVE_PROJ

namespace {

// Metres per foot and per US survey foot (1200/3937).
constexpr double FOOT = 0.3048;
constexpr double US_FOOT = 1200.0 / 3937.0;

// The PROJ functions used here, from the library loaded on first use (and
// kept loaded for the run).
struct ProjApi {
  decltype(&::proj_context_create) context_create;
  decltype(&::proj_context_destroy) context_destroy;
  decltype(&::proj_log_level) log_level;
  decltype(&::proj_create) create;
  decltype(&::proj_is_crs) is_crs;
  decltype(&::proj_get_type) get_type;
  decltype(&::proj_get_source_crs) get_source_crs;
  decltype(&::proj_crs_get_sub_crs) crs_get_sub_crs;
  decltype(&::proj_get_name) get_name;
  decltype(&::proj_crs_get_coordinate_system) crs_get_coordinate_system;
  decltype(&::proj_cs_get_axis_info) cs_get_axis_info;
  decltype(&::proj_cs_get_type) cs_get_type;
  decltype(&::proj_as_wkt) as_wkt;
  decltype(&::proj_destroy) destroy;
};

ProjApi load_proj() {
  void* lib = dlopen(VADZ_PROJ_LIBRARY, RTLD_NOW | RTLD_LOCAL);
  if (!lib) error(std::string("CRS needs PROJ: cannot load ") + VADZ_PROJ_LIBRARY);
  ProjApi a{};
  auto get = [&](auto& fn, const char* name) {
    void* sym = dlsym(lib, name);
    if (!sym) error(std::string("CRS needs PROJ: no ") + name + " in " + VADZ_PROJ_LIBRARY);
    fn = reinterpret_cast<std::remove_reference_t<decltype(fn)>>(sym);
  };
  get(a.context_create, "proj_context_create");
  get(a.context_destroy, "proj_context_destroy");
  get(a.log_level, "proj_log_level");
  get(a.create, "proj_create");
  get(a.is_crs, "proj_is_crs");
  get(a.get_type, "proj_get_type");
  get(a.get_source_crs, "proj_get_source_crs");
  get(a.crs_get_sub_crs, "proj_crs_get_sub_crs");
  get(a.get_name, "proj_get_name");
  get(a.crs_get_coordinate_system, "proj_crs_get_coordinate_system");
  get(a.cs_get_axis_info, "proj_cs_get_axis_info");
  get(a.cs_get_type, "proj_cs_get_type");
  get(a.as_wkt, "proj_as_wkt");
  get(a.destroy, "proj_destroy");
  return a;
}

const ProjApi& api() {
  static const ProjApi a = load_proj();
  return a;
}

struct ContextFree {
  void operator()(PJ_CONTEXT* c) const { api().context_destroy(c); }
};
struct ObjectFree {
  void operator()(PJ* p) const { api().destroy(p); }
};
using Context = std::unique_ptr<PJ_CONTEXT, ContextFree>;
using Object = std::unique_ptr<PJ, ObjectFree>;

bool near(double a, double b) { return std::fabs(a - b) <= 1e-12 * b; }

// The plane part of a CRS: a bound CRS's source, a compound CRS's first part.
Object horizontal(PJ_CONTEXT* ctx, Object crs) {
  switch (api().get_type(crs.get())) {
    case PJ_TYPE_BOUND_CRS:
      return horizontal(ctx, Object(api().get_source_crs(ctx, crs.get())));
    case PJ_TYPE_COMPOUND_CRS:
      return horizontal(ctx, Object(api().crs_get_sub_crs(ctx, crs.get(), 0)));
    default:
      return crs;
  }
}

}  // namespace

CrsInfo resolve_crs(const std::string& what) {
  Context ctx(api().context_create());
  if (!ctx) error("Out of memory");
  // Messages go to the console line, not through PROJ's own logger.
  api().log_level(ctx.get(), PJ_LOG_NONE);
  std::string definition = what;
  const bool file = file_exists(what);
  if (file && !read_whole_file(what, definition)) error2("Error opening file", what);
  Object crs(api().create(ctx.get(), definition.c_str()));
  if (!crs || !api().is_crs(crs.get()))
    error(file ? "No CRS in file " + what : "Unknown CRS " + what);
  crs = horizontal(ctx.get(), std::move(crs));
  const char* named = crs ? api().get_name(crs.get()) : nullptr;
  const std::string name = named ? named : "";
  Object cs(crs ? api().crs_get_coordinate_system(ctx.get(), crs.get()) : nullptr);
  if (!cs) error("Unknown CRS " + what);
  const char* unit = nullptr;
  double metres = 0.0;
  if (!api().cs_get_axis_info(ctx.get(), cs.get(), 0, nullptr, nullptr, nullptr, &metres, &unit,
                             nullptr, nullptr))
    error("Unknown CRS " + what);
  const PJ_COORDINATE_SYSTEM_TYPE type = api().cs_get_type(ctx.get(), cs.get());
  if (type == PJ_CS_TYPE_ELLIPSOIDAL || type == PJ_CS_TYPE_SPHERICAL)
    error("CRS has no linear unit (geographic): " + name);
  if (!near(metres, FOOT) && !near(metres, US_FOOT))
    error("CRS unit is not the foot or US survey foot: " + std::string(unit ? unit : "") + " in " +
          name);
  const char* options[] = {"MULTILINE=NO", nullptr};
  const char* wkt = api().as_wkt(ctx.get(), crs.get(), PJ_WKT1_ESRI, options);
  if (!wkt) error("CRS cannot be written as ESRI WKT: " + name);
  return {name, wkt};
}

#else

CrsInfo resolve_crs(const std::string&) {
  error("CRS needs a build with PROJ");
}

#endif

}  // namespace vadz
