// vadz: recharge arrays and well lists for the regional groundwater-flow
// model, from one parameter file.
#include "run/main_program.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  // Windows opens standard output in text mode and would turn the LF of each
  // console line's CR LF into CR LF again. Scripts and calibration tools read
  // the budget table and the stop line: they get the same bytes as on Linux.
  _setmode(_fileno(stdout), _O_BINARY);
  // The warnings on standard error end in CR LF as well.
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  return vadz::main_program(argc, argv);
}
