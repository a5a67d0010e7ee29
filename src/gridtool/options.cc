#include "gridtool/options.h"

#include <cmath>

#include "utl/console.h"
#include "utl/format.h"
#include "utl/scan.h"

namespace vadz {

std::string Options::value(const std::string& name, const std::string& dflt) const {
  auto it = values.find(name);
  return it == values.end() ? dflt : it->second;
}

double Options::real(const std::string& name, double dflt) const {
  auto it = values.find(name);
  if (it == values.end()) return dflt;
  double v = 0.0;
  if (!parse_real(it->second, v) || !std::isfinite(v))
    error2("Invalid number for " + name + ":", it->second);
  return v;
}

int Options::integer(const std::string& name, int dflt) const {
  auto it = values.find(name);
  if (it == values.end()) return dflt;
  int32_t v = 0;
  if (!parse_int(it->second, v)) error2("Invalid integer for " + name + ":", it->second);
  return v;
}

Options parse_options(int argc, const char* const* argv, int from,
                      const std::set<std::string>& flags, const std::set<std::string>& valued,
                      const std::string& usage) {
  Options o;
  for (int i = from; i < argc; ++i) {
    const std::string a = argv[i];
    if (a.size() > 2 && a.compare(0, 2, "--") == 0) {
      if (flags.count(a)) {
        o.flags.insert(a);
      } else if (valued.count(a)) {
        if (i + 1 >= argc) error("Option " + a + " needs a value");
        o.values[a] = argv[++i];
      } else {
        error("Unknown option " + a + "; " + usage);
      }
    } else {
      o.args.push_back(a);
    }
  }
  return o;
}

std::string num(double v) {
  char buf[SHORTEST_MAX];
  return std::string(buf, put_shortest(buf, v));
}

}  // namespace vadz
