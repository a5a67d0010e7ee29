#include "support/basin.h"

#include <filesystem>

#include "support/testutil.h"

namespace vadz::test {

Files small_basin() {
  Files f;
  f["basin.par"] =
      "IBOUND ibound.txt\n"
      "SOIL soil.txt\n"
      "FUNCTION curves.txt 1\n"
      "0   0.0 0.0   0.0 0.0\n"
      "20  1.0 2.5   0.4 1.2\n"
      "40  5.0 8.0   2.5 4.5\n"
      "MONTH 0.05 0.05 0.05 0.1 0.1 0.15 0.15 0.1 0.1 0.05 0.05 0.05\n"
      "STATIONS stations.txt precip.txt 1\n"
      "DIR co ks ne\n"
      "STEADY 1988 1989 1.0\n"
      "TRANSIENT 1990 1991\n"
      "WELL basin.wel\n"
      "RECHARGE basin.rch\n";
  f["ibound.txt"] = flag_file("", 2, [](int c, int r) { return in_basin(c, r) ? 1 : 0; });
  // Soils only where the basin is, as a modeller cuts them from a soil map.
  f["soil.txt"] = flag_file("sand loam", 1, [](int c, int r) {
    return in_basin(c, r) ? (c <= 170 ? 1 : 2) : 0;
  });
  f["stations.txt"] =
      "name x_ft y_ft\n"
      "Colby 950000 14600000\n"
      "McCook 1100000 14550000\n"
      "Hays 1300000 14500000\n"
      "Oberlin 1000000 14460000\n"
      "Goodland 1400000 14620000\n";
  f["precip.txt"] =
      "year Colby McCook Hays Oberlin Goodland\n"
      "1988 17.2 19.4 22.1 18.0 20.5\n"
      "1989 15.9 18.8 21.0 17.1 19.9\n"
      "1990 18.3 20.2 23.4 19.5 21.7\n"
      "1991 16.4 18.1 20.9 17.7 19.0\n";
  // One KS valley: a row of irrigated cells, acres of the three kinds.
  auto valley = [](double acres) {
    return text_grid([acres](int c, int r) { return r == 80 && c >= 150 && c <= 160 ? acres : 0.0; });
  };
  for (const char* y : {"1990", "1991"}) {
    f[std::string("ks/") + y + ".agw"] = valley(200.0);
    f[std::string("ks/") + y + ".asw"] = valley(100.0);
    f[std::string("ks/") + y + ".aco"] = valley(50.0);
  }
  const std::string pumping = text_grid([](int c, int r) { return r == 80 && c == 155 ? 120.0 : 0.0; });
  f["ks/1990.07.pmp"] = pumping;
  f["ks/1991.07.pmp"] = pumping;
  f["co/"] = "";
  f["ne/"] = "";
  return f;
}

void write_files(const std::string& dir, const Files& files) {
  for (const auto& [name, text] : files) {
    const std::filesystem::path p = std::filesystem::path(dir) / name;
    if (name.back() == '/') {  // a folder, empty
      std::filesystem::create_directories(p);
      continue;
    }
    std::filesystem::create_directories(p.parent_path());
    write_file(p.string(), text);
  }
}

}  // namespace vadz::test
