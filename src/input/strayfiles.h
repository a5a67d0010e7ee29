// Files in a run's data folders that the run never reads. An absent grid
// file reads as zeros without a word, so a misspelt name (1990.AGW), a year
// outside the run or month 13 is lost in silence; the input check lists
// them, grouped by why the run passes them by.
#pragma once
#include <string>
#include <vector>

#include "input/inventory.h"
#include "input/schedule.h"

namespace vadz {

struct StrayFiles {
  std::string dir;                 // the data folder
  std::string reason;              // why the run does not read them
  std::vector<std::string> names;  // entry names, sorted
  bool folders = false;            // the entries are sub-folders
};

// Every entry of the existing folders of inv (hidden names aside) that no
// read of plan names, one group per folder and reason, folders in the
// inventory's order (a folder named twice is scanned once).
std::vector<StrayFiles> stray_files(const Inventory& inv, const ReadPlan& plan);

}  // namespace vadz
