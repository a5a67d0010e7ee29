#include "support/testutil.h"

#include "utl/console.h"

#ifndef _WIN32
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
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
#ifdef _WIN32
  // No mkdtemp: a random name, taken only if this call created the folder.
  static std::mt19937_64 gen(std::random_device{}());
  for (int tries = 0; tries < 100; ++tries) {
    char name[32];
    std::snprintf(name, sizeof name, "vadz_test_%016llx",
                  static_cast<unsigned long long>(gen()));
    const auto p = std::filesystem::temp_directory_path() / name;
    if (std::filesystem::create_directory(p)) {
      path_ = p.string();
      return;
    }
  }
  throw std::runtime_error("cannot create a temporary folder");
#else
  std::string tmpl = (std::filesystem::temp_directory_path() / "vadz_test_XXXXXX").string();
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("mkdtemp failed");
  path_ = tmpl;
#endif
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

#ifdef _WIN32
// cmd.exe: double quotes keep blanks and the operators inside one word.
static std::string quote(const std::string& s) { return "\"" + s + "\""; }

RunResult run_vadz(const std::string& dir, const std::vector<std::string>& args) {
  // A rooted path without a drive (the build folder as CMake names it) is
  // taken on the drive that is current when the tests start.
  static const std::string exe = std::filesystem::absolute(VADZ_EXE).string();
  RunResult r;
  std::string outp = dir + "/.stdout", errp = dir + "/.stderr";
  std::string cmd = "cd /d " + quote(dir) + " && " + quote(exe);
  for (const auto& a : args) cmd += " " + quote(a);
  cmd += " >" + quote(outp) + " 2>" + quote(errp) + " <NUL";
  r.status = std::system(cmd.c_str());
  r.out = read_file(outp);
  r.err = read_file(errp);
  std::filesystem::remove(outp);
  std::filesystem::remove(errp);
  return r;
}
#else
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
#endif

#ifndef _WIN32
RunResult run_vadz_signalled(const std::string& dir, const std::vector<std::string>& args,
                             int sig, const std::function<bool()>& ready) {
  RunResult r;
  const std::string outp = dir + "/.stdout", errp = dir + "/.stderr";
  std::vector<std::string> words{VADZ_EXE};
  words.insert(words.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& w : words) argv.push_back(w.data());
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
    // Only async-signal-safe calls between fork and exec.
    const int in = open("/dev/null", O_RDONLY);
    const int out = open(outp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (in < 0 || out < 0 || err < 0 || chdir(dir.c_str()) != 0) _exit(127);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  int st = 0;
  for (;;) {
    const pid_t done = waitpid(pid, &st, WNOHANG);
    if (done == pid) break;
    if (ready()) {
      kill(pid, sig);
      waitpid(pid, &st, 0);
      break;
    }
    usleep(5000);
  }
  r.status = WIFEXITED(st) ? WEXITSTATUS(st) : WIFSIGNALED(st) ? -WTERMSIG(st) : -1;
  r.out = read_file(outp);
  r.err = read_file(errp);
  std::filesystem::remove(outp);
  std::filesystem::remove(errp);
  return r;
}
#endif

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
  static const std::string exe = std::filesystem::absolute(VADZ_MAKE_EXAMPLE).string();
  std::string cmd = quote(exe) + " " + quote(dir) + " >" + NULL_DEVICE;
#ifdef _WIN32
  cmd = "\"" + cmd + "\"";  // cmd.exe drops the outermost quotes of the line
#endif
  if (std::system(cmd.c_str()) != 0) throw std::runtime_error("make_example failed in " + dir);
  write_file(dir + "/vadz.par", read_file(VADZ_EXAMPLE_PAR) + extra_lines);
}

std::string stop_record_fault(const RunResult& r) {
  const std::vector<std::string> out = lines_of(r.out);
  if (out.empty()) return "no console line";
  std::string msg;
  for (char ch : out.back())
    if (ch != ' ' || (!msg.empty() && msg.back() != ' ')) msg += ch;
  while (!msg.empty() && msg.back() == ' ') msg.pop_back();
  if (r.err.size() < 2 || r.err.substr(r.err.size() - 2) != "\r\n") return "no CR LF ended record: " + r.err;
  const std::vector<std::string> err = lines_of(r.err);
  const std::string tail = ": error: " + msg;
  const std::string& first = err.front();
  if (first.size() <= tail.size() || first.compare(first.size() - tail.size(), tail.size(), tail) != 0)
    return "first line is not '<place>" + tail + "': " + first;
  for (size_t i = 1; i < err.size(); ++i)
    if (err[i].rfind("  note: ", 0) != 0 && err[i].rfind("hint: ", 0) != 0) return "stray line: " + err[i];
  return "";
}

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    out.push_back(line);
  }
  return out;
}

}  // namespace vadz::test
