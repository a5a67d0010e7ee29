// The run configuration: every setting of the parameter file and command
// line, with its default, and the grids and tables filled by keywords.
// Complete once the parameter file has been read; read-only afterwards.
#pragma once
#include <array>
#include <string>

#include "input/curves.h"
#include "input/readnotes.h"
#include "input/stations.h"
#include "utl/grid.h"

namespace vadz {

struct RunConfig {
  std::string parfile;  // the parameter file's name as given on the command line

  // Yearly grid output (FILE).
  int nfile = 0;
  std::string filedir;
  std::array<std::string, 3> fileext;

  int nrch = 0;                                      // RECHARGE: 1 or 4 files
  int ibin = 0;                                      // BIN: grid files are binary
  std::array<std::string, 3> stdir{"co", "ks", "ne"};  // DIR
  std::array<std::string, 3> stdir_place;  // where DIR names each folder ("file:line:col")

  std::array<double, 4> stressf{1.0, 1.0, 1.0, 1.0};
  int icmdsf = 0;  // 1 when the stress multipliers came from the command line
  int ssyr1 = 0, ssyr2 = 0;
  double ssmult = 0.0;
  int tryr1 = 0, tryr2 = -1;
  std::array<double, 12> monmult{};
  std::array<int, 3> ipump{1, 1, 1};
  int xyear = 9999;
  int irchcb = 0, iwelcb = 0;
  std::array<std::string, 4> rchfile;
  std::string welfile;
  int iappend = 0;
  int iannpump = 0, iannrech = 0;
  int ioptmound = 0;
  int iprism = 0;
  int iterrain = 0;  // TERRAIN given: trn holds kriged multipliers, not 1 everywhere
  std::string prismpath;
  int nsoil = 0;
  std::array<std::string, 9> soilname;  // names of the SOIL file's heading
  int nbgt = 0;
  std::array<std::string, 9> bgtname;

  // Outputs beyond the model files; an empty name means none.
  std::string mf6dir;             // MF6: folder of the MODFLOW 6 files
  std::string mf6name = "vadz";   // MF6: base name of those files
  std::string reportdir;          // REPORT: folder of the run report
  std::string budgetcsv;          // BUDGETCSV: the budget table as CSV

  // Grids filled by keywords, with their start values.
  FlagGrid ibound = flag_grid(1);
  FlagGrid ibgt = flag_grid(0);
  FlagGrid mound = flag_grid(0);
  FlagGrid gwmask = flag_grid(0);
  FlagGrid isoil = flag_grid(0);
  RealGrid trn = real_grid(1.0);
  RealGrid xfactor = real_grid(0.0);

  StationTable stations;
  CurveTable curves;

  // Kept by the input check's reading of the parameter file only.
  ReadNotes notes;
};

}  // namespace vadz
