// make_bench: writes the full-scale benchmark data set of vadz into a folder.
//
//   make_bench <folder> [--bin]
//
// Three state groups (co, ks, ne) with every yearly and monthly grid file a
// run reads, a steady window 1987..1989 and transient years 1990..1999, 128
// precipitation stations kriged with a quadratic drift, three soils, an
// IBOUND with inactive edges, three budget zones, terrain multipliers, and the
// parameter file bench.par. With --bin the per-period and yearly grid files
// are framed binary records and the parameter file carries BIN; both variants
// hold the same cell values (each binary value is the double that its text
// form reads back to), so the model files of both runs are identical.
//
// Paths in bench.par are relative to the run folder, which must hold a link
// named "data" to the generated folder; the outputs land in the run folder.
//
// Every value comes from a counter-based hash of (file, cell), never from
// library random engines, so the bytes are the same on every run and machine.
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int NROW = 165;
constexpr int NCOL = 326;
constexpr int NCELL = NROW * NCOL;
constexpr double X0 = 266023.0;
constexpr double Y0 = 14092806.0;
constexpr double CELL = 5280.0;
constexpr double WIDTH = NCOL * CELL;
constexpr double HEIGHT = NROW * CELL;

constexpr int SS1 = 1987, SS2 = 1989;   // steady window
constexpr int TR1 = 1990, TR2 = 1999;   // transient years
constexpr int PPT1 = 1980, PPT2 = 2005; // years of station records
constexpr int NSTN = 128;
constexpr int NTERRAIN = 36;

const char* const GROUP_DIR[3] = {"co", "ks", "ne"};

// Share of a year's irrigation water applied in each month.
constexpr double SEASON[12] = {0.015, 0.015, 0.03, 0.06, 0.11, 0.19,
                               0.25, 0.18, 0.08, 0.035, 0.02, 0.015};

// ---------------------------------------------------------------- hashing

uint64_t mix(uint64_t z) {
  z += 0x9e3779b97f4a7c15ULL;
  z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
  z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
  return z ^ (z >> 31);
}

// Uniform in [0, 1) from a key of up to four small integers.
double u01(uint64_t a, uint64_t b = 0, uint64_t c = 0, uint64_t d = 0) {
  uint64_t h = mix(mix(mix(mix(a) ^ b) ^ c) ^ d);
  return static_cast<double>(h >> 11) * (1.0 / 9007199254740992.0);
}

enum Salt : uint64_t {
  S_GW = 11, S_SW, S_CO, S_MI, S_AREA, S_YEAR, S_MONTH, S_STN, S_PPT, S_TRN, S_SOIL
};

// ---------------------------------------------------------------- output

struct Counter {
  long files = 0;
  long long bytes = 0;
};
Counter g_count;

void write_file(const std::filesystem::path& path, const std::string& text) {
  std::FILE* f = std::fopen(path.string().c_str(), "wb");
  if (!f) {
    throw std::runtime_error("cannot create " + path.string());
  }
  if (std::fwrite(text.data(), 1, text.size(), f) != text.size() || std::fclose(f) != 0) {
    throw std::runtime_error("cannot write " + path.string());
  }
  ++g_count.files;
  g_count.bytes += static_cast<long long>(text.size());
}

void put(std::string& s, double v, int decimals) {
  char buf[64];
  auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
  s.append(buf, r.ptr);
}

void put(std::string& s, long v) {
  char buf[32];
  auto r = std::to_chars(buf, buf + sizeof buf, v);
  s.append(buf, r.ptr);
}

// ---------------------------------------------------------------- the land

// State group of a cell: CO in the west, NE north-east, KS south-east.
int group_of(int c, int r) {
  if (c <= 110) return 0;
  return r <= 80 ? 2 : 1;
}

// Active cells: an irregular band of inactive cells along every edge.
bool active(int c, int r) {
  int top = 3 + static_cast<int>(2.0 * (1.0 + std::sin(c * 0.05)));
  int bottom = 163 - static_cast<int>(2.0 * (1.0 + std::cos(c * 0.04)));
  int left = 4 + static_cast<int>(3.0 * (1.0 + std::sin(r * 0.11)));
  int right = 323 - static_cast<int>(3.0 * (1.0 + std::cos(r * 0.07)));
  return r >= top && r <= bottom && c >= left && c <= right;
}

int cell_index(int c, int r) { return (r - 1) * NCOL + (c - 1); }

// Irrigation of a cell: groundwater (about 14% of cells), surface water
// (5%), commingled (3%); municipal wells in about 1% of cells.
bool has_gw(int i) { return u01(S_GW, i) < 0.14; }
bool has_sw(int i) { return u01(S_SW, i) < 0.05; }
bool has_co(int i) { return u01(S_CO, i) < 0.03; }
bool has_mi(int i) { return u01(S_MI, i) < 0.01; }

// Acres of a cell of kind k in year y: a base share of the 640-acre cell
// that drifts by up to 10% from year to year.
double acres(int kind, int i, int year, double lo, double hi) {
  double base = lo + (hi - lo) * u01(S_AREA, kind, i);
  return base * (0.9 + 0.2 * u01(S_YEAR, kind, i, static_cast<uint64_t>(year)));
}

// ---------------------------------------------------------------- grid files

// The kinds of per-group grid files.
enum Kind { AGW, ASW, ACO, MI, PMP, RCG, RCS, RCC };
const char* const TAG[8] = {"agw", "asw", "aco", "mi", "pmp", "rcg", "rcs", "rcc"};
// Significant digits of each kind in the text files (6 to 8).
constexpr int DIGITS[8] = {7, 7, 7, 8, 8, 6, 6, 6};

// Value of a kind for cell i of group g in year y and month m (0 = the whole
// year: yearly files and the steady period).
double cell_value(Kind k, int g, int i, int year, int month) {
  double share = month == 0 ? 1.0 : SEASON[month - 1];
  double wiggle = month == 0 ? 1.0 : 0.85 + 0.3 * u01(S_MONTH, k, i, year * 16 + month);
  switch (k) {
    case AGW: return has_gw(i) ? acres(AGW, i, year, 40.0, 640.0) : 0.0;
    case ASW: return has_sw(i) ? acres(ASW, i, year, 20.0, 400.0) : 0.0;
    case ACO: return has_co(i) ? acres(ACO, i, year, 10.0, 200.0) : 0.0;
    case MI:
      return has_mi(i) ? (5.0 + 1995.0 * u01(S_MI, 2, i)) * (0.95 + 0.1 * u01(S_YEAR, MI, i, year))
                       : 0.0;
    case PMP:  // about 1.4 ft of water a year on groundwater-irrigated acres
      return has_gw(i) ? acres(AGW, i, year, 40.0, 640.0) * 1.4 * share * wiggle : 0.0;
    case RCG:
      return has_gw(i) ? acres(AGW, i, year, 40.0, 640.0) * 0.12 * share * wiggle : 0.0;
    case RCS:
      return has_sw(i) ? acres(ASW, i, year, 20.0, 400.0) * 0.25 * share * wiggle : 0.0;
    case RCC:
      return has_co(i) ? acres(ACO, i, year, 10.0, 200.0) * 0.18 * share * wiggle : 0.0;
  }
  (void)g;
  return 0.0;
}

// Text of a value with `digits` significant digits in fixed form.
void put_sig(std::string& s, double v, int digits) {
  int intdigits = v >= 1.0 ? static_cast<int>(std::floor(std::log10(v))) + 1 : 0;
  int dec = digits - intdigits;
  if (dec < 1) dec = 1;
  put(s, v, dec);
}

struct GridWriter {
  std::filesystem::path root;
  bool binary = false;
  std::string text;
  std::vector<double> values;
  std::string bin;

  // Writes group g's file of kind k named `stem`.tag.
  void write(int g, Kind k, const std::string& stem, int year, int month) {
    values.assign(NCELL, 0.0);
    text.clear();
    // The ne exporter wraps each grid row after 20 values; co and ks write
    // one row per line.
    int wrap = g == 2 ? 20 : NCOL;
    for (int r = 1; r <= NROW; ++r) {
      for (int c = 1; c <= NCOL; ++c) {
        int i = cell_index(c, r);
        if (c > 1) text += (c - 1) % wrap == 0 ? '\n' : ' ';
        double v = group_of(c, r) == g ? cell_value(k, g, i, year, month) : 0.0;
        if (v == 0.0) {
          text += "0.0";
          continue;
        }
        size_t at = text.size();
        put_sig(text, v, DIGITS[k]);
        // The binary file holds exactly the double that the text reads as.
        double back = 0.0;
        std::from_chars(text.data() + at, text.data() + text.size(), back);
        values[static_cast<size_t>(i)] = back;
      }
      text += '\n';
    }
    std::filesystem::path path = root / GROUP_DIR[g] / (stem + "." + TAG[k]);
    if (!binary) {
      write_file(path, text);
      return;
    }
    const int32_t n = NCELL * 8;
    bin.resize(static_cast<size_t>(n) + 8);
    std::memcpy(bin.data(), &n, 4);  // the build hosts are little-endian
    std::memcpy(bin.data() + 4, values.data(), static_cast<size_t>(n));
    std::memcpy(bin.data() + 4 + n, &n, 4);
    write_file(path, bin);
  }
};

std::string year_text(int y) { return std::to_string(y); }

std::string period_text(int y, int m) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d.%02d", y, m);
  return buf;
}

// ---------------------------------------------------------------- flag files

// IBOUND: 165 lines of 2-character fields.
std::string ibound_file() {
  std::string s;
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) s += active(c, r) ? " 1" : " 0";
    s += '\n';
  }
  return s;
}

// A zoned flag file with one-character fields.
template <class F>
std::string zoned_file(const char* header, F zone) {
  std::string s = header;
  s += '\n';
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) s += static_cast<char>('0' + zone(c, r));
    s += '\n';
  }
  return s;
}

// Soils in 6 x 6 cell blocks, mostly loam.
int soil_of(int c, int r) {
  double u = u01(S_SOIL, static_cast<uint64_t>((c - 1) / 6), static_cast<uint64_t>((r - 1) / 6));
  return u < 0.3 ? 1 : (u < 0.8 ? 2 : 3);
}

// Terrain: breaks along a meandering band, plains elsewhere, none on the
// outermost ring.
int terrain_of(int c, int r) {
  if (r == 1 || r == NROW || c == 1 || c == NCOL) return 0;
  double band = 80.0 + 25.0 * std::sin(c * 0.035);
  return std::fabs(r - band) < 9.0 ? 2 : 1;
}

// ---------------------------------------------------------------- stations

struct Point {
  double x, y;
};

std::vector<Point> stations() {
  // A jittered 16 x 8 lattice over the grid, so that every cell has stations
  // around it and the quadratic drift never extrapolates far.
  std::vector<Point> p;
  double dx = WIDTH / 16.0, dy = HEIGHT / 8.0;
  for (int j = 0; j < 8; ++j) {
    for (int i = 0; i < 16; ++i) {
      int n = j * 16 + i;
      double x = X0 + (i + 0.5) * dx + (u01(S_STN, n, 1) - 0.5) * 0.6 * dx;
      double y = Y0 + (j + 0.5) * dy + (u01(S_STN, n, 2) - 0.5) * 0.6 * dy;
      p.push_back({std::round(x * 10.0) / 10.0, std::round(y * 10.0) / 10.0});
    }
  }
  return p;
}

// Annual precipitation in inches: wetter to the east and south, a regional
// anomaly per year and local noise.
double station_ppt(const Point& p, int n, int year) {
  double fx = (p.x - X0) / WIDTH, fy = (p.y - Y0) / HEIGHT;
  double base = 14.0 + 14.0 * fx + 4.0 * (1.0 - fy) + 1.5 * std::sin(6.0 * fx + 2.0 * fy);
  double anomaly = 0.8 + 0.4 * u01(S_PPT, static_cast<uint64_t>(year));
  double noise = 1.5 * (u01(S_PPT, n, static_cast<uint64_t>(year)) - 0.5);
  return std::round((base * anomaly + noise) * 100.0) / 100.0;
}

std::string station_name(int n) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "ST%03d", n + 1);
  return buf;
}

// ---------------------------------------------------------------- parameter file

// Recharge curves of the three soils: sandy soils pass more water. Recharge
// rises with the square of precipitation at first and then about linearly.
double curve(int soil, int irrigated, double p) {
  const double f[3] = {0.14, 0.08, 0.035};
  double y = f[soil] * p * p / (p + 12.0);
  return irrigated ? 0.4 + 1.5 * y : y;
}

std::string parameter_file(bool binary) {
  std::string s;
  s += "# vadz benchmark: 165 x 326 cells, 3 state groups, 128 stations,\n";
  s += "# steady window 1987-1989, transient years 1990-1999.\n";
  s += "# Run from a folder holding a link named data to this data set.\n";
  s += "DIR data/co data/ks data/ne\n";
  s += "IBOUND data/ibound.flg\n";
  s += "SOIL data/soil.flg\n";
  s += "FUNCTION bench.fun 2\n";
  for (int k = 0; k <= 14; ++k) {
    double p = 5.0 * k;
    s += "  ";
    put(s, p, 1);
    for (int soil = 0; soil < 3; ++soil) {
      for (int irr = 0; irr < 2; ++irr) {
        s += ' ';
        put(s, curve(soil, irr, p), 3);
      }
    }
    s += '\n';
  }
  s += "BUDGET data/budget.flg\n";
  s += "TERRAIN data/terrain.flg data/terrain.mlt terrain.plt LIMIT 0.5 1.5\n";
  s += "STATIONS data/stations.loc data/stations.ppt 2\n";
  s += "MONTH 0.02 0.03 0.06 0.09 0.13 0.15 0.14 0.12 0.10 0.08 0.05 0.03\n";
  s += "STEADY 1987 1989 1.0\n";
  s += "TRANSIENT 1990 1999\n";
  s += "RECHARGE rcp.rch rcg.rch rcs.rch rcc.rch\n";
  s += "WELL bench.wel\n";
  s += "ANNPUMP\n";
  s += "ANNRECH\n";
  s += "FILE . rpp firr rcp\n";
  if (binary) s += "BIN\n";
  return s;
}

}  // namespace

int generate(int argc, char** argv) {
  std::filesystem::path root;
  bool binary = false;
  for (int a = 1; a < argc; ++a) {
    if (std::strcmp(argv[a], "--bin") == 0) {
      binary = true;
    } else if (root.empty()) {
      root = argv[a];
    } else {
      root.clear();
      break;
    }
  }
  if (root.empty()) {
    std::fprintf(stderr, "Usage: make_bench <folder> [--bin]\n");
    return 2;
  }
  std::error_code ec;
  for (const char* d : GROUP_DIR) std::filesystem::create_directories(root / d, ec);
  if (ec) {
    std::fprintf(stderr, "make_bench: cannot create folders in %s\n", root.string().c_str());
    return 1;
  }

  write_file(root / "bench.par", parameter_file(binary));
  write_file(root / "ibound.flg", ibound_file());
  write_file(root / "soil.flg", zoned_file("sandy loam clay", soil_of));
  write_file(root / "budget.flg",
             zoned_file("CO KS NE", [](int c, int r) { return group_of(c, r) + 1; }));
  write_file(root / "terrain.flg", zoned_file("plains breaks", terrain_of));

  // Terrain multipliers at a jittered 6 x 6 lattice of locations.
  {
    std::string s = "X Y plains breaks\n";
    for (int n = 0; n < NTERRAIN; ++n) {
      int i = n % 6, j = n / 6;
      double x = X0 + (i + 0.2 + 0.6 * u01(S_TRN, n, 1)) * WIDTH / 6.0;
      double y = Y0 + (j + 0.2 + 0.6 * u01(S_TRN, n, 2)) * HEIGHT / 6.0;
      put(s, std::round(x), 1);
      s += ' ';
      put(s, std::round(y), 1);
      s += ' ';
      put(s, 0.75 + 0.5 * u01(S_TRN, n, 3), 3);
      s += ' ';
      put(s, 0.45 + 1.2 * u01(S_TRN, n, 4), 3);
      s += '\n';
    }
    s += "END\n";
    write_file(root / "terrain.mlt", s);
  }

  // Station locations and annual precipitation.
  {
    std::vector<Point> p = stations();
    std::string loc = "Station X_ft Y_ft\n";
    std::string ppt = "Year";
    for (int n = 0; n < NSTN; ++n) {
      loc += station_name(n);
      loc += ' ';
      put(loc, p[n].x, 1);
      loc += ' ';
      put(loc, p[n].y, 1);
      loc += '\n';
      ppt += ' ';
      ppt += station_name(n);
    }
    loc += "END\n";
    ppt += '\n';
    for (int y = PPT1; y <= PPT2; ++y) {
      put(ppt, static_cast<long>(y));
      for (int n = 0; n < NSTN; ++n) {
        ppt += ' ';
        put(ppt, station_ppt(p[n], n, y), 2);
      }
      ppt += '\n';
    }
    write_file(root / "stations.loc", loc);
    write_file(root / "stations.ppt", ppt);
  }

  // Per-group grid files: the steady period, then every transient year.
  GridWriter w;
  w.root = root;
  w.binary = binary;
  w.text.reserve(1u << 21);
  for (int g = 0; g < 3; ++g) {
    for (Kind k : {MI, PMP, RCG, RCS, RCC}) w.write(g, k, "steady", (SS1 + SS2) / 2, 0);
    for (int y = TR1; y <= TR2; ++y) {
      for (Kind k : {AGW, ASW, ACO, MI}) w.write(g, k, year_text(y), y, 0);
      for (int m = 1; m <= 12; ++m) {
        for (Kind k : {PMP, RCG, RCS, RCC}) w.write(g, k, period_text(y, m), y, m);
      }
    }
  }
  std::printf("make_bench: %ld files, %lld bytes in %s%s\n", g_count.files, g_count.bytes,
              root.string().c_str(), binary ? " (binary grids)" : "");
  return 0;
}

int main(int argc, char** argv) {
  try {
    return generate(argc, argv);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "make_bench: %s\n", e.what());
    return 1;
  }
}
