// What the built program files carry, read back the way Windows reads it: the version resource,
// the application manifest (and that it really brings common controls 6), the program icon.
#include <windows.h>

#include <shlwapi.h>

#include <gtest/gtest.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "base/ProgramVersion.h"
#include "ui/resources/ResourceIds.h"

namespace {

// A program file built beside this test (all land in the build tree's bin folder).
std::string BuiltFile(const char* name) {
    char self[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path(self, length);
    return path.substr(0, path.find_last_of('\\') + 1) + name;
}

class VersionInfo {
public:
    explicit VersionInfo(const std::string& file) {
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
        if (size == 0) return;
        data_.resize(size);
        if (!GetFileVersionInfoA(file.c_str(), 0, size, data_.data())) data_.clear();
    }
    bool Present() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const {
        return static_cast<const VS_FIXEDFILEINFO*>(Query("\\"));
    }
    std::vector<WORD> Translation() const {
        UINT size = 0;
        void* value = nullptr;
        if (!VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", &value, &size)) return {};
        const auto* words = static_cast<const WORD*>(value);
        return std::vector<WORD>(words, words + size / sizeof(WORD));
    }
    std::string Text(const char* name) const {
        const std::string path = std::string("\\StringFileInfo\\041304E4\\") + name;
        const void* value = Query(path.c_str());
        return value != nullptr ? static_cast<const char*>(value) : "(ontbreekt)";
    }

private:
    const void* Query(const char* path) const {
        UINT size = 0;
        void* value = nullptr;
        if (!VerQueryValueA(data_.data(), path, &value, &size) || size == 0) return nullptr;
        return value;
    }
    std::vector<char> data_;
};

// A program file loaded as data only: its resources can be looked at, none of its code runs.
class ResourceFile {
public:
    explicit ResourceFile(const std::string& file)
        : module_(LoadLibraryExA(file.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) {}
    ~ResourceFile() {
        if (module_ != nullptr) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;

    HMODULE Module() const { return module_; }
    std::string Bytes(int id, LPCSTR type) const {
        const HRSRC found = FindResourceA(module_, MAKEINTRESOURCEA(id), type);
        if (found == nullptr) return {};
        const HGLOBAL loaded = LoadResource(module_, found);
        const auto* bytes = static_cast<const char*>(LockResource(loaded));
        return bytes != nullptr ? std::string(bytes, SizeofResource(module_, found)) : std::string();
    }

private:
    HMODULE module_;
};

struct ProgramFile {
    const char* name;
    const char* description;
};

constexpr ProgramFile kProgramFiles[] = {
    {"Halvern.exe", "Halvern: hernummert de kruisverwijzingen van een GEDCOM-bestand"},
    {"halvern-cli.exe", "Halvern voor de opdrachtregel: hernummert de kruisverwijzingen van een GEDCOM-bestand"},
};

TEST(ProgramFiles, CarryTheDutchVersionResourceOfThisVersion) {
    for (const ProgramFile& program : kProgramFiles) {
        SCOPED_TRACE(program.name);
        const VersionInfo info(BuiltFile(program.name));
        ASSERT_TRUE(info.Present());
        const VS_FIXEDFILEINFO* fixed = info.Fixed();
        ASSERT_NE(fixed, nullptr);
        EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
        EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(HALVERN_VERSION_MINOR, HALVERN_VERSION_MAJOR));
        EXPECT_EQ(fixed->dwFileVersionLS, 0u);
        EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(HALVERN_VERSION_MINOR, HALVERN_VERSION_MAJOR));
        EXPECT_EQ(fixed->dwProductVersionLS, 0u);
        EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

        EXPECT_EQ(info.Translation(), (std::vector<WORD>{0x0413, 1252}));
        EXPECT_EQ(info.Text("FileVersion"), HALVERN_VERSION_TEXT);
        EXPECT_EQ(info.Text("ProductVersion"), HALVERN_VERSION_TEXT);
        EXPECT_EQ(info.Text("ProductName"), "Halvern");
        EXPECT_EQ(info.Text("CompanyName"), "Zandrix");
        EXPECT_EQ(info.Text("OriginalFilename"), program.name);
        EXPECT_EQ(info.Text("FileDescription"), program.description);
        EXPECT_NE(info.Text("LegalCopyright").find("Zandrix"), std::string::npos);
    }
}

TEST(ProgramFiles, ManifestAsksForCommonControlsSixAndPerMonitorDpi) {
    const ResourceFile program(BuiltFile("Halvern.exe"));
    ASSERT_NE(program.Module(), nullptr);
    const std::string manifest = program.Bytes(HALVERN_MANIFEST_ID, MAKEINTRESOURCEA(24));  // RT_MANIFEST
    ASSERT_FALSE(manifest.empty());
    for (const char* part : {
             "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
             "publicKeyToken=\"6595b64144ccf1df\"",
             "<requestedExecutionLevel level=\"asInvoker\"",
             "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>",
             ">true/pm</dpiAware>",
             ">PerMonitorV2, PerMonitor</dpiAwareness>",
         }) {
        EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
}

// The manifest of Halvern.exe, made active in this process, brings version 6 of comctl32.
TEST(ProgramFiles, ManifestActivatesCommonControlsSix) {
    const std::string program = BuiltFile("Halvern.exe");
    ACTCTXA context{};
    context.cbSize = sizeof context;
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = program.c_str();
    context.lpResourceName = MAKEINTRESOURCEA(HALVERN_MANIFEST_ID);
    const HANDLE activation = CreateActCtxA(&context);
    ASSERT_NE(activation, INVALID_HANDLE_VALUE) << GetLastError();
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(ActivateActCtx(activation, &cookie));

    // The context sends comctl32.dll to the side-by-side assembly the manifest names.
    ACTCTX_SECTION_KEYED_DATA redirection{};
    redirection.cbSize = sizeof redirection;
    EXPECT_TRUE(FindActCtxSectionStringA(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION, "comctl32.dll",
                                         &redirection));

    const HMODULE comctl = LoadLibraryA("comctl32.dll");
    ASSERT_NE(comctl, nullptr);
    char loaded[MAX_PATH] = {};
    GetModuleFileNameA(comctl, loaded, MAX_PATH);
    std::string path(loaded);
    for (char& c : path) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    using GetVersion = HRESULT(CALLBACK*)(DLLVERSIONINFO*);
    const auto getVersion =
        reinterpret_cast<GetVersion>(reinterpret_cast<void (*)()>(GetProcAddress(comctl, "DllGetVersion")));
    ASSERT_NE(getVersion, nullptr);
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    EXPECT_EQ(getVersion(&version), S_OK);
    // Windows reports 6; Wine loads the same assembly's copy but still reports 5.81 from it.
    const bool fromVersionSixAssembly = path.find("microsoft.windows.common-controls") != std::string::npos &&
                                        path.find("_6.0.") != std::string::npos;
    EXPECT_TRUE(version.dwMajorVersion == 6 || fromVersionSixAssembly)
        << loaded << " reports " << version.dwMajorVersion << "." << version.dwMinorVersion;

    FreeLibrary(comctl);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(activation);
}

// The icon group of both program files: 16, 32, 48 and 256 pixels, 32 bits each.
TEST(ProgramFiles, IconComesInFourSizes) {
#pragma pack(push, 2)
    struct GroupEntry {
        BYTE width, height, colours, reserved;
        WORD planes, bitCount;
        DWORD bytes;
        WORD id;
    };
#pragma pack(pop)
    for (const ProgramFile& file : kProgramFiles) {
        SCOPED_TRACE(file.name);
        const ResourceFile program(BuiltFile(file.name));
        const std::string group = program.Bytes(HALVERN_ICON_ID, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
        ASSERT_GE(group.size(), 6u);
        WORD count = 0;
        std::memcpy(&count, group.data() + 4, sizeof count);
        ASSERT_EQ(count, 4);
        ASSERT_EQ(group.size(), 6 + count * sizeof(GroupEntry));
        std::vector<int> sizes;
        for (WORD i = 0; i < count; ++i) {
            GroupEntry entry{};
            std::memcpy(&entry, group.data() + 6 + i * sizeof entry, sizeof entry);
            sizes.push_back(entry.width == 0 ? 256 : entry.width);
            EXPECT_EQ(entry.width, entry.height);
            EXPECT_EQ(entry.bitCount, 32);
            EXPECT_FALSE(program.Bytes(entry.id, MAKEINTRESOURCEA(3)).empty()) << "RT_ICON " << entry.id;
        }
        EXPECT_EQ(sizes, (std::vector<int>{16, 32, 48, 256}));

        const auto icon = static_cast<HICON>(
            LoadImageA(program.Module(), MAKEINTRESOURCEA(HALVERN_ICON_ID), IMAGE_ICON, 48, 48, 0));
        ASSERT_NE(icon, nullptr);
        ICONINFO parts{};
        ASSERT_TRUE(GetIconInfo(icon, &parts));
        BITMAP colour{};
        GetObjectA(parts.hbmColor, sizeof colour, &colour);
        EXPECT_EQ(colour.bmWidth, 48);
        DeleteObject(parts.hbmColor);
        DeleteObject(parts.hbmMask);
        DestroyIcon(icon);
    }
}

}  // namespace
