// How a stress period applies a state group's grid of pumping or returns:
// the stress multiplier, the mask and the grid the water goes to. The
// period's stresses, the year's annual arrays and the input check's replay
// of them all take it from here, so that they agree to the last bit.
#pragma once
#include "engine/annual.h"
#include "input/config.h"
#include "input/schedule.h"
#include "utl/grid.h"

namespace vadz {

// The kinds that carry water in a period: mi, pmp, rcg, rcs, rcc.
bool is_water(FileKind kind);

// A period's share of a 365.25-day year, by which the yearly
// municipal-industrial volume is prorated.
double year_fraction(int seconds);

// target += the group's grid as the period applies it: municipal-industrial
// use x the group's multiplier x q in every cell; irrigation pumping and
// the groundwater return x the group's multiplier outside GWMASK; the
// surface-water and commingled returns x the fourth multiplier in MOUND
// cells, as read elsewhere. group 0..2; kind one of the water kinds.
void add_stress(RealGrid& target, const RunConfig& cfg, int group, FileKind kind, double q,
                const RealGrid& grid);

// The annual array of a group (0..2) and water kind: annmi, annpump,
// annrcg, annrcs or annrcc, slot group + 1.
RealGrid& annual_of(AnnualArrays& ann, FileKind kind, int group);
const RealGrid& annual_of(const AnnualArrays& ann, FileKind kind, int group);

}  // namespace vadz
