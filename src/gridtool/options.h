// Command-line words of a `vadz grid` command: positional arguments, and
// options that are flags (--sum) or take one value (--band 2).
#pragma once
#include <map>
#include <set>
#include <string>
#include <vector>

namespace vadz {

struct Options {
  std::vector<std::string> args;
  std::map<std::string, std::string> values;
  std::set<std::string> flags;

  bool has(const std::string& name) const { return values.count(name) || flags.count(name); }
  std::string value(const std::string& name, const std::string& dflt = "") const;
  // The option's value as a number; stops with a line naming the option.
  double real(const std::string& name, double dflt) const;
  int integer(const std::string& name, int dflt) const;
};

// Splits argv[from..argc); every option must be in `flags` or `valued`,
// else the usage line `usage` stops the command.
Options parse_options(int argc, const char* const* argv, int from,
                      const std::set<std::string>& flags, const std::set<std::string>& valued,
                      const std::string& usage);

// A number in the shortest form that reads back the same.
std::string num(double v);

}  // namespace vadz
