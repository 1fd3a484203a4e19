#include "tools/brelvane/FileChecks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace brel::cmd {
namespace {

// Links deeper than this are a loop; the system stops at the same depth.
constexpr int kMaxLinkDepth = 40;

std::string RealPath(const std::string& path) {
  char* resolved = ::realpath(path.c_str(), nullptr);
  if (!resolved) return std::string();
  std::string result(resolved);
  std::free(resolved);
  return result;
}

// The absolute, link-free name of `path`, also for a file that does not exist yet (its folder
// must); `path` as given when not even the folder resolves.
std::string ResolvedPath(const std::string& path) {
  std::string target = LinkTarget(path);
  std::string real = RealPath(target);
  if (!real.empty()) return real;
  std::string dir = RealPath(DirectoryOf(target));
  if (dir.empty()) return target;
  return (dir == "/" ? dir : dir + "/") + BaseNameOf(target);
}

}  // namespace

std::string DirectoryOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string LinkTarget(const std::string& path) {
  std::string current = path;
  for (int depth = 0; depth < kMaxLinkDepth; ++depth) {
    struct stat st {};
    if (::lstat(current.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return current;
    char buf[PATH_MAX];
    ssize_t n = ::readlink(current.c_str(), buf, sizeof buf - 1);
    if (n <= 0) return current;
    std::string next(buf, static_cast<std::size_t>(n));
    current = next[0] == '/' ? next : DirectoryOf(current) + "/" + next;
  }
  return current;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat sa {
  }, sb{};
  if (::stat(a.c_str(), &sa) == 0 && ::stat(b.c_str(), &sb) == 0)
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
  return ResolvedPath(a) == ResolvedPath(b);
}

bool ReadStateFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error) {
  const std::string what = "the state file '" + path + "'";
  // Non-blocking, so a pipe given by mistake is refused below instead of waiting for a writer.
  int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    error = "cannot read " + what + ": " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  bool ok = false;
  if (::fstat(fd, &st) != 0) {
    error = "cannot read " + what + ": " + std::strerror(errno);
  } else if (!S_ISREG(st.st_mode)) {
    error = "cannot read " + what + ": " +
            (S_ISDIR(st.st_mode) ? "it is a directory" : "it is not a regular file");
  } else if (static_cast<std::uint64_t>(st.st_size) > kMaxStateFileBytes) {
    error = what + " is " + std::to_string(st.st_size) + " bytes, too large to be a state (at most " +
            std::to_string(kMaxStateFileBytes) + ")";
  } else {
    // Read at most one byte past the limit, in case the file grew since it was measured.
    data.assign(kMaxStateFileBytes + 1, 0);
    std::size_t got = 0;
    ok = true;
    while (got < data.size()) {
      ssize_t n = ::read(fd, data.data() + got, data.size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) {
        error = "cannot read " + what + ": " + std::strerror(errno);
        ok = false;
        break;
      }
      if (n == 0) break;
      got += static_cast<std::size_t>(n);
    }
    data.resize(got);
    if (ok && got > kMaxStateFileBytes) {
      error = what + " is too large to be a state (at most " + std::to_string(kMaxStateFileBytes) + " bytes)";
      ok = false;
    } else if (ok && got == 0) {
      error = what + " is empty";
      ok = false;
    }
  }
  ::close(fd);
  return ok;
}

}  // namespace brel::cmd
