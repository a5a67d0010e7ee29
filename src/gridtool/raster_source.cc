#include "gridtool/raster_source.h"

#include <gdal.h>

#include <cmath>

#include "utl/console.h"

namespace vadz {

void gdal_init() {
  static const bool once = [] {
    GDALAllRegister();
    // GDAL's own messages go to standard error; ours carry the stop.
    CPLSetErrorHandler(CPLQuietErrorHandler);
    return true;
  }();
  (void)once;
}

void gdal_fault(const std::string& message, const std::string& path) {
  Diag d;
  d.where = path;
  d.what = CPLGetLastErrorMsg();
  if (d.what.empty()) d.what = "GDAL gave no reason";
  throw Fatal(ConsoleLine().text(message + " ").text(path).str(), d);
}

RasterBand read_raster_band(const std::string& path, int band) {
  gdal_init();
  GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
  if (ds == nullptr) gdal_fault("Cannot open raster", path);
  struct Closer {
    GDALDatasetH d;
    ~Closer() { GDALClose(d); }
  } closer{ds};
  RasterBand out;
  if (band < 1 || band > GDALGetRasterCount(ds))
    error2("No band " + std::to_string(band) + " in raster", path);
  GDALRasterBandH b = GDALGetRasterBand(ds, band);
  out.width = GDALGetRasterXSize(ds);
  out.height = GDALGetRasterYSize(ds);
  if (GDALGetGeoTransform(ds, out.gt.data()) != CE_None)
    error2("Raster has no georeference (geotransform):", path);
  const char* wkt = GDALGetProjectionRef(ds);
  if (wkt != nullptr) out.crs = wkt;
  const size_t n = static_cast<size_t>(out.width) * static_cast<size_t>(out.height);
  out.value.resize(n);
  out.valid.resize(n);
  if (GDALRasterIO(b, GF_Read, 0, 0, out.width, out.height, out.value.data(), out.width,
                   out.height, GDT_Float64, 0, 0) != CE_None)
    gdal_fault("Cannot read raster", path);
  // The mask band covers nodata values, alpha bands and per-dataset masks.
  GDALRasterBandH m = GDALGetMaskBand(b);
  if (GDALRasterIO(m, GF_Read, 0, 0, out.width, out.height, out.valid.data(), out.width,
                   out.height, GDT_Byte, 0, 0) != CE_None)
    gdal_fault("Cannot read raster", path);
  for (size_t k = 0; k < n; ++k)
    if (!std::isfinite(out.value[k])) out.valid[k] = 0;
  return out;
}

}  // namespace vadz
