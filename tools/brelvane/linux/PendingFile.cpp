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

// Why a target that is neither a regular file, a character device nor a FIFO is not written;
// null for those three.
const char* KindRefused(mode_t mode) {
  if (S_ISDIR(mode)) return "it is a directory";
  if (S_ISBLK(mode)) return "it is a block device (only files, character devices and FIFOs are written)";
  if (S_ISSOCK(mode)) return "it is a socket (only files, character devices and FIFOs are written)";
  return nullptr;
}

}  // namespace

PendingFile::~PendingFile() { Discard(); }

bool PendingFile::Fail(const std::string& why, std::string& error) {
  error = "cannot write '" + mTarget + "': " + why;
  Discard();
  return false;
}

bool PendingFile::Create(std::string& error, Access access) {
  Discard();
  // A link keeps being a link: the file it points to gets the new content.
  mPath = LinkTarget(mTarget);
  struct stat st {};
  if (::stat(mPath.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
    if (const char* refused = KindRefused(st.st_mode)) return Fail(refused, error);
    return OpenInPlace(S_ISFIFO(st.st_mode), access, error);
  }
  std::string pattern = DirectoryOf(mPath) + "/." + BaseNameOf(mPath) + ".brelvane-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  mFd = ::mkstemp(name.data());
  if (mFd < 0) return Fail(std::strerror(errno), error);
  mTemp = name.data();
  return true;
}

// Without O_CREAT or O_TRUNC, and non-blocking: a FIFO that nobody reads is refused at once
// instead of holding the command forever.
bool PendingFile::OpenInPlace(bool isFifo, Access access, std::string& error) {
  mFd = ::open(mPath.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  if (mFd < 0)
    return Fail(errno == ENXIO && isFifo ? "it is a FIFO with no reader" : std::strerror(errno), error);
  struct stat st {};
  // The node may have been replaced since it was looked at; a regular file is never written in place.
  if (::fstat(mFd, &st) != 0 || !(S_ISCHR(st.st_mode) || S_ISFIFO(st.st_mode)))
    return Fail("it changed while it was being opened", error);
  const int flags = ::fcntl(mFd, F_GETFL);
  if (flags < 0 || ::fcntl(mFd, F_SETFL, flags & ~O_NONBLOCK) != 0) return Fail(std::strerror(errno), error);
  if (access == Access::Seeking && ::lseek(mFd, 0, SEEK_CUR) < 0)
    return Fail(std::string("it is a ") + (isFifo ? "FIFO" : "device") +
                    ", and an audio file needs an output it can seek in to complete its header",
                error);
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
  if (mTemp.empty()) {
    // A device keeps its own permissions, and most cannot be synced; closing reports what is left.
    const bool closed = ::close(mFd) == 0;
    mFd = -1;
    return closed || Fail(std::strerror(errno), error);
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
