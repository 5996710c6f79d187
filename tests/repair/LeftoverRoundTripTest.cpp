// One entry of each of the four newer categories found, repaired and restored through the real registry; the
// service through the service manager.
#include "registry/UniqueHandle.h"
#include "repair/RepairRuns.h"
#include "scanners/CompatibilitySettingScanner.h"
#include "scanners/InstallerFolderScanner.h"
#include "scanners/ServiceScanner.h"
#include "scanners/SoundEventScanner.h"

#include "tests/repair/RepairTestSupport.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

namespace {

const char* const ServiceName = "CorvadinTestGoneService";
const std::string Services = "SYSTEM\\CurrentControlSet\\Services";

// A service the manager knows, whose program is missing; gone again afterwards whatever the test did.
class GoneService {
public:
    explicit GoneService(const std::string& program)
    {
        const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        const UniqueServiceHandle service(CreateServiceA(
            manager.get(), ServiceName, ServiceName, SERVICE_ALL_ACCESS, SERVICE_WIN32_OWN_PROCESS,
            SERVICE_DEMAND_START, SERVICE_ERROR_IGNORE, ("\"" + program + "\" -service").c_str(), nullptr, nullptr,
            nullptr, nullptr, nullptr));
        EXPECT_TRUE(service) << GetLastError();
    }
    ~GoneService()
    {
        const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_ALL_ACCESS));
        const UniqueServiceHandle service(OpenServiceA(manager.get(), ServiceName, DELETE));
        if (service) {
            DeleteService(service.get());
        }
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, (Services + "\\" + ServiceName).c_str());
    }
    static bool Known()
    {
        const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
        return UniqueServiceHandle(OpenServiceA(manager.get(), ServiceName, SERVICE_QUERY_STATUS)).valid();
    }
};

// Repairs the one issue the scanner finds under marker, then restores the run; what the restore said.
std::string RepairAndRestore(CategoryScanner&& scanner, const std::string& marker, HKEY root, const std::string& key)
{
    const KeySnapshot before = Snapshot(root, key);
    const std::vector<Ref<ScanIssue>> found = ScanFor(scanner, marker);
    EXPECT_EQ(found.size(), 1u) << marker;
    if (found.size() != 1) {
        return {};
    }
    RepairRun run;
    RepairAction* repair = CreateRepairAction();
    repair->SetJournal(&run);
    EXPECT_TRUE(repair->Fix(found[0].get())) << marker;
    EXPECT_TRUE(run.Finish());
    EXPECT_NE(Snapshot(root, key), before) << marker;
    const std::vector<RepairRunInfo> runs = ListRepairRuns(".");
    EXPECT_FALSE(runs.empty());
    const BatchRestoreOutcome restored = RestoreRun(".", runs.front());
    EXPECT_TRUE(restored.Complete());
    EXPECT_EQ(Snapshot(root, key), before) << marker;
    return restored.lines.empty() ? std::string() : restored.lines.front();
}

class LeftoverRoundTripTest : public ::testing::Test {
protected:
    ScratchFolder folder_{"leftover-roundtrip"};
    CurrentFolder here_{folder_.Path()};
    std::string gone_ = folder_.Path() + "\\missing\\CorvadinTest.exe";
    PlantedRegistry planted_;
};

}  // namespace

TEST_F(LeftoverRoundTripTest, SoundCompatibilityAndInstallerFolderComeBackExactly)
{
    const std::string event = "AppEvents\\Schemes\\Apps\\CorvadinTestApp";
    planted_.SetString(HKEY_CURRENT_USER, event + "\\Open\\.Current", "", gone_ + ".wav");
    EXPECT_EQ(RepairAndRestore(SoundEventScanner(nullptr), "CorvadinTestApp", HKEY_CURRENT_USER, event).find("Restart"),
              std::string::npos);

    const std::string layers = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
    planted_.SetString(HKEY_CURRENT_USER, layers, gone_, "~ RUNASADMIN");
    RepairAndRestore(CompatibilitySettingScanner(nullptr), "CorvadinTest.exe", HKEY_CURRENT_USER, layers);

    const std::string folders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
    planted_.SetString(HKEY_LOCAL_MACHINE, folders, folder_.Path() + "\\CorvadinTest\\", "");
    RepairAndRestore(InstallerFolderScanner(nullptr), "CorvadinTest", HKEY_LOCAL_MACHINE, folders);
}

TEST_F(LeftoverRoundTripTest, ServiceGoesThroughTheServiceManagerAndComesBackAfterARestart)
{
    GoneService service(gone_);
    ASSERT_TRUE(GoneService::Known());
    const std::string key = Services + "\\" + ServiceName;
    const KeySnapshot before = Snapshot(HKEY_LOCAL_MACHINE, key);

    const std::string said = RepairAndRestore(ServiceScanner(nullptr), ServiceName, HKEY_LOCAL_MACHINE, Services);
    EXPECT_NE(said.find("Restart Windows"), std::string::npos) << said;
    // The manager forgot it with the repair; the key is back, for the next start of Windows.
    EXPECT_FALSE(GoneService::Known());
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, key), before);
}
