#include "platform/posix/posix_file_attributes.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <filesystem>
#include <string_view>

namespace tarn {
namespace {

/// What the file looked like when its archive bit was cleared.
struct Record {
  std::int64_t seconds = 0;
  std::int64_t nanoseconds = 0;
  std::uint64_t size = 0;
  friend bool operator==(const Record&, const Record&) = default;
};

Record recordOf(const struct stat& st) {
  return {static_cast<std::int64_t>(st.st_mtim.tv_sec),
          static_cast<std::int64_t>(st.st_mtim.tv_nsec), static_cast<std::uint64_t>(st.st_size)};
}

// "1 SECONDS NANOSECONDS SIZE"; the leading 1 is the format's version.
std::string encode(const Record& r) {
  return "1 " + std::to_string(r.seconds) + " " + std::to_string(r.nanoseconds) + " " +
         std::to_string(r.size);
}

std::optional<Record> decode(std::string_view text) {
  const char* p = text.data();
  const char* end = p + text.size();
  auto field = [&](auto& value) {
    if (p == end || *p != ' ') return false;
    auto [next, ec] = std::from_chars(p + 1, end, value);
    p = next;
    return ec == std::errc();
  };
  Record r;
  if (text.substr(0, 1) != "1") return std::nullopt;
  ++p;
  if (!field(r.seconds) || !field(r.nanoseconds) || !field(r.size) || p != end)
    return std::nullopt;
  return r;
}

std::optional<Record> readAttribute(const std::string& path) {
  char buffer[128];
  ssize_t n = ::getxattr(path.c_str(), PosixFileAttributes::kAttributeName, buffer, sizeof buffer);
  if (n < 0) return std::nullopt;
  return decode(std::string_view(buffer, static_cast<std::size_t>(n)));
}

/// A record in the state folder: one small file per path, named by a hash of
/// the path and holding the path itself, so that a hash collision reads as
/// "no record" (archive set) rather than as someone else's record.
struct StateEntry {
  std::string file;
  std::string key;  ///< the canonical path
};

std::uint64_t fnv1a(std::string_view s) {
  std::uint64_t h = 14695981039346656037ull;
  for (unsigned char c : s) {
    h ^= c;
    h *= 1099511628211ull;
  }
  return h;
}

/// Empty when the user has no state folder: records then go nowhere.
std::string archiveFolder(const Environment& env) {
  auto folder = userStateFolder(env);
  return folder ? *folder + "/archive" : std::string();
}

std::optional<StateEntry> stateEntry(const std::string& folder, const std::string& path) {
  if (folder.empty()) return std::nullopt;  // the user has no state folder
  std::error_code ec;
  std::filesystem::path real = std::filesystem::canonical(path, ec);
  if (ec) return std::nullopt;
  char name[24];
  std::snprintf(name, sizeof name, "%016llx", static_cast<unsigned long long>(fnv1a(real.native())));
  return StateEntry{folder + "/" + name, real.native()};
}

struct Fd {
  int fd;
  ~Fd() {
    if (fd >= 0) ::close(fd);
  }
};

std::optional<Record> readState(const StateEntry& e) {
  Fd f{::open(e.file.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW)};
  if (f.fd < 0) return std::nullopt;
  std::string text;
  char buffer[4096];
  for (;;) {
    ssize_t n = ::read(f.fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return std::nullopt;
    if (n == 0) break;
    text.append(buffer, static_cast<std::size_t>(n));
    if (text.size() > e.key.size() + 128) return std::nullopt;  // not ours
  }
  std::size_t lf = text.find('\n');
  if (lf == std::string::npos || std::string_view(text).substr(lf + 1) != e.key)
    return std::nullopt;
  return decode(std::string_view(text).substr(0, lf));
}

bool writeAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// Written beside and renamed, so a reader never sees half a record. No fsync:
// a record lost in a crash only makes the file read as modified again.
bool writeState(const std::string& folder, const StateEntry& e, const Record& r) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  static std::atomic<unsigned> counter{0};
  std::string temp =
      e.file + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
  std::string contents = encode(r) + "\n" + e.key;
  {
    Fd f{::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600)};
    if (f.fd < 0) return false;
    bool written = writeAll(f.fd, contents);
    bool closed = ::close(f.fd) == 0;
    f.fd = -1;
    if (!written || !closed) {
      ::unlink(temp.c_str());
      return false;
    }
  }
  if (::rename(temp.c_str(), e.file.c_str()) != 0) {
    ::unlink(temp.c_str());
    return false;
  }
  return true;
}

bool isHiddenName(const std::string& path) {
  std::string_view p = path;
  while (p.size() > 1 && p.back() == '/') p.remove_suffix(1);
  std::size_t slash = p.rfind('/');
  std::string_view name = slash == std::string_view::npos ? p : p.substr(slash + 1);
  return name.size() > 1 && name.front() == '.' && name != "..";
}

}  // namespace

PosixFileAttributes::PosixFileAttributes(const Environment& env, ArchiveStore store)
    : stateFolder_(archiveFolder(env)), store_(store) {}

std::optional<std::uint32_t> PosixFileAttributes::get(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  std::uint32_t attributes = 0;
  if (S_ISDIR(st.st_mode)) attributes |= kAttrDirectory;
  // The owner bits as well, since access() lets root write anything.
  if (!(st.st_mode & S_IWUSR) || ::access(path.c_str(), W_OK) != 0) attributes |= kAttrReadOnly;
  if (isHiddenName(path)) attributes |= kAttrHidden;

  // Either store may hold the latest record: a file that refused the
  // attribute once (read-only) may take it later, and the other way round.
  Record now = recordOf(st);
  bool cleared = store_ == ArchiveStore::Automatic && readAttribute(path) == now;
  if (!cleared) {
    auto entry = stateEntry(stateFolder_, path);
    cleared = entry && readState(*entry) == now;
  }
  if (!cleared) attributes |= kAttrArchive;
  return attributes;
}

bool PosixFileAttributes::set(const std::string& path, std::uint32_t attributes) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return false;

  if (attributes & kAttrArchive) {
    bool ok = true;
    if (store_ == ArchiveStore::Automatic &&
        ::removexattr(path.c_str(), kAttributeName) != 0 && errno != ENODATA &&
        errno != ENOTSUP && readAttribute(path))
      ok = false;  // a record left behind would keep the bit cleared
    if (auto entry = stateEntry(stateFolder_, path))
      if (::unlink(entry->file.c_str()) != 0 && errno != ENOENT) ok = false;
    return ok;
  }

  Record record = recordOf(st);
  if (store_ == ArchiveStore::Automatic) {
    std::string value = encode(record);
    if (::setxattr(path.c_str(), kAttributeName, value.data(), value.size(), 0) == 0) return true;
    if (errno == ENOENT || errno == ENOTDIR) return false;
  }
  // No user attributes here (file system, permissions or file type).
  auto entry = stateEntry(stateFolder_, path);
  return entry && writeState(stateFolder_, *entry, record);
}

}  // namespace tarn
