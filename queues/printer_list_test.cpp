#include "queues/printer_list.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "driver/state.h"
#include "tests/unit_support.h"

using unit_test::TempDir;
using unit_test::writeFile;

namespace {

// Walks the ring forwards and backwards and checks that both walks agree and
// return to the head; gives the names in forward order.
std::vector<std::string> ringNames(PList* head) {
  std::vector<std::string> forward;
  PList* r = head;
  do {
    EXPECT_EQ(r->next->prev, r);
    forward.push_back(r->queueName);
    r = r->next;
  } while (r != head && forward.size() < 100);
  EXPECT_EQ(r, head);
  std::vector<std::string> backward;
  r = head;
  do {
    backward.insert(backward.begin(), r->queueName);
    r = r->prev;
  } while (r != head && backward.size() < 100);
  backward.insert(backward.begin(), backward.back());
  backward.pop_back();
  EXPECT_EQ(forward, backward);
  return forward;
}

int optCount(OptList* head) {
  int n = 0;
  for (OptList* e = head->next; e != head && n < 100; e = e->next) {
    EXPECT_EQ(e->next->prev, e);
    ++n;
  }
  return n;
}

}  // namespace

TEST(PrinterRing, HeadHoldsTheFirstQueueAndRecordsAppendAtTheTail) {
  PList head;
  initPList(&head);
  EXPECT_EQ(head.next, &head);
  EXPECT_EQ(head.prev, &head);
  head.queueName = "q0";
  for (const char* name : {"q1", "q2", "q3"}) {
    auto* r = new PList{};
    r->queueName = name;
    addPList(&head, r);
  }
  EXPECT_EQ(ringNames(&head), (std::vector<std::string>{"q0", "q1", "q2", "q3"}));
  EXPECT_EQ(head.prev->queueName, "q3");

  head.model = "kept";
  EXPECT_EQ(freePList(&head), 0);
  EXPECT_EQ(head.next, &head);
  EXPECT_EQ(head.prev, &head);
  EXPECT_EQ(head.queueName, "q0");  // freePList leaves the head's fields
  EXPECT_EQ(head.model, "kept");

  addPList(&head, new PList{});
  head.modelId = 7;
  head.pdlType = kPdlPcl;
  clearPList(&head);
  EXPECT_EQ(head.next, &head);
  EXPECT_EQ(head.queueName, "");
  EXPECT_EQ(head.model, "");
  EXPECT_EQ(head.modelId, 0u);
  EXPECT_EQ(head.pdlType, kPdlUnknown);
}

TEST(OptionRing, DummyHeadHoldsNoOption) {
  OptList head;
  initOptList(&head);
  EXPECT_EQ(optCount(&head), 0);
  for (int i = 1; i <= 3; ++i) {
    auto* e = new OptList{};
    e->keyword = "K" + std::to_string(i);
    e->index = i;
    addOptList(&head, e);
  }
  EXPECT_EQ(optCount(&head), 3);
  EXPECT_EQ(head.next->keyword, "K1");
  EXPECT_EQ(head.prev->keyword, "K3");
  EXPECT_EQ(freeOptList(&head), 0);
  EXPECT_EQ(optCount(&head), 0);
  EXPECT_EQ(head.next, &head);
  // The ring is usable again after being emptied.
  addOptList(&head, new OptList{});
  EXPECT_EQ(optCount(&head), 1);
  freeOptList(&head);
}

TEST(PrinterRingDeathTest, NullListEndsTheProgram) {
  EXPECT_EXIT(addPList(nullptr, nullptr), ::testing::ExitedWithCode(1), "addPList\\(NULL,...\\) Error!");
  EXPECT_EXIT(addOptList(nullptr, nullptr), ::testing::ExitedWithCode(1), "addOptList\\(NULL,...\\) Error!");
}

class InfoPrinters : public ::testing::Test {
 protected:
  void SetUp() override {
    saved_ = state.installDir;
    state.installDir = dir_.path();
    state.infoPrinterCount = -1;
    clearPList(&state.printerList);
  }
  void TearDown() override {
    clearPList(&state.printerList);
    state.installDir = saved_;
  }
  TempDir dir_;
  std::string saved_;
};

TEST_F(InfoPrinters, ReadsTheNamesOfThePrintersBlock) {
  struct Case {
    const char* what;
    std::string file;
    std::vector<std::string> names;
  } cases[] = {
      {"placeholder only", "#\n%%WOXBLOCK_PRINTERS_BEGIN\nDefault\n%%WOXBLOCK_PRINTERS_END\n", {"Default"}},
      {"empty block", "%%WOXBLOCK_PRINTERS_BEGIN\n%%WOXBLOCK_PRINTERS_END\n%%WOXEND\n", {}},
      {"blanks trimmed, CR kept, empty line kept",
       "%%WOXBLOCK_PRINTERS_BEGIN   \nq1  \nq2\r\n\nq3\n%%WOXBLOCK_PRINTERS_END\nq4\n",
       {"q1", "q2\r", "", "q3"}},
      {"block open at end of file", "%%WOXBLOCK_PRINTERS_BEGIN\nq1\nq2", {"q1", "q2"}},
      // A name longer than one read stays one (over-long, so refused later)
      // name: its tail never becomes a queue name of its own.
      {"over-long name", "%%WOXBLOCK_PRINTERS_BEGIN\n" + std::string(255, 'x') + "zero\nq1\n",
       {std::string(255, 'x'), "q1"}},
  };
  for (const auto& c : cases) {
    writeFile(dir_ / "plovaInfo4.0", c.file);
    clearPList(&state.printerList);
    EXPECT_EQ(readInfoPrinters(2, &state.printerList), 1) << c.what;
    EXPECT_EQ(state.infoPrinterCount, static_cast<int>(c.names.size())) << c.what;
    if (c.names.empty()) {
      EXPECT_EQ(state.printerList.next, &state.printerList) << c.what;
      continue;
    }
    EXPECT_EQ(ringNames(&state.printerList), c.names) << c.what;
    int i = 0;
    PList* r = &state.printerList;
    do {
      EXPECT_EQ(r->index, i++) << c.what;
      EXPECT_EQ(r->pdlType, kPdlUnknown) << c.what;
      r = r->next;
    } while (r != &state.printerList);
  }
}

TEST_F(InfoPrinters, VersionOneReadsTheOldFile) {
  writeFile(dir_ / "plovaInfo2.0", "%%WOXBLOCK_PRINTERS_BEGIN\nold\n%%WOXBLOCK_PRINTERS_END\n");
  writeFile(dir_ / "plovaInfo4.0", "%%WOXBLOCK_PRINTERS_BEGIN\nnew\n%%WOXBLOCK_PRINTERS_END\n");
  EXPECT_EQ(readInfoPrinters(1, &state.printerList), 1);
  EXPECT_EQ(state.printerList.queueName, "old");
  EXPECT_EQ(readInfoPrinters(2, &state.printerList), 1);
  EXPECT_EQ(state.printerList.queueName, "new");
  EXPECT_EQ(state.infoPrinterCount, 1);
}

TEST_F(InfoPrinters, NoFileOrNoBlockLeavesTheListAlone) {
  state.printerList.queueName = "earlier";
  EXPECT_EQ(readInfoPrinters(2, &state.printerList), 0);
  writeFile(dir_ / "plovaInfo4.0", "%%WOXBLOCK_GENERAL_BEGIN\nUSRDIR /opt/kwo\n%%WOXBLOCK_GENERAL_END\n");
  EXPECT_EQ(readInfoPrinters(2, &state.printerList), 0);
  // A file of another user is not believed.
  writeFile(dir_ / "plovaInfo4.0", "%%WOXBLOCK_PRINTERS_BEGIN\nq1\n%%WOXBLOCK_PRINTERS_END\n");
  ASSERT_EQ(::chown((dir_ / "plovaInfo4.0").c_str(), 1000, 1000), 0);
  EXPECT_EQ(readInfoPrinters(2, &state.printerList), 0);
  EXPECT_EQ(state.printerList.queueName, "earlier");
  EXPECT_EQ(state.infoPrinterCount, -1);
}
