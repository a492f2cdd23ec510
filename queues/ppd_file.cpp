#include "queues/ppd_file.h"

// The PPD functions are deprecated in the library but are what reads a PPD
// file's options; the warning is silenced only around them.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#include <cups/file.h>
#include <cups/ppd.h>

struct CupsTextFile::Impl {
  cups_file_t* file;
};

CupsTextFile::CupsTextFile(const std::string& path) {
  if (cups_file_t* f = cupsFileOpen(path.c_str(), "r")) file_ = new Impl{f};
}

CupsTextFile::~CupsTextFile() {
  if (file_ == nullptr) return;
  cupsFileClose(file_->file);
  delete file_;
}

bool CupsTextFile::readLine(std::string& line) {
  char buffer[256];
  if (file_ == nullptr || cupsFileGets(file_->file, buffer, sizeof buffer) == nullptr) return false;
  line = buffer;
  return true;
}

namespace {

struct PpdCloser {
  void operator()(ppd_file_t* ppd) const { ppdClose(ppd); }
};

void collectGroup(const ppd_group_t& group, bool topLevelOnly, std::vector<PpdOption>& out) {
  for (int o = 0; o < group.num_options; ++o) {
    const ppd_option_t& option = group.options[o];
    PpdOption entry{option.keyword, option.defchoice, {}};
    for (int c = 0; c < option.num_choices; ++c) entry.choices.emplace_back(option.choices[c].choice);
    out.push_back(std::move(entry));
  }
  if (topLevelOnly) return;
  for (int s = 0; s < group.num_subgroups; ++s) collectGroup(group.subgroups[s], false, out);
}

}  // namespace

std::optional<std::vector<PpdOption>> readPpdOptions(const std::string& path, bool topLevelOnly) {
  std::unique_ptr<ppd_file_t, PpdCloser> ppd(ppdOpenFile(path.c_str()));
  if (!ppd) return std::nullopt;
  std::vector<PpdOption> options;
  for (int g = 0; g < ppd->num_groups; ++g) collectGroup(ppd->groups[g], topLevelOnly, options);
  return options;
}
#pragma GCC diagnostic pop
