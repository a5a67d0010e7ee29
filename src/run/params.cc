#include "run/params.h"

#include <cmath>
#include <cstdio>
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

// A '#' that is not in the first column starts no comment: its words are
// read as the keyword's arguments. A hint when the fault lies at or after
// such a '#' (at column col).
std::string comment_hint(std::string_view line, int col) {
  const size_t first = line.find_first_not_of(' ');
  if (first != std::string_view::npos && first > 0 && line[first] == '#' &&
      static_cast<int>(first) + 1 >= col)
    return "a comment needs '#' in the first column";
  for (size_t i = 1; i < line.size(); ++i)
    if (line[i] == '#' && line[i - 1] == ' ' && static_cast<int>(i) + 1 <= col)
      return "'#' starts a comment only in the first column: the words from column " +
             std::to_string(i + 1) + " on are read as arguments; put the comment on a line of its own";
  return {};
}

// The single-precision value of 1e-10: the tolerance of the MONTH sum.
constexpr double MONTH_TOLERANCE = static_cast<double>(1e-10f);

// Reads the keyword lines of the parameter file into the configuration.
class KeywordLoop {
 public:
  KeywordLoop(RunConfig& cfg, Krig& krig, ParamLines& file, ParamMode mode)
      : cfg_(cfg), krig_(krig), writes_(mode == ParamMode::Run) {
    ls_.file = &file;
  }

  // Where the keyword loop stands: the line, and the token last scanned.
  Diag place() const {
    Diag d;
    const int col = token_start(ls_.line, ls_.ipos);
    d.where = text_place(ls_.file->name(), ls_.file->line_no(), col);
    d.hint = comment_hint(ls_.line, col);
    return d;
  }

  // The place of the keyword line last read for MONTH, for the check of its sum.
  const std::string& month_place() const { return month_place_; }

  void run() {
    const PlaceScope here([this] { return place(); });
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
    for (const Keyword& k : KEYWORDS)
      if (kw == k.name) return (this->*k.read)();
    error("Unknown parameter " + kw);
  }

  void kw_append() { cfg_.iappend = 1; }
  void kw_irchcb() { kw_cbc(cfg_.irchcb, "Invalid Recharge cbc file number IRCHCB"); }
  void kw_iwelcb() { kw_cbc(cfg_.iwelcb, "Invalid Well cbc file number IWELCB"); }
  void kw_annpump() { cfg_.iannpump = 1; }
  void kw_annrech() { cfg_.iannrech = 1; }
  void kw_bin() { cfg_.ibin = 1; }
  void kw_mound() { kw_mask(cfg_.mound, "Error reading MOUND flag name ", false); }
  void kw_gwmask() { kw_mask(cfg_.gwmask, "Error reading GWMASK flag name ", true); }
  void kw_optmound() { cfg_.ioptmound = 1; }
  void kw_terrain() {
    const std::string plot = readterrain(ls_, cfg_.trn, krig_);
    if (writes_) write_terrain_plot(plot, cfg_.trn);
  }
  void kw_stations() { readstation(ls_, cfg_.stations); }
  void kw_function() {
    const std::string table = readfunction(ls_, cfg_.curves, cfg_.nsoil);
    if (writes_) write_function_table(table, cfg_.curves, cfg_.nsoil);
  }

  // MF6 <folder> [<name>]: the stresses also as MODFLOW 6 input files.
  void kw_mf6() {
    int ierr = 0;
    std::string dir = text(ierr);
    if (ierr != 0 || rtrim(dir).empty()) fail_line("Error reading MF6 folder ");
    std::string name = "vadz";
    if (!eol(ls_.line, ls_.ipos)) {
      name = text(ierr);
      if (ierr != 0 || rtrim(name).empty()) fail_line("Error reading MF6 name ");
    }
    cfg_.mf6dir = std::string(rtrim(dir));
    cfg_.mf6name = std::string(rtrim(name));
  }

  // REPORT <folder>: the run report (page, maps, grids, budget table).
  void kw_report() {
    int ierr = 0;
    std::string dir = text(ierr);
    if (ierr != 0 || rtrim(dir).empty()) fail_line("Error reading REPORT folder ");
    cfg_.reportdir = std::string(rtrim(dir));
  }

  // BUDGETCSV <file>: the budget table at full precision, alone.
  void kw_budgetcsv() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0 || rtrim(name).empty()) fail_line("Error reading BUDGETCSV file ");
    cfg_.budgetcsv = std::string(rtrim(name));
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
    std::array<std::string, 3> d, at;
    for (int k = 0; k < 3; ++k) {
      d[k] = text(ierr);
      if (ierr != 0) fail_line("Error reading DIR ");
      at[k] = text_place(ls_.file->name(), ls_.file->line_no(), token_start(ls_.line, ls_.ipos));
    }
    cfg_.stdir = d;
    cfg_.stdir_place = at;
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
    for (int k = 0; k < 9; ++k)
      cfg_.soilname[k] = k < static_cast<int>(scratch_names_.size()) ? scratch_names_[k] : "";
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
    if (writes_) budget_heading(cfg_);
  }

  void kw_prism() {
    int ierr = 0;
    std::string path = text(ierr);
    if (ierr != 0) error("Invalid PRISM path");
    cfg_.prismpath = path;
    cfg_.iprism = 1;
    // Trimmed as every printed name is: a blank path still shows one blank.
    const std::string_view trimmed = rtrim(path);
    console_line(ConsoleLine().text("PRISMpath=").text(trimmed.empty() ? " " : trimmed));
  }

  void kw_month() {
    month_place_ = text_place(ls_.file->name(), ls_.file->line_no(), 1);
    std::array<double, 12> m{};
    for (double& v : m)
      if (!real(v) || v < 0) fail_line("Invalid MONTH multiplier ");
    cfg_.monmult = m;
  }

  RunConfig& cfg_;
  Krig& krig_;
  const bool writes_;  // the side files and the budget heading (ParamMode)
  LineState ls_;
  std::vector<std::string> scratch_names_;
  std::string month_place_;

 public:
  struct Keyword {
    const char* name;
    void (KeywordLoop::*read)();
  };
  // Every keyword of the parameter file and its reader.
  static constexpr Keyword KEYWORDS[] = {
      {"FILE", &KeywordLoop::kw_file},         {"DIR", &KeywordLoop::kw_dir},
      {"APPEND", &KeywordLoop::kw_append},     {"RECHARGE", &KeywordLoop::kw_recharge},
      {"IRCHCB", &KeywordLoop::kw_irchcb},     {"WELL", &KeywordLoop::kw_well},
      {"IWELCB", &KeywordLoop::kw_iwelcb},     {"ANNPUMP", &KeywordLoop::kw_annpump},
      {"ANNRECH", &KeywordLoop::kw_annrech},   {"BIN", &KeywordLoop::kw_bin},
      {"STEADY", &KeywordLoop::kw_steady},     {"TRANSIENT", &KeywordLoop::kw_transient},
      {"NOPUMP", &KeywordLoop::kw_nopump},     {"MOUND", &KeywordLoop::kw_mound},
      {"GWMASK", &KeywordLoop::kw_gwmask},     {"OPTMOUND", &KeywordLoop::kw_optmound},
      {"STRESSF", &KeywordLoop::kw_stressf},   {"IBOUND", &KeywordLoop::kw_ibound},
      {"SOIL", &KeywordLoop::kw_soil},         {"TERRAIN", &KeywordLoop::kw_terrain},
      {"XFACTOR", &KeywordLoop::kw_xfactor},   {"BUDGET", &KeywordLoop::kw_budget},
      {"STATIONS", &KeywordLoop::kw_stations}, {"PRISM", &KeywordLoop::kw_prism},
      {"MONTH", &KeywordLoop::kw_month},       {"FUNCTION", &KeywordLoop::kw_function},
      {"MF6", &KeywordLoop::kw_mf6},           {"REPORT", &KeywordLoop::kw_report},
      {"BUDGETCSV", &KeywordLoop::kw_budgetcsv},
  };
};

void read_command_line(int argc, const char* const* argv, RunConfig& cfg, std::string& content) {
  if (argc < 2) error("Usage: vadz <parameter file>");
  const std::string fname = argv[1];
  if (!read_whole_file(fname, content)) {
    const PlaceScope here([&fname] { return Diag{fname, "", {}, open_hint(fname)}; });
    error("Error opening parameter file");
  }
  cfg.parfile = fname;
  if (argc < 3) return;
  if (rtrim(std::string_view(argv[2]).substr(0, 16)) != "STRESSF") return;
  int arg = 3;
  const PlaceScope here([&] {
    Diag d{"command line", "", {}, "STRESSF takes four numbers: STRESSF f1 f2 f3 f4"};
    d.notes.push_back(arg < argc ? "argument " + std::to_string(arg) + " '" + argv[arg] + "'"
                                 : "the command line ends after " + std::to_string(argc - 1) + " arguments");
    return d;
  });
  for (int k = 0; k < 4; ++k) {
    arg = 3 + k;
    if (3 + k >= argc) error("cmd arg: Invalid stress fraction");
    const std::string_view arg = std::string_view(argv[3 + k]).substr(0, 32);
    int pos = 0, ierr = 0;
    cfg.stressf[k] = realin(arg, 1, pos, ierr);
    if (ierr != 0 || !std::isfinite(cfg.stressf[k])) error("cmd arg: Invalid stress fraction");
  }
  cfg.icmdsf = 1;
}

void check_configuration(const RunConfig& cfg, const std::string& month_place) {
  if (cfg.nsoil == 0) error("No SOILs specified");
  if (cfg.curves.ncurv == 0) error("No curve specified");
  double sum = 0.0;
  for (double m : cfg.monmult) sum += m;
  if (!(std::fabs(sum - 1.0) <= MONTH_TOLERANCE)) {
    char text[64];
    std::snprintf(text, sizeof text, "the twelve multipliers sum to %.10g", sum);
    const PlaceScope here([&] { return Diag{month_place, "", {text}, ""}; });
    error("MONTH multipliers do not sum to 1");
  }
  // The CSV budget and the report hold the numbers of the budget table: they
  // need its zones.
  if (!cfg.budgetcsv.empty() && cfg.nbgt == 0) error("BUDGETCSV needs BUDGET zones");
  // MODFLOW 6 files are blocks numbered from period 1 under a header that
  // counts the periods: a second run cannot be added to their end.
  if (!cfg.mf6dir.empty() && cfg.iappend) error("APPEND cannot be used with MF6");
  if (!cfg.reportdir.empty() && cfg.nbgt == 0) error("REPORT needs BUDGET zones");
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

std::vector<std::string> parameter_keywords() {
  std::vector<std::string> names;
  for (const KeywordLoop::Keyword& k : KeywordLoop::KEYWORDS) names.emplace_back(k.name);
  return names;
}

void read_parameters(int argc, const char* const* argv, RunConfig& cfg, Krig& krig,
                     ParamMode mode) {
  std::string content;
  read_command_line(argc, argv, cfg, content);
  // A fault found after the keyword lines is the parameter file's.
  const PlaceScope file([&cfg] { return Diag{cfg.parfile, "", {}, ""}; });
  std::string month_place;
  {
    ParamLines file(std::move(content), cfg.parfile);
    KeywordLoop loop(cfg, krig, file, mode);
    loop.run();
    month_place = loop.month_place();
  }
  check_configuration(cfg, month_place);
  cell_warnings(cfg);
}

}  // namespace vadz
