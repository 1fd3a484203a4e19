#include "tools/brelvane/PendingFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace brel::cmd {
namespace {

std::string directoryOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string baseNameOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

mode_t modeForTarget(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

PendingFile::~PendingFile() { discard(); }

bool PendingFile::create(std::string& error) {
  discard();
  struct stat st {};
  if (::stat(target_.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    error = "cannot write '" + target_ + "': it is a directory";
    return false;
  }
  std::string pattern = directoryOf(target_) + "/." + baseNameOf(target_) + ".brelvane-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  fd_ = ::mkstemp(name.data());
  if (fd_ < 0) {
    error = "cannot write '" + target_ + "': " + std::strerror(errno);
    return false;
  }
  temp_ = name.data();
  return true;
}

bool PendingFile::writeAll(const void* data, std::size_t size, std::string& error) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(fd_, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "cannot write '" + target_ + "': " + std::strerror(errno);
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool PendingFile::commit(std::string& error) {
  if (fd_ < 0) {
    error = "cannot write '" + target_ + "': nothing was written";
    return false;
  }
  bool ok = ::fchmod(fd_, modeForTarget(target_)) == 0 && ::fsync(fd_) == 0;
  ok = (::close(fd_) == 0) && ok;
  fd_ = -1;
  if (!ok || ::rename(temp_.c_str(), target_.c_str()) != 0) {
    error = "cannot write '" + target_ + "': " + std::strerror(errno);
    discard();
    return false;
  }
  temp_.clear();
  return true;
}

void PendingFile::discard() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

}  // namespace brel::cmd
