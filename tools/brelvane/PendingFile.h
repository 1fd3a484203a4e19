#pragma once
// A file written under a temporary name next to its target and put in place by one rename, so
// the target keeps its old content unless the whole write succeeded.
#include <string>

namespace brel::cmd {

class PendingFile {
public:
  explicit PendingFile(std::string target) : mTarget(std::move(target)) {}
  ~PendingFile();  // removes the temporary unless committed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary in the target's directory; false with an error when the target is
  // a directory or its directory cannot be written.
  bool Create(std::string& error);
  int Fd() const { return mFd; }
  const std::string& Target() const { return mTarget; }

  bool WriteAll(const void* data, std::size_t size, std::string& error);
  // Flushes the data, gives it the target's permissions (or the usual ones for a new file)
  // and renames it over the target.
  bool Commit(std::string& error);
  void Discard();

private:
  std::string mTarget;
  std::string mPath;  // the target with symbolic links followed: the file actually replaced
  std::string mTemp;
  int mFd = -1;
};

}  // namespace brel::cmd
