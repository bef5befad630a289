#include "platform/posix/real_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <memory>

namespace tarn {
namespace {

constexpr std::size_t kChunk = 64 * 1024;

void setError(std::string* err, const std::string& path, int code) {
  if (err) *err = path + ": " + std::strerror(code);
}

FileStat fromStat(const struct stat& st) {
  FileStat out;
  out.exists = true;
  out.isDirectory = S_ISDIR(st.st_mode);
  out.isRegular = S_ISREG(st.st_mode);
  out.mtime = static_cast<std::int64_t>(st.st_mtime);
  out.size = static_cast<std::uint64_t>(st.st_size);
  return out;
}

struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

/// Returned by replaceFile when no file could be put beside the target.
constexpr int kCannotReplace = -1;

/// The file a chain of symbolic links ends at (which may not exist yet), so
/// that writing keeps the links.
std::string linkTarget(const std::string& path) {
  namespace fs = std::filesystem;
  fs::path p = path;
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    fs::path next = fs::read_symlink(p, ec);
    if (ec) break;
    p = next.is_absolute() ? next : p.parent_path() / next;
  }
  return p.string();
}

int writeAll(int fd, std::string_view contents) {
  const char* p = contents.data();
  std::size_t left = contents.size();
  while (left > 0) {
    ssize_t n = ::write(fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  return 0;
}

/// Writes a temporary file beside `target` and renames it over it: the old
/// file stays whole until the new one is complete. 0, an errno value, or
/// kCannotReplace (errno set) when the temporary file or the rename failed
/// before anything of the target changed.
int replaceFile(const std::string& target, std::string_view contents, const struct stat* old) {
  std::string temp = target + ".tmp-" + std::to_string(::getpid());
  const int flags = O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC;
  Fd f{::open(temp.c_str(), flags, 0644)};
  // One left behind by an earlier run of the same process number.
  if (f.fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0)
    f.fd = ::open(temp.c_str(), flags, 0644);
  if (f.fd < 0) return kCannotReplace;
  int code = writeAll(f.fd, contents);
  // The replacement keeps the old file's mode and, where we may give it, its
  // owner; otherwise it becomes ours, as an editor's save would make it.
  if (code == 0 && old && ::fchmod(f.fd, old->st_mode & 07777) != 0) code = errno;
  if (code == 0 && old && (old->st_uid != ::geteuid() || old->st_gid != ::getegid()))
    static_cast<void>(::fchown(f.fd, old->st_uid, old->st_gid) == 0);
  if (code == 0 && ::fsync(f.fd) != 0) code = errno;
  if (::close(f.fd) != 0 && code == 0) code = errno;
  f.fd = -1;
  if (code == 0 && ::rename(temp.c_str(), target.c_str()) != 0) {
    int renameError = errno;
    ::unlink(temp.c_str());
    errno = renameError;
    return kCannotReplace;
  }
  if (code != 0) ::unlink(temp.c_str());
  return code;
}

/// Writes over the file itself. The old bytes are overwritten, never cut
/// first, and the room is reserved beforehand, so that a full disk fails
/// before anything changed; an error in the middle of the write or a crash
/// can still leave a mixture.
int overwriteFile(const std::string& target, std::string_view contents) {
  Fd f{::open(target.c_str(), O_WRONLY | O_CLOEXEC)};
  if (f.fd < 0) return errno;
  const auto size = static_cast<off_t>(contents.size());
  if (size > 0) {
    int code = ::posix_fallocate(f.fd, 0, size);
    // File systems without reservation say so; the write then finds out.
    if (code != 0 && code != EOPNOTSUPP && code != EINVAL) return code;
  }
  if (int code = writeAll(f.fd, contents)) return code;
  if (::ftruncate(f.fd, size) != 0 || ::fsync(f.fd) != 0) return errno;
  int fd = f.fd;
  f.fd = -1;
  return ::close(fd) == 0 ? 0 : errno;
}

/// Whether the regular file already holds exactly `contents`: the settings are
/// saved at every exit, mostly unchanged, and a rewrite costs an fsync.
bool holdsAlready(const std::string& target, std::string_view contents, const struct stat& st) {
  if (static_cast<std::size_t>(st.st_size) != contents.size()) return false;
  Fd f{::open(target.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) return false;
  std::string bytes(contents.size() + 1, '\0');
  std::size_t got = 0;
  while (got < bytes.size()) {
    ssize_t n = ::read(f.fd, bytes.data() + got, bytes.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  return got == contents.size() && std::string_view(bytes.data(), got) == contents;
}

}  // namespace

ReadStatus RealFileSystem::readFile(const std::string& path, const ByteSink& sink,
                                    FileStat* opened, std::string* err) {
  // Non-blocking open, so that a FIFO cannot hang us before it is refused.
  Fd f{::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)};
  if (f.fd < 0) {
    int code = errno;
    setError(err, path, code);
    return code == ENOENT || code == ENOTDIR ? ReadStatus::NotFound : ReadStatus::OtherError;
  }
  struct stat st;
  if (::fstat(f.fd, &st) != 0) {
    setError(err, path, errno);
    return ReadStatus::OtherError;
  }
  // Folders, devices and pipes are no source files.
  if (!S_ISREG(st.st_mode)) {
    setError(err, path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return ReadStatus::OtherError;
  }
  if (opened) *opened = fromStat(st);
  auto buffer = std::make_unique<char[]>(kChunk);
  for (;;) {
    ssize_t n = ::read(f.fd, buffer.get(), kChunk);
    if (n < 0) {
      if (errno == EINTR) continue;
      setError(err, path, errno);
      return ReadStatus::OtherError;
    }
    if (n == 0) break;
    if (!sink(std::string_view(buffer.get(), static_cast<std::size_t>(n)))) break;
  }
  return ReadStatus::Okay;
}

FileStat RealFileSystem::stat(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return FileStat{};
  return fromStat(st);
}

bool RealFileSystem::writeFile(const std::string& path, std::string_view contents,
                               std::string* err) {
  const std::string target = linkTarget(path);
  struct stat st;
  const bool existed = ::stat(target.c_str(), &st) == 0;
  if (existed && !S_ISREG(st.st_mode)) {
    setError(err, path, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
    return false;
  }
  // A file that grants writing to nobody is read-only even for root, whom
  // access() lets write anything; for everyone else access() decides.
  if (existed && ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 ||
                  ::access(target.c_str(), W_OK) != 0)) {
    setError(err, path, EACCES);
    return false;
  }
  if (existed && holdsAlready(target, contents, st)) return true;
  int code = replaceFile(target, contents, existed ? &st : nullptr);
  // A file in a folder the user cannot write can still be written itself.
  if (code == kCannotReplace && existed) code = overwriteFile(target, contents);
  if (code != 0) {
    setError(err, path, code == kCannotReplace ? errno : code);
    return false;
  }
  return true;
}

std::vector<std::string> RealFileSystem::listDirectory(const std::string& dir) {
  std::vector<std::string> names;
  DIR* d = ::opendir(dir.empty() ? "." : dir.c_str());
  if (!d) return names;
  while (struct dirent* e = ::readdir(d)) {
    if (std::strcmp(e->d_name, ".") == 0 || std::strcmp(e->d_name, "..") == 0) continue;
    names.emplace_back(e->d_name);
  }
  ::closedir(d);
  return names;
}

bool RealFileSystem::isReadable(const std::string& path) {
  return ::access(path.c_str(), R_OK) == 0;
}

bool RealFileSystem::isWritableDirectory(const std::string& dir) {
  struct stat st;
  return ::stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
         ::access(dir.c_str(), W_OK | X_OK) == 0;
}

bool RealFileSystem::createDirectories(const std::string& dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return std::filesystem::is_directory(dir, ec);
}

}  // namespace tarn
