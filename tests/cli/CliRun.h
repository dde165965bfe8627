// Runs `plotgate` in the test process with the given arguments (after the program name)
// and keeps its exit code and what it printed.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/RunCli.h"

struct CliRun {
  explicit CliRun(std::vector<std::string> args) {
    args.insert(args.begin(), "plotgate");
    std::vector<const char*> argv;
    for (const auto& a : args) argv.push_back(a.c_str());
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    code = RunCli(static_cast<int>(argv.size()), argv.data());
    out = testing::internal::GetCapturedStdout();
    err = testing::internal::GetCapturedStderr();
  }
  int code;
  std::string out, err;
};
