// The inventory of a run's grid inputs: per state group and file kind (and
// the PRISM grids), the periods whose file the run reads, split into those
// present and those absent, with the number and size of the files present.
// Built from the run's read plan and the file system alone (no file is
// opened); shown by the input check and the run report.
#pragma once
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "input/config.h"
#include "input/schedule.h"

namespace vadz {

// The period of a grid file, from its stem: the steady period ("steady"),
// a year ("1990") or a month of a year ("1990.05").
struct InputPeriod {
  int year = 0;   // 0 for the steady period
  int month = 0;  // 1..12 for a monthly file, else 0
  friend auto operator<=>(const InputPeriod&, const InputPeriod&) = default;
};
// The period of a stem in the forms above (any month number 0..99 is
// taken, so that a caller can tell month 13 from a stray name); false for
// any other text.
bool parse_period(std::string_view stem, InputPeriod& period);

// One file kind of one folder: the periods read, in time order (the steady
// period first), split by whether the file is there.
struct InventoryKind {
  FileKind kind = FileKind::agw;
  std::vector<InputPeriod> present, absent;
  int files = 0;             // files present
  std::uintmax_t bytes = 0;  // their total size
  bool read() const { return !present.empty() || !absent.empty(); }
};

// A state group's data folder, or the PRISM folder.
struct InventoryFolder {
  int group = -1;       // 0..2 (CO, KS, NE); -1 for the PRISM grids
  std::string dir;      // as the run names it, trailing blanks dropped
  bool exists = false;  // the folder is there (a group's absent files read as zeros)
  bool pumping = true;  // false under NOPUMP: agw, mi, pmp and rcg are never read
  // A group: agw asw aco mi pmp rcg rcs rcc, each whether read or not.
  // PRISM: grd.
  std::vector<InventoryKind> kinds;
  // Planned reads of the folder (a folder of no planned read is not checked).
  bool read() const;
};

struct Inventory {
  std::vector<InventoryFolder> folders;  // CO, KS, NE, then PRISM when used
  // Distinct files over all folders (DIR may name one folder twice).
  int files = 0;
  std::uintmax_t bytes = 0;
  int absent = 0;
};

// The inventory of the reads of plan (run_read_plan(cfg)).
Inventory make_inventory(const RunConfig& cfg, const ReadPlan& plan);

// A warning line (without line end) for each state group whose data folder
// the plan reads from but which is not there: every file of the group then
// reads as zeros, in silence, as after a typing slip in DIR.
std::vector<std::string> missing_folder_warnings(const RunConfig& cfg, const ReadPlan& plan);

// Periods in compact ranges: "steady, 1990-1992" for whole years, a
// year's months in parentheses when not all twelve ("1990-1992 (05-09)",
// "1993 (01-04,10-12)"); consecutive years with the same months share one
// range. "-" for none.
std::string period_ranges(const std::vector<InputPeriod>& periods);

// The inventory as lines of text without line ends: a heading, then per
// folder a line and one line per kind (files, MB, present, absent).
std::vector<std::string> inventory_lines(const Inventory& inv);

}  // namespace vadz
