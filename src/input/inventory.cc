#include "input/inventory.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "utl/format.h"
#include "utl/scan.h"
#include "utl/textio.h"

namespace vadz {

namespace {

constexpr unsigned ALL_MONTHS = 0xFFF;

bool digits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string year_text(int y) {
  char b[4];
  return std::string(b, put_int(b, 4, y));
}

std::string month_text(int m) {
  char b[2];
  return std::string(b, put_int_zero(b, 2, m));
}

// "05-09", "01-04,10-12": the runs of set bits of a 12-bit month mask.
std::string month_ranges(unsigned mask) {
  std::string s;
  for (int m = 1; m <= 12;) {
    if (!(mask & (1u << (m - 1)))) {
      ++m;
      continue;
    }
    int last = m;
    while (last < 12 && (mask & (1u << last))) ++last;
    if (!s.empty()) s += ',';
    s += month_text(m);
    if (last > m) s += '-' + month_text(last);
    m = last + 1;
  }
  return s;
}

// The right-aligned field of w characters of a text (a heading).
std::string right(std::string_view t, size_t w) {
  return t.size() >= w ? std::string(t) : std::string(w - t.size(), ' ') + std::string(t);
}

std::string files_and_mb(int files, std::uintmax_t bytes) {
  char b[16];
  char* p = put_int(b, 6, files);
  p = put_fixed(p, 8, 1, static_cast<double>(bytes) / 1e6);
  return std::string(b, p);
}

// A count, and bytes in MB with one decimal, in as many characters as they need.
std::string number(int64_t v) {
  char b[24];
  std::string s(b, put_int(b, 20, v));
  return s.substr(s.find_first_not_of(' '));
}
std::string megabytes(std::uintmax_t bytes) {
  char b[24];
  std::string s(b, put_fixed(b, 20, 1, static_cast<double>(bytes) / 1e6));
  return s.substr(s.find_first_not_of(' '));
}

constexpr size_t PRESENT_WIDTH = 24;

bool is_folder(const std::string& dir) {
  std::error_code ec;
  return std::filesystem::is_directory(dir.empty() ? "/" : dir, ec);
}

}  // namespace

bool parse_period(std::string_view stem, InputPeriod& period) {
  if (stem == "steady") {
    period = {};
    return true;
  }
  if (stem.size() != 4 && stem.size() != 7) return false;
  if (!digits(stem.substr(0, 4))) return false;
  InputPeriod p;
  p.year = (stem[0] - '0') * 1000 + (stem[1] - '0') * 100 + (stem[2] - '0') * 10 + (stem[3] - '0');
  if (p.year == 0) return false;  // year 0 would read as the steady period
  if (stem.size() == 7) {
    if (stem[4] != '.' || !digits(stem.substr(5, 2))) return false;
    p.month = (stem[5] - '0') * 10 + (stem[6] - '0');
  }
  period = p;
  return true;
}

bool InventoryFolder::read() const {
  for (const InventoryKind& k : kinds)
    if (k.read()) return true;
  return false;
}

Inventory make_inventory(const RunConfig& cfg, const ReadPlan& plan) {
  Inventory inv;
  for (int s = 0; s < 3; ++s) {
    InventoryFolder f;
    f.group = s;
    f.dir = std::string(rtrim(cfg.stdir[s]));
    f.exists = is_folder(f.dir);
    f.pumping = cfg.ipump[s] != 0;
    for (FileKind k : all_kinds())
      if (k != FileKind::grd) f.kinds.push_back(InventoryKind{k, {}, {}, 0, 0});
    inv.folders.push_back(std::move(f));
  }
  if (cfg.iprism == 1) {
    InventoryFolder f;
    f.dir = std::string(rtrim(cfg.prismpath));
    f.exists = is_folder(f.dir);
    f.kinds.push_back(InventoryKind{FileKind::grd, {}, {}, 0, 0});
    inv.folders.push_back(std::move(f));
  }

  // Each distinct file once, however often the plan reads it.
  std::map<std::string, std::uintmax_t> present;
  std::set<std::string> absent;
  for (const PlannedRead& r : plan) {
    InputPeriod period;
    if (!parse_period(r.name, period)) continue;
    InventoryFolder& f = inv.folders[r.group >= 0 ? r.group : 3];
    InventoryKind* k = nullptr;
    for (InventoryKind& c : f.kinds)
      if (c.kind == r.kind) k = &c;
    if (!k) continue;
    const std::string path = r.path();
    // Present as the reader sees it: a file of that name exists.
    if (file_exists(path)) {
      std::error_code ec;
      std::uintmax_t size = std::filesystem::is_regular_file(path, ec)
                                ? std::filesystem::file_size(path, ec) : 0;
      if (ec) size = 0;
      if (std::find(k->present.begin(), k->present.end(), period) == k->present.end()) {
        k->present.push_back(period);
        ++k->files;
        k->bytes += size;
      }
      present.emplace(path, size);
    } else {
      if (std::find(k->absent.begin(), k->absent.end(), period) == k->absent.end())
        k->absent.push_back(period);
      absent.insert(path);
    }
  }
  for (InventoryFolder& f : inv.folders)
    for (InventoryKind& k : f.kinds) {
      std::sort(k.present.begin(), k.present.end());
      std::sort(k.absent.begin(), k.absent.end());
    }
  inv.files = static_cast<int>(present.size());
  for (const auto& [path, size] : present) inv.bytes += size;
  inv.absent = static_cast<int>(absent.size());
  return inv;
}

std::vector<std::string> missing_folder_warnings(const RunConfig& cfg, const ReadPlan& plan) {
  std::array<bool, 3> reads{};
  for (const PlannedRead& r : plan)
    if (r.group >= 0 && r.group < 3) reads[r.group] = true;
  std::vector<std::string> lines;
  for (int s = 0; s < 3; ++s) {
    const std::string dir(rtrim(cfg.stdir[s]));
    if (!reads[s] || is_folder(dir)) continue;
    const std::string& at = cfg.stdir_place[s];
    lines.push_back((at.empty() ? "" : at + ": ") + "warning: state group " + group_name(s) +
                    ": data folder " + dir + " does not exist (its files read as zeros)");
  }
  return lines;
}

std::string period_ranges(const std::vector<InputPeriod>& periods) {
  std::vector<InputPeriod> sorted = periods;
  std::sort(sorted.begin(), sorted.end());
  std::vector<std::string> items;
  // Per year, the months read (a yearly file stands for all twelve).
  std::vector<std::pair<int, unsigned>> years;
  for (const InputPeriod& p : sorted) {
    if (p.year == 0) {
      if (items.empty()) items.push_back("steady");
      continue;
    }
    const unsigned bit = p.month >= 1 && p.month <= 12 ? 1u << (p.month - 1) : ALL_MONTHS;
    if (!years.empty() && years.back().first == p.year) years.back().second |= bit;
    else years.emplace_back(p.year, bit);
  }
  for (size_t i = 0; i < years.size();) {
    size_t j = i;
    while (j + 1 < years.size() && years[j + 1].first == years[j].first + 1 &&
           years[j + 1].second == years[i].second)
      ++j;
    std::string item = year_text(years[i].first);
    if (j > i) item += '-' + year_text(years[j].first);
    if (years[i].second != ALL_MONTHS) item += " (" + month_ranges(years[i].second) + ")";
    items.push_back(std::move(item));
    i = j + 1;
  }
  if (items.empty()) return "-";
  std::string s;
  for (const std::string& t : items) {
    if (!s.empty()) s += ", ";
    s += t;
  }
  return s;
}

std::vector<std::string> inventory_lines(const Inventory& inv) {
  std::vector<std::string> lines;
  lines.push_back("Grid files the run reads: " + number(inv.files) + " present (" +
                  megabytes(inv.bytes) + " MB), " + number(inv.absent) + " absent");
  lines.push_back("  kind" + right("files", 6) + right("MB", 8) + "  " + "present" +
                  std::string(PRESENT_WIDTH - 7, ' ') + "absent");
  for (const InventoryFolder& f : inv.folders) {
    std::string line = f.group >= 0 ? group_name(f.group) : "PRISM";
    line += ": folder " + f.dir;
    if (!f.exists) line += " (does not exist)";
    if (f.group >= 0 && !f.pumping) line += " (NOPUMP)";
    lines.push_back(line);
    for (const InventoryKind& k : f.kinds) {
      std::string l = "  ";
      l += kind_tag(k.kind);
      l.resize(6, ' ');
      if (!k.read()) {
        l += "  not read";
        lines.push_back(l);
        continue;
      }
      l += files_and_mb(k.files, k.bytes);
      l += "  ";
      const std::string p = period_ranges(k.present);
      l += p;
      l += p.size() < PRESENT_WIDTH ? std::string(PRESENT_WIDTH - p.size(), ' ') : " ";
      l += period_ranges(k.absent);
      lines.push_back(l);
    }
  }
  return lines;
}

}  // namespace vadz
