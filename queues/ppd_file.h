// The one place that uses the CUPS library: reading PPD files (plain or
// gzip-compressed) line by line, and the options of a PPD file as the
// library's PPD parser sees them.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A PPD file opened for reading through the library's file functions, which
// read gzip-compressed files as plain text.
class CupsTextFile {
 public:
  explicit CupsTextFile(const std::string& path);
  ~CupsTextFile();
  CupsTextFile(const CupsTextFile&) = delete;
  CupsTextFile& operator=(const CupsTextFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }
  // The next line, at most 255 characters, its line end removed; false at
  // end of file or on a read error.
  bool readLine(std::string& line);

 private:
  struct Impl;
  Impl* file_ = nullptr;
};

struct PpdOption {
  std::string keyword;        // without its '*'
  std::string defaultChoice;  // what the file's *Default<keyword> line names
  std::vector<std::string> choices;
};

// The options of the PPD file in file order, or none when the library
// cannot open it as a PPD file. With topLevelOnly, options of sub-groups are
// left out.
std::optional<std::vector<PpdOption>> readPpdOptions(const std::string& path, bool topLevelOnly);
