// The inputs a run looks for and does not find: grid files that may be
// missing and then count as zero (areas, pumping, returns). The report shows
// them so that a forgotten folder or a misspelt name is seen at once.
#pragma once
#include <string>
#include <vector>

#include "input/config.h"

namespace vadz {

// Absent files of one folder and file kind.
struct AbsentFiles {
  std::string dir;   // the state group's folder as given
  std::string kind;  // the file extension ("agw", "pmp", ...)
  int absent = 0;    // files of this kind the run would read and did not find
  int planned = 0;   // files of this kind the run reads
  std::string first, last;  // paths of the first and last absent file
};

// The run's absent inputs, by folder and kind in the order the run reads
// them; kinds with every file present are left out.
std::vector<AbsentFiles> absent_inputs(const RunConfig& cfg);

}  // namespace vadz
