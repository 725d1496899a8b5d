// identstrip.exe as a file: a 32-bit GUI program that runs on a bare Windows,
// with its icon and its version block.
#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <winver.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "ui/toolkit/win32/resource_ids.h"

namespace {

const char* const PROGRAM = IDENTSTRIP_EXE;

std::vector<char> ReadProgram() {
  std::ifstream file(PROGRAM, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

template <typename T>
T At(const std::vector<char>& bytes, std::size_t offset) {
  T value{};
  if (offset + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + offset, sizeof(T));
  return value;
}

// The names of the DLLs the program imports, in capitals.
std::set<std::string> ImportedDlls(const std::vector<char>& bytes) {
  const auto nt = static_cast<std::size_t>(At<IMAGE_DOS_HEADER>(bytes, 0).e_lfanew);
  const auto headers = At<IMAGE_NT_HEADERS32>(bytes, nt);
  const std::size_t sections =
      nt + offsetof(IMAGE_NT_HEADERS32, OptionalHeader) + headers.FileHeader.SizeOfOptionalHeader;
  // A virtual address as an offset into the file.
  const auto file_offset = [&](DWORD address) -> std::size_t {
    for (WORD i = 0; i < headers.FileHeader.NumberOfSections; ++i) {
      const auto section =
          At<IMAGE_SECTION_HEADER>(bytes, sections + i * sizeof(IMAGE_SECTION_HEADER));
      if (address >= section.VirtualAddress &&
          address < section.VirtualAddress + section.SizeOfRawData) {
        return address - section.VirtualAddress + section.PointerToRawData;
      }
    }
    return bytes.size();
  };
  std::set<std::string> names;
  const DWORD imports =
      headers.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
  for (std::size_t entry = file_offset(imports);; entry += sizeof(IMAGE_IMPORT_DESCRIPTOR)) {
    const auto descriptor = At<IMAGE_IMPORT_DESCRIPTOR>(bytes, entry);
    if (descriptor.Name == 0) break;
    std::string name(bytes.data() + std::min(file_offset(descriptor.Name), bytes.size()));
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    names.insert(name);
  }
  return names;
}

TEST(ProgramFileTest, IsA32BitGuiProgramThatNeedsOnlyTheSystemsDlls) {
  const std::vector<char> bytes = ReadProgram();
  ASSERT_GT(bytes.size(), 4096u) << PROGRAM;
  const auto headers = At<IMAGE_NT_HEADERS32>(bytes, At<IMAGE_DOS_HEADER>(bytes, 0).e_lfanew);
  EXPECT_EQ(headers.Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
  EXPECT_EQ(headers.FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  EXPECT_EQ(headers.OptionalHeader.Magic, IMAGE_NT_OPTIONAL_HDR32_MAGIC);
  EXPECT_EQ(headers.OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
  // Linked statically: no C++ or GCC runtime DLL has to travel with it.
  const std::set<std::string> system = {"KERNEL32.DLL", "USER32.DLL",   "GDI32.DLL",
                                        "COMCTL32.DLL", "COMDLG32.DLL", "MSVCRT.DLL",
                                        "ADVAPI32.DLL", "SHELL32.DLL",  "OLE32.DLL"};
  for (const std::string& dll : ImportedDlls(bytes)) {
    EXPECT_TRUE(system.count(dll)) << dll << " is not part of Windows";
  }
}

std::string VersionString(const std::vector<char>& block, const char* name) {
  char* value = nullptr;
  UINT length = 0;
  const std::string path = std::string("\\StringFileInfo\\040904E4\\") + name;
  if (!VerQueryValueA(block.data(), path.c_str(), reinterpret_cast<void**>(&value), &length)) {
    return "(none)";
  }
  return std::string(value, length > 0 ? length - 1 : 0);
}

TEST(ProgramFileTest, CarriesItsVersionBlock) {
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeA(PROGRAM, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<char> block(size);
  ASSERT_TRUE(GetFileVersionInfoA(PROGRAM, 0, size, block.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(3, 1)));  // 1.3
  EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, 0)));  // .0.0
  EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));
  EXPECT_EQ(VersionString(block, "FileDescription"), "Redede Riruza vuvi DUR,UDU");
  EXPECT_EQ(VersionString(block, "FileVersion"), "1.3.0.0");
}

TEST(ProgramFileTest, CarriesTheApplicationIcon) {
  HMODULE program = LoadLibraryExA(PROGRAM, nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(program, nullptr);
  EXPECT_NE(FindResourceA(program, MAKEINTRESOURCEA(IDENTSTRIP_APPLICATION_ICON), RT_GROUP_ICON),
            nullptr);
  for (int side : {16, 32, 48}) {
    HANDLE icon = LoadImageA(program, MAKEINTRESOURCEA(IDENTSTRIP_APPLICATION_ICON), IMAGE_ICON,
                             side, side, LR_DEFAULTCOLOR);
    EXPECT_NE(icon, nullptr) << side;
    if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
  }
  FreeLibrary(program);
}

}  // namespace
