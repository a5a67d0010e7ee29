#include "input/strayfiles.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <system_error>

#include "utl/scan.h"

namespace vadz {

namespace {

namespace fs = std::filesystem;

// Files read once a year (or, for mi, also for the steady period) and
// files read per stress period (steady or YYYY.MM).
bool monthly(FileKind k) {
  return k == FileKind::pmp || k == FileKind::rcg || k == FileKind::rcs || k == FileKind::rcc;
}

// What one scanned folder holds for the run: the names it reads, and per
// kind of the folder whether the run reads that kind there.
struct Folder {
  std::string dir;
  std::set<std::string> planned;
  std::map<std::string, FileKind> kinds;  // tag -> kind
  std::set<FileKind> read;
  bool pumping = false;  // some state group using the folder pumps
};

std::string lower(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return s;
}

// The reason given for sub-folders.
constexpr const char* SUBFOLDER = "sub-folder";

// Why the run does not read the file `name` of folder f.
const char* reason(const Folder& f, const std::string& given) {
#ifdef _WIN32
  // Windows finds a file whatever the case of its name: the run reads it.
  const std::string name = lower(given);
#else
  const std::string& name = given;
#endif
  const size_t dot = name.rfind('.');
  const std::string ext = dot == std::string::npos ? "" : name.substr(dot + 1);
  if (lower(name) != name && f.kinds.count(lower(ext))) return "name in the wrong case";
  const auto k = f.kinds.find(ext);
  if (k == f.kinds.end()) return "unknown extension";
  InputPeriod p;
  if (!parse_period(std::string_view(name).substr(0, dot), p))
    return "not YYYY, YYYY.MM or steady before the extension";
  const FileKind kind = k->second;
  const bool by_month = dot == 7;  // YYYY.MM
  if (p.year == 0 && kind != FileKind::mi && !monthly(kind)) return "no steady file of this kind";
  if (p.year != 0 && by_month && !monthly(kind)) return "monthly name for a yearly kind";
  if (p.year != 0 && !by_month && monthly(kind)) return "yearly name for a monthly kind";
  if (by_month && (p.month < 1 || p.month > 12)) return "month outside 01-12";
  if (!f.read.count(kind) && !f.pumping) return "kind not read under NOPUMP";
  return "period outside the run";
}

}  // namespace

std::vector<StrayFiles> stray_files(const Inventory& inv, const ReadPlan& plan) {
  // The folders to scan, each once, however many state groups name it.
  std::vector<Folder> folders;
  std::vector<fs::path> seen;
  std::map<std::string, size_t> index;  // folder name as planned -> folders
  for (const InventoryFolder& inf : inv.folders) {
    if (!inf.exists || !inf.read()) continue;
    std::error_code ec;
    fs::path canon = fs::weakly_canonical(inf.dir, ec);
    if (ec) canon = inf.dir;
    size_t at = std::find(seen.begin(), seen.end(), canon) - seen.begin();
    if (at == seen.size()) {
      seen.push_back(canon);
      folders.push_back(Folder{inf.dir, {}, {}, {}, false});
    }
    Folder& f = folders[at];
    index[inf.dir] = at;
    f.pumping = f.pumping || (inf.group >= 0 && inf.pumping);
    for (const InventoryKind& k : inf.kinds) {
      f.kinds[kind_tag(k.kind)] = k.kind;
      if (k.read()) f.read.insert(k.kind);
    }
  }
  for (const PlannedRead& r : plan) {
    const auto it = index.find(std::string(rtrim(r.dir)));
    if (it != index.end()) folders[it->second].planned.insert(r.name + "." + r.tag);
  }

  std::vector<StrayFiles> out;
  for (const Folder& f : folders) {
    std::map<std::string, std::vector<std::string>> groups;
    std::vector<std::string> order;  // the reasons met
    std::error_code ec;
    for (fs::directory_iterator it(f.dir, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      if (name.empty() || name[0] == '.' || f.planned.count(name)) continue;
      std::error_code ec2;
      const char* why = it->is_directory(ec2) ? SUBFOLDER : reason(f, name);
      auto& names = groups[why];
      if (names.empty()) order.push_back(why);
      names.push_back(name);
    }
    std::sort(order.begin(), order.end());
    for (const std::string& why : order) {
      std::vector<std::string>& names = groups[why];
      std::sort(names.begin(), names.end());
      out.push_back(StrayFiles{f.dir, why, std::move(names), why == SUBFOLDER});
    }
  }
  return out;
}

}  // namespace vadz
