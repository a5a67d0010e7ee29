#include "run/main_program.h"

#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string_view>

#include "input/config.h"
#include "run/check.h"
#include "run/driver.h"
#include "run/gridlaunch.h"
#include "run/params.h"
#include "utl/console.h"
#include "utl/interrupt.h"

namespace vadz {

namespace {

constexpr const char* USAGE_TEXT =
    "Usage: vadz <parameter file> [STRESSF f1 f2 f3 f4]\n"
    "       vadz --check <parameter file> [STRESSF f1 f2 f3 f4]\n"
    "       vadz grid raster|points|flags ...      (vadz grid --help)\n"
    "       vadz --help | --version\n"
    "\n"
    "Reads the parameter file and writes the groundwater model's recharge\n"
    "array file(s) and well file, for a steady period and twelve monthly\n"
    "stress periods per transient year. Paths in the parameter file are\n"
    "relative to the working folder.\n"
    "\n"
    "  STRESSF f1 f2 f3 f4   stress multipliers: groundwater irrigation of CO,\n"
    "                        KS and NE, and surface-water/commingled inputs in\n"
    "                        mound cells; they override a STRESSF line.\n"
    "  --check               check the inputs and write nothing (see below).\n"
    "\n"
    "Outputs: the files named by WELL and RECHARGE; with ANNPUMP the tables\n"
    "YYYYannpump.csv and with ANNRECH annrcp.csv and annrech.csv in the\n"
    "working folder; with FILE yearly grids in its folder; the budget table,\n"
    "warnings and any error message on standard output. Keywords that add\n"
    "outputs:\n"
    "  MF6 <folder> [<name>]  the stresses as MODFLOW 6 input files\n"
    "  REPORT <folder>        a run report: page, maps, grids, budget table\n"
    "  BUDGETCSV <file>       the budget table at full precision, as CSV\n"
    "\n"
    "--check reads the parameter file and every grid file the run would read,\n"
    "and writes no file. It lists per state group and file kind the years or\n"
    "months present and absent, a 'warning: ' line for what looks like a\n"
    "mistake (a missing data folder, files the run never reads), an\n"
    "'error: ' line with the place for every fault that would stop the run,\n"
    "and a count. A fault in the parameter file itself stops it as it stops\n"
    "the run.\n"
    "\n"
    "A stop prints one line on standard output; its place (file:line:column,\n"
    "or year, row and column of a computed value) and a hint follow on\n"
    "standard error.\n"
    "\n"
    "Exit status:\n"
    "  0    the run completed (--check: no error line)\n"
    "  1    the run stopped on an error (--check: at least one error line)\n"
    "  130  interrupted by Ctrl-C (SIGINT)\n"
    "  143  stopped by SIGTERM\n";

}  // namespace

int main_program(int argc, const char* const* argv) {
  if (argc == 2) {
    const std::string_view a = argv[1];
    if (a == "--help" || a == "-h") {
      std::fputs(USAGE_TEXT, stdout);
      return 0;
    }
    if (a == "--version") {
      std::printf("vadz %s\n", VADZ_VERSION);
      return 0;
    }
  }
  catch_interrupts();
  return run_guarded([&] {
    if (is_grid_command(argc, argv)) return run_grid_command(argc, argv);
    if (argc >= 2 && std::string_view(argv[1]) == "--check") {
      if (argc < 3) error("Usage: vadz --check <parameter file>");
      return run_check(argc - 1, argv + 1);
    }
    // The configuration holds dozens of grids: keep it off the stack.
    auto cfg = std::make_unique<RunConfig>();
    auto krig = std::make_unique<Krig>();
    read_parameters(argc, argv, *cfg, *krig);
    run_driver(*cfg, *krig);
    return 0;
  });
}

}  // namespace vadz
