// Shared by the fuzz targets: inputs turned into files in a folder of the
// fuzzing process, and the one outcome besides a normal return that a
// reader may have, a fatal stop with one console line. Anything else (a
// crash, a sanitizer report, another exception, a hang) is a finding.
#pragma once
#include <stdlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>

#include "utl/console.h"

namespace vadz::fuzz {

[[noreturn]] inline void finding(const char* what, std::string_view detail) {
  std::fprintf(stderr, "FINDING: %s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
  std::abort();
}

// The folder for input files, made once under TMPDIR. Standard output,
// where the console lines go, is discarded.
inline const std::string& work_dir() {
  static const std::string dir = [] {
    const char* tmp = std::getenv("TMPDIR");
    std::string t = std::string(tmp && *tmp ? tmp : "/tmp") + "/vadz-fuzz-XXXXXX";
    if (!mkdtemp(t.data())) finding("cannot make a work folder", t);
    if (!std::freopen("/dev/null", "w", stdout)) finding("cannot discard standard output", "");
    return t;
  }();
  return dir;
}

// Writes bytes to the file name in the work folder; returns its path.
inline std::string put_file(const std::string& name, std::string_view bytes) {
  const std::string path = work_dir() + "/" + name;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) finding("cannot write", path);
  if (!bytes.empty() && std::fwrite(bytes.data(), 1, bytes.size(), f) != bytes.size())
    finding("cannot write", path);
  std::fclose(f);
  return path;
}

inline std::string_view as_text(const uint8_t* data, size_t size) {
  return std::string_view(reinterpret_cast<const char*>(data), size);
}

// Runs fn: a fatal stop must carry one printable console line (a blank,
// text without control bytes, CR LF).
template <class F>
void expect_clean(F fn) {
  try {
    fn();
  } catch (const Fatal& f) {
    const std::string& s = f.line();
    if (s.size() < 3 || s[0] != ' ' || s.compare(s.size() - 2, 2, "\r\n") != 0)
      finding("fatal line not one console line", s);
    for (size_t i = 0; i + 2 < s.size(); ++i) {
      const unsigned char u = static_cast<unsigned char>(s[i]);
      if (u < 32 || u == 127) finding("control byte in a console line", s);
    }
    if (f.status() != 1) finding("fatal stop with a status other than 1", s);
  }
  console_flush();
}

}  // namespace vadz::fuzz
