#include "run/params.h"

#include <cmath>
#include <string>
#include <vector>

#include "engine/budget.h"
#include "input/curves.h"
#include "input/gridio.h"
#include "input/stations.h"
#include "input/terrain.h"
#include "utl/console.h"
#include "utl/interrupt.h"
#include "utl/paramlines.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// The single-precision value of 1e-10: the tolerance of the MONTH sum.
constexpr double MONTH_TOLERANCE = static_cast<double>(1e-10f);

// Reads the keyword lines of the parameter file into the configuration.
class KeywordLoop {
 public:
  KeywordLoop(RunConfig& cfg, Krig& krig, ParamLines& file) : cfg_(cfg), krig_(krig) {
    ls_.file = &file;
  }

  void run() {
    while (ls_.file->next(ls_.line)) {
      check_interrupt();
      if (linefix(ls_.line) != 0) continue;
      int ierr = 0;
      std::string tok = charin(ls_.line, 1, ls_.ipos, ierr);
      if (ierr != 0) fail_line("Invalid command ");
      std::string kw = tok.substr(0, 16);
      uppercase(kw);
      dispatch(std::string(rtrim(kw)));
    }
  }

 private:
  // A message followed by the cleaned line, trailing blanks removed.
  [[noreturn]] void fail_line(const std::string& msg) {
    error(msg + std::string(rtrim(ls_.line)));
  }

  std::string text(int& ierr) { return charin(ls_.line, ls_.ipos, ls_.ipos, ierr); }
  int32_t integer(int& ierr) { return intin(ls_.line, ls_.ipos, ls_.ipos, ierr); }
  // A real that must be present, a number and finite.
  bool real(double& v) {
    int ierr = 0;
    v = realin(ls_.line, ls_.ipos, ls_.ipos, ierr);
    return ierr == 0 && std::isfinite(v);
  }

  void dispatch(const std::string& kw) {
    if (kw == "FILE") return kw_file();
    if (kw == "DIR") return kw_dir();
    if (kw == "APPEND") { cfg_.iappend = 1; return; }
    if (kw == "RECHARGE") return kw_recharge();
    if (kw == "IRCHCB") return kw_cbc(cfg_.irchcb, "Invalid Recharge cbc file number IRCHCB");
    if (kw == "WELL") return kw_well();
    if (kw == "IWELCB") return kw_cbc(cfg_.iwelcb, "Invalid Well cbc file number IWELCB");
    if (kw == "ANNPUMP") { cfg_.iannpump = 1; return; }
    if (kw == "ANNRECH") { cfg_.iannrech = 1; return; }
    if (kw == "BIN") { cfg_.ibin = 1; return; }
    if (kw == "STEADY") return kw_steady();
    if (kw == "TRANSIENT") return kw_transient();
    if (kw == "NOPUMP") return kw_nopump();
    if (kw == "MOUND") return kw_mask(cfg_.mound, "Error reading MOUND flag name ", false);
    if (kw == "GWMASK") return kw_mask(cfg_.gwmask, "Error reading GWMASK flag name ", true);
    if (kw == "OPTMOUND") { cfg_.ioptmound = 1; return; }
    if (kw == "STRESSF") return kw_stressf();
    if (kw == "IBOUND") return kw_ibound();
    if (kw == "SOIL") return kw_soil();
    if (kw == "TERRAIN") return readterrain(ls_, cfg_.trn, krig_);
    if (kw == "XFACTOR") return kw_xfactor();
    if (kw == "BUDGET") return kw_budget();
    if (kw == "STATIONS") return readstation(ls_, cfg_.stations);
    if (kw == "PRISM") return kw_prism();
    if (kw == "MONTH") return kw_month();
    if (kw == "FUNCTION") return readfunction(ls_, cfg_.curves, cfg_.nsoil);
    error("Unknown parameter " + kw);
  }

  void kw_file() {
    int ierr = 0;
    std::string dir = text(ierr);
    if (ierr != 0) error("Invalid FILE directory");
    std::array<std::string, 3> ext;
    for (int k = 0; k < 3; ++k) {
      ext[k] = text(ierr);
      if (ierr != 0) errorint("Invalid FILE extention", k + 1);
    }
    cfg_.filedir = dir;
    cfg_.fileext = ext;
    cfg_.nfile = 3;
  }

  void kw_dir() {
    int ierr = 0;
    std::array<std::string, 3> d;
    for (auto& s : d) {
      s = text(ierr);
      if (ierr != 0) fail_line("Error reading DIR ");
    }
    cfg_.stdir = d;
  }

  void kw_recharge() {
    cfg_.nrch = 0;
    while (!eol(ls_.line, ls_.ipos)) {
      if (cfg_.nrch == 4) fail_line("RECHARGE must specify 1 or 4 files ");
      int ierr = 0;
      std::string name = text(ierr);
      if (ierr != 0) fail_line("Error reading RECHARGE file ");
      cfg_.rchfile[cfg_.nrch++] = name;
    }
    if (cfg_.nrch != 1 && cfg_.nrch != 4) fail_line("RECHARGE must specify 1 or 4 files ");
  }

  void kw_cbc(int& target, const char* msg) {
    int ierr = 0;
    int32_t v = integer(ierr);
    if (ierr != 0) error(msg);
    target = v;
  }

  void kw_well() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Error reading WELL file name ");
    cfg_.welfile = name;
  }

  // The two years of STEADY or TRANSIENT, checked in their order.
  void years(const std::string& what, int& y1, int& y2) {
    int ierr = 0;
    y1 = integer(ierr);
    if (ierr != 0) error("Invalid " + what + " start year");
    y2 = integer(ierr);
    if (ierr != 0) error("Invalid " + what + " end year");
    if (y2 < y1) error("Invalid " + what + " period");
    if (y1 < 1910) error(what + " period start error");
    if (y2 > 2150) error(what + " period end error");
  }

  void kw_steady() {
    int y1 = 0, y2 = 0;
    years("STEADY", y1, y2);
    double m = 0.0;
    if (!real(m)) error("Invalid STEADY precip multiplier");
    cfg_.ssyr1 = y1;
    cfg_.ssyr2 = y2;
    cfg_.ssmult = m;
  }

  void kw_transient() {
    int y1 = 0, y2 = 0;
    years("TRANSIENT", y1, y2);
    cfg_.tryr1 = y1;
    cfg_.tryr2 = y2;
  }

  // The state group named by the next token: 1 CO, 2 KS, 3 NE, else 0.
  int instate(int& ierr) {
    std::string tok = text(ierr);
    if (ierr != 0) return 0;
    std::string t = tok.substr(0, 8);
    uppercase(t);
    std::string_view s = rtrim(t);
    if (s == "CO") return 1;
    if (s == "KS") return 2;
    if (s == "NE") return 3;
    ierr = -1;
    return 0;
  }

  void kw_nopump() {
    int ierr = 0;
    int k = instate(ierr);
    if (ierr != 0) fail_line("Invalid state ");
    cfg_.ipump[k - 1] = 0;
  }

  void kw_mask(FlagGrid& grid, const char* msg, bool report) {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line(msg);
    int n = 0;
    readflags(name, grid, scratch_names_, n, 1);
    if (report) {
      int32_t count = 0;
      for (int32_t v : grid) count += v > 0 ? 1 : 0;
      console_line(
          ConsoleLine().text("GWMASK: ").integer(count).text(" cells in zone to exclude pumping"));
    }
  }

  void kw_stressf() {
    if (cfg_.icmdsf == 1) {
      ConsoleLine line;
      line.text("stress multipliers from cmd line: ");
      for (double f : cfg_.stressf) line.text(" ").real(f);
      console_line(line);
      return;
    }
    std::array<double, 4> f{};
    for (double& v : f)
      if (!real(v)) error("Invalid STRESSF multiplier");
    cfg_.stressf = f;
  }

  void kw_ibound() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Invalid IBOUND file name ");
    int n = 0;
    readflags(name, cfg_.ibound, scratch_names_, n, 0);
  }

  void kw_soil() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Invalid SOIL file name ");
    readflags(name, cfg_.isoil, scratch_names_, cfg_.nsoil, 9);
  }

  void kw_xfactor() {
    int ierr = 0;
    int32_t year = integer(ierr);
    if (ierr != 0) fail_line("Invalid XFACTOR year ");
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Invalid XFACTOR file name ");
    cfg_.xyear = year;
    readreal(name, cfg_.xfactor, 0);
  }

  void kw_budget() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Invalid BUDGET file name ");
    std::vector<std::string> names;
    readflags(name, cfg_.ibgt, names, cfg_.nbgt, 9);
    for (int z = 0; z < cfg_.nbgt && z < 9; ++z) cfg_.bgtname[z] = names[z];
    budget_heading(cfg_);
  }

  void kw_prism() {
    int ierr = 0;
    std::string path = text(ierr);
    if (ierr != 0) error("Invalid PRISM path");
    cfg_.prismpath = path;
    cfg_.iprism = 1;
    // Trimmed as every printed name is: a blank path still shows one blank.
    std::string shown(rtrim(path));
    if (shown.empty()) shown = " ";
    console_line(ConsoleLine().text("PRISMpath=" + shown));
  }

  void kw_month() {
    std::array<double, 12> m{};
    for (double& v : m)
      if (!real(v) || v < 0) fail_line("Invalid MONTH multiplier ");
    cfg_.monmult = m;
  }

  RunConfig& cfg_;
  Krig& krig_;
  LineState ls_;
  std::vector<std::string> scratch_names_;
};

void read_command_line(int argc, const char* const* argv, RunConfig& cfg, std::string& content) {
  if (argc < 2) error("Usage: vadz <parameter file>");
  const std::string fname = argv[1];
  if (!read_whole_file(fname, content)) error("Error opening parameter file");
  if (argc < 3) return;
  if (rtrim(std::string_view(argv[2]).substr(0, 16)) != "STRESSF") return;
  for (int k = 0; k < 4; ++k) {
    if (3 + k >= argc) error("cmd arg: Invalid stress fraction");
    const std::string_view arg = std::string_view(argv[3 + k]).substr(0, 32);
    int pos = 0, ierr = 0;
    cfg.stressf[k] = realin(arg, 1, pos, ierr);
    if (ierr != 0 || !std::isfinite(cfg.stressf[k])) error("cmd arg: Invalid stress fraction");
  }
  cfg.icmdsf = 1;
}

void check_configuration(const RunConfig& cfg) {
  if (cfg.nsoil == 0) error("No SOILs specified");
  if (cfg.curves.ncurv == 0) error("No curve specified");
  double sum = 0.0;
  for (double m : cfg.monmult) sum += m;
  if (!(std::fabs(sum - 1.0) <= MONTH_TOLERANCE)) error("MONTH multipliers do not sum to 1");
}

// Suspect inputs in active cells; never fatal.
void cell_warnings(const RunConfig& cfg) {
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const int i = cell(c, r);
      if (cfg.ibound[i] == 0) continue;
      if (cfg.trn[i] <= 0)
        console_line(ConsoleLine()
                         .text("WARNING: ")
                         .text("Terrain multiplier error ")
                         .integer(r)
                         .integer(c)
                         .real(cfg.trn[i]));
      if (cfg.isoil[i] == 0)
        console_line(
            ConsoleLine().text("WARNING: ").text("Missing soil type ").integer(r).integer(c));
    }
  }
}

}  // namespace

void read_parameters(int argc, const char* const* argv, RunConfig& cfg, Krig& krig) {
  std::string content;
  read_command_line(argc, argv, cfg, content);
  {
    ParamLines file(std::move(content));
    KeywordLoop(cfg, krig, file).run();
  }
  check_configuration(cfg);
  cell_warnings(cfg);
}

}  // namespace vadz
