#pragma once
// A file written under a temporary name next to its target and put in place by one rename, so
// the target keeps its old content unless the whole write succeeded. A target that is a
// character device or a FIFO (/dev/null, a named pipe) has no content to keep, and a rename
// would replace the node with a plain file: it is written in place, as cp writes it.
#include <string>

namespace brel::cmd {

class PendingFile {
public:
  // How the writer goes through the file: audio files go back to complete their header.
  enum class Access { Sequential, Seeking };

  explicit PendingFile(std::string target) : mTarget(std::move(target)) {}
  ~PendingFile();  // removes the temporary unless committed
  PendingFile(const PendingFile&) = delete;
  PendingFile& operator=(const PendingFile&) = delete;

  // Creates the temporary in the target's directory, or opens a device or FIFO target; false
  // with an error when the target is a directory or another kind of node, a FIFO nobody reads
  // (or, for Access::Seeking, any target that cannot seek), or its directory cannot be written.
  bool Create(std::string& error, Access access = Access::Sequential);
  int Fd() const { return mFd; }
  const std::string& Target() const { return mTarget; }

  bool WriteAll(const void* data, std::size_t size, std::string& error);
  // Flushes the data, gives it the target's permissions (or the usual ones for a new file)
  // and renames it over the target; a target written in place is only closed.
  bool Commit(std::string& error);
  void Discard();

private:
  bool OpenInPlace(bool isFifo, Access access, std::string& error);
  bool Fail(const std::string& why, std::string& error);

  std::string mTarget;
  std::string mPath;  // the target with symbolic links followed: the file actually replaced
  std::string mTemp;  // empty when writing in place
  int mFd = -1;
};

}  // namespace brel::cmd
