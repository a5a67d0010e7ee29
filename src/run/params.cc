#include "run/params.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "engine/budget.h"
#include "gis/crs.h"
#include "input/curves.h"
#include "input/gridio.h"
#include "input/schedule.h"
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

// The grids of the configuration at their start values, sized to the run's grid.
void start_grids(RunConfig& cfg) {
  cfg.ibound = flag_grid(1);
  cfg.ibgt = flag_grid(0);
  cfg.mound = flag_grid(0);
  cfg.gwmask = flag_grid(0);
  cfg.isoil = flag_grid(0);
  cfg.trn = real_grid(1.0);
  cfg.xfactor = real_grid(0.0);
}

// Reads the keyword lines of the parameter file into the configuration.
class KeywordLoop {
 public:
  KeywordLoop(RunConfig& cfg, Krig& krig, ParamLines& file, ParamMode mode)
      : cfg_(cfg), krig_(krig), writes_(mode == ParamMode::Run) {
    ls_.file = &file;
    if (mode == ParamMode::Check) {
      notes_ = &cfg.notes;
      notes_->parfile = cfg.parfile;
    }
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
      kw.resize(rtrim(kw).size());
      if (!notes_) {
        dispatch(kw);
        continue;
      }
      const std::string keyline = ls_.line;
      const long lineno = ls_.file->line_no();
      // Noted before the reader runs: the comment may be what stops it.
      const int hash = comment_column(keyline);
      const size_t note = notes_->warnings.size();
      if (hash > 0)
        notes_->warnings.push_back({text_place(cfg_.parfile, lineno, hash),
                                    "a comment on the " + kw + " line: '" + tail(keyline, hash) + "'",
                                    {},
                                    COMMENT_HINT});
      dispatch(kw);
      if (!block_keyword(kw)) unread_words(kw, keyline, lineno, hash, note);
    }
  }

 private:
  // A message followed by the cleaned line, trailing blanks removed.
  [[noreturn]] void fail_line(const std::string& msg) {
    error(msg + std::string(rtrim(ls_.line)));
  }

  // Keywords whose reader goes on into further lines (or files) and reuses
  // the line buffer.
  static bool block_keyword(const std::string& kw) {
    return kw == "FUNCTION" || kw == "STATIONS" || kw == "TERRAIN";
  }

  static constexpr const char* COMMENT_HINT =
      "the words after a keyword are its values: a comment must be a line of its own, with '#' in "
      "the first column";

  static std::string tail(const std::string& line, int col) {
    return std::string(rtrim(std::string_view(line).substr(col - 1)));
  }

  // The column of the first word after the keyword that starts with '#'; 0
  // for none.
  static int comment_column(const std::string& line) {
    int pos = 1, status = 0;
    charin(line, pos, pos, status);  // the keyword
    for (;;) {
      int at = pos;
      if (eol(line, at)) return 0;
      if (line[at - 1] == '#') return at;
      charin(line, pos, pos, status);
    }
  }

  // Once the keyword's reader is done: a comment it took as values (the
  // comment's note, at index note, says so), or words after its last
  // value, which it never reads.
  void unread_words(const std::string& kw, const std::string& line, long lineno, int hash,
                    size_t note) {
    if (kw == "STRESSF" && cfg_.icmdsf == 1) return;  // the command line's multipliers rule
    if (hash > 0 && ls_.ipos > hash) {
      notes_->warnings[note].what = kw + " reads the words of '" + tail(line, hash) + "' as its values";
      return;
    }
    int at = ls_.ipos;
    if (hash > 0 || eol(line, at)) return;
    notes_->warnings.push_back({text_place(cfg_.parfile, lineno, at),
                                "words after the last value of " + kw + " are not read: '" +
                                    tail(line, at) + "'",
                                {},
                                ""});
  }

  // Keeps a flag file's path and field width for the input check.
  void note_flags(const std::string& name, int width, bool zoned) {
    const std::string path(rtrim(name));
    if (notes_ && path != "*") notes_->flag_files.push_back({path, width, zoned});
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
    for (const Keyword& k : KEYWORDS) {
      if (kw != k.name) continue;
      // The grid's size is fixed by then: GRID is refused after the first
      // keyword that reads a grid or flag file or fills a grid.
      if (first_grid_.empty() && fixes_grid(kw)) first_grid_ = kw;
      return (this->*k.read)();
    }
    error("Unknown parameter " + kw);
  }

  static bool fixes_grid(const std::string& kw) {
    for (const char* k : {"MOUND", "GWMASK", "IBOUND", "SOIL", "TERRAIN", "XFACTOR", "BUDGET"})
      if (kw == k) return true;
    return false;
  }

  // GRID <rows> <columns> <cell size> <x> <y>: the model grid, feet, its
  // south-west corner at (x, y).
  void kw_grid() {
    if (!first_grid_.empty()) error("GRID must come before " + first_grid_);
    int ierr = 0;
    const int32_t nrow = integer(ierr);
    if (ierr != 0) fail_line("Invalid GRID rows ");
    const int32_t ncol = integer(ierr);
    if (ierr != 0) fail_line("Invalid GRID columns ");
    double size = 0.0, x = 0.0, y = 0.0;
    if (!real(size)) fail_line("Invalid GRID cell size ");
    if (!real(x) || !real(y)) fail_line("Invalid GRID corner ");
    GridGeometry g = model_grid();
    const std::string why = make_grid(nrow, ncol, size, x, y, g, physical_memory());
    if (!why.empty()) error("Invalid GRID: " + why);
    set_model_grid(g);
    start_grids(cfg_);
  }

  // CRS <authority:code> or CRS <file with WKT>: the grid's coordinate
  // reference system, for the report's grids and page.
  void kw_crs() {
    int ierr = 0;
    std::string what = text(ierr);
    if (ierr != 0 || rtrim(what).empty()) fail_line("Invalid CRS ");
    GridGeometry g = model_grid();
    const CrsInfo crs = resolve_crs(std::string(rtrim(what)));
    g.crs_name = crs.name;
    g.crs_wkt = crs.esri_wkt;
    set_model_grid(g);
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
    cfg_.iterrain = 1;
    if (writes_) write_terrain_plot(plot, cfg_.trn);
  }
  void kw_stations() { readstation(ls_, cfg_.stations, notes_); }
  void kw_function() {
    const std::string table = readfunction(ls_, cfg_.curves, cfg_.nsoil, notes_);
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
    note_flags(name, zoned_flag_width(n), true);
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
    note_flags(name, PLAIN_FLAG_WIDTH, false);
  }

  void kw_soil() {
    int ierr = 0;
    std::string name = text(ierr);
    if (ierr != 0) fail_line("Invalid SOIL file name ");
    readflags(name, cfg_.isoil, scratch_names_, cfg_.nsoil, 9);
    note_flags(name, zoned_flag_width(cfg_.nsoil), true);
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
    note_flags(name, zoned_flag_width(cfg_.nbgt), true);
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
  ReadNotes* notes_ = nullptr;  // kept in the input check only
  LineState ls_;
  std::vector<std::string> scratch_names_;
  std::string first_grid_;  // the first keyword that read or filled a grid
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
      {"GRID", &KeywordLoop::kw_grid},         {"CRS", &KeywordLoop::kw_crs},
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
  // A simulation of no stress period (NPER 0) is refused by MODFLOW 6.
  if (!cfg.mf6dir.empty() && !has_stress_period(cfg)) error("MF6 needs STEADY or TRANSIENT years");
  if (!cfg.reportdir.empty() && cfg.nbgt == 0) error("REPORT needs BUDGET zones");
}

// Suspect inputs in active cells; never fatal. The input check sums up the
// cells without a soil in one line of its own instead.
void cell_warnings(const RunConfig& cfg, ParamMode mode) {
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
      if (cfg.isoil[i] == 0 && mode == ParamMode::Run)
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
  // Every read starts from the default grid; GRID may set another.
  reset_model_grid();
  if (cfg.ibound.size() != static_cast<size_t>(NCELL)) start_grids(cfg);
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
  cell_warnings(cfg, mode);
}

}  // namespace vadz
