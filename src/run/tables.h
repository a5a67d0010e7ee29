// The annual summary tables: the yearly pumping table and the per-cell
// annual recharge tables annrcp.csv and annrech.csv.
#pragma once
#include <string>
#include <vector>

#include "engine/annual.h"
#include "utl/grid.h"
#include "utl/textio.h"

namespace vadz {

// Creates YYYYannpump.csv in the working folder and writes its header line.
void open_pump_table(OutFile& table, int year);

// Writes one row per cell (slot 0 of annpump, annrcg, annmi and gwarea) and
// closes the table.
void write_pump_table(OutFile& table, const AnnualArrays& ann);

// Writes annrcp.csv and annrech.csv: one column per year from year1, taken
// from annrcp[j] and annrech[j] for year year1 + j.
void write_recharge_tables(const std::vector<RealGrid>& annrcp,
                           const std::vector<RealGrid>& annrech, int year1,
                           const FlagGrid& ibound);

}  // namespace vadz
