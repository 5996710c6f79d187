// The release resources of the built programs, read from the files as Windows and Explorer read them: the
// manifest each program asks the loader for, and the version shown in the file's properties.
#include "CorvadinVersion.h"
#include "tests/installer/ReleaseFiles.h"
#include "tests/support/Programs.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

struct FreeModule {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
using DataModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, FreeModule>;

DataModule LoadAsData(const std::string& path)
{
    return DataModule(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
}

BOOL CALLBACK CountName(HMODULE, LPCSTR, LPSTR, LONG_PTR count)
{
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

int CountManifests(HMODULE module)
{
    int count = 0;
    EnumResourceNamesA(module, RT_MANIFEST, CountName, reinterpret_cast<LONG_PTR>(&count));
    return count;
}

std::string ProcessManifest(HMODULE module)
{
    const HRSRC found = FindResourceA(module, CREATEPROCESS_MANIFEST_RESOURCE_ID, RT_MANIFEST);
    if (found == nullptr) {
        return {};
    }
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return bytes == nullptr ? std::string() : std::string(bytes, SizeofResource(module, found));
}

// The loader builds an activation context from the manifest when the program starts; a manifest it cannot
// parse stops the program from starting at all.
bool LoaderAcceptsManifest(const std::string& path)
{
    ACTCTXA context{};
    context.cbSize = sizeof(context);
    context.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    context.lpSource = path.c_str();
    context.lpResourceName = CREATEPROCESS_MANIFEST_RESOURCE_ID;
    const HANDLE handle = CreateActCtxA(&context);
    if (handle == INVALID_HANDLE_VALUE) {
        return false;
    }
    ReleaseActCtx(handle);
    return true;
}

int CountOf(const std::string& text, const std::string& part)
{
    int count = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) {
        ++count;
    }
    return count;
}

// The text inside the first element of that name, attributes skipped; empty when there is none.
std::string ElementText(const std::string& xml, const std::string& element)
{
    const size_t open = xml.find("<" + element);
    const size_t start = open == std::string::npos ? open : xml.find('>', open);
    const size_t end = start == std::string::npos ? start : xml.find("</" + element + ">", start);
    return end == std::string::npos ? std::string() : xml.substr(start + 1, end - start - 1);
}

class VersionInfo {
public:
    explicit VersionInfo(const std::string& path)
    {
        const DWORD size = GetFileVersionInfoSizeA(path.c_str(), nullptr);
        data_.resize(size);
        if (size == 0 || !GetFileVersionInfoA(path.c_str(), 0, size, data_.data())) {
            data_.clear();
        }
    }

    bool Present() const { return !data_.empty(); }

    const VS_FIXEDFILEINFO* Fixed() const
    {
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT size = 0;
        if (!Present() || !VerQueryValueA(data_.data(), "\\", reinterpret_cast<void**>(&fixed), &size) ||
            size < sizeof(VS_FIXEDFILEINFO)) {
            return nullptr;
        }
        return fixed;
    }

    // A string of the first translation listed, the one Explorer shows.
    std::string Text(const std::string& name) const
    {
        struct Translation {
            WORD language;
            WORD codePage;
        }* translation = nullptr;
        UINT size = 0;
        if (!Present() ||
            !VerQueryValueA(data_.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation),
                            &size) ||
            size < sizeof(Translation)) {
            return {};
        }
        char block[64];
        wsprintfA(block, "\\StringFileInfo\\%04x%04x\\", translation->language, translation->codePage);
        char* text = nullptr;
        if (!VerQueryValueA(data_.data(), (block + name).c_str(), reinterpret_cast<void**>(&text), &size) ||
            text == nullptr) {
            return {};
        }
        return text;
    }

private:
    std::vector<char> data_;
};

constexpr DWORD VersionHigh = MAKELONG(CORVADIN_VERSION_MINOR, CORVADIN_VERSION_MAJOR);
constexpr DWORD VersionLow = MAKELONG(0, CORVADIN_VERSION_PATCH);

struct Program {
    const char* fileName;
    const char* builtPath;  // empty while the build has no such program
    const char* level;
    // The window program lays itself out for each screen's DPI; the console has no windows to scale.
    const char* dpiAwareness;
};

void PrintTo(const Program& program, std::ostream* out)
{
    *out << program.fileName;
}

const Program Programs[] = {
    {"Corvadin.exe", CORVADIN_GUI_EXE_PATH, "requireAdministrator", "PerMonitorV2, PerMonitor"},
    {"corvadin-cli.exe", CORVADIN_CLI_EXE_PATH, "asInvoker", ""},
};

class ReleaseResourcesTest : public testing::TestWithParam<Program> {
protected:
    void SetUp() override
    {
        if (GetParam().builtPath[0] == '\0') {
            GTEST_SKIP() << GetParam().fileName << " is not part of this build yet";
        }
        path_ = WindowsPath(GetParam().builtPath);
    }

    std::string path_;
};

TEST_P(ReleaseResourcesTest, ManifestAsksForItsElevationAndTheVersion6Controls)
{
    const DataModule module = LoadAsData(path_);
    ASSERT_TRUE(module) << path_;
    EXPECT_EQ(CountManifests(module.get()), 1) << "a second manifest would come from another resource file";

    const std::string manifest = ProcessManifest(module.get());
    ASSERT_FALSE(manifest.empty());
    EXPECT_EQ(CountOf(manifest, "requestedExecutionLevel "), 1);
    EXPECT_EQ(CountOf(manifest, std::string("level=\"") + GetParam().level + "\""), 1) << manifest;
    EXPECT_EQ(CountOf(manifest, "uiAccess=\"false\""), 1);
    EXPECT_EQ(CountOf(manifest, "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), 1);
    EXPECT_EQ(CountOf(manifest, "publicKeyToken=\"6595b64144ccf1df\""), 1);
    EXPECT_EQ(CountOf(manifest, "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"), 1)
        << "without Windows 10 listed the program is shown a Windows 8 version";
    EXPECT_TRUE(LoaderAcceptsManifest(path_)) << "the loader cannot parse the manifest";

    // Version 2 first, with the older per-monitor and system-aware declarations for Windows that lack it.
    EXPECT_EQ(ElementText(manifest, "dpiAwareness"), GetParam().dpiAwareness);
    const std::string dpiAware = ElementText(manifest, "dpiAware");
    EXPECT_EQ(dpiAware, GetParam().dpiAwareness[0] ? "true/pm" : "") << dpiAware;
}

TEST_P(ReleaseResourcesTest, VersionResourceCarriesTheBuildsVersion)
{
    const VersionInfo info(path_);
    ASSERT_TRUE(info.Present()) << path_;
    const VS_FIXEDFILEINFO* fixed = info.Fixed();
    ASSERT_NE(fixed, nullptr);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, VersionHigh);
    EXPECT_EQ(fixed->dwFileVersionLS, VersionLow);
    EXPECT_EQ(fixed->dwProductVersionMS, VersionHigh);
    EXPECT_EQ(fixed->dwProductVersionLS, VersionLow);
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_APP));

    EXPECT_EQ(info.Text("ProductName"), "Corvadin");
    EXPECT_EQ(info.Text("ProductVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(info.Text("FileVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(info.Text("LegalCopyright"), CORVADIN_COPYRIGHT);
    EXPECT_EQ(info.Text("CompanyName"), CORVADIN_COMPANY);
    EXPECT_EQ(info.Text("OriginalFilename"), GetParam().fileName) << "the resources of the other program";
    EXPECT_NE(info.Text("FileDescription").find("Corvadin"), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Programs, ReleaseResourcesTest, testing::ValuesIn(Programs),
                         [](const testing::TestParamInfo<Program>& info) {
                             return std::string(info.param.fileName).find("cli") != std::string::npos ? "Cli"
                                                                                                     : "Window";
                         });

// The About page shows string 145; it must name the version the files and the installer carry.
TEST(AboutPageVersion, AgreesWithTheBuildsVersion)
{
    DataModule program;
    HMODULE module = nullptr;
    if (CORVADIN_GUI_EXE_PATH[0] != '\0') {
        program = LoadAsData(WindowsPath(CORVADIN_GUI_EXE_PATH));
        ASSERT_TRUE(program);
        module = program.get();
    } else {
        module = GetModuleHandleA(nullptr);  // the window's resources linked into this test, if they exist yet
    }
    char text[64] = {};
    if (LoadStringA(module, 145, text, sizeof text) == 0) {
        GTEST_SKIP() << "string 145 does not exist yet";
    }
    EXPECT_STREQ(text, CORVADIN_VERSION_TEXT);
}

TEST(InstallerVersion, AgreesWithTheBuildsVersion)
{
    if (CORVADIN_SETUP_PATH[0] == '\0') {
        GTEST_SKIP() << "this build makes no installer";
    }
    const VersionInfo info(WindowsPath(CORVADIN_SETUP_PATH));
    ASSERT_TRUE(info.Present());
    ASSERT_NE(info.Fixed(), nullptr);
    EXPECT_EQ(info.Fixed()->dwProductVersionMS, VersionHigh);
    EXPECT_EQ(info.Fixed()->dwProductVersionLS, VersionLow);
    EXPECT_EQ(info.Text("ProductVersion"), CORVADIN_VERSION_TEXT);
    EXPECT_EQ(info.Text("LegalCopyright"), CORVADIN_COPYRIGHT);
}

}  // namespace
