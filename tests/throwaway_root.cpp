#include "tests/throwaway_root.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

std::string slurp(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

std::string runName() {
  const auto* info = testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "run";
  for (char& c : name)
    if (c == '/') c = '_';
  return name;
}

std::map<std::string, TouchedPath> readListing(const fs::path& listing) {
  std::map<std::string, TouchedPath> paths;
  for (const std::string& line : lines(slurp(listing))) {
    // "<type> <mode> <owner> <path>\t<link target>"
    std::istringstream fields(line.substr(0, line.find('\t')));
    TouchedPath entry;
    std::string mode, path;
    fields >> entry.type >> mode >> entry.owner;
    std::getline(fields >> std::ws, path);
    entry.mode = static_cast<unsigned>(std::stoul(mode, nullptr, 8));
    if (auto tab = line.find('\t'); tab != std::string::npos) entry.linkTarget = line.substr(tab + 1);
    paths[path] = entry;
  }
  return paths;
}

}  // namespace

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> result;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) result.push_back(line);
  return result;
}

std::string RootRun::file(const std::string& name) const { return slurp(dir / "out" / name); }

std::string RootRun::varLog(const std::string& name) const {
  return slurp(dir / "out" / "varlog" / name);
}

std::string RootRun::written(const std::string& absolutePath) const {
  return slurp(dir / "out" / "upper" / absolutePath.substr(1));
}

std::vector<std::string> RootRun::touchedOutside(const std::vector<std::string>& prefixes) const {
  std::vector<std::string> outside;
  for (const auto& [path, entry] : paths) {
    bool covered = false;
    for (const std::string& prefix : prefixes)
      covered = covered || path == prefix || path.rfind(prefix + "/", 0) == 0;
    // A directory above another touched path is copied up as its container.
    auto below = paths.upper_bound(path + "/");
    const bool container = entry.type == 'd' && below != paths.end() &&
                           below->first.rfind(path + "/", 0) == 0;
    if (!covered && !container) outside.push_back(path);
  }
  return outside;
}

RootRun runInRoot(const std::string& script) {
  RootRun run;
  run.dir = fs::path(BUILD_ROOT) / "e2e" / runName();
  fs::create_directories(run.dir);
  std::ofstream(run.dir / "scenario.sh") << script << "\n";

  const std::string command = std::string("'") + SOURCE_ROOT + "/tests/throwaway_root.sh' '" +
                              run.dir.string() + "' '" + BUILD_ROOT + "/kwo' '" +
                              BUILD_ROOT + "/fixtures'";
  const int rc = std::system(command.c_str());
  EXPECT_EQ(rc, 0) << "throwaway root failed: " << slurp(run.dir / "out" / "stderr");

  run.status = std::atoi(slurp(run.dir / "out" / "status").c_str());
  run.out = slurp(run.dir / "out" / "stdout");
  run.err = slurp(run.dir / "out" / "stderr");
  run.paths = readListing(run.dir / "out" / "upper.txt");
  return run;
}
