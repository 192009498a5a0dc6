// life.scr and setup.exe as Windows sees them: the manifest (DPI awareness,
// execution level) and the version resource (product, description,
// version, all from the build's one version).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "LifeVersion.h"
#include "WinTestSupport.h"

namespace {

struct ProgramCase {
  const char* file;
  const char* description;
  const char* executionLevel;
};

const ProgramCase kPrograms[] = {
    {"life.scr", "The Game of Life", "asInvoker"},
    {"setup.exe", "Life Setup", "asInvoker"},  // elevates only its copying instance
};

// The bytes of one resource of a program loaded as data.
std::string ResourceBytes(const std::string& path, LPCSTR type, LPCSTR name) {
  HMODULE module = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (module == nullptr) return "";
  std::string bytes;
  HRSRC resource = FindResourceA(module, name, type);
  HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
  const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
  if (data != nullptr)
    bytes.assign(static_cast<const char*>(data), SizeofResource(module, resource));
  FreeLibrary(module);
  return bytes;
}

std::string VersionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string query = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) ||
      value == nullptr)
    return "<missing>";
  return std::string(value);
}

class ProgramResources : public ::testing::TestWithParam<ProgramCase> {
 protected:
  std::string Path() const { return wintest::ProgramFolder() + GetParam().file; }
};

TEST_P(ProgramResources, ManifestDeclaresPerMonitorDpiAndTheExecutionLevel) {
  const std::string manifest =
      ResourceBytes(Path(), MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1));  // RT_MANIFEST, 1
  ASSERT_FALSE(manifest.empty()) << "no manifest in " << GetParam().file;
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
  EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/"
                          "WindowsSettings\">true/pm</dpiAware>"),
            std::string::npos);
  EXPECT_NE(manifest.find(std::string("<requestedExecutionLevel level=\"") +
                          GetParam().executionLevel + "\" uiAccess=\"false\"/>"),
            std::string::npos);
  EXPECT_NE(manifest.find(std::string("version=\"") + LIFE_VERSION_TEXT + ".0\""),
            std::string::npos);
  // No prefixed namespaces: an element with two namespaces can crash the
  // manifest parser of Windows XP SP2.
  EXPECT_EQ(manifest.find("xmlns:"), std::string::npos);
}

TEST_P(ProgramResources, VersionResourceNamesProductDescriptionAndVersion) {
  ASSERT_FALSE(ResourceBytes(Path(), MAKEINTRESOURCEA(16), MAKEINTRESOURCEA(1)).empty())
      << "no RT_VERSION in " << GetParam().file;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(Path().c_str(), &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(Path().c_str(), 0, size, block.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, DWORD{LIFE_VERSION_MAJOR} << 16 | LIFE_VERSION_MINOR);
  EXPECT_EQ(fixed->dwFileVersionLS, DWORD{LIFE_VERSION_PATCH} << 16);
  EXPECT_EQ(fixed->dwProductVersionMS, fixed->dwFileVersionMS);

  EXPECT_EQ(VersionString(block, "ProductName"), "Life");
  EXPECT_EQ(VersionString(block, "FileDescription"), GetParam().description);
  EXPECT_EQ(VersionString(block, "FileVersion"), "1.2.0");
  EXPECT_EQ(VersionString(block, "ProductVersion"), LIFE_VERSION_TEXT);
  EXPECT_EQ(VersionString(block, "OriginalFilename"), GetParam().file);
}

INSTANTIATE_TEST_SUITE_P(Programs, ProgramResources, ::testing::ValuesIn(kPrograms),
                         [](const auto& param) {
                           const std::string file = param.param.file;
                           return file.substr(0, file.find('.'));
                         });

}  // namespace
