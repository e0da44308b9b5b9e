// The libraries glimmerly.exe names in its import table load into every one
// of its processes before its first line runs, a cold editor child's too,
// while a capture waits for its window. Under Wine, Direct3D brings OpenGL
// with it: those stay out, looked up when first used.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/win/paths.h"

namespace glimmerly {
namespace {

// The DLL names of the executable's import directory, in lower case; empty
// when the file is not a PE image this reader understands.
std::vector<std::string> imported_dlls(const std::wstring& path) {
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const auto at = [&](std::size_t offset, std::size_t size) {
        return offset <= bytes.size() && size <= bytes.size() - offset ? bytes.data() + offset : nullptr;
    };
    IMAGE_DOS_HEADER dos{};
    if (!at(0, sizeof dos)) return {};
    std::memcpy(&dos, at(0, sizeof dos), sizeof dos);
    IMAGE_NT_HEADERS64 nt{};
    const auto nt_at = static_cast<std::size_t>(dos.e_lfanew);
    if (!at(nt_at, sizeof nt)) return {};
    std::memcpy(&nt, at(nt_at, sizeof nt), sizeof nt);
    const std::size_t sections_at = nt_at + offsetof(IMAGE_NT_HEADERS64, OptionalHeader) +
                                    nt.FileHeader.SizeOfOptionalHeader;
    const auto file_offset = [&](DWORD rva) -> std::size_t {
        for (WORD i = 0; i < nt.FileHeader.NumberOfSections; ++i) {
            IMAGE_SECTION_HEADER section{};
            const char* raw = at(sections_at + i * sizeof section, sizeof section);
            if (!raw) return 0;
            std::memcpy(&section, raw, sizeof section);
            if (rva >= section.VirtualAddress && rva < section.VirtualAddress + section.SizeOfRawData)
                return rva - section.VirtualAddress + section.PointerToRawData;
        }
        return 0;
    };
    std::vector<std::string> names;
    const DWORD imports_rva = nt.OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    std::size_t descriptor_at = file_offset(imports_rva);
    for (IMAGE_IMPORT_DESCRIPTOR descriptor{}; descriptor_at && at(descriptor_at, sizeof descriptor);
         descriptor_at += sizeof descriptor) {
        std::memcpy(&descriptor, at(descriptor_at, sizeof descriptor), sizeof descriptor);
        if (descriptor.Name == 0) break;
        std::size_t name_at = file_offset(descriptor.Name);
        std::string name;
        for (const char* c = at(name_at, 1); c && *c; c = at(++name_at, 1))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(*c)));
        names.push_back(name);
    }
    return names;
}

TEST(ProgramImports, NoGraphicsOrSoundLibraryLoadsWithTheProgram) {
    wchar_t own[MAX_PATH];
    ASSERT_NE(GetModuleFileNameW(nullptr, own, MAX_PATH), 0u);
    const std::vector<std::string> imports =
        imported_dlls(win::join_path(win::folder_of(win::folder_of(own)), L"glimmerly.exe"));
    const auto imported = [&](const char* name) {
        return std::find(imports.begin(), imports.end(), name) != imports.end();
    };
    ASSERT_TRUE(imported("kernel32.dll")) << "the import table was read";
    for (const char* name : {"d3d11.dll", "dxgi.dll", "d2d1.dll", "dwrite.dll", "windowscodecs.dll", "winmm.dll"}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(imported(name));
    }
}

}  // namespace
}  // namespace glimmerly
