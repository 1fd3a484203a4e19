// What Windows shows of both modules (Explorer's details, hosts' plug-in lists): the release's
// version, maker, product and copyright from their VERSIONINFO resources.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "BrelvaneRelease.h"

namespace {

std::string StringValue(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value)
    return "(none)";
  return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(VersionInfo, BothModulesNameTheReleaseItsMakerAndItsVersion) {
  for (const char* module : {BRELVANE_VST2_PATH, BRELVANE_VST3_MODULE}) {
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(module, &handle);
    ASSERT_GT(size, 0u) << module << " has no VERSIONINFO";
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfoA(module, 0, size, block.data())) << module;
    EXPECT_EQ(StringValue(block, "FileVersion"), release::kVersion) << module;
    EXPECT_EQ(StringValue(block, "ProductVersion"), release::kVersion) << module;
    EXPECT_EQ(StringValue(block, "CompanyName"), release::kVendor) << module;
    EXPECT_EQ(StringValue(block, "ProductName"), release::kProduct) << module;
    EXPECT_NE(StringValue(block, "LegalCopyright").find(release::kVendor), std::string::npos) << module;

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length) && fixed);
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, release::kVersion) << module;
  }
}

}  // namespace
