#include "engine/stress.h"

#include "engine/accumulate.h"

namespace vadz {

namespace {

constexpr double YEAR_SECONDS = 31557600.0;  // 365.25 days

// The slots of a water kind's annual array (const or not).
template <class Ann>
auto& slots_of(Ann& ann, FileKind kind) {
  switch (kind) {
    case FileKind::mi:
      return ann.annmi;
    case FileKind::pmp:
      return ann.annpump;
    case FileKind::rcg:
      return ann.annrcg;
    case FileKind::rcs:
      return ann.annrcs;
    default:
      return ann.annrcc;
  }
}

}  // namespace

bool is_water(FileKind kind) {
  return kind == FileKind::mi || kind == FileKind::pmp || kind == FileKind::rcg ||
         kind == FileKind::rcs || kind == FileKind::rcc;
}

double year_fraction(int seconds) { return seconds / YEAR_SECONDS; }

void add_stress(RealGrid& target, const RunConfig& cfg, int group, FileKind kind, double q,
                const RealGrid& grid) {
  const double sf = cfg.stressf[group];
  switch (kind) {
    case FileKind::mi:
      // A yearly volume, prorated by the period's share of the year; the
      // mask does not apply to it.
      add(target, sf * q, grid);
      break;
    case FileKind::pmp:
    case FileKind::rcg:
      condadd(target, sf, grid, cfg.gwmask);
      break;
    case FileKind::rcs:
    case FileKind::rcc:
      condadd3(target, cfg.stressf[3], grid, cfg.mound);
      break;
    default:
      break;
  }
}

RealGrid& annual_of(AnnualArrays& ann, FileKind kind, int group) {
  return slots_of(ann, kind)[group + 1];
}

const RealGrid& annual_of(const AnnualArrays& ann, FileKind kind, int group) {
  return slots_of(ann, kind)[group + 1];
}

}  // namespace vadz
