#include <gtest/gtest.h>

#include <mutex>

#include "analysis/analysis_error.h"
#include "printout/print_all.h"
#include "printout/recording_canvas.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using Strings = std::vector<std::string>;

/// Records, in order, which outputs were kept.
class KeptOutput : public ListingOutput {
 public:
  KeptOutput(std::string path, Strings& kept) : path_(std::move(path)), kept_(kept) {}
  bool keep() override {
    kept_.push_back(path_);
    return true;
  }

 private:
  std::string path_;
  Strings& kept_;
};

class PrintAllParallelTest : public ::testing::Test {
 protected:
  PrintAllParallelTest() {
    for (const char* name : {"A", "B", "C", "D", "E"}) {
      const std::string path = std::string("/p/") + name + ".CLW";
      fs.create(path, std::string(name) + " PROCEDURE\n  CODE\n  x = 1\n");
      attributes.attributes[path] = kAttrArchive;
    }
    setup.clearArchive = 1;
  }

  ParallelPrintAll run(int jobs) {
    ParallelPrintAll r;
    r.jobs = jobs;
    r.write = [this](TMyPrintout& printout, std::size_t i) -> std::unique_ptr<ListingOutput> {
      RecordingTarget target(false);
      printout.wantLinks();
      if (runPrintJob(printout, target) != JobResult::Printed) return nullptr;
      std::lock_guard lock(mutex);
      written.push_back(i);
      return std::make_unique<KeptOutput>(printout.title(), kept);
    };
    return r;
  }

  std::vector<const ProjectFile*> files() {
    project.clear();
    for (const char* name : {"A", "B", "C", "D", "E"})
      project.push_back(ProjectFile{{}, name, kAttrArchive, std::string("/p/") + name + ".CLW", 0});
    std::vector<const ProjectFile*> out;
    for (const ProjectFile& f : project) out.push_back(&f);
    return out;
  }

  Strings texts() const {
    Strings out;
    for (const auto& m : messages.messages) out.push_back(m.caption + ": " + m.text);
    return out;
  }
  Strings marked() {
    Strings out;
    for (const auto& [path, bits] : attributes.attributes)
      if (bits & kAttrArchive) out.push_back(path);
    return out;
  }

  SetupData setup = defaultSetupData();
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  test::RecordingMessages messages;
  test::MemoryProfile profile;
  DateFormatter dates{profile, [] { return std::optional<int>(1); }, messages};
  Strings recent;
  PrintServices services{setup, fs, attributes, messages, dates, [] { return std::time_t{0}; }, {},
                         [this](const std::string& p) { recent.push_back(p); }};
  std::vector<ProjectFile> project;
  std::mutex mutex;
  std::vector<std::size_t> written;
  Strings kept;
};

TEST_F(PrintAllParallelTest, AnyNumberOfJobsKeepsTheOrderOfOneJob) {
  for (int jobs : {1, 2, 5, 8}) {
    SCOPED_TRACE(jobs);
    kept.clear();
    recent.clear();
    const PrintAllResult r = printAllInParallel(files(), services, run(jobs));
    const Strings all = {"/p/A.CLW", "/p/B.CLW", "/p/C.CLW", "/p/D.CLW", "/p/E.CLW"};
    EXPECT_EQ(kept, all);
    EXPECT_EQ(recent, all);
    EXPECT_EQ(r.printed, all);
    EXPECT_EQ(r.failures, 0);
  }
}

TEST_F(PrintAllParallelTest, AnAnalysisErrorEndsTheRunAfterTheFilesBeforeIt) {
  fs.files.erase("/p/B.CLW");                    // vanished since the project was read
  fs.create("/p/C.CLW", "  END\n  x\n");         // a structure closed that never opened
  for (int jobs : {1, 2, 4}) {
    SCOPED_TRACE(jobs);
    kept.clear();
    recent.clear();
    messages.messages.clear();
    for (auto& [path, bits] : attributes.attributes) bits = kAttrArchive;
    EXPECT_THROW(printAllInParallel(files(), services, run(jobs)), AnalysisError);
    EXPECT_EQ(kept, Strings{"/p/A.CLW"}) << "nothing after the error is kept";
    EXPECT_EQ(recent, Strings{"/p/A.CLW"});
    EXPECT_EQ(texts(), Strings{"File Error: Unable to open file\n/p/B.CLW"});
    EXPECT_EQ(marked(), (Strings{"/p/B.CLW", "/p/C.CLW", "/p/D.CLW", "/p/E.CLW"}));
  }
}

TEST_F(PrintAllParallelTest, HeldMarksAreLeftForTheCaller) {
  ParallelPrintAll r = run(2);
  r.holdMarks = true;
  const PrintAllResult result = printAllInParallel(files(), services, r);
  EXPECT_EQ(result.printed.size(), 5u);
  EXPECT_EQ(marked().size(), 5u) << "a book clears them once it is written";
}

// A file that vanished and one whose PDF could not be written: said as they
// come on the command line, or held for the one summary of the desktop.
TEST_F(PrintAllParallelTest, FailuresAreSaidOrHeldForTheSummary) {
  fs.files.erase("/p/B.CLW");
  for (bool hold : {false, true}) {
    SCOPED_TRACE(hold);
    messages.messages.clear();
    ParallelPrintAll r = run(2);
    const auto write = r.write;
    r.write = [write](TMyPrintout& printout, std::size_t i) -> std::unique_ptr<ListingOutput> {
      return i == 3 ? nullptr : write(printout, i);
    };
    r.notKept = [](std::size_t i) { return "Could not write 'out" + std::to_string(i) + ".pdf'"; };
    r.holdFailureMessages = hold;
    const PrintAllResult result = printAllInParallel(files(), services, r);
    EXPECT_EQ(result.failures, 2);
    EXPECT_EQ(result.printed, (Strings{"/p/A.CLW", "/p/C.CLW", "/p/E.CLW"}));
    if (hold) {
      EXPECT_TRUE(messages.messages.empty());
      ASSERT_EQ(result.failed.size(), 2u);
      EXPECT_EQ(result.failed[0].path, "/p/B.CLW");
      EXPECT_EQ(result.failed[0].reason, "Unable to open file");
      EXPECT_EQ(result.failed[1].reason, "Could not write 'out3.pdf'");
      EXPECT_EQ(printAllSummary(result, "written into /out"),
                "3 listings were written into /out.\n2 files could not be printed:\n"
                "/p/B.CLW: Unable to open file\n/p/D.CLW: Could not write 'out3.pdf'");
    } else {
      EXPECT_EQ(texts(), (Strings{"File Error: Unable to open file\n/p/B.CLW",
                                  "Print Error: Could not write 'out3.pdf'"}));
    }
  }
}

TEST(PrintAllSummaryTest, CountsAndNames) {
  struct Case {
    std::size_t printed;
    std::size_t failed;
    int failures;
    const char* expected;
  };
  const Case cases[] = {
      {3, 0, 0, ""},
      {0, 1, 1, "No listing was printed.\n1 file could not be printed:\n/p/F0.CLW: gone"},
      {1, 0, 2, "1 listing was printed.\n2 files could not be printed."},
      {0, 22, 22, nullptr},  // 20 named, then how many more
  };
  for (const Case& c : cases) {
    PrintAllResult r;
    r.printed.resize(c.printed);
    r.failures = c.failures;
    for (std::size_t i = 0; i < c.failed; ++i)
      r.failed.push_back({"/p/F" + std::to_string(i) + ".CLW", "gone"});
    const std::string text = printAllSummary(r, "printed");
    if (c.expected) {
      EXPECT_EQ(text, c.expected);
    } else {
      EXPECT_NE(text.find("/p/F19.CLW: gone\n... and 2 more"), std::string::npos) << text;
      EXPECT_EQ(text.find("/p/F20.CLW"), std::string::npos);
    }
  }
}

}  // namespace
}  // namespace tarn
