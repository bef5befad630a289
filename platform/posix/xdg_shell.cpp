#include "platform/posix/xdg_shell.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <limits>
#include <string_view>
#include <thread>

extern char** environ;

namespace tarn {
namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kMaxHelperOutput = 64 * 1024;

/// The longest xdg-open is watched for an answer. Some desktops run the
/// browser in its foreground, so this wait then holds up the window.
constexpr std::chrono::milliseconds kOpenerWatch = std::chrono::seconds(2);

/// argv for execve, built before fork: the child may only make
/// async-signal-safe calls, so nothing is allocated there.
class Argv {
 public:
  Argv(const std::string& program, const std::vector<std::string>& args) : strings_{program} {
    strings_.insert(strings_.end(), args.begin(), args.end());
    for (auto& s : strings_) pointers_.push_back(s.data());
    pointers_.push_back(nullptr);
  }
  char* const* get() { return pointers_.data(); }

 private:
  std::vector<std::string> strings_;
  std::vector<char*> pointers_;
};

/// A relative path starting with '-' would be taken for an option.
std::string asArgument(const std::string& path) {
  return !path.empty() && path.front() == '-' ? "./" + path : path;
}

bool isExecutableFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
}

/// Runs in the forked child. Signals blocked or ignored by the host (GUI
/// toolkits do both) would otherwise leak into the program. On failure,
/// errno goes to `errorFd` when there is one.
[[noreturn]] void execChild(char* const* argv, int stdinFd, int errorFd) {
  sigset_t none;
  ::sigemptyset(&none);
  ::sigprocmask(SIG_SETMASK, &none, nullptr);
  ::signal(SIGPIPE, SIG_DFL);
  if (stdinFd >= 0) ::dup2(stdinFd, STDIN_FILENO);
  ::execve(argv[0], argv, environ);
  int err = errno;
  if (errorFd >= 0) {
    [[maybe_unused]] auto n = ::write(errorFd, &err, sizeof err);
  }
  ::_exit(127);
}

void reap(pid_t pid, int* status = nullptr) {
  while (::waitpid(pid, status, 0) < 0 && errno == EINTR) {
  }
}

int millisecondsUntil(Clock::time_point deadline) {
  auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

/// Standard output of a helper that exits with 0 within `timeout`; nothing
/// when it cannot start, fails or hangs (it is then killed, with whatever it
/// started, so it cannot hang the program).
std::optional<std::string> capture(const std::string& program,
                                   const std::vector<std::string>& args,
                                   std::chrono::milliseconds timeout) {
  Argv argv(program, args);
  int out[2];
  if (::pipe2(out, O_CLOEXEC) != 0) return std::nullopt;
  int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setpgid(0, 0);
    ::dup2(out[1], STDOUT_FILENO);
    execChild(argv.get(), devNull, -1);
  }
  ::close(out[1]);
  if (devNull >= 0) ::close(devNull);
  if (pid < 0) {
    ::close(out[0]);
    return std::nullopt;
  }
  ::setpgid(pid, pid);  // both sides, so the group exists whoever runs first

  auto deadline = Clock::now() + timeout;
  std::string text;
  bool eof = false;
  while (!eof) {
    pollfd p{out[0], POLLIN, 0};
    int ready = ::poll(&p, 1, millisecondsUntil(deadline));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[4096];
    ssize_t n = ::read(out[0], buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) eof = true;
    else if (text.size() < kMaxHelperOutput) text.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(out[0]);

  int status = 0;
  bool exited = false;
  while (eof) {
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) exited = true;
    if (done == pid || (done < 0 && errno != EINTR) || Clock::now() >= deadline) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (!exited) {
    ::kill(-pid, SIGKILL);
    reap(pid);
    return std::nullopt;
  }
  if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
  return text;
}

/// In the intermediate child of startDetached: whether `pid` still runs after
/// `ms`, or exited with 0 before. Polled, as a forked child of a threaded
/// program may only make async-signal-safe calls.
bool runsOrSucceeds(pid_t pid, int ms) {
  timespec start{};
  ::clock_gettime(CLOCK_MONOTONIC, &start);
  for (;;) {
    int status = 0;
    pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    // Nothing more to learn; an exec failure comes by the pipe.
    if (done < 0 && errno != EINTR) return true;
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    long long elapsed =
        (now.tv_sec - start.tv_sec) * 1000LL + (now.tv_nsec - start.tv_nsec) / 1000000;
    if (elapsed >= ms) return true;
    ::poll(nullptr, 0, static_cast<int>(std::min<long long>(10, ms - elapsed)));
  }
}

/// Starts a program without waiting for it; false when it could not be
/// started. It runs as a grandchild in its own session; the intermediate child
/// is reaped, so neither is left a zombie. An exec failure comes back through
/// a close-on-exec pipe, which otherwise just closes.
///
/// With `watch`, the intermediate child waits that long for the program: an
/// exit other than with 0 is a failure, reported through the same pipe; one
/// still running is taken as started and left to init.
bool startDetached(const std::string& program, const std::vector<std::string>& args,
                   std::optional<std::chrono::milliseconds> watch = std::nullopt) {
  Argv argv(program, args);
  int watchMs = watch ? static_cast<int>(std::clamp<std::chrono::milliseconds::rep>(
                            watch->count(), 0, std::numeric_limits<int>::max()))
                      : -1;
  int report[2];
  if (::pipe2(report, O_CLOEXEC) != 0) return false;
  int devNull = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
  pid_t pid = ::fork();
  if (pid == 0) {
    ::setsid();
    // No handler of the host may run here, and an ignored SIGCHLD would reap
    // the program before its status is read. execChild unblocks again.
    sigset_t all;
    ::sigfillset(&all);
    ::sigprocmask(SIG_SETMASK, &all, nullptr);
    ::signal(SIGCHLD, SIG_DFL);
    pid_t grandchild = ::fork();
    if (grandchild == 0) execChild(argv.get(), devNull, report[1]);
    int err = grandchild < 0 ? errno : 0;
    if (grandchild > 0 && watchMs >= 0 && !runsOrSucceeds(grandchild, watchMs))
      err = -1;  // not an errno: the program answered failure
    if (err != 0) {
      [[maybe_unused]] auto n = ::write(report[1], &err, sizeof err);
    }
    ::_exit(0);
  }
  ::close(report[1]);
  if (devNull >= 0) ::close(devNull);
  if (pid < 0) {
    ::close(report[0]);
    return false;
  }
  reap(pid);
  // Both the program and the intermediate child may report; any word is a failure.
  std::size_t received = 0;
  ssize_t n;
  do {
    int err = 0;
    n = ::read(report[0], &err, sizeof err);
    if (n > 0) received += static_cast<std::size_t>(n);
  } while (n > 0 || (n < 0 && errno == EINTR));
  ::close(report[0]);
  return n == 0 && received == 0;
}

std::string_view trim(std::string_view s) {
  constexpr std::string_view blanks = " \t\r\n";
  auto first = s.find_first_not_of(blanks);
  if (first == std::string_view::npos) return {};
  return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

std::string_view firstLine(std::string_view s) { return trim(s.substr(0, s.find('\n'))); }

/// "type/subtype" from an answer that may carry parameters ("; charset=...");
/// empty when the answer is not a MIME type.
std::string mimeType(std::string_view answer) {
  std::string_view line = firstLine(answer);
  std::string_view type = trim(line.substr(0, line.find(';')));
  if (type.empty() || type.front() == '-' || type.find('/') == std::string_view::npos ||
      type.find_first_of(" \t") != std::string_view::npos)
    return {};
  return std::string(type);
}

}  // namespace

const std::vector<std::string> XdgShell::kTextEditors = {
    "gnome-text-editor", "gedit",  "kwrite",     "kate",     "mousepad", "xed",
    "pluma",             "featherpad", "leafpad", "l3afpad", "geany",
};

XdgShell::XdgShell(Environment env, std::chrono::milliseconds helperTimeout)
    : env_(std::move(env)), helperTimeout_(helperTimeout) {}

std::chrono::milliseconds XdgShell::openerWatch() const {
  return std::min(helperTimeout_, kOpenerWatch);
}

std::optional<std::string> XdgShell::findProgram(const std::string& program) const {
  if (program.empty()) return std::nullopt;
  if (program.find('/') != std::string::npos)
    return isExecutableFile(program) ? std::optional(program) : std::nullopt;
  std::string path = env_("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
  std::string_view rest = path;
  while (!rest.empty()) {
    auto colon = rest.find(':');
    std::string_view dir = rest.substr(0, colon);
    rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
    // An empty entry would mean the current folder: programs are not taken
    // from wherever the user happens to be.
    if (dir.empty()) continue;
    std::string candidate = std::string(dir) + "/" + program;
    if (isExecutableFile(candidate)) return candidate;
  }
  return std::nullopt;
}

int XdgShell::openWithAssociation(const std::string& path) {
  struct stat st {};
  if (path.empty() || ::stat(path.c_str(), &st) != 0)
    return path.empty() || errno == ENOENT || errno == ENOTDIR ? kShellFileNotFound
                                                                : kCannotStart;
  auto xdgMime = findProgram("xdg-mime");
  if (!xdgMime) return kShellNoAssociation;
  std::string argument = asArgument(path);
  auto answer = capture(*xdgMime, {"query", "filetype", argument}, helperTimeout_);
  std::string type = answer ? mimeType(*answer) : std::string();
  if (type.empty()) return kShellNoAssociation;
  auto application = capture(*xdgMime, {"query", "default", type}, helperTimeout_);
  if (!application || firstLine(*application).empty()) return kShellNoAssociation;
  auto xdgOpen = findProgram("xdg-open");
  return xdgOpen && startDetached(*xdgOpen, {argument}, openerWatch()) ? kStarted : kCannotStart;
}

bool XdgShell::openInTextEditor(const std::string& path) {
  if (path.empty()) return false;
  std::string argument = asArgument(path);
  if (auto chosen = env_("TARNLIST_EDITOR")) {
    auto program = findProgram(*chosen);
    return program && startDetached(*program, {argument});
  }
  for (const auto& name : kTextEditors)
    if (auto program = findProgram(name); program && startDetached(*program, {argument}))
      return true;
  return false;
}

bool XdgShell::openUrl(const std::string& url) {
  if (url.empty() || url.front() == '-') return false;
  auto xdgOpen = findProgram("xdg-open");
  return xdgOpen && startDetached(*xdgOpen, {url}, openerWatch());
}

}  // namespace tarn
