// A CSV file of records: a header line of column names, then one record per
// line, fields separated by commas (a field in double quotes may hold one).
#pragma once
#include <string>
#include <vector>

namespace vadz {

struct CsvTable {
  std::string path;
  std::vector<std::string> header;
  std::vector<std::vector<std::string>> rows;
  std::vector<long> line;  // file line of each row, from 1

  // Index of a column given by name (case-insensitive) or by number from 1;
  // stops with a line naming the column when there is none.
  size_t column(const std::string& name) const;
};

CsvTable read_csv(const std::string& path);

}  // namespace vadz
