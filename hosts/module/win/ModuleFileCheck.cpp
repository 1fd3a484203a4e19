// On Windows a module is a PE DLL: the loader maps its sections' raw data from the file, so
// each must lie inside it.
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "hosts/module/ModuleFile.h"

namespace brel {
namespace {

// The machine this program was built for: the only one whose modules it can load.
#if defined(__x86_64__) || defined(_M_X64)
constexpr WORD kMachine = IMAGE_FILE_MACHINE_AMD64;
#elif defined(__aarch64__) || defined(_M_ARM64)
constexpr WORD kMachine = IMAGE_FILE_MACHINE_ARM64;
#elif defined(__i386__) || defined(_M_IX86)
constexpr WORD kMachine = IMAGE_FILE_MACHINE_I386;
#else
#error "unknown machine: name its PE machine number here"
#endif

bool ReadAt(std::ifstream& in, std::uint64_t offset, void* data, std::size_t size) {
  in.clear();
  in.seekg(static_cast<std::streamoff>(offset));
  in.read(static_cast<char*>(data), static_cast<std::streamsize>(size));
  return static_cast<std::size_t>(in.gcount()) == size;
}

// `partsEnd` reads "sections end" or "PE header ends".
std::string CutShort(const char* partsEnd, std::uint64_t end, std::uint64_t size) {
  return std::string("is cut short: its ") + partsEnd + " at " + std::to_string(end) +
         " bytes but the file holds " + std::to_string(size);
}

// Where the section table starts; 0 with a reason when the headers before it are not a DLL's
// of this machine.
std::uint64_t CheckHeaders(std::ifstream& in, std::uint64_t size, IMAGE_FILE_HEADER& file, std::string& why) {
  IMAGE_DOS_HEADER dos{};
  if (!ReadAt(in, 0, &dos, sizeof dos) || dos.e_magic != IMAGE_DOS_SIGNATURE) {
    why = "is not a DLL: it has no MZ header";
    return 0;
  }
  const std::uint64_t peEnd = static_cast<std::uint64_t>(static_cast<std::uint32_t>(dos.e_lfanew)) +
                              sizeof(DWORD) + sizeof(IMAGE_FILE_HEADER);
  DWORD signature = 0;
  if (dos.e_lfanew < 0 || peEnd > size) {
    why = CutShort("PE header ends", peEnd, size);
    return 0;
  }
  if (!ReadAt(in, dos.e_lfanew, &signature, sizeof signature) || signature != IMAGE_NT_SIGNATURE ||
      !ReadAt(in, dos.e_lfanew + sizeof signature, &file, sizeof file)) {
    why = "is not a DLL: it has no PE header";
    return 0;
  }
  if (file.Machine != kMachine) {
    why = "is built for another machine (PE machine " + std::to_string(file.Machine) +
          "; this program needs " + std::to_string(kMachine) + ")";
    return 0;
  }
  if ((file.Characteristics & IMAGE_FILE_DLL) == 0) {
    why = "is not a DLL (a program or another kind of PE file)";
    return 0;
  }
  return peEnd + file.SizeOfOptionalHeader;
}

bool CheckSections(std::ifstream& in, std::uint64_t size, std::uint64_t table, const IMAGE_FILE_HEADER& file,
                   std::string& why) {
  const std::uint64_t tableEnd = table + std::uint64_t{file.NumberOfSections} * sizeof(IMAGE_SECTION_HEADER);
  if (tableEnd > size) {
    why = CutShort("section headers end", tableEnd, size);
    return false;
  }
  std::vector<IMAGE_SECTION_HEADER> sections(file.NumberOfSections);
  if (!sections.empty() &&
      !ReadAt(in, table, sections.data(), sections.size() * sizeof(IMAGE_SECTION_HEADER))) {
    why = "cannot be read";
    return false;
  }
  std::uint64_t end = 0;
  for (const IMAGE_SECTION_HEADER& section : sections)
    end = std::max(end, std::uint64_t{section.PointerToRawData} + section.SizeOfRawData);
  if (end > size) {
    why = CutShort("sections end", end, size);
    return false;
  }
  return true;
}

}  // namespace

bool CheckModuleFile(const std::string& path, std::string& why) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(path, error);
  if (error) {
    why = "cannot be read: " + error.message();
    return false;
  }
  if (!std::filesystem::is_regular_file(status)) {
    why = std::filesystem::is_directory(status) ? "is a directory" : "is not a regular file";
    return false;
  }
  const std::uint64_t size = std::filesystem::file_size(path, error);
  std::ifstream in(path, std::ios::binary);
  if (error || !in) {
    why = "cannot be read" + (error ? ": " + error.message() : std::string());
    return false;
  }
  IMAGE_FILE_HEADER file{};
  const std::uint64_t table = CheckHeaders(in, size, file, why);
  return table != 0 && CheckSections(in, size, table, file, why);
}

}  // namespace brel
