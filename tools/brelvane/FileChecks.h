#pragma once
// What the command must know about the files it is given before it touches any of them: which
// names are one and the same file, where a symbolic link really points, and whether a state file
// is a plain file small enough to be a state at all.
#include <cstdint>
#include <string>
#include <vector>

namespace brel::cmd {

// A state is a few hundred bytes; anything beyond this is not one.
constexpr std::size_t kMaxStateFileBytes = 1 << 20;

// The file a write to `path` ends up in: symbolic links in its last component followed (even
// when the final target does not exist yet); `path` itself when it is not a link.
std::string LinkTarget(const std::string& path);

// True when the two names reach the same file: the same device and inode for files that exist,
// the same resolved path (links followed, "." and ".." removed) for those that do not.
bool SameFile(const std::string& a, const std::string& b);

// Reads a state file: only a regular file of at most kMaxStateFileBytes. False with a one-line
// error otherwise (never blocks on a pipe, never reads a device).
bool ReadStateFile(const std::string& path, std::vector<std::uint8_t>& data, std::string& error);

// The folder part and the last component of a path ("." for a bare name).
std::string DirectoryOf(const std::string& path);
std::string BaseNameOf(const std::string& path);

}  // namespace brel::cmd
