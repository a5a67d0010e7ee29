// vadz-grid: the `vadz grid` commands, a program of their own so that only
// they need GDAL and PROJ.
#include "gridtool/gridtool_main.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include <cstdio>
#endif

int main(int argc, char** argv) {
#ifdef _WIN32
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
#endif
  return vadz::gridtool_main(argc, argv);
}
