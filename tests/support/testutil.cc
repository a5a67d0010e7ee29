#include "support/testutil.h"

#include "utl/console.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace vadz::test {

std::string fatal_line(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const Fatal& e) {
    return e.line();
  }
  return "";
}

TempDir::TempDir() {
  std::string tmpl = (std::filesystem::temp_directory_path() / "vadz_test_XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
}

TempDir::~TempDir() {
  std::error_code ec;
  std::filesystem::remove_all(path_, ec);
}

void write_file(const std::string& path, const std::string& content) {
  std::filesystem::path p(path);
  if (p.has_parent_path()) std::filesystem::create_directories(p.parent_path());
  std::ofstream f(path, std::ios::binary);
  f << content;
  if (!f) throw std::runtime_error("cannot write " + path);
}

std::string read_file(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return {};
  std::ostringstream s;
  s << f.rdbuf();
  return s.str();
}

bool exists(const std::string& path) { return std::filesystem::exists(path); }

std::string text_grid(const std::function<double(int c, int r)>& f) {
  std::string s;
  char buf[64];
  for (int r = 1; r <= 165; ++r) {
    for (int c = 1; c <= 326; ++c) {
      std::snprintf(buf, sizeof buf, c == 1 ? "%.17g" : " %.17g", f(c, r));
      s += buf;
    }
    s += '\n';
  }
  return s;
}

std::string flag_file(const std::string& header, int width,
                      const std::function<int(int c, int r)>& f) {
  std::string s;
  if (!header.empty()) {
    s += header;
    s += '\n';
  }
  char buf[16];
  for (int r = 1; r <= 165; ++r) {
    for (int c = 1; c <= 326; ++c) {
      std::snprintf(buf, sizeof buf, "%*d", width, f(c, r));
      s += buf;
    }
    s += '\n';
  }
  return s;
}

static std::string quote(const std::string& s) {
  std::string q = "'";
  for (char ch : s) {
    if (ch == '\'') q += "'\\''";
    else q += ch;
  }
  return q + "'";
}

RunResult run_vadz(const std::string& dir, const std::vector<std::string>& args) {
  RunResult r;
  std::string outp = dir + "/.stdout", errp = dir + "/.stderr";
  std::string cmd = "cd " + quote(dir) + " && " + quote(VADZ_EXE);
  for (const auto& a : args) cmd += " " + quote(a);
  cmd += " >" + quote(outp) + " 2>" + quote(errp) + " </dev/null";
  int st = std::system(cmd.c_str());
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : -1;
  r.out = read_file(outp);
  r.err = read_file(errp);
  std::filesystem::remove(outp);
  std::filesystem::remove(errp);
  return r;
}

std::string crlf(const std::vector<std::string>& lines) {
  std::string s;
  for (const auto& l : lines) s += l + "\r\n";
  return s;
}

std::vector<std::string> split(const std::string& s, char sep) {
  std::vector<std::string> out;
  std::string item;
  std::istringstream in(s);
  while (std::getline(in, item, sep)) out.push_back(item);
  return out;
}

std::vector<TableNumber> budget_table_numbers(const std::string& out) {
  std::vector<TableNumber> numbers;
  for (const std::string& line : split(out, '\n')) {
    std::vector<std::string> tok;
    for (const std::string& t : split(line, ' '))
      if (!t.empty() && t != "\r") tok.push_back(t);
    // Rows start with SS or a year; the heading with "Year".
    if (tok.empty() || !(tok[0] == "SS" || std::isdigit(static_cast<unsigned char>(tok[0][0]))))
      continue;
    for (size_t k = 1; k < tok.size(); ++k)
      numbers.push_back({tok[0] == "SS" ? "steady" : tok[0], std::stod(tok[k])});
  }
  return numbers;
}

void make_example(const std::string& dir, const std::string& extra_lines) {
  const std::string cmd = std::string("\"") + VADZ_MAKE_EXAMPLE + "\" \"" + dir + "\" > /dev/null";
  if (std::system(cmd.c_str()) != 0) throw std::runtime_error("make_example failed in " + dir);
  write_file(dir + "/vadz.par", read_file(VADZ_EXAMPLE_PAR) + extra_lines);
}

}  // namespace vadz::test
