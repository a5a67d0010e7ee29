#include "report/svgchart.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "utl/format.h"

namespace vadz {

namespace {

// Chart geometry, pixels: plot area inside the margins, legend below.
constexpr int LEFT = 74, RIGHT = 12, TOP = 40, PLOT_H = 170;
constexpr int XLABELS = 22;     // band of the x labels under the plot
constexpr int LEGEND_ROW = 18;  // height of one legend row
constexpr int LEGEND_X = 10;    // the legend starts at the chart's left edge

// A coordinate with one decimal, enough for a screen.
std::string coord(double v) {
  char b[GROUPED_MAX];
  const char* e = put_fixed(b, 12, 1, v);
  const char* s = b;
  while (*s == ' ') ++s;
  return std::string(s, e);
}

// The y extent of the values; stacked adds the series per x position.
void extent(const Chart& c, bool stacked, double& lo, double& hi) {
  lo = 0.0;
  hi = 0.0;
  for (size_t j = 0; j < c.x.size(); ++j) {
    double up = 0.0, down = 0.0;
    for (const ChartSeries& s : c.series) {
      const double v = j < s.values.size() ? s.values[j] : NAN;
      if (!std::isfinite(v)) continue;
      if (stacked) {
        (v >= 0 ? up : down) += v;
      } else {
        hi = std::max(hi, v);
        lo = std::min(lo, v);
      }
    }
    hi = std::max(hi, up);
    lo = std::min(lo, down);
  }
}

struct Frame {
  int width = 0;
  Ticks t;
  int n = 0;        // x positions
  int legend = 0;   // legend rows
  double y(double v) const { return TOP + PLOT_H - (v - t.lo) / (t.hi - t.lo) * PLOT_H; }
  double band() const { return double(width - LEFT - RIGHT) / std::max(n, 1); }
  double x(int j) const { return LEFT + band() * (j + 0.5); }
  int height() const { return TOP + PLOT_H + XLABELS + legend * LEGEND_ROW + 8; }
};

// The frame: title, unit, grid lines with y ticks, x labels, legend.
std::string open_chart(const Chart& c, Frame& f, bool stacked) {
  double lo, hi;
  extent(c, stacked, lo, hi);
  f.width = c.width;
  f.t = nice_ticks(lo, hi, 5);
  f.n = static_cast<int>(c.x.size());
  // Legend items as wide as the longest name (about 7 pixels a character).
  size_t longest = 0;
  for (const ChartSeries& ser : c.series) longest = std::max(longest, ser.name.size());
  const int item = std::max(60, 24 + 7 * static_cast<int>(longest));
  const int per_row = std::max(1, (f.width - LEGEND_X) / item);
  f.legend = (static_cast<int>(c.series.size()) + per_row - 1) / per_row;
  const int h = f.height();

  std::string s;
  s += "<svg class=\"chart\" xmlns=\"http://www.w3.org/2000/svg\" width=\"" + whole(f.width) +
       "\" height=\"" + whole(h) + "\" viewBox=\"0 0 " + whole(f.width) + " " +
       whole(h) + "\" role=\"img\" aria-label=\"" + escape(c.title) + "\">\n";
  s += "<text class=\"ct\" x=\"" + whole(LEFT) + "\" y=\"16\">" + escape(c.title) +
       "</text>\n";
  s += "<text class=\"cu\" x=\"" + whole(LEFT) + "\" y=\"32\">" + escape(c.unit) +
       "</text>\n";
  // Horizontal grid lines at the ticks, labels left of the axis.
  const int nt = static_cast<int>(std::lround((f.t.hi - f.t.lo) / f.t.step));
  for (int k = 0; k <= nt; ++k) {
    const double v = f.t.lo + k * f.t.step;
    const std::string y = coord(f.y(v));
    s += "<line class=\"" + std::string(v == 0 ? "zero" : "grid") + "\" x1=\"" +
         whole(LEFT) + "\" x2=\"" + whole(f.width - RIGHT) + "\" y1=\"" + y +
         "\" y2=\"" + y + "\"/>";
    s += "<text class=\"yl\" x=\"" + whole(LEFT - 6) + "\" y=\"" + y + "\">" +
         grouped(v, f.t.decimals) + "</text>\n";
  }
  // x labels, thinned so that they do not touch (about 7 pixels a character).
  size_t longest_x = 1;
  for (const std::string& x : c.x) longest_x = std::max(longest_x, x.size());
  const int every = std::max(1, static_cast<int>(std::ceil((7.0 * longest_x + 8) / f.band())));
  for (int j = 0; j < f.n; j += every) {
    s += "<text class=\"xl\" x=\"" + coord(f.x(j)) + "\" y=\"" +
         whole(TOP + PLOT_H + 15) + "\">" + escape(c.x[j]) + "</text>";
  }
  s += "\n";
  // Legend: a swatch and the name of each series, row by row.
  for (size_t k = 0; k < c.series.size(); ++k) {
    const int col = static_cast<int>(k) % per_row, row = static_cast<int>(k) / per_row;
    const int x = LEGEND_X + col * item;
    const int y = TOP + PLOT_H + XLABELS + row * LEGEND_ROW + 10;
    s += "<rect x=\"" + whole(x) + "\" y=\"" + whole(y - 9) +
         "\" width=\"12\" height=\"10\" fill=\"" + css_colour(c.series[k].colour) + "\"/>";
    s += "<text class=\"lg\" x=\"" + whole(x + 16) + "\" y=\"" + whole(y) +
         "\">" + escape(c.series[k].name) + "</text>\n";
  }
  return s;
}

std::string tooltip(const Chart& c, const ChartSeries& s, int j, double v) {
  return "<title>" + escape(c.x[j]) + " " + escape(s.name) + ": " + grouped(v, 1) + " " +
         escape(c.unit) + "</title>";
}

}  // namespace

std::string escape(std::string_view text) {
  std::string s;
  s.reserve(text.size());
  for (char ch : text) {
    switch (ch) {
      case '&': s += "&amp;"; break;
      case '<': s += "&lt;"; break;
      case '>': s += "&gt;"; break;
      case '"': s += "&quot;"; break;
      case '\'': s += "&#39;"; break;
      default: s += ch;
    }
  }
  return s;
}

std::string grouped(double v, int d) {
  char b[GROUPED_MAX];
  return std::string(b, put_grouped(b, d, v));
}

std::string whole(long long v) {
  char b[24];
  const char* e = put_int(b, 20, v);
  const char* s = b;
  while (*s == ' ') ++s;
  return std::string(s, e);
}

Ticks nice_ticks(double lo, double hi, int target) {
  Ticks t;
  if (!(std::isfinite(lo) && std::isfinite(hi))) return t;
  if (hi < lo) std::swap(lo, hi);
  if (hi == lo) {
    // One value: a range around it that starts at 0 where it can.
    if (hi == 0) {
      hi = 1;
    } else if (hi > 0) {
      lo = 0;
    } else {
      hi = 0;
    }
  }
  const double raw = (hi - lo) / std::max(target, 1);
  const double mag = std::pow(10.0, std::floor(std::log10(raw)));
  const double f = raw / mag;
  const double nf = f < 1.5 ? 1 : f < 3 ? 2 : f < 7 ? 5 : 10;
  t.step = nf * mag;
  t.lo = std::floor(lo / t.step) * t.step;
  t.hi = std::ceil(hi / t.step) * t.step;
  t.decimals = std::clamp(static_cast<int>(-std::floor(std::log10(t.step) + 1e-9)), 0, 9);
  return t;
}

std::string line_chart(const Chart& c) {
  Frame f;
  std::string s = open_chart(c, f, false);
  for (const ChartSeries& ser : c.series) {
    const std::string colour = css_colour(ser.colour);
    const std::string width = ser.bold ? "2.4" : "1.8";
    // The total dashed, so that a zone's line beneath it still shows.
    const std::string dash = ser.bold ? "\" stroke-dasharray=\"7 4" : "";
    // A polyline per run of values; a missing value breaks the line.
    std::string pts;
    auto flush = [&]() {
      if (!pts.empty())
        s += "<polyline fill=\"none\" stroke=\"" + colour + "\" stroke-width=\"" + width + dash +
             "\" points=\"" + pts + "\"/>\n";
      pts.clear();
    };
    for (int j = 0; j < f.n; ++j) {
      const double v = j < static_cast<int>(ser.values.size()) ? ser.values[j] : NAN;
      if (!std::isfinite(v)) {
        flush();
        continue;
      }
      if (!pts.empty()) pts += ' ';
      pts += coord(f.x(j)) + "," + coord(f.y(v));
    }
    flush();
    for (int j = 0; j < f.n; ++j) {
      const double v = j < static_cast<int>(ser.values.size()) ? ser.values[j] : NAN;
      if (!std::isfinite(v)) continue;
      s += "<circle cx=\"" + coord(f.x(j)) + "\" cy=\"" + coord(f.y(v)) + "\" r=\"" +
           (ser.bold ? "3.2" : "2.4") + "\" fill=\"" + colour + "\">" + tooltip(c, ser, j, v) +
           "</circle>";
    }
    s += "\n";
  }
  s += "</svg>\n";
  return s;
}

std::string stacked_chart(const Chart& c) {
  Frame f;
  std::string s = open_chart(c, f, true);
  const double w = std::min(f.band() * 0.7, 48.0);
  for (int j = 0; j < f.n; ++j) {
    double up = 0.0, down = 0.0;
    for (const ChartSeries& ser : c.series) {
      const double v = j < static_cast<int>(ser.values.size()) ? ser.values[j] : NAN;
      if (!std::isfinite(v) || v == 0) continue;
      double& base = v > 0 ? up : down;
      const double y0 = f.y(base), y1 = f.y(base + v);
      base += v;
      s += "<rect x=\"" + coord(f.x(j) - w / 2) + "\" y=\"" + coord(std::min(y0, y1)) +
           "\" width=\"" + coord(w) + "\" height=\"" + coord(std::fabs(y1 - y0)) + "\" fill=\"" +
           css_colour(ser.colour) + "\">" + tooltip(c, ser, j, v) + "</rect>";
    }
    s += "\n";
  }
  s += "</svg>\n";
  return s;
}

std::string colour_bar(const MapScale& scale, std::string_view unit, std::string_view id) {
  // Horizontal positions in percent of the map's width, so that the bar
  // spans its map at any size while the text keeps its size.
  constexpr double BAR_X = 1.0, BAR_W = 98.0;
  constexpr int BAR_Y = 4, BAR_H = 16, H = 54;
  const double lo = scale.empty ? 0.0 : scale.lo, hi = scale.empty ? 0.0 : scale.hi;
  const Ticks t = nice_ticks(lo, hi, 6);
  const std::string gid = escape(id);
  std::string s = "<svg class=\"bar\" xmlns=\"http://www.w3.org/2000/svg\" width=\"100%\" height=\"" +
                  whole(H) + "\" overflow=\"visible\">";
  s += "<defs><linearGradient id=\"" + gid + "\">";
  constexpr int NSTOP = 16;
  for (int k = 0; k <= NSTOP; ++k) {
    s += "<stop offset=\"" + coord(100.0 * k / NSTOP) + "%\" stop-color=\"" +
         css_colour(viridis_at(double(k) / NSTOP)) + "\"/>";
  }
  s += "</linearGradient></defs>";
  s += "<rect x=\"" + coord(BAR_X) + "%\" y=\"" + whole(BAR_Y) + "\" width=\"" +
       coord(BAR_W) + "%\" height=\"" + whole(BAR_H) + "\" fill=\"url(#" + gid + ")\"/>";
  // Ticks at round values inside the range.
  if (hi > lo) {
    for (double v = std::ceil(lo / t.step) * t.step; v <= hi + t.step * 1e-9; v += t.step) {
      const std::string x = coord(BAR_X + (v - lo) / (hi - lo) * BAR_W) + "%";
      s += "<line class=\"tick\" x1=\"" + x + "\" x2=\"" + x + "\" y1=\"" +
           whole(BAR_Y + BAR_H) + "\" y2=\"" + whole(BAR_Y + BAR_H + 4) + "\"/>";
      s += "<text class=\"bl\" x=\"" + x + "\" y=\"" + whole(BAR_Y + BAR_H + 15) + "\">" +
           grouped(std::fabs(v) < t.step * 1e-9 ? 0.0 : v, t.decimals) + "</text>";
    }
  }
  const int d = std::min(t.decimals + 2, 6);
  s += "<text class=\"br\" x=\"" + coord(BAR_X) + "%\" y=\"" + whole(H - 3) + "\">" +
       escape(unit) + ", range " + grouped(lo, d) + " to " + grouped(hi, d) + "</text>";
  s += "</svg>";
  return s;
}

}  // namespace vadz
