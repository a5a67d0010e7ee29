#include "input/schedule.h"

#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

namespace {

constexpr std::array<int, 12> NDM{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

std::string year_text(int y) {
  char b[4];
  put_int(b, 4, y);
  return std::string(b, 4);
}

RunStep make_step(RunStep::Type type, int year, int month) {
  RunStep s;
  s.type = type;
  s.year = year;
  s.month = month;
  switch (type) {
    case RunStep::Type::SteadyYear:
    case RunStep::Type::Year:
      s.ystem = s.pstem = year_text(year);
      break;
    case RunStep::Type::SteadyPeriod:
      s.label = "Steady ";
      s.pstem = s.ystem = "steady";
      s.seconds = STEADY_SECONDS;
      break;
    case RunStep::Type::Month: {
      char label[7], pstem[7];
      put_int(label, 2, month);
      label[2] = '/';
      put_int(label + 3, 4, year);
      put_fixed(pstem, 7, 2, year + month / 100.0);
      s.label.assign(label, 7);
      s.pstem.assign(pstem, 7);
      s.ystem = year_text(year);
      s.seconds = month_seconds(year, month);
      break;
    }
  }
  return s;
}

}  // namespace

// Groundwater-irrigated areas are read only where the group pumps.
void year_reads(const RunConfig& cfg, bool transient, const std::string& ytext, ReadPlan& plan) {
  auto add = [&](int s, FileKind k) {
    plan.push_back({cfg.stdir[s], ytext, kind_tag(k), 0, s, k, false});
  };
  if (transient) {
    for (int s = 0; s < 3; ++s)
      if (cfg.ipump[s] != 0) add(s, FileKind::agw);
    for (int s = 0; s < 3; ++s) add(s, FileKind::asw);
    for (int s = 0; s < 3; ++s) add(s, FileKind::aco);
  }
  if (cfg.iprism == 1) plan.push_back({cfg.prismpath, ytext, "grd", 1, -1, FileKind::grd, false});
}

// Per group: the year's municipal-industrial file, pumping and the
// groundwater return where the group pumps, then the surface-water and
// commingled returns.
void period_reads(const RunConfig& cfg, const std::string& pstem, const std::string& ystem,
                  MiKeys& mikeys, ReadPlan& plan) {
  for (int s = 0; s < 3; ++s) {
    const std::string& dir = cfg.stdir[s];
    auto add = [&](FileKind k, const std::string& stem, bool reuse) {
      plan.push_back({dir, stem, kind_tag(k), 0, s, k, reuse});
    };
    if (cfg.ipump[s] != 0) {
      // Key: file form, directory, NUL, year stem.
      std::string key(1, static_cast<char>('0' + (cfg.ibin != 0)));
      key += dir;
      key += '\0';
      key += ystem;
      const bool reuse = key == mikeys[s];
      mikeys[s] = std::move(key);
      add(FileKind::mi, ystem, reuse);
      add(FileKind::pmp, pstem, false);
      add(FileKind::rcg, pstem, false);
    }
    add(FileKind::rcs, pstem, false);
    add(FileKind::rcc, pstem, false);
  }
}

const char* kind_tag(FileKind k) {
  static constexpr const char* TAGS[NKIND] = {"agw", "asw", "aco", "grd", "mi",
                                              "pmp", "rcg", "rcs", "rcc"};
  return TAGS[static_cast<int>(k)];
}

const std::array<FileKind, NKIND>& all_kinds() {
  static constexpr std::array<FileKind, NKIND> KINDS{
      FileKind::agw, FileKind::asw, FileKind::aco, FileKind::grd, FileKind::mi,
      FileKind::pmp, FileKind::rcg, FileKind::rcs, FileKind::rcc};
  return KINDS;
}

const char* group_name(int group) {
  static constexpr const char* NAMES[3] = {"CO", "KS", "NE"};
  return group >= 0 && group < 3 ? NAMES[group] : "";
}

std::string PlannedRead::path() const {
  std::string p(rtrim(dir));
  p += '/';
  p += name;
  p += '.';
  p += tag;
  return p;
}

int month_seconds(int year, int month) {
  const int days = (month == 2 && year % 4 == 0) ? 29 : NDM[month - 1];
  return days * 86400;
}

std::vector<RunStep> run_steps(const RunConfig& cfg) {
  std::vector<RunStep> steps;
  if (cfg.ssyr1 > 0) {
    for (int y = cfg.ssyr1; y <= cfg.ssyr2; ++y)
      steps.push_back(make_step(RunStep::Type::SteadyYear, y, 0));
    steps.push_back(make_step(RunStep::Type::SteadyPeriod, -1, 0));
  }
  for (int y = cfg.tryr1; y <= cfg.tryr2; ++y) {
    steps.push_back(make_step(RunStep::Type::Year, y, 0));
    for (int m = 1; m <= 12; ++m) steps.push_back(make_step(RunStep::Type::Month, y, m));
  }
  return steps;
}

bool has_stress_period(const RunConfig& cfg) {
  for (const RunStep& s : run_steps(cfg))
    if (s.is_period()) return true;
  return false;
}

void step_reads(const RunConfig& cfg, const RunStep& step, MiKeys& mikeys, ReadPlan& plan) {
  switch (step.type) {
    case RunStep::Type::SteadyYear:
      return year_reads(cfg, false, step.ystem, plan);
    case RunStep::Type::Year:
      return year_reads(cfg, true, step.ystem, plan);
    case RunStep::Type::SteadyPeriod:
    case RunStep::Type::Month:
      return period_reads(cfg, step.pstem, step.ystem, mikeys, plan);
  }
}

ReadPlan run_read_plan(const RunConfig& cfg) { return run_read_plan(cfg, run_steps(cfg)); }

ReadPlan run_read_plan(const RunConfig& cfg, const std::vector<RunStep>& steps) {
  ReadPlan all, one;
  MiKeys mikeys;
  for (const RunStep& step : steps) {
    one.clear();
    step_reads(cfg, step, mikeys, one);
    for (PlannedRead& r : one)
      if (!r.reuse) all.push_back(std::move(r));
  }
  return all;
}

}  // namespace vadz
