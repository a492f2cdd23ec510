// Helpers of the unit tests: a private temporary
// directory, small fixture files and a captured log.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "driver/state.h"

namespace unit_test {

// A directory of its own (mkdtemp), removed with everything in it.
class TempDir {
 public:
  TempDir() {
    char templ[] = "/tmp/setup-unit.XXXXXX";
    if (::mkdtemp(templ) == nullptr) std::abort();
    path_ = templ;
  }
  ~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

 private:
  std::string path_;
};

inline void writeFile(const std::string& path, const std::string& content) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// Sends the log into a temporary file while alive; text() gives what came.
class CapturedLog {
 public:
  CapturedLog() : file_(std::tmpfile()) { state.logFile = file_; }
  ~CapturedLog() {
    state.logFile = nullptr;
    std::fclose(file_);
  }
  CapturedLog(const CapturedLog&) = delete;
  CapturedLog& operator=(const CapturedLog&) = delete;
  std::string text() const {
    std::fflush(file_);
    std::rewind(file_);
    std::string all;
    for (int c; (c = std::fgetc(file_)) != EOF;) all += static_cast<char>(c);
    return all;
  }

 private:
  std::FILE* file_;
};

}  // namespace unit_test
