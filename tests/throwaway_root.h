// End-to-end runs of setup inside a throwaway root (see throwaway_root.sh).
//
//   auto run = runInRoot(R"(lay_package; WOXLPMODE=CUPS run_setup)");
//   EXPECT_THAT(run.log(), HasSubstr("New installation"));
//   EXPECT_TRUE(run.touched("/opt/kwo/plovaInfo4.0"));
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

// One path the run created, changed or removed (the overlay's upper
// directory): type as find prints it ('f', 'd', 'l', and 'c' for a
// removal), permission bits, owner "user:group", link target.
struct TouchedPath {
  char type = '?';
  unsigned mode = 0;
  std::string owner;
  std::string linkTarget;
  bool removed() const { return type == 'c'; }
};

struct RootRun {
  int status = -1;      // exit status of the scenario (its last command)
  std::string out;      // the scenario's stdout
  std::string err;      // the scenario's stderr
  std::filesystem::path dir;  // the run's output directory on the host
  std::map<std::string, TouchedPath> paths;  // every path the run touched

  // A file the scenario left in $OUT, or "" when missing.
  std::string file(const std::string& name) const;
  // A file of the root's /var/log, or "" when missing.
  std::string varLog(const std::string& name = "Plova4.0_UpdateLog") const;
  std::string log() const { return varLog(); }
  // Contents of a file the run wrote outside the fresh tmpfs mounts.
  std::string written(const std::string& absolutePath) const;
  bool touched(const std::string& absolutePath) const { return paths.count(absolutePath) > 0; }
  // Touched paths outside the given prefixes (a prefix "/a" covers "/a" and
  // everything below it). Directories that only contain touched paths are
  // left out: the overlay copies them up as containers.
  std::vector<std::string> touchedOutside(const std::vector<std::string>& prefixes) const;
};

// Runs script with /bin/sh in a throwaway root of its own. The package tree
// of the build is at /run/pkg, the build's test fixtures (build/fixtures, such
// as generation-1 PPD files) at /run/fixtures; $OUT is the output directory; the helpers of
// e2e_lib.sh are defined. The run's files are kept below
// build/e2e/<test suite>.<test name>.
RootRun runInRoot(const std::string& script);

// The lines of text, without their newlines.
std::vector<std::string> lines(const std::string& text);
