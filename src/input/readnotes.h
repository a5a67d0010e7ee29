// What the parameter reader saw that a run takes in silence or stops on
// later, kept for the input check only (a run keeps no notes): comments
// where the reader does not take them as comments, words it never reads,
// station names that differ only in case, and the flag files it read.
#pragma once
#include <string>
#include <vector>

#include "utl/diag.h"

namespace vadz {

struct ReadNotes {
  std::string parfile;  // the parameter file, for the places of its lines
  std::vector<Diag> warnings;
  // Faults a run stops on that the check reads past, to report the rest too.
  std::vector<Diag> errors;
  // A flag file as read: its path and the width of its fields (its lines
  // hold 326 fields of that width).
  struct FlagFile {
    std::string path;
    int width = 2;
    bool zoned = false;  // a header line comes before the rows
  };
  std::vector<FlagFile> flag_files;
};

}  // namespace vadz
