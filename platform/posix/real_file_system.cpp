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
  // Write beside the target and rename over it, so a failed write leaves the
  // old file whole.
  std::string temp = path + ".tmp-" + std::to_string(::getpid());
  {
    Fd f{::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644)};
    if (f.fd < 0) {
      setError(err, path, errno);
      return false;
    }
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
      ssize_t n = ::write(f.fd, p, left);
      if (n < 0) {
        if (errno == EINTR) continue;
        setError(err, path, errno);
        ::unlink(temp.c_str());
        return false;
      }
      p += n;
      left -= static_cast<std::size_t>(n);
    }
    bool synced = ::fsync(f.fd) == 0;
    bool closed = ::close(f.fd) == 0;
    f.fd = -1;
    if (!synced || !closed) {
      setError(err, path, errno);
      ::unlink(temp.c_str());
      return false;
    }
  }
  if (::rename(temp.c_str(), path.c_str()) != 0) {
    setError(err, path, errno);
    ::unlink(temp.c_str());
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
