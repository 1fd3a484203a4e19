#include "tools/brelvane/PendingFile.h"

#include "tools/brelvane/FileChecks.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <vector>

namespace brel::cmd {
namespace {

mode_t ModeForTarget(const std::string& target) {
  struct stat st {};
  if (::stat(target.c_str(), &st) == 0) return st.st_mode & 07777;
  mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

PendingFile::~PendingFile() { Discard(); }

bool PendingFile::Create(std::string& error) {
  Discard();
  // A link keeps being a link: the file it points to gets the new content.
  mPath = LinkTarget(mTarget);
  struct stat st {};
  if (::stat(mPath.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    error = "cannot write '" + mTarget + "': it is a directory";
    return false;
  }
  std::string pattern = DirectoryOf(mPath) + "/." + BaseNameOf(mPath) + ".brelvane-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  mFd = ::mkstemp(name.data());
  if (mFd < 0) {
    error = "cannot write '" + mTarget + "': " + std::strerror(errno);
    return false;
  }
  mTemp = name.data();
  return true;
}

bool PendingFile::WriteAll(const void* data, std::size_t size, std::string& error) {
  const char* p = static_cast<const char*>(data);
  while (size > 0) {
    ssize_t n = ::write(mFd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = "cannot write '" + mTarget + "': " + std::strerror(errno);
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool PendingFile::Commit(std::string& error) {
  if (mFd < 0) {
    error = "cannot write '" + mTarget + "': nothing was written";
    return false;
  }
  bool ok = ::fchmod(mFd, ModeForTarget(mPath)) == 0 && ::fsync(mFd) == 0;
  ok = (::close(mFd) == 0) && ok;
  mFd = -1;
  if (!ok || ::rename(mTemp.c_str(), mPath.c_str()) != 0) {
    error = "cannot write '" + mTarget + "': " + std::strerror(errno);
    Discard();
    return false;
  }
  mTemp.clear();
  return true;
}

void PendingFile::Discard() {
  if (mFd >= 0) ::close(mFd);
  mFd = -1;
  if (!mTemp.empty()) ::unlink(mTemp.c_str());
  mTemp.clear();
}

}  // namespace brel::cmd
