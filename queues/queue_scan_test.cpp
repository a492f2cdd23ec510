#include "queues/queue_scan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "discovery/shell.h"
#include "driver/state.h"
#include "tests/unit_support.h"

using unit_test::CapturedLog;
using unit_test::TempDir;
using unit_test::writeFile;

TEST(ParseModelName, TypeFromTheLineEndModelFromTheTable) {
  struct Case {
    std::string line;
    bool isModel;
    std::uint32_t type;
    std::uint32_t id;
    std::string model;
  } cases[] = {
      {"*ModelName: \"Velor Lumen 1580n PS\"\n", true, kPdlPostScript, 3, "\"Velor Lumen 1580n PS\""},
      {"*ModelName: \"Velor Lumen 1580n PS\"", true, kPdlPostScript, 3, "\"Velor Lumen 1580n PS\""},
      {"*ModelName:    \"Velor Lumen 1750 MFP PCL\"\r\n", true, kPdlPcl, 5, "\"Velor Lumen 1750 MFP PCL\""},
      {"*ModelName: \"Velor Lumen 6430 PXL\"\n", true, kPdlPxl, 15, "\"Velor Lumen 6430 PXL\""},
      // Two rows' names in one text: the earlier row wins.
      {"*ModelName: \"Velor Lumen 5630 Duo PS\"\n", true, kPdlPostScript, 14, "\"Velor Lumen 5630 Duo PS\""},
      // " PS" outside the window: a known model, but no type.
      {"*ModelName: \"Velor Lumen 1580n PS series\"\n", true, kPdlUnknown, 3, "\"Velor Lumen 1580n PS series\""},
      // An unknown model still sets the type, but is no model line.
      {"*ModelName: \"Other 1000 PCL\"\n", false, kPdlPcl, 99, ""},
      {"*NickName: \"Velor Lumen 1580n PS\"\n", false, 99, 99, ""},
  };
  for (const auto& c : cases) {
    std::uint32_t type = 99, id = 99;
    const auto model = parseModelName(c.line, type, id);
    EXPECT_EQ(model.has_value(), c.isModel) << c.line;
    EXPECT_EQ(type, c.type) << c.line;
    EXPECT_EQ(id, c.id) << c.line;
    if (model) {
      EXPECT_EQ(*model, c.model) << c.line;
    }
  }
}

TEST(GetPpdVersion, OneDigitAfterTheMarker) {
  struct Case {
    const char* line;
    int version;
  } cases[] = {
      {"*% Plova version: 1\n", 1}, {"*% Plova version:1.5", 1}, {"*% Plova version:    15", 1},
      {"*% Plova version: 2", 2},   {"*% Plova version: 0", 0},  {"*% Plova version: x1", -1},
      {"*% Plova version:", -1},    {"*% Velor version: 1", -1}, {"xx *% Plova version: 3 yy", 3},
  };
  for (const auto& c : cases) EXPECT_EQ(getPpdVersion(c.line), c.version) << c.line;
}

TEST(QueueNameOf, FileNameCutAtTheFirstPpd) {
  struct Case {
    std::string file;
    std::optional<std::string> queue;
  } cases[] = {
      {"q1.ppd", "q1"},
      {"q1.ppd.O", "q1"},
      {"ppdq.ppd", "ppdq"},
      {"x;touch /tmp/pwned.ppd", std::nullopt},  // holds "/"
      {"x;touch pwned.ppd", "x;touch pwned"},
      {"...ppd", std::nullopt},
      {"..ppd", std::nullopt},
      {".ppd", std::nullopt},
      {std::string(79, 'q') + ".ppd", std::string(79, 'q')},
      {std::string(80, 'q') + ".ppd", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(queueNameOf(c.file), c.queue) << c.file;
}

class QueueScan : public ::testing::Test {
 protected:
  void SetUp() override {
    state.cupsBaseDir = dir_.path();
    state.packagePpdDir = dir_ / "newppd";
    clearPList(&state.printerList);
  }
  void TearDown() override {
    clearPList(&state.printerList);
    state.cupsBaseDir.clear();
    state.packagePpdDir.clear();
  }
  void queuePpd(const std::string& name, const std::string& content) {
    writeFile(dir_ / ("etc/cups/ppd/" + name), content);
  }
  std::vector<std::string> scannedQueues(int& count) {
    scanInstalledQueues(&state.printerList, count);
    std::vector<std::string> names;
    PList* r = &state.printerList;
    for (int i = 0; i < count; ++i, r = r->next) names.push_back(r->queueName);
    std::sort(names.begin(), names.end());
    return names;
  }
  TempDir dir_;
};

namespace {
std::string filler(int lines) {
  std::string text;
  for (int i = 0; i < lines; ++i) text += "*% filler\n";
  return text;
}
const std::string kModel = "*ModelName: \"Velor Lumen 1580n PS\"\n";
const std::string kV1 = "*% Plova version: 1\n";
}  // namespace

TEST_F(QueueScan, TakesQueuesWhoseMarkerAndModelStandInTheFirst30Lines) {
  queuePpd("inside.ppd", filler(28) + kModel + kV1);            // lines 29 and 30
  queuePpd("markerafter.ppd", filler(29) + kModel + kV1);       // marker on line 31
  queuePpd("modelafter.ppd", kV1 + filler(29) + kModel);        // model on line 31
  queuePpd("zero.ppd", "*% Plova version: 0\n" + kModel + filler(3) + kV1);  // 0 is no version
  queuePpd("two.ppd", "*% Plova version: 2\n" + kModel + kV1);  // the first version counts
  queuePpd("notype.ppd", kV1 + "*ModelName: \"Velor Lumen 1580n\"\n");
  queuePpd("other.ppd", kV1 + "*ModelName: \"Other 1000 PS\"\n");
  queuePpd("longline.ppd", std::string(300, 'x') + "\n" + filler(27) + kModel + kV1);  // 2 parts + 27 + model
  queuePpd(".hidden.ppd", kModel + kV1);
  queuePpd("same.ppd", kModel + "*% Plova version: 1\n");
  queuePpd("same.ppd.O", kModel + "*% Plova version: 1\n");
  CapturedLog log;
  int count = -1;
  EXPECT_EQ(scannedQueues(count), (std::vector<std::string>{".hidden", "inside", "same", "same", "zero"}));
  EXPECT_EQ(count, 5);
  EXPECT_NE(log.text().find("List of Velor Printers installed: 5.\n"), std::string::npos);
  EXPECT_NE(log.text().find("\tPPD File: " + (dir_ / "etc/cups/ppd/inside.ppd") + ".\n"
                            "\tModel   : \"Velor Lumen 1580n PS\".\n"
                            "\tVelor ID: 3.\n"
                            "\tPDL    : PostScript.\n"),
            std::string::npos)
      << log.text();
  EXPECT_NE(log.text().find("List of Velor PPD files to install: 5.\n"), std::string::npos);
  EXPECT_NE(log.text().find("PPD NOT FOUND!\n"), std::string::npos);
}

TEST_F(QueueScan, RefusesNamesNoQueueCanHaveAndLogsThem) {
  queuePpd(std::string(80, 'q') + ".ppd", kModel + kV1);
  queuePpd("...ppd", kModel + kV1);
  CapturedLog log;
  int count = -1;
  EXPECT_TRUE(scannedQueues(count).empty());
  EXPECT_EQ(count, 0);
  EXPECT_NE(log.text().find("Queue PPD file " + (dir_ / "etc/cups/ppd/...ppd") + " gives no usable queue name"),
            std::string::npos);
  EXPECT_NE(log.text().find(std::string(80, 'q') + ".ppd gives no usable queue name"), std::string::npos);
}

TEST_F(QueueScan, MissingDirectoryLogsNothing) {
  CapturedLog log;
  int count = -1;
  EXPECT_EQ(scanInstalledQueues(&state.printerList, count), 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(log.text(), "");
}

TEST_F(QueueScan, NewPpdLookupMatchesModelIdAndTypeAndReadsCompressedFiles) {
  const std::string newDir = dir_ / "newppd";
  writeFile(newDir + "/a-pcl.ppd", "*ModelName: \"Velor Lumen 1580n PCL\"\n");
  writeFile(newDir + "/b-duo.ppd", "*ModelName: \"Velor Lumen 5630 Duo PS\"\n");
  writeFile(newDir + "/c-ps.ppd", "*PPD-Adobe: \"4.3\"\n*ModelName: \"Velor Lumen 1580n PS\"\n");
  ASSERT_EQ(runShell("gzip -n " + shellWord(newDir + "/c-ps.ppd")), 0);
  writeFile(newDir + "/d-5630.ppd", "*ModelName: \"Velor Lumen 5630 PS\"\n");
  CapturedLog log;
  PList printer;
  printer.model = "\"Velor Lumen 1580n PS\"";
  printer.modelId = 3;
  printer.pdlType = kPdlPostScript;
  std::string out;
  EXPECT_EQ(getPpdFromDir(newDir, printer, out), 1);
  EXPECT_EQ(out, newDir + "/c-ps.ppd.gz");
  printer.model = "\"Velor Lumen 5630 PS\"";
  printer.modelId = 14;
  EXPECT_EQ(getPpdFromDir(newDir, printer, out), 1);
  EXPECT_EQ(out, newDir + "/d-5630.ppd");
  printer.pdlType = kPdlPxl;
  EXPECT_EQ(getPpdFromDir(newDir, printer, out), 0);
  EXPECT_EQ(getPpdFromDir(dir_ / "missing", printer, out), 0);
  EXPECT_NE(log.text().find("Getting PPD from directory: " + newDir + "\n"), std::string::npos);
}
