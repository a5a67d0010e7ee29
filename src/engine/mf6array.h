// A grid as MODFLOW 6 reads a binary input array (OPEN/CLOSE ... (BINARY)):
// stream bytes without record markers, a 52-byte header, then the values.
#pragma once
#include <cstddef>
#include <string>

#include "utl/grid.h"
#include "utl/textio.h"

namespace vadz {

// Header: int32 kstp, int32 kper, float64 pertim, float64 totim, 16
// characters of text, int32 m1 = columns, m2 = rows, m3 = 1 layer.
inline constexpr size_t MF6_HEADER_BYTES = 4 + 4 + 8 + 8 + 16 + 4 + 4 + 4;
// MODFLOW 6 refuses a file of any other size.
inline size_t mf6_array_bytes() { return MF6_HEADER_BYTES + size_t{8} * NCELL; }

// The header's informative fields: the period's number, its length and the
// time at its end, and a name (cut to 16 characters, right-aligned).
struct Mf6ArrayHeader {
  int kper = 1;
  double pertim = 0.0;
  double totim = 0.0;
  std::string text;
};

// The file's bytes into buf (its room reused): the header, then the grid's
// values little-endian, row 1 (north) first, column fastest.
void encode_mf6_array(const Mf6ArrayHeader& h, const RealGrid& values, std::string& buf);

// The array file written to out. On a little-endian machine the grid's own
// memory is the file's values, written without a copy.
void write_mf6_array(OutFile& out, const Mf6ArrayHeader& h, const RealGrid& values,
                     std::string& buf);

}  // namespace vadz
