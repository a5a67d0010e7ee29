// Precipitation stations: locations and yearly precipitation.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "input/readnotes.h"
#include "utl/diag.h"
#include "utl/paramlines.h"

namespace vadz {

inline constexpr int MAXSTN = 128;
inline constexpr int FIRST_YEAR = 1910;
inline constexpr int LAST_YEAR = 2150;
inline constexpr int NYEARS = LAST_YEAR - FIRST_YEAR + 1;  // 241

struct StationTable {
  int nstn = 0;
  int idrift = 0;
  // The two files, as named on the STATIONS line: the places of faults.
  std::string locfile, pcpfile;
  std::array<std::string, MAXSTN> names{};  // as matched and in messages: at most 16 characters
  std::array<double, MAXSTN> stnx{};
  std::array<double, MAXSTN> stny{};
  // Names as the location file spells them (matched on their first 16
  // characters), for showing the stations.
  std::array<std::string, MAXSTN> name;
  // pstn(i, y), station fastest: element (i-1) + 128*(y-1910), inches.
  std::vector<double> pstn = std::vector<double>(MAXSTN * NYEARS, 0.0);
  // Whether the precipitation file had a data line for the year.
  std::array<bool, NYEARS> hasyear{};

  const double* year_values(int year) const { return &pstn[MAXSTN * (year - FIRST_YEAR)]; }
  bool has_year(int year) const { return hasyear[year - FIRST_YEAR]; }
  // Fatal for a year without a data line: it would be kriged as zero
  // precipitation.
  void require_year(int year) const;
};

// The place of a fault of the stations' kriging system: the location file,
// with the stations that share a place or the count and drift order.
Diag station_system_place(const StationTable& st);

// Reads the STATIONS line's two files and drift order (the rest of ls.line
// from ls.ipos); ls.line is reused as the line buffer. With notes (the
// input check), a precipitation header name that differs from its
// station's only in case is noted as an error and taken, so that the check
// reads on; a run stops there.
void readstation(LineState& ls, StationTable& st, ReadNotes* notes = nullptr);

}  // namespace vadz
