// Coordinates from a source CRS into the grid's CRS, through PROJ, in the
// axis order of GIS files (easting or longitude first).
#pragma once
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vadz {

class CrsTransform {
 public:
  // `from` and `to` are PROJ definitions (authority:code, WKT, PROJ string).
  // An empty `from` or `to`, or two equivalent CRSs, gives the identity.
  CrsTransform(const std::string& from, const std::string& to);
  ~CrsTransform();
  CrsTransform(const CrsTransform&) = delete;
  CrsTransform& operator=(const CrsTransform&) = delete;

  bool identity() const { return pj_ == nullptr; }
  // Transforms n points in place; a point PROJ cannot transform becomes
  // infinite. Records the coordinate operation PROJ used.
  void apply(double* x, double* y, size_t n);
  // The names of the coordinate operations used so far (PROJ picks among
  // datum transformations by area of use and available grids).
  const std::set<std::string>& operations() const { return used_; }
  // The operation PROJ would use when it is a single one (before any point).
  std::string planned() const;

 private:
  struct Ctx;
  std::unique_ptr<Ctx> ctx_;
  void* pj_ = nullptr;
  std::set<std::string> used_;
};

// The name PROJ gives a CRS definition ("" for an empty one); stops with a
// line naming the definition when PROJ cannot read it.
std::string crs_name(const std::string& def, const char* what);

}  // namespace vadz
