#include "platform/posix/xdg_shell.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace tarn {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Args = std::vector<std::string>;

class XdgShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "tarnlist-shell-XXXXXX").string();
    ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
    dir_ = pattern;
    fs::create_directories(dir_ + "/bin");
    fs::create_directories(dir_ + "/files");
    file_ = dir_ + "/files/MAIN.CLW";
    std::ofstream(file_) << "PROGRAM\n";
    vars_["PATH"] = dir_ + "/bin";
    cwd_ = fs::current_path();
  }
  void TearDown() override {
    fs::current_path(cwd_);
    EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child was left behind";
    std::error_code ec;
    fs::remove_all(dir_, ec);
  }

  XdgShell shell(std::chrono::milliseconds helperTimeout = 500ms) {
    return XdgShell([vars = vars_](const char* name) -> std::optional<std::string> {
      auto it = vars.find(name);
      return it == vars.end() ? std::nullopt : std::optional(it->second);
    }, helperTimeout);
  }

  // A program in bin/ that appends its arguments to NAME.calls, then runs `body`.
  void fake(const std::string& name, const std::string& body = "") {
    std::string path = dir_ + "/bin/" + name;
    std::ofstream(path) << "#!/bin/sh\nexec 2>/dev/null\nr=\"$#\"\n"
                        << "for a in \"$@\"; do r=\"$r\n$a\"; done\n"
                        << "printf '%s\\n' \"$r\" >> '" << dir_ << "/" << name << ".calls'\n"
                        << body << "\n";
    fs::permissions(path, fs::perms::owner_all);
  }
  void brokenProgram(const std::string& name) {
    std::string path = dir_ + "/bin/" + name;
    std::ofstream(path) << "#!/nonexistent/interpreter\n";
    fs::permissions(path, fs::perms::owner_all);
  }

  // Every complete call recorded by the fake NAME.
  std::vector<Args> calls(const std::string& name) const {
    std::ifstream in(dir_ + "/" + name + ".calls");
    std::vector<Args> all;
    for (std::string line; std::getline(in, line);) {
      Args args(std::stoul(line));
      for (auto& a : args)
        if (!std::getline(in, a)) return all;
      all.push_back(args);
    }
    return all;
  }
  // The detached program's first call, waiting for it at most 5 s.
  std::optional<Args> firstCall(const std::string& name) const {
    for (auto until = std::chrono::steady_clock::now() + 5s;
         std::chrono::steady_clock::now() < until; std::this_thread::sleep_for(10ms))
      if (auto all = calls(name); !all.empty()) return all.front();
    return std::nullopt;
  }

  std::string dir_, file_;
  fs::path cwd_;
  std::map<std::string, std::string> vars_;
};

struct AssociationCase {
  const char* name;
  const char* xdgMime;  // body of the fake; nullptr: not installed
  bool xdgOpen;
  int answer;
};

const AssociationCase kAssociationCases[] = {
    {"Associated", "[ $2 = filetype ] && echo text/x-clarion || echo ed.desktop", true, 33},
    {"TypeWithParameters",
     "[ $2 = filetype ] && echo 'text/plain; charset=us-ascii' || { [ $3 = text/plain ] && echo ed.desktop; }",
     true, 33},
    {"NoType", "[ $2 = default ] && echo ed.desktop", true, kShellNoAssociation},
    {"NoDefault", "[ $2 = filetype ] && echo text/plain", true, kShellNoAssociation},
    {"HelperFails", "echo text/plain; exit 1", true, kShellNoAssociation},
    {"HelperHangs", "exec sleep 30", true, kShellNoAssociation},
    {"NoXdgMime", nullptr, true, kShellNoAssociation},
    {"NoXdgOpen", "[ $2 = filetype ] && echo text/plain || echo ed.desktop", false,
     XdgShell::kCannotStart},
};

TEST_F(XdgShellTest, ShellAssociationAnswers) {
  for (const auto& c : kAssociationCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_ + "/bin");
    fs::create_directories(dir_ + "/bin");
    fs::remove(dir_ + "/xdg-open.calls");
    if (c.xdgMime) fake("xdg-mime", c.xdgMime);
    if (c.xdgOpen) fake("xdg-open", "exec >/dev/null; sleep 3");

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(shell().openWithAssociation(file_), c.answer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2500ms);
    if (c.answer > 32) {
      EXPECT_EQ(firstCall("xdg-open"), Args{file_});
    } else if (c.xdgOpen) {
      EXPECT_TRUE(calls("xdg-open").empty());
    }
  }
}

TEST_F(XdgShellTest, ShellMissingFileIsNotFound) {
  fake("xdg-mime", "echo text/plain");
  EXPECT_EQ(shell().openWithAssociation(dir_ + "/files/GONE.CLW"), kShellFileNotFound);
  EXPECT_EQ(shell().openWithAssociation(""), kShellFileNotFound);
  EXPECT_TRUE(calls("xdg-mime").empty());
}

// Names reach the programs untouched, never through a shell; a leading '-'
// must not be read as an option.
TEST_F(XdgShellTest, ShellAwkwardNamesArriveAsOneArgument) {
  fake("xdg-mime", "[ $2 = filetype ] && echo text/plain || echo ed.desktop");
  fake("xdg-open");
  fake("gedit");
  fs::current_path(dir_ + "/files");
  const std::pair<std::string, std::string> names[] = {
      {"two  spaces .clw", "two  spaces .clw"},
      {"it's \"quoted\" \\.clw", "it's \"quoted\" \\.clw"},
      {"$(touch pwned); touch pwned2 `touch pwned3` | tee pwned4.clw",
       "$(touch pwned); touch pwned2 `touch pwned3` | tee pwned4.clw"},
      {"--help", "./--help"},
  };
  for (const auto& [name, argument] : names) {
    SCOPED_TRACE(name);
    std::ofstream(name) << "x";
    fs::remove(dir_ + "/xdg-open.calls");
    fs::remove(dir_ + "/gedit.calls");
    EXPECT_EQ(shell().openWithAssociation(name), 33);
    EXPECT_EQ(firstCall("xdg-open"), Args{argument});
    EXPECT_EQ(calls("xdg-mime").back(), (Args{"query", "default", "text/plain"}));
    EXPECT_TRUE(shell().openInTextEditor(name));
    EXPECT_EQ(firstCall("gedit"), Args{argument});
  }
  for (const char* planted : {"pwned", "pwned2", "pwned3", "pwned4.clw"}) EXPECT_FALSE(fs::exists(planted));
}

struct EditorCase {
  const char* name;
  std::optional<std::string> setting;  // TARNLIST_EDITOR; "BIN/" is the fakes' folder
  std::vector<std::string> good, broken;
  const char* expected;  // the editor that must run; nullptr: none, answer false
};

const EditorCase kEditorCases[] = {
    {"SettingByName", "myedit", {"myedit", "gedit"}, {}, "myedit"},
    {"SettingByPath", "BIN/myedit", {"myedit"}, {}, "myedit"},
    {"SettingMissingHasNoFallback", "myedit", {"gedit"}, {}, nullptr},
    {"SettingCannotStart", "myedit", {"gedit"}, {"myedit"}, nullptr},
    {"FirstOfTheList", std::nullopt, {"geany", "kate", "gedit"}, {}, "gedit"},
    {"NextWhenOneCannotStart", std::nullopt, {"kate"}, {"gedit"}, "kate"},
    {"NoEditor", std::nullopt, {"vi"}, {}, nullptr},
};

TEST_F(XdgShellTest, ShellTextEditorChoice) {
  for (const auto& c : kEditorCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_ + "/bin");
    fs::create_directories(dir_ + "/bin");
    for (const auto& editor : c.good) {
      fs::remove(dir_ + "/" + editor + ".calls");
      fake(editor, "exec >/dev/null; sleep 3");
    }
    for (const auto& editor : c.broken) brokenProgram(editor);
    vars_.erase("TARNLIST_EDITOR");
    if (c.setting) {
      std::string setting = *c.setting;
      if (setting.rfind("BIN/", 0) == 0) setting = dir_ + "/bin/" + setting.substr(4);
      vars_["TARNLIST_EDITOR"] = setting;
    }
    if (c.setting && c.setting->rfind("BIN/", 0) == 0) vars_["PATH"] = "/nonexistent";

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(shell().openInTextEditor(file_), c.expected != nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "waited for the editor";
    if (c.expected) {
      EXPECT_EQ(firstCall(c.expected), Args{file_});
      for (const auto& editor : c.good) {
        if (editor == c.expected) continue;
        EXPECT_TRUE(calls(editor).empty()) << editor;
      }
    }
    vars_["PATH"] = dir_ + "/bin";
  }
}

struct UrlCase {
  const char* name;
  std::string url;
  bool xdgOpen, broken;
  bool answer;
};

const UrlCase kUrlCases[] = {
    {"Started", "file:///opt/my%20tools/quorlo.html#setup", true, false, true},
    {"NoXdgOpen", "file:///opt/quorlo.html#contents", false, false, false},
    {"XdgOpenCannotStart", "file:///opt/quorlo.html#contents", false, true, false},
    {"TakenForAnOption", "--help", true, false, false},
};

TEST_F(XdgShellTest, ShellUrlAnswers) {
  for (const auto& c : kUrlCases) {
    SCOPED_TRACE(c.name);
    fs::remove_all(dir_ + "/bin");
    fs::create_directories(dir_ + "/bin");
    fs::remove(dir_ + "/xdg-open.calls");
    if (c.xdgOpen) fake("xdg-open", "exec >/dev/null; sleep 3");
    if (c.broken) brokenProgram("xdg-open");

    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(shell().openUrl(c.url), c.answer);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 2s) << "waited for the browser";
    if (c.answer) {
      EXPECT_EQ(firstCall("xdg-open"), Args{c.url});
    } else if (c.xdgOpen) {
      EXPECT_TRUE(calls("xdg-open").empty());
    }
  }
}

struct OpenerCase {
  const char* name;
  const char* xdgOpen;  // body of the fake; nullptr: it cannot be started
  bool started;
  bool stays;  // still runs when the answer comes; it writes its pid to PIDFILE
};

const OpenerCase kOpenerCases[] = {
    {"ExitsWithZero", "exit 0", true, false},
    {"FindsNoProgram", "exit 4", false, false},
    {"FailsAfterAMoment", "sleep 0.2; exit 3", false, false},
    {"KilledBySignal", "kill -KILL $$", false, false},
    {"RunsTheBrowserInItsForeground", "exec >/dev/null; echo $$ > PIDFILE; exec sleep 30", true,
     true},
    {"CannotStart", nullptr, false, false},
};

// Help and the Edit button only show a message when they are told xdg-open failed.
TEST_F(XdgShellTest, ShellXdgOpenStatusIsTheAnswer) {
  const std::string url = "file:///opt/quorlo.html#contents";
  const std::string pidFile = dir_ + "/xdg-open.pid";
  for (bool byUrl : {true, false}) {
    for (const auto& c : kOpenerCases) {
      SCOPED_TRACE(std::string(byUrl ? "openUrl " : "openWithAssociation ") + c.name);
      fs::remove_all(dir_ + "/bin");
      fs::create_directories(dir_ + "/bin");
      fs::remove(dir_ + "/xdg-open.calls");
      fs::remove(pidFile);
      fake("xdg-mime", "[ $2 = filetype ] && echo text/plain || echo ed.desktop");
      if (!c.xdgOpen) {
        brokenProgram("xdg-open");
      } else {
        std::string body = c.xdgOpen;
        if (auto at = body.find("PIDFILE"); at != std::string::npos) body.replace(at, 7, pidFile);
        fake("xdg-open", body);
      }

      auto start = std::chrono::steady_clock::now();
      bool started = byUrl ? shell(1500ms).openUrl(url)
                           : shell(1500ms).openWithAssociation(file_) == XdgShell::kStarted;
      EXPECT_LT(std::chrono::steady_clock::now() - start, 10s) << "waited for the browser";
      EXPECT_EQ(started, c.started);
      EXPECT_EQ(::waitpid(-1, nullptr, WNOHANG), -1) << "a child was left behind";
      if (c.xdgOpen) {
        EXPECT_EQ(firstCall("xdg-open"), Args{byUrl ? url : file_});
      }
      if (c.stays) {
        pid_t pid = 0;
        for (auto until = std::chrono::steady_clock::now() + 5s;
             pid <= 0 && std::chrono::steady_clock::now() < until;
             std::this_thread::sleep_for(10ms))
          std::ifstream(pidFile) >> pid;
        ASSERT_GT(pid, 0);
        EXPECT_EQ(::kill(pid, 0), 0) << "xdg-open was stopped";
        ::kill(pid, SIGKILL);
      }
    }
  }
}

}  // namespace
}  // namespace tarn
