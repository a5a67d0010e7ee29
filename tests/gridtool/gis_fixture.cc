#include "gridtool/gis_fixture.h"

#include <gdal.h>
#include <ogr_api.h>
#include <ogr_srs_api.h>
#include <proj.h>

#include <cmath>
#include <sstream>
#include <stdexcept>

#include "support/testutil.h"

namespace vadz::test {

namespace {

OGRSpatialReferenceH srs_of(const std::string& def) {
  OGRSpatialReferenceH s = OSRNewSpatialReference(nullptr);
  OSRSetAxisMappingStrategy(s, OAMS_TRADITIONAL_GIS_ORDER);
  if (OSRSetFromUserInput(s, def.c_str()) != OGRERR_NONE) throw std::runtime_error("bad CRS");
  return s;
}

}  // namespace

void make_raster(const std::string& path, int w, int h, const std::array<double, 6>& gt,
                 const std::string& srs, const std::vector<double>& values, double nodata) {
  GDALAllRegister();
  GDALDriverH drv = GDALGetDriverByName("GTiff");
  GDALDatasetH ds = GDALCreate(drv, path.c_str(), w, h, 1, GDT_Float64, nullptr);
  if (ds == nullptr) throw std::runtime_error("cannot create " + path);
  std::array<double, 6> t = gt;
  GDALSetGeoTransform(ds, t.data());
  OGRSpatialReferenceH s = srs_of(srs);
  GDALSetSpatialRef(ds, s);
  OSRDestroySpatialReference(s);
  GDALRasterBandH b = GDALGetRasterBand(ds, 1);
  if (!std::isnan(nodata)) GDALSetRasterNoDataValue(b, nodata);
  std::vector<double> v = values;
  if (GDALRasterIO(b, GF_Write, 0, 0, w, h, v.data(), w, h, GDT_Float64, 0, 0) != CE_None)
    throw std::runtime_error("cannot write " + path);
  GDALClose(ds);
}

void make_layer(const std::string& path, const std::string& srs,
                const std::vector<std::pair<std::string, std::string>>& wkt_name) {
  GDALAllRegister();
  GDALDriverH drv = GDALGetDriverByName("GPKG");
  GDALDatasetH ds = GDALCreate(drv, path.c_str(), 0, 0, 0, GDT_Unknown, nullptr);
  if (ds == nullptr) throw std::runtime_error("cannot create " + path);
  OGRSpatialReferenceH s = srs_of(srs);
  OGRLayerH l = GDALDatasetCreateLayer(ds, "zones", s, wkbPolygon, nullptr);
  OSRDestroySpatialReference(s);
  OGRFieldDefnH fd = OGR_Fld_Create("name", OFTString);
  OGR_L_CreateField(l, fd, TRUE);
  OGR_Fld_Destroy(fd);
  for (const auto& [wkt, name] : wkt_name) {
    OGRFeatureH f = OGR_F_Create(OGR_L_GetLayerDefn(l));
    OGR_F_SetFieldString(f, 0, name.c_str());
    OGRGeometryH g = nullptr;
    char* p = const_cast<char*>(wkt.c_str());
    if (OGR_G_CreateFromWkt(&p, nullptr, &g) != OGRERR_NONE) throw std::runtime_error("bad WKT");
    OGR_F_SetGeometryDirectly(f, g);
    if (OGR_L_CreateFeature(l, f) != OGRERR_NONE) throw std::runtime_error("cannot add feature");
    OGR_F_Destroy(f);
  }
  GDALClose(ds);
}

std::vector<double> grid_values(const std::string& path) {
  std::istringstream in(read_file(path));
  std::vector<double> v;
  double x;
  while (in >> x) v.push_back(x);
  return v;
}

void transform_points(const std::string& from, const std::string& to, std::vector<double>& x,
                      std::vector<double>& y) {
  PJ* op = proj_create_crs_to_crs(nullptr, from.c_str(), to.c_str(), nullptr);
  PJ* norm = proj_normalize_for_visualization(nullptr, op);
  proj_destroy(op);
  proj_trans_generic(norm, PJ_FWD, x.data(), sizeof(double), x.size(), y.data(), sizeof(double),
                     y.size(), nullptr, 0, 0, nullptr, 0, 0);
  proj_destroy(norm);
}

}  // namespace vadz::test
