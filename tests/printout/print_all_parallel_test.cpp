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

}  // namespace
}  // namespace tarn
