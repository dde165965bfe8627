// --ini naming what is no settings file of this system: refused with its path and why,
// before it is opened. Caught: a FIFO nobody writes, whose open blocks for ever, and
// /dev/zero, read until the memory runs out.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "CliRun.h"
#include "TempDir.h"

namespace {

TEST(CliSendSettings, FifoOrDeviceAsSettingsFileIsRefusedBeforeItIsOpened) {
  TempDir dir;
  const std::string input = dir.Write("job.plt", "PU0,0;PD400,0;");
  const std::string fifo = (dir.Path() / "Plotgate.ini").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& ini : {fifo, std::string("/dev/zero")}) {
    for (const std::vector<std::string>& command : {std::vector<std::string>{"send", input, "--port", "/dev/null"},
                                                    {"info", input, "--detail"},
                                                    {"frame", input, "--port", "/dev/null"}}) {
      std::vector<std::string> args = command;
      args.insert(args.end(), {"--ini", ini});
      const CliRun run(args);
      EXPECT_EQ(run.code, 1) << command[0];
      EXPECT_EQ(run.err, "plotgate: cannot read the settings: " + ini + ": not a regular file\n") << command[0];
    }
  }
}

}  // namespace
