#include "run/tables.h"

#include <cstring>
#include <string_view>

#include "utl/console.h"
#include "utl/format.h"

namespace vadz {

namespace {

// Rows are formatted into one block and handed to the file in large writes.
constexpr size_t BLOCK = 1u << 16;

// A block of formatted rows; flushed to the file before it would overflow.
class RowBlock {
 public:
  explicit RowBlock(OutFile& f) : f_(f) {}
  // Room for a row of up to n characters.
  char* row(size_t n) {
    if (used_ + n > BLOCK) flush();
    return buf_ + used_;
  }
  void done(char* end) { used_ = static_cast<size_t>(end - buf_); }
  void flush() {
    if (used_ > 0) f_.write(buf_, used_);
    used_ = 0;
  }

 private:
  OutFile& f_;
  char buf_[BLOCK];
  size_t used_ = 0;
};

char* put_text(char* p, std::string_view s) {
  std::memcpy(p, s.data(), s.size());
  return p + s.size();
}

char* comma(char* p) {
  *p++ = ',';
  return p;
}

char* crlf(char* p) {
  *p++ = '\r';
  *p++ = '\n';
  return p;
}

void create(OutFile& f, const std::string& name) {
  if (!f.open(name)) error("Cannot open file " + name);
}

}  // namespace

void open_pump_table(OutFile& table, int year) {
  char y[4];
  put_int(y, 4, year);
  create(table, std::string(y, 4) + "annpump.csv");
  table.line("node, row, col, gwirr_af, gwrcg_af, mi_af, gw_ac");
}

void write_pump_table(OutFile& table, const AnnualArrays& ann) {
  constexpr size_t ROW = 72;  // 70 characters and CR LF
  RowBlock out(table);
  const RealGrid& pump = ann.annpump[0];
  const RealGrid& rcg = ann.annrcg[0];
  const RealGrid& mi = ann.annmi[0];
  const RealGrid& gwa = ann.gwarea[0];
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const int i = cell(c, r);
      char* p = out.row(ROW);
      p = comma(put_int(p, 5, i + 1));
      p = comma(put_int(p, 5, r));
      p = comma(put_int(p, 5, c));
      p = comma(put_fixed(p, 12, 2, pump[i]));
      p = comma(put_fixed(p, 12, 2, rcg[i]));
      p = comma(put_fixed(p, 12, 2, mi[i]));
      p = comma(put_fixed(p, 12, 2, gwa[i]));
      out.done(crlf(p));
    }
  }
  out.flush();
  table.close();
}

void write_recharge_tables(const std::vector<RealGrid>& annrcp,
                           const std::vector<RealGrid>& annrech, int year1,
                           const FlagGrid& ibound) {
  const int n = static_cast<int>(annrcp.size());
  const size_t rowlen = 50 + 13 * static_cast<size_t>(n) + 2;
  std::string head = " node,  row,  col, ibnd,        x_ft,        y_ft,";
  for (int j = 0; j < n; ++j) {
    char y[13];
    std::memset(y, ' ', 8);
    put_int(y + 8, 4, year1 + j);
    y[12] = ',';
    head.append(y, 13);
  }
  // Each table receives its header as soon as it is created, so a failure
  // to create annrech.csv leaves annrcp.csv with its header line.
  OutFile frcp, frech;
  create(frcp, "annrcp.csv");
  frcp.line(head);
  create(frech, "annrech.csv");
  frech.line(head);

  RowBlock out1(frcp), out2(frech);
  for (int r = 1; r <= NROW; ++r) {
    for (int c = 1; c <= NCOL; ++c) {
      const int i = cell(c, r);
      // The cell's leading fields, the same in both tables.
      char lead[50];
      char* q = comma(put_int(lead, 5, i + 1));
      q = comma(put_int(q, 5, r));
      q = comma(put_int(q, 5, c));
      q = comma(put_int(q, 5, ibound[i]));
      q = comma(put_fixed(q, 12, 0, xc(c)));
      comma(put_fixed(q, 12, 0, yc(r)));
      for (int t = 0; t < 2; ++t) {
        const std::vector<RealGrid>& v = t == 0 ? annrcp : annrech;
        RowBlock& out = t == 0 ? out1 : out2;
        char* p = put_text(out.row(rowlen), std::string_view(lead, 50));
        for (int j = 0; j < n; ++j) p = comma(put_fixed(p, 12, 6, v[j][i]));
        out.done(crlf(p));
      }
    }
  }
  out1.flush();
  out2.flush();
  frcp.close();
  frech.close();
}

}  // namespace vadz
