// Helpers of the unit tests of install/ and ppd/: a temporary directory of
// the test's own and a captured log.
#pragma once

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <optional>
#include <string>

#include "driver/state.h"
#include "tests/unit_support.h"

// Whether text holds part, with both shown when not.
inline ::testing::AssertionResult Contains(const std::string& text, const std::string& part) {
  if (text.find(part) != std::string::npos) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "\"" << part << "\" is not in:\n" << text;
}

// Changes into a directory for one scope and back again.
class WorkingDir {
 public:
  explicit WorkingDir(const std::string& dir) : old_(std::filesystem::current_path()) {
    std::filesystem::current_path(dir);
  }
  WorkingDir(const WorkingDir&) = delete;
  WorkingDir& operator=(const WorkingDir&) = delete;
  ~WorkingDir() {
    std::error_code ignored;
    std::filesystem::current_path(old_, ignored);
  }

 private:
  std::filesystem::path old_;
};

// A fresh directory from mkdtemp, removed with everything in it at the end;
// the process state is cleared, and the log goes to a temporary file.
class TempDirTest : public ::testing::Test {
 protected:
  void SetUp() override {
    clearState();
    temp_.emplace();
    log_.emplace();
    dir_ = temp_->path();
  }
  void TearDown() override {
    log_.reset();
    temp_.reset();
    clearState();
  }

  std::string path(const std::string& name) const { return dir_ + "/" + name; }

  // Everything logged so far.
  std::string logged() const { return log_->text(); }

  static std::string read(const std::string& file) { return unit_test::readFile(file); }
  static void write(const std::string& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
  }
  static unsigned modeOf(const std::string& file) {
    struct stat info {};
    return ::lstat(file.c_str(), &info) == 0 ? (info.st_mode & 07777) : 0xFFFFu;
  }

  std::string dir_;

 private:
  std::optional<unit_test::TempDir> temp_;
  std::optional<unit_test::CapturedLog> log_;
};
