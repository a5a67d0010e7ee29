#include "report/overlay.h"

#include <deque>

#include "report/svgchart.h"
#include "utl/scan.h"

namespace vadz {

namespace {

// Appends a run of n edges from (c, r) along x ('h') or y ('v').
void add_run(std::string& d, int c, int r, char dir, int n) {
  d += 'M' + whole(c) + ' ' + whole(r) + dir + whole(n);
}

}  // namespace

std::string outline_path(const FlagGrid& label, const FlagGrid* within) {
  auto edge = [&](int a, int b) {
    if (label[a] == label[b] || (label[a] <= 0 && label[b] <= 0)) return false;
    return !within || ((*within)[a] > 0 && (*within)[b] > 0);
  };
  std::string d;
  // Edges between row r and row r + 1 (both from 0) lie on y = r + 1.
  for (int r = 0; r + 1 < NROW; ++r) {
    for (int c = 0; c < NCOL;) {
      if (!edge(r * NCOL + c, (r + 1) * NCOL + c)) {
        ++c;
        continue;
      }
      int n = 1;
      while (c + n < NCOL && edge(r * NCOL + c + n, (r + 1) * NCOL + c + n)) ++n;
      add_run(d, c, r + 1, 'h', n);
      c += n;
    }
  }
  // Edges between column c and column c + 1 lie on x = c + 1.
  for (int c = 0; c + 1 < NCOL; ++c) {
    for (int r = 0; r < NROW;) {
      if (!edge(r * NCOL + c, r * NCOL + c + 1)) {
        ++r;
        continue;
      }
      int n = 1;
      while (r + n < NROW && edge((r + n) * NCOL + c, (r + n) * NCOL + c + 1)) ++n;
      add_run(d, c + 1, r, 'v', n);
      r += n;
    }
  }
  return d;
}

void GroupAreas::add(const AnnualArrays& ann) {
  for (int s = 1; s <= 3; ++s) {
    const uint8_t bit = static_cast<uint8_t>(1u << (s - 1));
    const double *a = ann.gwarea[s].data(), *b = ann.coarea[s].data(), *c = ann.swarea[s].data(),
                 *d = ann.annpump[s].data(), *e = ann.annmi[s].data(), *f = ann.annrcg[s].data(),
                 *g = ann.annrcs[s].data(), *h = ann.annrcc[s].data();
    for (int i = 0; i < NCELL; ++i) {
      const bool any = (a[i] != 0.0) | (b[i] != 0.0) | (c[i] != 0.0) | (d[i] != 0.0) |
                       (e[i] != 0.0) | (f[i] != 0.0) | (g[i] != 0.0) | (h[i] != 0.0);
      has_[i] |= any ? bit : 0;
    }
  }
}

FlagGrid GroupAreas::areas() const {
  // Spreads every group from its cells one step at a time (breadth first,
  // the cells in grid order), so that a cell takes the group that reaches it
  // first.
  FlagGrid g = flag_grid(0);
  std::deque<int> next;
  for (int i = 0; i < NCELL; ++i) {
    if (has_[i] == 0) continue;
    g[i] = (has_[i] & 1) ? 1 : (has_[i] & 2) ? 2 : 3;
    next.push_back(i);
  }
  while (!next.empty()) {
    const int i = next.front();
    next.pop_front();
    const int r = i / NCOL, c = i % NCOL;
    for (const int j : {r > 0 ? i - NCOL : -1, c > 0 ? i - 1 : -1, c + 1 < NCOL ? i + 1 : -1,
                        r + 1 < NROW ? i + NCOL : -1}) {
      if (j < 0 || g[j] != 0) continue;
      g[j] = g[i];
      next.push_back(j);
    }
  }
  return g;
}

std::string station_marks(const StationTable& st, const std::vector<int>& years) {
  std::string s;
  for (int k = 0; k < st.nstn; ++k) {
    // Feet in the plane coordinates to cells from the north-west corner.
    const double x = (st.stnx[k] - X0) / CELL;
    const double y = NROW - (st.stny[k] - Y0) / CELL;
    if (!(x >= 0 && x <= NCOL && y >= 0 && y <= NROW)) continue;
    std::string tip = escape(rtrim(st.name[k])) + " (x " + grouped(st.stnx[k], 0) + ", y " +
                      grouped(st.stny[k], 0) + " ft)";
    for (int yr : years) {
      if (yr < FIRST_YEAR || yr > LAST_YEAR) continue;
      tip += '\n';
      tip += whole(yr);
      tip += ": ";
      tip += grouped(st.year_values(yr)[k], 2);
      tip += " in";
    }
    s += "<circle cx=\"" + grouped(x, 2) + "\" cy=\"" + grouped(y, 2) +
         "\" r=\"2.2\"><title>" + tip + "</title></circle>";
  }
  return s;
}

std::string overlay_defs(const std::string& zones, const std::string& groups, bool stations) {
  std::string s = "<svg class=\"ovdefs\" width=\"0\" height=\"0\" aria-hidden=\"true\"><defs>"
                  "<path id=\"ol-zones\" d=\"" + zones + "\" fill=\"none\" "
                  "vector-effect=\"non-scaling-stroke\"/><path id=\"ol-groups\" d=\"" + groups +
                  "\" fill=\"none\" vector-effect=\"non-scaling-stroke\"/></defs></svg>\n";
  s += "<div class=\"ovkey\">Over the maps: <label><input type=\"checkbox\" data-ov=\"olz\" "
       "checked><span class=\"kz\"></span>budget zones</label><label><input type=\"checkbox\" "
       "data-ov=\"olg\" checked><span class=\"kg\"></span>state groups";
  if (groups.empty()) s += " (no state-group data in this run)";
  s += "</label>";
  if (stations)
    s += "<label><input type=\"checkbox\" data-ov=\"stn\" checked><span class=\"ks\"></span>"
         "precipitation stations (point at one for its name and values)</label>";
  s += "</div>\n";
  return s;
}

std::string map_overlay(const std::string& marks) {
  std::string s = "<svg class=\"ov\" viewBox=\"0 0 " + whole(NCOL) + " " + whole(NROW) +
                  "\" preserveAspectRatio=\"none\"><use class=\"olz halo\" href=\"#ol-zones\"/>"
                  "<use class=\"olz\" href=\"#ol-zones\"/><use class=\"olg\" href=\"#ol-groups\"/>";
  if (!marks.empty()) s += "<g class=\"stn\">" + marks + "</g>";
  s += "</svg>\n";
  return s;
}

}  // namespace vadz
