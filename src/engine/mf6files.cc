#include "engine/mf6files.h"

#include <string_view>

#include "engine/modelfiles.h"
#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// What each recharge package holds: the sum of the four kinds (one RECHARGE
// file), or one kind each (four files). The tag names the file and its
// arrays: <name>.rch, or <name>.rcp.rch ... <name>.rcc.rch.
struct RchKind {
  const char* tag;
  const char* what;
};
constexpr RchKind SUM_KIND{"rch", "Recharge, all kinds"};
constexpr std::array<RchKind, 4> KINDS{{
    {"rcp", "Recharge from precipitation"},
    {"rcg", "Return from groundwater-irrigated land"},
    {"rcs", "Return from surface-water-irrigated land"},
    {"rcc", "Return from commingled land"},
}};

void make_folder(Staging& staged, const std::string& path) {
  if (!staged.make_folders(path)) error("Cannot open file " + path);
}

// Opens a file of the folder; a name that is already one of the run's
// model files cannot be opened, or the two would overwrite each other.
void open_file(Staging& staged, OutFile& f, const std::string& path, const RunConfig& cfg) {
  if (is_model_file(cfg, path) || !staged.open(f, path)) error("Cannot open file " + path);
}

// True when every value is 0: such an array is given as a constant.
bool all_zero(const RealGrid& g) {
  for (double v : g)
    if (!(v == 0.0)) return false;
  return true;
}

void add_int(std::string& s, int64_t v) {
  char num[24];
  s.append(num, put_integer(num, v));
}

void add_real(std::string& s, double v) {
  char num[SHORTEST_MAX];
  s.append(num, put_shortest(num, v));
}

// A path as MODFLOW 6 reads a file name: quoted when it holds a blank.
std::string file_word(const std::string& path) {
  if (path.find_first_of(" \t") == std::string::npos) return path;
  return "'" + path + "'";
}

// The cell-by-cell flag of the model file, as MODFLOW 6 options: above 0
// the flows are saved to the budget file, below 0 printed to the listing.
void add_flow_option(std::string& s, int cbc) {
  if (cbc > 0) s += "  SAVE_FLOWS\r\n";
  if (cbc < 0) s += "  PRINT_FLOWS\r\n";
}

}  // namespace

Mf6Files::Mf6Files(const RunConfig& cfg, Staging& staged) : cfg_(cfg), staged_(staged) {
  base_ = cfg.mf6dir;
  if (!base_.empty() && base_.back() != '/') base_ += '/';
  const std::string& name = cfg.mf6name;
  arrays_ = name + "_rch";
  make_folder(staged_, cfg.mf6dir);
  make_folder(staged_, base_ + arrays_);
  for (const RunStep& s : run_steps(cfg))
    if (s.is_period()) periods_.push_back(s);
  nrch_ = cfg.nrch == 4 ? 4 : 1;

  // The period table: every stress period of the run in run order, the
  // steady period (365.25 days) first, months of their real length.
  OutFile tdis;
  open_file(staged_, tdis, base_ + name + ".tdis", cfg);
  text_ = "# Stress periods: length in seconds, one time step\r\n";
  text_ += "BEGIN OPTIONS\r\n  TIME_UNITS SECONDS\r\nEND OPTIONS\r\n\r\n";
  text_ += "BEGIN DIMENSIONS\r\n  NPER ";
  add_int(text_, static_cast<int64_t>(periods_.size()));
  text_ += "\r\nEND DIMENSIONS\r\n\r\nBEGIN PERIODDATA\r\n";
  for (const RunStep& s : periods_) {
    text_ += "  ";
    add_real(text_, s.seconds);
    text_ += " 1 1.0\r\n";
  }
  text_ += "END PERIODDATA\r\n";
  tdis.write(text_);
  tdis.close();

  // The well list holds at most the model well file's limit, which the run
  // enforces on every period, so the limit is a sound MAXBOUND from the
  // start (and never 0, which MODFLOW 6 refuses).
  open_file(staged_, wel_, base_ + name + ".wel", cfg);
  text_ = "# Withdrawals of the wells in active cells, cubic feet per second\r\n";
  if (cfg.iwelcb != 0) {
    text_ += "BEGIN OPTIONS\r\n";
    add_flow_option(text_, cfg.iwelcb);
    text_ += "END OPTIONS\r\n\r\n";
  }
  text_ += "BEGIN DIMENSIONS\r\n  MAXBOUND ";
  add_int(text_, MAXWEL);
  text_ += "\r\nEND DIMENSIONS\r\n";
  wel_.write(text_);

  for (int j = 0; j < nrch_; ++j) {
    const RchKind& kind = nrch_ == 1 ? SUM_KIND : KINDS[j];
    const std::string file = nrch_ == 1 ? name + ".rch" : name + "." + kind.tag + ".rch";
    open_file(staged_, rch_[j], base_ + file, cfg);
    text_ = "# ";
    text_ += kind.what;
    text_ += ", feet per second\r\nBEGIN OPTIONS\r\n  READASARRAYS\r\n";
    add_flow_option(text_, cfg.irchcb);
    text_ += "END OPTIONS\r\n";
    rch_[j].write(text_);
  }
}

void Mf6Files::period(const PeriodResult& pr) {
  // A fault in writing an earlier period stops the run here.
  writer_.check();
  // The run hands over its stress periods in the order of run_steps.
  const RunStep& step = periods_[kper_];
  ++kper_;
  totim_ += step.seconds;

  Work& w = works_.take();
  w.head = {kper_, static_cast<double>(step.seconds), totim_, "RECHARGE"};
  w.pstem = step.pstem;
  w.wel_factor = wel_factor(pr.seconds);
  // Recharge in feet per second: the model file's array value (inches in the
  // period, the kinds summed in the same order) times its control line's
  // multiplier, from the unrounded values in double precision.
  const double m = rch_multiplier(pr.seconds);
  const double k = RCH_INCHES;
  if (nrch_ == 1) {
    const RealGrid& r1 = pr.rech[0];
    const RealGrid& r2 = pr.rech[1];
    const RealGrid& r3 = pr.rech[2];
    const RealGrid& r4 = pr.rech[3];
    RealGrid& rate = w.rate[0];
    rate.resize(NCELL);
    for (int i = 0; i < NCELL; ++i) rate[i] = ((((r1[i] + r2[i]) + r3[i]) + r4[i]) * k) * m;
  } else {
    for (int j = 0; j < nrch_; ++j) {
      const RealGrid& rj = pr.rech[j];
      RealGrid& rate = w.rate[j];
      rate.resize(NCELL);
      for (int i = 0; i < NCELL; ++i) rate[i] = (rj[i] * k) * m;
    }
  }
  w.pump = pr.pump;
  writer_.post([this, &w] {
    write_period(w);
    works_.give_back(w);
  });
}

void Mf6Files::write_period(const Work& w) {
  std::string head = "\r\nBEGIN PERIOD ";
  add_int(head, w.head.kper);
  head += "\r\n";
  for (int j = 0; j < nrch_; ++j) {
    text_ = head;
    text_ += "  RECHARGE\r\n";
    if (all_zero(w.rate[j])) {
      // A kind absent in the period (no surface water, say): no file of zeros.
      text_ += "    CONSTANT 0.0\r\n";
    } else {
      const std::string file =
          arrays_ + "/" + w.pstem + "." + (nrch_ == 1 ? SUM_KIND : KINDS[j]).tag + ".bin";
      const std::string path = base_ + file;
      OutFile f;
      if (!staged_.open(f, path)) error("Cannot open file " + path);
      write_mf6_array(f, w.head, w.rate[j], abuf_);
      f.close();
      text_ += "    OPEN/CLOSE ";
      text_ += file_word(file);
      text_ += " (BINARY)\r\n";
    }
    text_ += "END PERIOD\r\n";
    rch_[j].write(text_);
  }
  write_wells(head, w.wel_factor, w.pump);
}

void Mf6Files::write_wells(const std::string& head, double v, const RealGrid& pump) {
  // The model well file's list in its order (grid order), less the wells of
  // inactive cells: MODFLOW 6 stops on them where MODFLOW-2005 ignores
  // them, so both models see the same stresses. A block for every period,
  // empty where no cell pumps, since a missing block would repeat the last
  // period's list. A not-a-number pumping is listed, as in the model file.
  const FlagGrid& ibound = cfg_.ibound;
  wtext_ = head;
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const int i = cell(c, r);
      const double q = pump[i];
      if (q == 0.0 || ibound[i] <= 0) continue;
      wtext_ += "  1 ";
      add_int(wtext_, r);
      wtext_ += ' ';
      add_int(wtext_, c);
      wtext_ += ' ';
      add_real(wtext_, -(q * v));
      wtext_ += "\r\n";
    }
  }
  wtext_ += "END PERIOD\r\n";
  wel_.write(wtext_);
}

void Mf6Files::finish() {
  writer_.wait();
  wel_.close();
  for (int j = 0; j < nrch_; ++j) rch_[j].close();
}

}  // namespace vadz
