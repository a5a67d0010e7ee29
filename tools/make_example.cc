// Writes the input data of the shipped example into a folder: a synthetic
// basin of three state groups with irrigated river valleys, precipitation
// stations, soils and terrain zones. Deterministic; runs in seconds.
//
//   make_example [--grid <rows> <columns> <cell size> <x> <y>] <folder>
//
// The parameter file example/vadz.par reads these files by paths relative to
// that folder, so the program is run from inside it. With --grid the same
// basin is laid on another grid (the parameter file then needs the matching
// GRID line, as example/halfmile/vadz.par has): the shapes are drawn on the
// default grid's 165 rows by 326 columns and stretched over the new one,
// acres scaled to the cell's area.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace {

// The default grid, on whose rows and columns the basin is drawn.
constexpr int BASE_NROW = 165, BASE_NCOL = 326;
constexpr double BASE_CELL = 5280.0;

// The grid written.
int NROW = BASE_NROW, NCOL = BASE_NCOL;
double X0 = 266023.0, Y0 = 14092806.0, CELL = BASE_CELL;

// Column and row of the default grid at the centre of column c, row r
// (the same numbers on the default grid).
double bc(int c) { return (c - 0.5) * (BASE_NCOL / double(NCOL)) + 0.5; }
double br(int r) { return (r - 0.5) * (BASE_NROW / double(NROW)) + 0.5; }
// The column and row holding the centre of the default grid's cell (c, r).
int col_of(int c) { return static_cast<int>(std::floor((c - 0.5) * (NCOL / double(BASE_NCOL)))) + 1; }
int row_of(int r) { return static_cast<int>(std::floor((r - 0.5) * (NROW / double(BASE_NROW)))) + 1; }
// Share of a one-mile cell's 640 acres in a cell of the grid.
double area_scale() { return CELL * CELL / (BASE_CELL * BASE_CELL); }

std::string outdir;

void write(const std::string& name, const std::string& text) {
  const std::filesystem::path p = std::filesystem::path(outdir) / name;
  std::filesystem::create_directories(p.parent_path());
  std::ofstream f(p, std::ios::binary);
  f << text;
  if (!f) {
    std::fprintf(stderr, "make_example: cannot write %s\n", p.string().c_str());
    std::exit(1);
  }
}

// A real grid as text, one grid row per line; zeros as a bare 0 to keep the
// files small.
std::string real_grid(const std::function<double(int c, int r)>& f) {
  std::string s;
  char buf[32];
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const double v = f(c, r);
      if (v == 0.0) std::snprintf(buf, sizeof buf, "0");
      else std::snprintf(buf, sizeof buf, "%.2f", v);
      s += buf;
      s += c < NCOL ? ' ' : '\n';
    }
  }
  return s;
}

// A flag grid: optional header line of zone names, then fields of width w.
std::string flag_grid(const std::string& header, int w, const std::function<int(int c, int r)>& f) {
  std::string s = header.empty() ? "" : header + "\n";
  char buf[8];
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      std::snprintf(buf, sizeof buf, "%*d", w, f(c, r));
      s += buf;
    }
    s += '\n';
  }
  return s;
}

// The basin: an ellipse inside the model grid; cells outside are inactive.
bool active(int c, int r) {
  const double a = (bc(c) - 163.5) / 158.0, b = (br(r) - 83.0) / 78.0;
  return a * a + b * b <= 1.0;
}

// State groups split west to east: CO, KS, NE.
int state(int c) { return bc(c) <= 110 ? 1 : bc(c) <= 220 ? 2 : 3; }

// Distance in rows from the nearest of three meandering rivers.
double river_distance(int c, int r) {
  double d = 1e9;
  const double base[3] = {38.0, 84.0, 128.0};
  for (int k = 0; k < 3; ++k) {
    const double centre = base[k] + 7.0 * std::sin(bc(c) / 37.0 + 1.7 * k);
    d = std::min(d, std::fabs(br(r) - centre));
  }
  return d;
}

// Irrigated acres of a cell: groundwater, surface water and commingled,
// growing a little each year.
double agw(int c, int r, int y) {
  if (!active(c, r)) return 0.0;
  const double d = river_distance(c, r);
  if (d > 4.0) return 0.0;
  return std::round((300.0 - 55.0 * d) * (1.0 + 0.04 * (y - 1990)) * area_scale());
}
double asw(int c, int r, int) {
  if (!active(c, r)) return 0.0;
  const double d = river_distance(c, r);
  return d > 1.5 ? 0.0 : std::round((140.0 - 60.0 * d) * area_scale());
}
double aco(int c, int r, int) {
  if (!active(c, r)) return 0.0;
  return river_distance(c, r) > 0.8 ? 0.0 : std::round(40.0 * area_scale());
}

// Towns with municipal and industrial pumping, acre-feet per year.
struct Town {
  int c, r;
  double af;
};
const Town TOWNS[] = {{40, 60, 900}, {95, 100, 450},  {150, 45, 1200},
                      {190, 120, 600}, {250, 70, 800}, {300, 110, 350}};

std::string year_text(int y) { return std::to_string(y); }

void state_year_files(int y) {
  const char* dirs[3] = {"co", "ks", "ne"};
  // Irrigation season: share of the year's applied water per month.
  const int months[5] = {5, 6, 7, 8, 9};
  const double share[5] = {0.10, 0.20, 0.35, 0.25, 0.10};
  for (int s = 1; s <= 3; ++s) {
    const std::string dir = dirs[s - 1];
    auto mine = [s](int c) { return state(c) == s; };
    write(dir + "/" + year_text(y) + ".agw",
          real_grid([&](int c, int r) { return mine(c) ? agw(c, r, y) : 0.0; }));
    write(dir + "/" + year_text(y) + ".asw",
          real_grid([&](int c, int r) { return mine(c) ? asw(c, r, y) : 0.0; }));
    write(dir + "/" + year_text(y) + ".aco",
          real_grid([&](int c, int r) { return mine(c) ? aco(c, r, y) : 0.0; }));
    write(dir + "/" + year_text(y) + ".mi", real_grid([&](int c, int r) {
            for (const Town& t : TOWNS)
              if (col_of(t.c) == c && row_of(t.r) == r && mine(c)) return t.af;
            return 0.0;
          }));
    for (int k = 0; k < 5; ++k) {
      char stem[16];
      std::snprintf(stem, sizeof stem, "%d.%02d", y, months[k]);
      const std::string base = dir + "/" + stem;
      const double f = share[k];
      // 1.6 ft of pumped water a year; a fifth returns as recharge.
      write(base + ".pmp", real_grid([&](int c, int r) {
              return mine(c) ? agw(c, r, y) * 1.6 * f : 0.0;
            }));
      write(base + ".rcg", real_grid([&](int c, int r) {
              return mine(c) ? agw(c, r, y) * 1.6 * f * 0.2 : 0.0;
            }));
      write(base + ".rcs", real_grid([&](int c, int r) {
              return mine(c) ? asw(c, r, y) * 2.0 * f * 0.25 : 0.0;
            }));
      write(base + ".rcc", real_grid([&](int c, int r) {
              return mine(c) ? aco(c, r, y) * 1.8 * f * 0.2 : 0.0;
            }));
    }
  }
}

// Coordinates of the centre of the default grid's cell (c, r) on the grid.
double cell_x(int c) { return (c - 0.5) * (NCOL / double(BASE_NCOL)) * CELL + X0; }
double cell_y(int r) { return (BASE_NROW - r + 0.5) * (NROW / double(BASE_NROW)) * CELL + Y0; }

void stations(int first, int last) {
  // Twelve stations on a loose 4 x 3 pattern; wetter to the east.
  std::string loc = "name x_ft y_ft\n";
  std::string pp = "year";
  std::vector<double> east;
  int n = 0;
  for (int j = 0; j < 3; ++j)
    for (int i = 0; i < 4; ++i) {
      ++n;
      const int c = 30 + 88 * i + (j * 17) % 23;
      const int r = 30 + 50 * j + (i * 13) % 19;
      char line[96];
      const double shift = CELL / BASE_CELL;
      std::snprintf(line, sizeof line, "ST%02d %.0f %.0f\n", n, cell_x(c) + 1234.0 * shift,
                    cell_y(r) - 2345.0 * shift);
      loc += line;
      pp += " ST" + std::string(n < 10 ? "0" : "") + std::to_string(n);
      east.push_back(c / double(BASE_NCOL));
    }
  pp += "\n";
  for (int y = first; y <= last; ++y) {
    pp += std::to_string(y);
    for (int k = 0; k < n; ++k) {
      const double v = 14.0 + 12.0 * east[k] + 3.0 * std::sin(0.9 * y + k) + 1.5 * std::cos(2.3 * k);
      char buf[16];
      std::snprintf(buf, sizeof buf, " %.2f", v);
      pp += buf;
    }
    pp += "\n";
  }
  write("stations.txt", loc);
  write("precip.txt", pp);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 8 && std::string(argv[1]) == "--grid") {
    NROW = std::atoi(argv[2]);
    NCOL = std::atoi(argv[3]);
    CELL = std::atof(argv[4]);
    X0 = std::atof(argv[5]);
    Y0 = std::atof(argv[6]);
    argv += 6;
    argc -= 6;
    if (NROW < 1 || NCOL < 1 || !(CELL > 0.0)) {
      std::fprintf(stderr, "make_example: bad --grid values\n");
      return 1;
    }
  }
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_example [--grid <rows> <columns> <cell size> <x> <y>] <folder>\n");
    return 1;
  }
  outdir = argv[1];
  std::filesystem::create_directories(std::filesystem::path(outdir) / "grids");

  write("ibound.txt", flag_grid("", 2, [](int c, int r) { return active(c, r) ? 1 : 0; }));
  write("budget.txt", flag_grid("CO KS NE", 1, [](int c, int) { return state(c); }));
  // Sand along the rivers, clay in the north-west, loam elsewhere.
  write("soil.txt", flag_grid("sand loam clay", 1, [](int c, int r) {
          if (river_distance(c, r) <= 3.0) return 1;
          return (r < 60 && c < 160) ? 3 : 2;
        }));
  // Terrain: breaks along the valley sides, plains elsewhere.
  write("terrain.txt", flag_grid("plains breaks", 1, [](int c, int r) {
          const double d = river_distance(c, r);
          return (d > 4.0 && d <= 9.0) ? 2 : 1;
        }));
  std::string tm = "x_ft y_ft plains breaks\n";
  const int pts[6][2] = {{40, 30}, {160, 25}, {290, 40}, {60, 130}, {170, 140}, {300, 120}};
  for (int k = 0; k < 6; ++k) {
    char line[96];
    std::snprintf(line, sizeof line, "%.0f %.0f %.2f %.2f\n", cell_x(pts[k][0]),
                  cell_y(pts[k][1]), 0.9 + 0.05 * k, 1.3 - 0.06 * k);
    tm += line;
  }
  write("trnmult.txt", tm);

  stations(1985, 1992);
  for (int y = 1990; y <= 1992; ++y) state_year_files(y);
  std::printf("example data written to %s\n", outdir.c_str());
  return 0;
}
