// One entry of each newer category found, repaired and restored through the real registry; the service through
// the service manager.
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

const std::string ServiceName = "CorvadinTestGoneService";
const std::string Services = "SYSTEM\\CurrentControlSet\\Services";

bool ServiceKnown()
{
    const UniqueServiceHandle manager(OpenSCManagerA(nullptr, nullptr, SC_MANAGER_CONNECT));
    return UniqueServiceHandle(OpenServiceA(manager.get(), ServiceName.c_str(), SERVICE_QUERY_STATUS)).valid();
}

// Repairs the one issue the scanner finds under marker (of grade), then restores the run; what the restore said.
std::string RepairAndRestore(CategoryScanner&& scanner, const std::string& marker, Grade grade, HKEY root,
                             const std::string& key)
{
    const KeySnapshot before = Snapshot(root, key);
    const std::vector<Ref<ScanIssue>> found = ScanFor(scanner, marker);
    EXPECT_EQ(found.size(), 1u) << marker;
    if (found.size() != 1) {
        return {};
    }
    EXPECT_EQ(found[0]->GetGrade(), grade);
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
    EXPECT_EQ(RepairAndRestore(SoundEventScanner(nullptr), "CorvadinTestApp", Grade::Safe, HKEY_CURRENT_USER, event)
                  .find("Restart"),
              std::string::npos);

    // Beside each broken entry a valid one (and a name that is no path) that must not be reported.
    const std::string present = folder_.AddFile("CorvadinTest\\here.exe");
    const std::string layers = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Layers";
    planted_.SetString(HKEY_CURRENT_USER, layers, gone_, "~ RUNASADMIN");
    planted_.SetString(HKEY_CURRENT_USER, layers, present, "~ RUNASADMIN");
    planted_.SetString(HKEY_CURRENT_USER, layers, "SIGN.MEDIA=CorvadinTest setup.exe", "~ WINXPSP3");
    RepairAndRestore(CompatibilitySettingScanner(nullptr), "CorvadinTest", Grade::Safe, HKEY_CURRENT_USER, layers);

    const std::string folders = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
    planted_.SetString(HKEY_LOCAL_MACHINE, folders, folder_.Path() + "\\missing\\CorvadinTest\\", "");
    planted_.SetString(HKEY_LOCAL_MACHINE, folders, folder_.Path() + "\\CorvadinTest\\", "");
    RepairAndRestore(InstallerFolderScanner(nullptr), "CorvadinTest", Grade::Review, HKEY_LOCAL_MACHINE, folders);
}

TEST_F(LeftoverRoundTripTest, ServiceGoesThroughTheServiceManagerAndComesBackAfterARestart)
{
    // Gone again afterwards, whatever the test did.
    struct Cleanup {
        ~Cleanup() { RunToEnd("sc delete " + ServiceName), RegDeleteTreeA(HKEY_LOCAL_MACHINE, Key().c_str()); }
        static std::string Key() { return Services + "\\" + ServiceName; }
    } cleanup;
    ASSERT_EQ(RunToEnd("sc create " + ServiceName + " binPath= \"\\\"" + gone_ + "\\\" -service\""), 0);
    ASSERT_TRUE(ServiceKnown());
    const std::string key = Cleanup::Key();
    const KeySnapshot before = Snapshot(HKEY_LOCAL_MACHINE, key);

    const std::string said =
        RepairAndRestore(ServiceScanner(nullptr), ServiceName, Grade::Expert, HKEY_LOCAL_MACHINE, Services);
    EXPECT_NE(said.find("Restart Windows"), std::string::npos) << said;
    // The manager forgot it with the repair; the key is back, for the next start of Windows.
    EXPECT_FALSE(ServiceKnown());
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, key), before);
}

TEST_F(LeftoverRoundTripTest, ARunningServiceIsLeftAlone)
{
    const KeySnapshot before = Snapshot(HKEY_LOCAL_MACHINE, Services + "\\RpcSs");
    const Ref<ScanIssue> issue = MakeIssue(KeyIssue, new RegistryKey(HKEY_LOCAL_MACHINE, Services, "RpcSs"), "Service");
    EXPECT_FALSE(CreateRepairAction()->Fix(issue.get()));
    EXPECT_EQ(Snapshot(HKEY_LOCAL_MACHINE, Services + "\\RpcSs"), before);
}
