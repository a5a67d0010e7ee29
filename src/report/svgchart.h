// Charts of the report as inline SVG: axes with ticks, units and legends,
// drawn from the numbers alone (no script, no fonts fetched).
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "report/colormap.h"
#include "report/mapimage.h"

namespace vadz {

struct ChartSeries {
  std::string name;
  Rgb colour;
  std::vector<double> values;  // one per x label; NaN: no value there
  bool bold = false;           // the total among its parts
};

struct Chart {
  int width = 420;             // pixels
  std::string title;
  std::string unit;            // of the y axis
  std::vector<std::string> x;  // labels of the x positions (years)
  std::vector<ChartSeries> series;
};

// One line with markers per series; the y axis starts at 0 unless a value
// lies below it.
std::string line_chart(const Chart& chart);
// One bar per x position, the series stacked on each other in their order.
std::string stacked_chart(const Chart& chart);

// A horizontal colour bar of a map scale, as wide as its container:
// viridis from lo to hi with ticks, labelled with the unit and the range.
// id names the bar's gradient and must be unique on the page.
std::string colour_bar(const MapScale& scale, std::string_view unit, std::string_view id);

// Text with &, <, > and quotes escaped, for HTML and SVG.
std::string escape(std::string_view text);
// A number for reading, commas between thousands, d decimals.
std::string grouped(double v, int d);
// An integer as plain digits (counts, attributes and coordinates).
std::string whole(long long v);

// Ticks of an axis from lo to hi: round steps of 1, 2 or 5 times a power
// of ten, about `target` of them.
struct Ticks {
  double lo = 0.0, hi = 1.0, step = 1.0;
  int decimals = 0;  // enough to tell the ticks apart
};
Ticks nice_ticks(double lo, double hi, int target);

}  // namespace vadz
