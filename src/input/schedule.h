// What a run does, in order: its steps (the years whose cell balance is
// formed, the stress periods written) and the grid files each step reads.
// The run, the read-ahead and the input check all take the order from here,
// so a change to it reaches all three at once.
#pragma once
#include <array>
#include <string>
#include <vector>

#include "input/config.h"

namespace vadz {

// The kinds of grid file a run reads. Per transient year: irrigated areas
// (agw groundwater, asw surface water, aco commingled) and, with PRISM, the
// precipitation grid (grd). Per stress period: municipal-industrial use of
// the year (mi), irrigation pumping (pmp) and the irrigation returns (rcg,
// rcs, rcc).
enum class FileKind { agw, asw, aco, grd, mi, pmp, rcg, rcs, rcc };
inline constexpr int NKIND = 9;
// The file extension of a kind ("agw", ...).
const char* kind_tag(FileKind k);
// Every kind, in the order above (for tables and documentation).
const std::array<FileKind, NKIND>& all_kinds();
// The name of state group 0..2: "CO", "KS", "NE".
const char* group_name(int group);

// One grid read: the arguments of GridReader::readfile, and what it is for.
struct PlannedRead {
  std::string dir, name, tag;
  int mustexist = 0;
  int group = -1;  // state group 0..2 (CO, KS, NE); -1 for a PRISM grid
  FileKind kind = FileKind::agw;
  // True when the grid read last for this group and kind is still the one
  // wanted (the year's mi file serves all twelve months): no file is read.
  bool reuse = false;
  // The file's path as the reader forms it.
  std::string path() const;
};
using ReadPlan = std::vector<PlannedRead>;

// One step of a run, in run order.
struct RunStep {
  enum class Type {
    SteadyYear,    // a year of the steady window: its recharge from precipitation
    SteadyPeriod,  // the steady stress period: mean of the window
    Year,          // a transient year's cell balance
    Month          // one monthly stress period of the transient year
  };
  Type type = Type::Year;
  int year = 0;   // the calendar year; -1 for the steady period
  int month = 0;  // 1..12 for a month, else 0
  std::string label;  // period label in the model files: "Steady " or "MM/YYYY"
  std::string pstem;  // file stem of the period's grids: "steady" or "YYYY.MM"
  std::string ystem;  // file stem of the year's grids: "steady" or "YYYY"
  int seconds = 0;    // length of a stress period
  bool is_period() const { return type == Type::SteadyPeriod || type == Type::Month; }
};

// Length of the steady period: 365.25 days.
inline constexpr int STEADY_SECONDS = 31557600;
// February has 29 days in every year divisible by 4, 2100 included.
int month_seconds(int year, int month);

// Every step of the run: the steady window's years and the steady period
// (with STEADY), then per transient year the year and its twelve months.
std::vector<RunStep> run_steps(const RunConfig& cfg);
// True when the run has at least one stress period.
bool has_stress_period(const RunConfig& cfg);

// Per state group, the municipal-industrial file last read (empty at the
// start of a run), so that the year's file is read once for twelve months.
using MiKeys = std::array<std::string, 3>;

// The reads of a year's cell balance (ystem "YYYY"): irrigated areas of a
// transient year, then the PRISM grid.
void year_reads(const RunConfig& cfg, bool transient, const std::string& ystem, ReadPlan& plan);
// The reads of a stress period, group by group.
void period_reads(const RunConfig& cfg, const std::string& pstem, const std::string& ystem,
                  MiKeys& mikeys, ReadPlan& plan);

// Appends the reads of one step to plan, in the order the step makes them.
void step_reads(const RunConfig& cfg, const RunStep& step, MiKeys& mikeys, ReadPlan& plan);

// Every file read of the run's steps, in run order (reused grids left out).
ReadPlan run_read_plan(const RunConfig& cfg, const std::vector<RunStep>& steps);
ReadPlan run_read_plan(const RunConfig& cfg);

}  // namespace vadz
