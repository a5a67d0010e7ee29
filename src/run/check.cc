#include "run/check.h"

#include <exception>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>
#include <vector>

#include "engine/modelfiles.h"
#include "engine/pptplace.h"
#include "input/config.h"
#include "input/curves.h"
#include "input/gridio.h"
#include "input/inventory.h"
#include "input/prefetch.h"
#include "input/schedule.h"
#include "input/strayfiles.h"
#include "krige/krige.h"
#include "run/checkprecip.h"
#include "run/checkvalues.h"
#include "run/checkwater.h"
#include "run/params.h"
#include "utl/console.h"
#include "utl/diag.h"
#include "utl/format.h"
#include "utl/grid.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

// Example names shown for a group of stray files.
constexpr size_t SHOWN_NAMES = 3;

// The run's message carried by a fatal stop: its console line without the
// leading blank, trailing blanks and line end.
std::string message(const Fatal& f) {
  std::string_view s = f.line();
  while (!s.empty() && (s.back() == '\n' || s.back() == '\r' || s.back() == ' ')) s.remove_suffix(1);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  return std::string(s);
}

// The cell's area in acres as a warning names it (640 on the default grid).
std::string acres_text() {
  char buf[SHORTEST_MAX];
  return std::string(buf, put_shortest(buf, model_grid().acres));
}

std::string plural(size_t n, const char* one, const char* many) {
  return std::to_string(n) + " " + (n == 1 ? one : many);
}

bool area_kind(FileKind k) {
  return k == FileKind::agw || k == FileKind::asw || k == FileKind::aco;
}
bool yearly_kind(FileKind k) { return area_kind(k) || k == FileKind::mi || k == FileKind::grd; }

// What the values of one folder's grids of one kind look like, by period.
struct KindFacts {
  std::vector<InputPeriod> zero, nonzero, negative, over_cell;
};

class Check {
 public:
  Check(const RunConfig& cfg, std::string parfile)
      : cfg_(cfg), parfile_(std::move(parfile)), precip_(cfg), values_(cfg), water_(cfg) {}

  int run() {
    configuration();
    const ReadPlan plan = run_read_plan(cfg_);
    const Inventory inv = make_inventory(cfg_, plan);
    for (const std::string& w : missing_folder_warnings(cfg_, plan)) warnings_.push_back(w + "\r\n");
    krige_beside(plan);
    stray(inv, plan);
    gaps(inv);
    values(inv);
    const Findings found = findings();

    for (const std::string& l : inventory_lines(inv)) line(l);
    for (const std::string& l : warnings_) console_write(l);
    for (const std::string& l : errors_) console_write(l);
    line(plural(errors_.size(), "error", "errors") + ", " +
         plural(warnings_.size(), "warning", "warnings") +
         (found.cells > 0 ? " (" + number(static_cast<double>(found.cells), 0) +
                                (found.cells == 1 ? " cell)" : " cells)")
                          : ""));
    return errors_.empty() ? 0 : 1;
  }

 private:
  static void line(const std::string& text) { console_write(text + "\r\n"); }

  // One "error: " or "warning: " record of the listing (severity "error"
  // or "warning"), with its place, notes and hint as a run's stop shows them.
  void report(const Diag& d, std::string_view severity) {
    (severity == "error" ? errors_ : warnings_).push_back(render(d, severity));
  }

  // Kriging every year's precipitation reads no grid file: it goes on
  // on a thread of its own while the grids are read (with PRISM it does
  // nothing, and only the grid reading feeds precip_).
  void krige_beside(const ReadPlan& plan) {
    std::exception_ptr fault;
    std::thread kriging;
    try {
      kriging = std::thread([&] {
        try {
          precip_.kriged_years();
        } catch (...) {
          fault = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      precip_.kriged_years();  // no second thread to be had
    }
    try {
      read_grids(plan);
    } catch (...) {
      if (kriging.joinable()) kriging.join();
      throw;
    }
    if (kriging.joinable()) kriging.join();
    if (fault) std::rethrow_exception(fault);
  }

  // The value checks: precipitation as the run takes it, then the values
  // that run but look wrong; each a placed error or warning.
  Findings findings() {
    Findings f;
    precip_.report(f);
    water_.report(f);
    values_.report(f);
    for (const Diag& d : f.warnings) report(d, "warning");
    for (const Diag& d : f.errors) report(d, "error");
    return f;
  }
  void warning(const std::string& text) { report(Diag{"", text, {}, ""}, "warning"); }

  // Runs fn; a fatal stop becomes an error record at the stop's place, or
  // naming file when the stop knows none.
  template <class Fn>
  bool attempt(const std::string& file, Fn fn) {
    try {
      fn();
      return true;
    } catch (const Fatal& f) {
      Diag d = f.place();
      if (d.where.empty()) d.where = file;
      if (d.what.empty()) d.what = message(f);
      report(d, "error");
      return false;
    }
  }

  // The faults a run meets before its first grid read, in its order: the
  // kriging system and the station years, then the model file names.
  void configuration() {
    if (cfg_.iprism == 0) {
      const StationTable& st = cfg_.stations;
      auto krig = std::make_unique<Krig>();
      attempt(parfile_, [&] {
        const PlaceScope here([&st] { return station_system_place(st); });
        krigmatinv(X0, Y0, st.stnx.data(), st.stny.data(), *krig, st.nstn, st.idrift);
      });
      if (cfg_.ssyr1 > 0)
        for (int y = cfg_.ssyr1; y <= cfg_.ssyr2; ++y)
          attempt(st.pcpfile, [&] { st.require_year(y); });
      for (int y = cfg_.tryr1; y <= cfg_.tryr2; ++y)
        attempt(st.pcpfile, [&] { st.require_year(y); });
    }
    attempt(parfile_, [&] { require_well_file(cfg_); });
    attempt(parfile_, [&] { require_recharge_files(cfg_); });
  }

  // Every distinct file of the plan, read and parsed in full on a second
  // thread that reads on past faults, in the run's order; the values of
  // each grid are looked at here meanwhile.
  void read_grids(const ReadPlan& plan) {
    ReadPlan reads;
    std::set<std::string> seen;
    for (const PlannedRead& r : plan)
      if (seen.insert(r.path()).second) reads.push_back(r);
    GridReader reader(cfg_.ibin);
    std::unique_ptr<GridPrefetcher> ahead;
    try {
      ahead = std::make_unique<GridPrefetcher>(reads, cfg_.ibin, 8,
                                               GridPrefetcher::OnFault::ReadOn);
      reader.set_prefetch(ahead.get());
    } catch (const std::system_error&) {
      // No second thread to be had: the files are read here.
    }
    RealGrid grid = real_grid();
    for (const PlannedRead& r : reads) {
      const std::string path = r.path();
      if (!attempt(path, [&] { reader.readfile(grid, r.dir, r.name, r.tag, r.mustexist); }))
        continue;
      if (!file_exists(path)) continue;  // absent: a zero grid, or an error above
      if (r.kind == FileKind::grd) {
        InputPeriod p;
        if (parse_period(r.name, p)) precip_.prism_grid(p.year, grid, path);
      }
      look_at(r, grid);
      values_.grid(r, grid);
      water_.add(r, grid);
    }
  }

  void look_at(const PlannedRead& r, const RealGrid& g) {
    InputPeriod p;
    if (!parse_period(r.name, p)) return;
    KindFacts& k = facts_[{r.group >= 0 ? r.group : 3, r.kind}];
    // More irrigated acres than the cell holds cannot be.
    const double cell_acres = model_grid().acres;
    bool zero = true, negative = false, over = false;
    for (double v : g) {
      zero = zero && v == 0.0;
      negative = negative || v < 0.0;
      over = over || v > cell_acres;
    }
    (zero ? k.zero : k.nonzero).push_back(p);
    if (area_kind(r.kind) && negative) k.negative.push_back(p);
    if (area_kind(r.kind) && over) k.over_cell.push_back(p);
  }

  // Files in the data folders that the run never reads, a line per folder
  // and reason.
  void stray(const Inventory& inv, const ReadPlan& plan) {
    for (const StrayFiles& s : stray_files(inv, plan)) {
      std::string text =
          s.folders
              ? s.dir + ": " + plural(s.names.size(), "folder", "folders") + " the run does not look into: "
              : s.dir + ": " + plural(s.names.size(), "file", "files") + " the run does not read (" +
                    s.reason + "): ";
      for (size_t i = 0; i < s.names.size() && i < SHOWN_NAMES; ++i)
        text += (i ? ", " : "") + s.names[i];
      if (s.names.size() > SHOWN_NAMES)
        text += " and " + std::to_string(s.names.size() - SHOWN_NAMES) + " more";
      warning(text);
    }
  }

  static std::string subject(const InventoryFolder& f, FileKind k) {
    return f.dir + "/*." + kind_tag(k);
  }

  // Years of a state group's kind without any file while other years have
  // files: a year outside the data, or files misnamed.
  void gaps(const Inventory& inv) {
    for (const InventoryFolder& f : inv.folders) {
      if (f.group < 0 || !f.exists) continue;
      for (const InventoryKind& k : f.kinds) {
        std::set<int> with;
        for (const InputPeriod& p : k.present)
          if (p.year != 0) with.insert(p.year);
        if (with.empty()) continue;
        std::vector<InputPeriod> without, have;
        for (const InputPeriod& p : k.absent)
          if (p.year != 0 && !with.count(p.year) && (without.empty() || without.back().year != p.year))
            without.push_back({p.year, 0});
        if (without.empty()) continue;
        for (int y : with) have.push_back({y, 0});
        warning(subject(f, k.kind) + ": no file for " + period_ranges(without) + " while " +
                period_ranges(have) + " have files (read as zeros)");
      }
    }
  }

  // Values that look wrong: a yearly grid all zero where the other years
  // have values (every PRISM grid: no year is without precipitation),
  // negative irrigated acres, more acres than a cell holds.
  void values(const Inventory& inv) {
    for (const auto& [key, k] : facts_) {
      const InventoryFolder& f = inv.folders[key.first];
      const std::string who = subject(f, key.second);
      if (yearly_kind(key.second) && !k.zero.empty() &&
          (key.second == FileKind::grd || !k.nonzero.empty()))
        warning(who + ": every value is 0 in " + period_ranges(k.zero) +
                (k.nonzero.empty() ? "" : " while the other files have values"));
      if (!k.negative.empty()) warning(who + ": negative acres in " + period_ranges(k.negative));
      if (!k.over_cell.empty())
        warning(who + ": more than " + acres_text() + " acres in a cell in " +
                period_ranges(k.over_cell));
    }
  }

  const RunConfig& cfg_;
  std::string parfile_;
  std::vector<std::string> errors_, warnings_;
  std::map<std::pair<int, FileKind>, KindFacts> facts_;
  PrecipCheck precip_;
  ValueCheck values_;
  CheckWater water_;  // the pumping and returns the model would never receive
};

}  // namespace

int run_check(int argc, const char* const* argv) {
  // The configuration holds dozens of grids: keep it off the stack.
  auto cfg = std::make_unique<RunConfig>();
  auto krig = std::make_unique<Krig>();
  try {
    read_parameters(argc, argv, *cfg, *krig, ParamMode::Check);
  } catch (const Fatal&) {
    // What the reader noted before the stop often explains it (a comment
    // read as values, an indented '#' line ending the FUNCTION block).
    for (const Diag& d : cfg->notes.warnings) console_write(render(d, "warning"));
    throw;
  }
  return Check(*cfg, argv[1]).run();
}

}  // namespace vadz
