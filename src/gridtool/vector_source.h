// Polygons of a vector layer read through OGR, each with the value of one
// attribute: the zones of a soil map or of budget areas.
#pragma once
#include <string>
#include <vector>

#include "gridtool/overlap.h"

namespace vadz {

struct ZonePolygon {
  std::vector<std::vector<Pt>> rings;  // ring 0 the outer boundary, then holes
  std::string value;                  // the attribute's value
};

struct VectorLayer {
  std::string crs;  // WKT; empty when the layer names none
  bool numeric = false;  // the attribute is a number field
  std::vector<ZonePolygon> polygons;  // multi-polygons split into their parts
};

// True when GDAL opens `path` as a vector dataset with a layer.
bool is_vector(const std::string& path);

// The polygons of the first layer (or of `layer`) with their `attribute`.
VectorLayer read_vector_layer(const std::string& path, const std::string& layer,
                              const std::string& attribute);

}  // namespace vadz
