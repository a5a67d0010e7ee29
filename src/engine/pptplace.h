// The place and the likely cause of a cell's precipitation that stops the
// run (negative, or beyond the recharge curves).
#pragma once
#include "input/config.h"
#include "utl/diag.h"

namespace vadz {

// Cell i (grid order) of the year: its place; for kriged precipitation the
// nearest stations and their values that year; a hint where the cause is
// usually one thing (a missing-value code among the year's station values,
// station coordinates in degrees, curves that end below the value).
Diag precipitation_place(const RunConfig& cfg, int year, int i, double p);

// "nearest stations in Y: NAME v at d miles, ..." for cell i (grid order).
std::string nearest_stations(const StationTable& st, int year, int i);
// The usual cause of a kriged value gone wrong in the year, in words: a
// missing-value code among the stations' values, or station coordinates in
// degrees; empty when neither.
std::string station_hint(const StationTable& st, int year);

}  // namespace vadz
