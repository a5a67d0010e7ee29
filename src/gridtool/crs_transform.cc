#include "gridtool/crs_transform.h"

#include <proj.h>

#include <cmath>
#include <limits>

#include "utl/console.h"

namespace vadz {

struct CrsTransform::Ctx {
  PJ_CONTEXT* ctx = proj_context_create();
  ~Ctx() { proj_context_destroy(ctx); }
};

namespace {

std::string first_line(const std::string& s) {
  const size_t n = s.find('\n');
  std::string t = s.substr(0, n);
  return t.size() > 60 ? t.substr(0, 60) + "..." : t;
}

PJ* make_crs(PJ_CONTEXT* ctx, const std::string& def, const char* what) {
  PJ* p = proj_create(ctx, def.c_str());
  if (p == nullptr) error2(std::string("Unknown CRS of the ") + what + ":", first_line(def));
  return p;
}

}  // namespace

std::string crs_name(const std::string& def, const char* what) {
  if (def.empty()) return "";
  PJ_CONTEXT* ctx = proj_context_create();
  PJ* p = proj_create(ctx, def.c_str());
  if (p == nullptr) {
    proj_context_destroy(ctx);
    error2(std::string("Unknown CRS of the ") + what + ":", first_line(def));
  }
  const char* n = proj_get_name(p);
  std::string name = n != nullptr ? n : "";
  proj_destroy(p);
  proj_context_destroy(ctx);
  return name;
}

CrsTransform::CrsTransform(const std::string& from, const std::string& to)
    : ctx_(std::make_unique<Ctx>()) {
  if (from.empty() || to.empty()) return;
  PJ* a = make_crs(ctx_->ctx, from, "source");
  PJ* b = make_crs(ctx_->ctx, to, "grid");
  const bool same = proj_is_equivalent_to_with_ctx(ctx_->ctx, a, b, PJ_COMP_EQUIVALENT) != 0;
  PJ* op = same ? nullptr : proj_create_crs_to_crs_from_pj(ctx_->ctx, a, b, nullptr, nullptr);
  proj_destroy(a);
  proj_destroy(b);
  if (same) return;
  if (op == nullptr) error("No coordinate operation between the source CRS and the grid's CRS");
  // Easting (or longitude) first, whatever axis order the CRS declares.
  PJ* norm = proj_normalize_for_visualization(ctx_->ctx, op);
  proj_destroy(op);
  if (norm == nullptr) error("No coordinate operation between the source CRS and the grid's CRS");
  pj_ = norm;
}

CrsTransform::~CrsTransform() {
  if (pj_ != nullptr) proj_destroy(static_cast<PJ*>(pj_));
}

void CrsTransform::apply(double* x, double* y, size_t n) {
  if (pj_ == nullptr || n == 0) return;
  PJ* pj = static_cast<PJ*>(pj_);
  proj_trans_generic(pj, PJ_FWD, x, sizeof(double), n, y, sizeof(double), n, nullptr, 0, 0,
                     nullptr, 0, 0);
  for (size_t i = 0; i < n; ++i)
    if (x[i] == HUGE_VAL || y[i] == HUGE_VAL || !std::isfinite(x[i]) || !std::isfinite(y[i]))
      x[i] = y[i] = std::numeric_limits<double>::infinity();
#if PROJ_VERSION_MAJOR > 9 || (PROJ_VERSION_MAJOR == 9 && PROJ_VERSION_MINOR >= 1)
  // Among candidate operations (datum transformations by area of use and
  // available grids) the one PROJ picked for the last point.
  if (PJ* last = proj_trans_get_last_used_operation(pj)) {
    const char* name = proj_get_name(last);
    if (name != nullptr) used_.insert(name);
    proj_destroy(last);
    return;
  }
#endif
  const char* name = proj_get_name(pj);
  if (name != nullptr) used_.insert(name);
}

std::string CrsTransform::planned() const {
  if (pj_ == nullptr) return "";
  const char* name = proj_get_name(static_cast<PJ*>(pj_));
  return name != nullptr ? name : "";
}

}  // namespace vadz
