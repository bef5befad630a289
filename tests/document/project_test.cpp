#include "document/project.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "document/project_dump.h"
#include "platform/posix/posix_file_attributes.h"
#include "platform/posix/real_file_system.h"
#include "support/fakes.h"

namespace tarn {
namespace {

using namespace std::string_literals;

// A project folder /p in memory.
struct Folder {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;

  void add(const std::string& name, std::string text, std::int64_t mtime = 0) {
    fs.create("/p/" + name, std::move(text), mtime);
  }
  ApplicationData load(const std::string& program = "MAIN.CLW") {
    return ApplicationData("/p/" + program, fs, attributes);
  }
  int timesRead(const std::string& name) const {
    return static_cast<int>(std::count(fs.filesRead.begin(), fs.filesRead.end(), "/p/" + name));
  }
};

std::vector<std::string> fileNames(const ApplicationData& app) {
  std::vector<std::string> out;
  for (const ProjectFile& f : app.files) out.push_back(f.name);
  return out;
}

// "label file line" per procedure, in table order.
std::vector<std::string> procedureList(const ApplicationData& app) {
  std::vector<std::string> out;
  for (const ProjectProcedure& p : app.procedures)
    out.push_back(p.label + " " + p.fileName + " " + std::to_string(p.line));
  return out;
}

using Names = std::vector<std::string>;

TEST(ProjectTest, IncludeStatementsInTheProgramFile) {
  struct Case {
    const char* line;
    Names expected;  // besides MAIN.CLW, in any order
  };
  const Case cases[] = {
      {"  INCLUDE('Equates.clw'),ONCE", {"EQUATES.CLW"}},
      {"  MODULE('util')", {"UTIL.CLW"}},
      {"\tinclude ( 'x.clw' )", {"X.CLW"}},
      {"  MODULE('X.CLW'),INCLUDE('Y.CLW')", {"Y.CLW"}},
      {"  MODULE('X.CLW') ! INCLUDE('Y.CLW')", {"X.CLW"}},
      {"!INCLUDE('X.CLW')", {}},
      {"    ! INCLUDE('X.CLW')", {}},
      {"  INCLUDE('X.CLW", {}},
      {"Label INCLUDE('X.CLW')", {}},
      {"  INCLUDE('NOWHERE.CLW')", {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    Folder p;
    p.add("MAIN.CLW", std::string("  PROGRAM\n") + c.line + "\n");
    p.add("EQUATES.CLW", "");
    p.add("util.clw", "");
    p.add("X.CLW", "");
    p.add("Y.CLW", "");
    ApplicationData app = p.load();
    Names expected = c.expected;
    expected.push_back("MAIN.CLW");
    Names names = fileNames(app);
    std::sort(expected.begin(), expected.end());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, expected);
  }
}

TEST(ProjectTest, OmittedBlocksAreNotFollowed) {
  const std::pair<const char*, Names> cases[] = {
      {"  OMIT('**') ! **\n  INCLUDE('X.CLW')\nB PROCEDURE\n  MODULE('Y.CLW')\n"
       "! **\n  INCLUDE('Z.CLW')\n",
       {"MAIN.CLW", "Z.CLW"}},
      {"  omit ( '**',_X_)\n  COMPILE('**')\n"
       "  INCLUDE('X.CLW') ; OMIT('**')\n  INCLUDE('Y.CLW')\n  **\n",
       {"MAIN.CLW", "X.CLW"}},
      {"  x = 'OMIT(''**'')'\nOMIT('**')\n  INCLUDE('X.CLW')\n", {"MAIN.CLW", "X.CLW"}},
      {"  INCLUDE('W.CLW')\n  INCLUDE('X.CLW')\n", {"MAIN.CLW", "W.CLW", "X.CLW"}},
      // The terminator as the file has it: its case, its tabs.
      {"  OMIT('end')\n  INCLUDE('X.CLW')\n  END\n  INCLUDE('Y.CLW')\n  end\n  INCLUDE('Z.CLW')\n",
       {"MAIN.CLW", "Z.CLW"}},
      {"  OMIT('\t**')\n  INCLUDE('X.CLW')\n  **\n\t**\n  INCLUDE('Z.CLW')\n", {"MAIN.CLW", "Z.CLW"}},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    Folder p;
    p.add("MAIN.CLW", std::string("  PROGRAM\n") + text + "A PROCEDURE\n");
    p.add("W.CLW", "  OMIT('**')\n");  // the block ends with its file
    for (const char* name : {"X.CLW", "Y.CLW", "Z.CLW"}) p.add(name, "");
    ApplicationData app = p.load();
    EXPECT_EQ(fileNames(app), expected);
    EXPECT_EQ(app.procedures.size(), 1u);
  }
}

// A UTF-8 byte-order mark is dropped from every file, as the file window does.
TEST(ProjectTest, AByteOrderMarkIsNoPartOfTheFirstLine) {
  struct Case {
    const char* module;
    Names files;
    Names procedures;
  };
  const Case cases[] = {
      {"\xEF\xBB\xBF  INCLUDE('Y.CLW')\n", {"MAIN.CLW", "X.CLW", "Y.CLW"}, {}},
      {"\xEF\xBB\xBF" "Main PROCEDURE\n", {"MAIN.CLW", "X.CLW"}, {"Main X.CLW 1"}},
      {"\xEF\xBB" "Main PROCEDURE\n", {"MAIN.CLW", "X.CLW"}, {"\xEF\xBB" "Main X.CLW 1"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.module);
    Folder p;
    p.add("MAIN.CLW", "\xEF\xBB\xBF  PROGRAM\n  MAP\n    MODULE('X.CLW')\n    END\n  END\n");
    p.add("X.CLW", c.module);
    p.add("Y.CLW", "");
    ApplicationData app = p.load();
    EXPECT_EQ(fileNames(app), c.files);
    EXPECT_EQ(procedureList(app), c.procedures);
  }
}

TEST(ProjectTest, ClassModulesAndIncludesWithoutParentheses) {
  const std::pair<const char*, Names> cases[] = {
      // A class declared with its module; the CLASS block still holds prototypes.
      {"ZipWorker CLASS,TYPE,MODULE('ZipWorker.clw'),LINK('ZipWorker.clw')\n"
       "Init PROCEDURE\n  END\n",
       {"MAIN.CLW", "ZIPWORKER.CLW"}},
      {"  INCLUDE 'X.CLW'\n  include   'y'   ! lower case, no extension\n",
       {"MAIN.CLW", "X.CLW", "Y.CLW"}},
      {"Str STRING('MODULE('''')')\n  INCLUDE ''\n", {"MAIN.CLW"}},
  };
  for (const auto& [text, expected] : cases) {
    SCOPED_TRACE(text);
    Folder p;
    p.add("MAIN.CLW", std::string("  PROGRAM\n") + text + "A PROCEDURE\n");
    for (const char* name : {"ZIPWORKER.CLW", "X.CLW", "Y.CLW"}) p.add(name, "");
    ApplicationData app = p.load();
    EXPECT_EQ(fileNames(app), expected);
    EXPECT_EQ(app.procedures.size(), 1u) << "Init is a prototype";
  }
}

TEST(ProjectTest, ProcedureDefinitionLines) {
  struct Case {
    std::string text;
    Names expected;
  };
  const Case cases[] = {
      {"Foo PROCEDURE\n", {"Foo MAIN.CLW 1"}},
      {"\nFoo\tfunction(LONG a),LONG\n", {"Foo MAIN.CLW 2"}},
      {"Foo\r\n\r\nBar   Procedure()\r\n", {"Bar MAIN.CLW 3"}},
      {"  Foo PROCEDURE\n!Bar PROCEDURE\nBaz ROUTINE\nQux\n", {}},
      // A prototype in a MAP, then the real definition after its END.
      {"  MAP\nProto PROCEDURE\n    Other(LONG),LONG\n  END\nReal PROCEDURE\n",
       {"Real MAIN.CLW 5"}},
      // Methods declared in a CLASS are no definitions; their bodies are.
      {"Obj CLASS,TYPE\nInit PROCEDURE\n  END\nObj.Init PROCEDURE\n", {"Obj.Init MAIN.CLW 4"}},
      // One flag, not a nesting count: the first END ends the block.
      {"  MAP\n  MODULE('NONE')\nA PROCEDURE\n  END\nB PROCEDURE\n  END\n", {"B MAIN.CLW 5"}},
      {"Foo PROCEDURE\x1A\nBar PROCEDURE\n", {"Foo MAIN.CLW 1"}},
      {"A\0 PROCEDURE\nB PROCEDURE\0 junk\n\0C PROCEDURE\nD PROCEDURE\n"s,
       {"B MAIN.CLW 2", "D MAIN.CLW 4"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    Folder p;
    p.add("MAIN.CLW", c.text);
    EXPECT_EQ(procedureList(p.load()), c.expected);
  }
}

TEST(ProjectTest, IncludedFilesAreReadBeforeTheRestOfTheIncludingFile) {
  Folder p;
  p.add("MAIN.CLW", "Init PROCEDURE\n  INCLUDE('A')\nInit PROCEDURE\n  MODULE('C')\n");
  p.add("A.CLW", "Init PROCEDURE\n  INCLUDE('B')\n");
  p.add("B.CLW", "Init FUNCTION\n");
  p.add("C.CLW", "");
  ApplicationData app = p.load();
  EXPECT_EQ(p.fs.filesRead, (Names{"/p/MAIN.CLW", "/p/A.CLW", "/p/B.CLW", "/p/C.CLW"}));
  // Equal labels keep the order in which they were found.
  EXPECT_EQ(procedureList(app),
            (Names{"Init MAIN.CLW 1", "Init A.CLW 1", "Init B.CLW 1", "Init MAIN.CLW 3"}));
  EXPECT_EQ(app.depth, 0);
}

TEST(ProjectTest, BlockStateBelongsToEachFile) {
  Folder p;
  // MAIN is inside its MAP while A is read; A ends inside a MAP of its own.
  p.add("MAIN.CLW", "  MAP\n  MODULE('A')\nProto PROCEDURE\n  END\nMain PROCEDURE\n");
  p.add("A.CLW", "InA PROCEDURE\n  MAP\n");
  EXPECT_EQ(procedureList(p.load()), (Names{"InA A.CLW 1", "Main MAIN.CLW 5"}));
}

TEST(ProjectTest, CyclesAndRepeatsReadEachFileOnce) {
  Folder p;
  p.add("MAIN.CLW", "  INCLUDE('A.CLW')\n  INCLUDE('B.CLW')\n  INCLUDE('A.CLW')\n");
  p.add("A.CLW", "  INCLUDE('B.CLW')\n  INCLUDE('A.CLW')\nInA PROCEDURE\n");
  p.add("B.CLW", "  INCLUDE('A.CLW')\n  INCLUDE('MISSING.CLW')\nInB PROCEDURE\n");
  ApplicationData app = p.load();
  EXPECT_EQ(fileNames(app), (Names{"A.CLW", "B.CLW", "MAIN.CLW"}));
  EXPECT_EQ(procedureList(app), (Names{"InA A.CLW 3", "InB B.CLW 3"}));
  EXPECT_EQ(p.timesRead("A.CLW"), 1);
  EXPECT_EQ(p.timesRead("B.CLW"), 1);
}

TEST(ProjectTest, FilesAreLookedUpInTheProgramFolderIgnoringCase) {
  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  fs.create("/w/app/Main.clw", "  MAP\n  MODULE('EMPLOYEESAPP001.CLW')\n  END\n");
  fs.create("/w/app/EmployeesApp001.clw", "  INCLUDE('Sub\\Deep.inc')\n");
  fs.createDirectory("/w/app/sub");
  fs.create("/w/app/sub/DEEP.INC", "  INCLUDE('Last')\n");
  fs.create("/w/app/sub/LAST.CLW", "");  // not in the PROGRAM file's folder
  fs.create("/w/app/last.clw", "Found PROCEDURE\n");
  ApplicationData app("/w/app/Main.clw", fs, attributes);
  EXPECT_EQ(app.directory, std::optional<std::string>("/w/app"));
  EXPECT_EQ(app.programName, "Main.clw");
  EXPECT_EQ(fileNames(app),
            (Names{"EMPLOYEESAPP001.CLW", "LAST.CLW", "Main.clw", "SUB\\DEEP.INC"}));
  EXPECT_EQ(procedureList(app), (Names{"Found LAST.CLW 1"}));
}

TEST(ProjectTest, StampAndAttributesComeFromTheFileOnDisk) {
  Folder p;
  p.add("MAIN.CLW", "  MODULE('util')\n  MODULE('OTHER')\n", 1'700'000'000);
  p.add("util.clw", "", 1'600'000'000);
  p.add("OTHER.CLW", "", 0);
  p.attributes.attributes["/p/MAIN.CLW"] = kAttrArchive;
  p.attributes.attributes["/p/util.clw"] = kAttrArchive | kAttrReadOnly;
  ApplicationData app = p.load();
  ASSERT_EQ(fileNames(app), (Names{"MAIN.CLW", "OTHER.CLW", "UTIL.CLW"}));
  EXPECT_EQ(app.files[0].stamp, dosStampFromEpoch(1'700'000'000));
  EXPECT_EQ(app.files[2].stamp, dosStampFromEpoch(1'600'000'000));
  EXPECT_EQ(app.files[0].attributes, kAttrArchive);
  EXPECT_EQ(app.files[1].attributes, 0u);  // unknown
  EXPECT_EQ(app.files[2].attributes, kAttrArchive | kAttrReadOnly);
}

TEST(ProjectTest, MissingProgramFileGivesAnEmptyProject) {
  Folder p;
  ApplicationData app = p.load("NONE.CLW");
  EXPECT_TRUE(app.files.empty());
  EXPECT_TRUE(app.procedures.empty());
  EXPECT_EQ(app.programName, "NONE.CLW");

  p.fs.createDirectory("/p/DIR.CLW");
  EXPECT_TRUE(p.load("DIR.CLW").files.empty());

  test::VirtualFileSystem fs;
  test::FakeFileAttributes attributes;
  fs.create("MAIN.CLW", "  MODULE('A')\n");
  fs.create("A.CLW", "");
  ApplicationData bare("MAIN.CLW", fs, attributes);
  EXPECT_FALSE(bare.directory.has_value());
  EXPECT_EQ(fileNames(bare), (Names{"A.CLW", "MAIN.CLW"}));
}

TEST(ProjectTest, SortsUpperCasedBytes) {
  Folder p;
  // Upper-cased, "_" sorts after the letters; unsigned, accented letters
  // sort after "Z".
  p.add("MAIN.CLW",
        "Beta PROCEDURE\nalpha PROCEDURE\na_c PROCEDURE\nAb PROCEDURE\n\xE9t\xE9 PROCEDURE\n"
        "zeta PROCEDURE\n  MODULE('b')\n  MODULE('a_')\n");
  p.add("B.CLW", "");
  p.add("A_.CLW", "");
  ApplicationData app = p.load();
  EXPECT_EQ(fileNames(app), (Names{"A_.CLW", "B.CLW", "MAIN.CLW"}));
  std::vector<std::string> labels;
  for (const ProjectProcedure& proc : app.procedures) labels.push_back(proc.label);
  EXPECT_EQ(labels, (Names{"Ab", "alpha", "a_c", "Beta", "zeta", "\xE9t\xE9"}));
}

TEST(ProjectTest, LongLinesAreOneLineExaminedWhole) {
  Folder p;
  // Each would have been cut after 199 characters, the tail read as a line.
  std::string text = "First PROCEDURE ! " + std::string(181, '-') + "Bogus PROCEDURE\n";
  text += std::string(190, ' ') + "INCLUDE('FAR.CLW')\n";
  text += "  ! " + std::string(195, '=') + "Tail PROCEDURE\n";
  text += "Second PROCEDURE\n";
  p.add("MAIN.CLW", text);
  p.add("FAR.CLW", "");
  ApplicationData app = p.load();
  EXPECT_EQ(fileNames(app), (Names{"FAR.CLW", "MAIN.CLW"}));
  EXPECT_EQ(procedureList(app), (Names{"First MAIN.CLW 1", "Second MAIN.CLW 4"}));
}

TEST(ProjectTest, DeepIncludeChainLoads) {
  Folder p;
  const int n = static_cast<int>(kMaxProjectEntries);
  auto name = [](int i) {
    return i == 0 ? std::string("MAIN.CLW") : "F" + std::to_string(i) + ".CLW";
  };
  for (int i = 0; i < n; ++i)
    p.add(name(i), "  INCLUDE('" + name(i + 1) + "')\nP" + std::to_string(i) + " PROCEDURE\n");
  ApplicationData app = p.load();
  EXPECT_EQ(app.fileCount(), n);
  ASSERT_EQ(app.procedureCount(), n);
  EXPECT_EQ(app.depth, 0);
  for (const ProjectProcedure& proc : app.procedures) {
    EXPECT_EQ(proc.line, 2);
    EXPECT_EQ(proc.fileName, name(std::stoi(proc.label.substr(1))));
  }
}

TEST(ProjectTest, FullTablesKeepWhatIsLoaded) {
  Folder p;
  // 3,600 files in a chain that keeps naming the PROGRAM file and the first
  // member again, and 3,600 definitions in the PROGRAM file after it.
  auto name = [](int i) { return "M" + std::to_string(10000 + i) + ".CLW"; };
  std::string main = "  INCLUDE('" + name(1) + "')\n";
  for (int i = 1; i <= 3600; ++i) {
    main += "P" + std::to_string(10000 + i) + " PROCEDURE\n";
    p.add(name(i), "  INCLUDE('" + name(i + 1) + "')\n  INCLUDE('MAIN.CLW')\n  INCLUDE('" +
                       name(1) + "')\n");
  }
  p.add("MAIN.CLW", main, 1'650'000'000);
  p.attributes.attributes["/p/MAIN.CLW"] = kAttrArchive;
  ApplicationData app = p.load();

  ASSERT_EQ(app.files.size(), kMaxProjectEntries);
  EXPECT_EQ(app.files.front().name, "M10001.CLW");
  EXPECT_EQ(app.files[kMaxProjectEntries - 2].name, name(3499));
  EXPECT_EQ(app.files.back().name, "MAIN.CLW");
  EXPECT_EQ(app.files.back().attributes, kAttrArchive);
  EXPECT_EQ(app.files.back().stamp, dosStampFromEpoch(1'650'000'000));
  EXPECT_EQ(p.timesRead(name(3500)), 0);
  EXPECT_EQ(p.timesRead(name(1)), 1);
  EXPECT_EQ(p.timesRead("MAIN.CLW"), 1);

  ASSERT_EQ(app.procedures.size(), kMaxProjectEntries);
  EXPECT_EQ(procedureList(app).front(), "P10001 MAIN.CLW 2");
  EXPECT_EQ(procedureList(app).back(), "P13500 MAIN.CLW 3501");
}

TEST(ProjectTest, LongNamesAndLabelsAreCut) {
  Folder p;
  std::string longName = std::string(96, 'N') + ".CLW";
  std::string longLabel(200, 'L');
  p.add("MAIN.CLW", "  INCLUDE('" + longName + "')\n" + longLabel + " PROCEDURE\n");
  p.add(longName, "  INCLUDE('" + longName + "')\nInLong PROCEDURE\n");
  ApplicationData app = p.load();
  std::string cutName = longName.substr(0, kMaxProjectNameLength);
  EXPECT_EQ(fileNames(app), (Names{"MAIN.CLW", cutName}));
  EXPECT_EQ(p.timesRead(longName), 1);
  EXPECT_EQ(procedureList(app),
            (Names{"InLong " + cutName + " 2",
                   longLabel.substr(0, kMaxProjectLabelLength) + " MAIN.CLW 2"}));
}

TEST(ProjectDumpTest, ListsFilesThenProcedures) {
  Folder p;
  p.add("MAIN.CLW", "  INCLUDE('Sub\\\xC4')\nMain PROCEDURE\n");
  p.add("SUB/\xC4.CLW", "x\xE4 FUNCTION\n");
  p.attributes.attributes["/p/MAIN.CLW"] = 0x21;
  ApplicationData app = p.load();
  ASSERT_EQ(app.fileCount(), 2);
  app.files[0].stamp = makeDosStamp(2024, 2, 29, 13, 5, 58);
  app.files[1].stamp = makeDosStamp(1999, 12, 31, 23, 59, 59);
  EXPECT_EQ(dumpProject(app),
            "file\tMAIN.CLW\t33\t2024-02-29 13:05:58\n"
            "file\tSUB\\\\\\xc4.CLW\t0\t1999-12-31 23:59:58\n"
            "proc\tMain\tMAIN.CLW\t2\n"
            "proc\tx\\xe4\tSUB\\\\\\xc4.CLW\t1\n");
}

// The real machine's files, recording which ones were read.
class RecordingRealFileSystem : public RealFileSystem {
 public:
  ReadStatus readFile(const std::string& path, const ByteSink& sink, FileStat* opened,
                      std::string* err) override {
    ReadStatus status = RealFileSystem::readFile(path, sink, opened, err);
    if (status == ReadStatus::Okay) read.push_back(std::filesystem::path(path).filename().string());
    return status;
  }
  std::vector<std::string> read;
};

std::string realProject(const std::string& relative) {
  std::string root = test::corpusDir();
  return root.empty() ? std::string()
                      : root + "/real/MbeleLebohang__Clarion_Application/" + relative;
}

TEST(ProjectCorpusTest, TableExample) {
  std::string path = realProject("TableExample/TableExample.clw");
  if (path.empty()) GTEST_SKIP() << "no corpus on this machine";
  RecordingRealFileSystem fs;
  test::FakeFileAttributes attributes;
  ApplicationData app(path, fs, attributes);
  EXPECT_EQ(fileNames(app), (Names{"TableExample.clw", "UTILS.CLW"}));
  EXPECT_EQ(fs.read, (Names{"TableExample.clw", "utils.clw"}));
  // main() and addEmployee() are also prototyped in the MAP; only the
  // definitions count.
  EXPECT_EQ(procedureList(app), (Names{"addEmployee UTILS.CLW 43", "main TableExample.clw 25"}));
}

TEST(ProjectCorpusTest, EmployeesApp) {
  std::string path = realProject("EmployeesApp/EmployeesApp.clw");
  if (path.empty()) GTEST_SKIP() << "no corpus on this machine";
  RecordingRealFileSystem fs;
  PosixFileAttributes attributes(
      [](const char*) { return std::optional<std::string>("/nonexistent"); },
      PosixFileAttributes::ArchiveStore::StateFolder);
  ApplicationData app(path, fs, attributes);
  EXPECT_EQ(fileNames(app),
            (Names{"EmployeesApp.clw", "EMPLOYEESAPP001.CLW", "EMPLOYEESAPP001.INC",
                   "EMPLOYEESAPP002.CLW", "EMPLOYEESAPP002.INC", "EMPLOYEESAPP003.CLW",
                   "EMPLOYEESAPP003.INC", "EMPLOYEESAPP004.CLW", "EMPLOYEESAPP004.INC",
                   "EMPLOYEESAPP_BC.CLW", "EMPLOYEESAPP_BC0.CLW"}));
  // Each member is read when first named, before the rest of the naming file.
  EXPECT_EQ(fs.read, (Names{"EmployeesApp.clw", "EMPLOYEESAPP_BC.CLW", "EmployeesApp_BC0.CLW",
                            "EmployeesApp001.clw", "EMPLOYEESAPP001.INC", "EMPLOYEESAPP002.INC",
                            "EmployeesApp002.clw", "EMPLOYEESAPP003.INC", "EmployeesApp003.clw",
                            "EMPLOYEESAPP004.INC", "EmployeesApp004.clw"}));
  for (const ProjectFile& f : app.files) EXPECT_TRUE(f.attributes & kAttrArchive) << f.name;

  std::vector<std::string> procs = procedureList(app);
  EXPECT_EQ(procs.size(), 260u);
  EXPECT_EQ(procs.front(), "BrowseBenefits EMPLOYEESAPP001.CLW 1215");
  EXPECT_EQ(procs.back(), "UpdateSchools EMPLOYEESAPP003.CLW 1550");
  for (const char* expected :
       {"Main EMPLOYEESAPP001.CLW 24", "DctInit EMPLOYEESAPP_BC.CLW 13",
        "DctKill EMPLOYEESAPP_BC.CLW 19", "Dictionary.Construct EmployeesApp.clw 173",
        "Dictionary.Destruct EmployeesApp.clw 181", "SelectBenefits EMPLOYEESAPP004.CLW 21",
        "EmployeesApp_BC0:FilesInit EMPLOYEESAPP_BC0.CLW 170"})
    EXPECT_NE(std::find(procs.begin(), procs.end(), expected), procs.end()) << expected;
  // The .INC files and the PROGRAM file's MAP only declare.
  for (const ProjectProcedure& proc : app.procedures) {
    EXPECT_EQ(proc.fileName.find(".INC"), std::string::npos) << proc.label;
    EXPECT_FALSE(proc.fileName == "EmployeesApp.clw" && proc.line < 173) << proc.label;
  }
}

}  // namespace
}  // namespace tarn
