// On Linux a module is an ELF shared object: the dynamic loader maps its PT_LOAD segments
// from the file, so each must lie inside it.
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <vector>

#include "hosts/module/ModuleFile.h"

namespace brel {
namespace {

using FileHeader = ElfW(Ehdr);
using ProgramHeader = ElfW(Phdr);

// The machine this program was built for: the only one whose modules it can load.
#if defined(__x86_64__)
constexpr int kMachine = EM_X86_64;
#elif defined(__aarch64__)
constexpr int kMachine = EM_AARCH64;
#elif defined(__i386__)
constexpr int kMachine = EM_386;
#elif defined(__arm__)
constexpr int kMachine = EM_ARM;
#else
#error "unknown machine: name its ELF machine number here"
#endif
constexpr int kClass = sizeof(void*) == 8 ? ELFCLASS64 : ELFCLASS32;
constexpr int kByteOrder = __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__ ? ELFDATA2LSB : ELFDATA2MSB;

std::string Describe(int machine, int elfClass, int byteOrder) {
  return "machine " + std::to_string(machine) + (elfClass == ELFCLASS64 ? ", 64-bit" : ", 32-bit") +
         (byteOrder == ELFDATA2LSB ? ", little-endian" : ", big-endian");
}

bool ReadAt(int fd, std::uint64_t offset, void* data, std::size_t size) {
  auto* p = static_cast<char*>(data);
  while (size > 0) {
    const ssize_t n = ::pread(fd, p, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += static_cast<std::uint64_t>(n);
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

// `partsEnd` reads "segments end" or "ELF header ends".
std::string CutShort(const char* partsEnd, std::uint64_t end, std::uint64_t size) {
  return std::string("is cut short: its ") + partsEnd + " at " + std::to_string(end) +
         " bytes but the file holds " + std::to_string(size);
}

// offset + length, or a value past any file when the sum does not fit.
std::uint64_t EndOf(std::uint64_t offset, std::uint64_t length) {
  return offset > UINT64_MAX - length ? UINT64_MAX : offset + length;
}

bool CheckFileHeader(int fd, std::uint64_t size, FileHeader& header, std::string& why) {
  std::memset(&header, 0, sizeof header);
  if (size < SELFMAG || !ReadAt(fd, 0, header.e_ident, SELFMAG) ||
      std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0) {
    why = "is not a shared library: it has no ELF header";
    return false;
  }
  if (size < sizeof header) {
    why = CutShort("ELF header ends", sizeof header, size);
    return false;
  }
  if (!ReadAt(fd, 0, &header, sizeof header)) {
    why = std::string("cannot be read: ") + std::strerror(errno);
    return false;
  }
  const int elfClass = header.e_ident[EI_CLASS], byteOrder = header.e_ident[EI_DATA];
  if (header.e_machine != kMachine || elfClass != kClass || byteOrder != kByteOrder) {
    why = "is built for another machine (" + Describe(header.e_machine, elfClass, byteOrder) +
          "; this program needs " + Describe(kMachine, kClass, kByteOrder) + ")";
    return false;
  }
  if (header.e_type != ET_DYN) {
    why = "is not a shared library (ELF type " + std::to_string(header.e_type) + ")";
    return false;
  }
  if (header.e_phnum == 0 || header.e_phentsize != sizeof(ProgramHeader)) {
    why = "is damaged: its program headers are missing or of the wrong size";
    return false;
  }
  return true;
}

bool CheckSegments(int fd, std::uint64_t size, const FileHeader& header, std::string& why) {
  const std::uint64_t tableEnd = EndOf(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(ProgramHeader));
  if (tableEnd > size) {
    why = CutShort("program headers end", tableEnd, size);
    return false;
  }
  std::vector<ProgramHeader> segments(header.e_phnum);
  if (!ReadAt(fd, header.e_phoff, segments.data(), segments.size() * sizeof(ProgramHeader))) {
    why = std::string("cannot be read: ") + std::strerror(errno);
    return false;
  }
  std::uint64_t end = 0;
  for (const ProgramHeader& segment : segments)
    if (segment.p_type == PT_LOAD && EndOf(segment.p_offset, segment.p_filesz) > end)
      end = EndOf(segment.p_offset, segment.p_filesz);
  if (end > size) {
    why = CutShort("segments end", end, size);
    return false;
  }
  return true;
}

}  // namespace

bool CheckModuleFile(const std::string& path, std::string& why) {
  // Non-blocking, so a FIFO given by mistake is refused below instead of waiting for a writer.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) {
    why = std::string("cannot be read: ") + std::strerror(errno);
    return false;
  }
  struct stat st {};
  FileHeader header;
  bool ok = false;
  if (::fstat(fd, &st) != 0)
    why = std::string("cannot be read: ") + std::strerror(errno);
  else if (!S_ISREG(st.st_mode))
    why = S_ISDIR(st.st_mode) ? "is a directory" : "is not a regular file";
  else
    ok = CheckFileHeader(fd, static_cast<std::uint64_t>(st.st_size), header, why) &&
         CheckSegments(fd, static_cast<std::uint64_t>(st.st_size), header, why);
  ::close(fd);
  return ok;
}

}  // namespace brel
