#include "gridtool/vector_source.h"

#include <cpl_conv.h>
#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>

#include "gridtool/raster_source.h"
#include "utl/console.h"

namespace vadz {

namespace {

struct Dataset {
  GDALDatasetH d;
  ~Dataset() {
    if (d != nullptr) GDALClose(d);
  }
};

void add_polygon(OGRGeometryH poly, const std::string& value, VectorLayer& out) {
  ZonePolygon z;
  z.value = value;
  const int nr = OGR_G_GetGeometryCount(poly);
  for (int k = 0; k < nr; ++k) {
    OGRGeometryH ring = OGR_G_GetGeometryRef(poly, k);
    std::vector<Pt> pts;
    const int np = OGR_G_GetPointCount(ring);
    for (int i = 0; i < np; ++i) pts.push_back({OGR_G_GetX(ring, i), OGR_G_GetY(ring, i)});
    // Closed rings repeat their first point.
    if (pts.size() > 1 && pts.front().x == pts.back().x && pts.front().y == pts.back().y)
      pts.pop_back();
    z.rings.push_back(std::move(pts));
  }
  if (!z.rings.empty()) out.polygons.push_back(std::move(z));
}

void add_geometry(OGRGeometryH geom, const std::string& value, VectorLayer& out) {
  const OGRwkbGeometryType t = wkbFlatten(OGR_G_GetGeometryType(geom));
  if (t == wkbPolygon) {
    add_polygon(geom, value, out);
  } else if (t == wkbMultiPolygon || t == wkbGeometryCollection) {
    for (int k = 0; k < OGR_G_GetGeometryCount(geom); ++k)
      add_geometry(OGR_G_GetGeometryRef(geom, k), value, out);
  } else if (OGR_G_HasCurveGeometry(geom, TRUE)) {
    OGRGeometryH lin = OGR_G_GetLinearGeometry(geom, 0, nullptr);
    add_geometry(lin, value, out);
    OGR_G_DestroyGeometry(lin);
  }
}

}  // namespace

bool is_vector(const std::string& path) {
  gdal_init();
  Dataset ds{GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr,
                        nullptr)};
  return ds.d != nullptr && GDALDatasetGetLayerCount(ds.d) > 0;
}

VectorLayer read_vector_layer(const std::string& path, const std::string& layer,
                              const std::string& attribute) {
  gdal_init();
  Dataset ds{GDALOpenEx(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, nullptr, nullptr,
                        nullptr)};
  if (ds.d == nullptr) gdal_fault("Cannot open vector layer", path);
  OGRLayerH l = layer.empty() ? GDALDatasetGetLayer(ds.d, 0)
                              : GDALDatasetGetLayerByName(ds.d, layer.c_str());
  if (l == nullptr) error2("No layer " + layer + " in", path);
  VectorLayer out;
  if (OGRSpatialReferenceH srs = OGR_L_GetSpatialRef(l)) {
    char* wkt = nullptr;
    const char* opts[] = {"FORMAT=WKT2", nullptr};
    if (OSRExportToWktEx(srs, &wkt, opts) == OGRERR_NONE && wkt != nullptr) out.crs = wkt;
    CPLFree(wkt);
  }
  OGRFeatureDefnH defn = OGR_L_GetLayerDefn(l);
  const int field = OGR_FD_GetFieldIndex(defn, attribute.c_str());
  if (field < 0) error2("No attribute " + attribute + " in", path);
  const OGRFieldType ft = OGR_Fld_GetType(OGR_FD_GetFieldDefn(defn, field));
  out.numeric = ft == OFTInteger || ft == OFTInteger64 || ft == OFTReal;
  OGR_L_ResetReading(l);
  while (OGRFeatureH f = OGR_L_GetNextFeature(l)) {
    OGRGeometryH geom = OGR_F_GetGeometryRef(f);
    if (geom != nullptr && OGR_F_IsFieldSetAndNotNull(f, field))
      add_geometry(geom, OGR_F_GetFieldAsString(f, field), out);
    OGR_F_Destroy(f);
  }
  return out;
}

}  // namespace vadz
