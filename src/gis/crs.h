// The grid's coordinate reference system, resolved through PROJ: the one
// place that knows PROJ. A build without PROJ refuses CRS with a stop.
#pragma once
#include <string>

namespace vadz {

struct CrsInfo {
  std::string name;      // as the CRS names itself, e.g. "NAD83 / Kansas North (ftUS)"
  std::string esri_wkt;  // ESRI WKT1 on one line: the .prj beside a grid
};

// what is an authority code (EPSG:3419) or the name of a file holding a
// WKT definition. Fatal when it cannot be resolved, when the CRS is
// geographic (no linear unit) or when its unit is not the foot or the US
// survey foot: every length of the run is in feet.
CrsInfo resolve_crs(const std::string& what);

}  // namespace vadz
