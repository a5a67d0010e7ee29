#include "utl/textio.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>
#include <string>
#include <thread>

#include "support/testutil.h"

namespace vadz {
namespace {

// A stream of unknown length (a pipe: a name given as <(...) by a shell) is
// read in steps; a regular file in one read; one buffer serves both.
TEST(ReadWholeFile, PipeAcrossStepsThenFileIntoSameBuffer) {
  test::TempDir d;
  std::string big;
  for (int i = 0; big.size() < (3u << 20) + 17; ++i) big += std::to_string(i) + ' ';
  const std::string fifo = d / "pipe";
#ifdef _WIN32
  GTEST_SKIP() << "no named pipes in the file system";
#else
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
#endif
  std::thread writer([&] { std::ofstream(fifo, std::ios::binary) << big; });
  std::string buf;
  EXPECT_TRUE(read_whole_file(fifo, buf));
  writer.join();
  EXPECT_TRUE(buf == big);

  test::write_file(d / "small.txt", "1 2 3\n");
  EXPECT_TRUE(read_whole_file(d / "small.txt", buf));
  EXPECT_EQ(buf, "1 2 3\n");
  EXPECT_FALSE(read_whole_file(d / "missing.txt", buf));
}

}  // namespace
}  // namespace vadz
