// The whole path through the main window: broken and valid entries of every category planted, Start Scanner, the
// counters and rows against what was planted, the repair of the planted rows with its rollback files and log
// lines, and a second scan that finds them gone and the valid ones still passing.
#include "app/MainDialog.h"

#include "engine/ScanResults.h"
#include "registry/OperationLog.h"
#include "resources/resource.h"
#include "settings/StartupOptions.h"
#include "testsupport/PlantFixture.h"
#include "tests/support/WindowTesting.h"
#include "tests/support/Files.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace {

constexpr DWORD FullScanTimeout = 200000;

// The planted rows of the list, by the Type column.
std::map<std::string, std::vector<int>> PlantedRows(const CScanView& view)
{
    std::map<std::string, std::vector<int>> rows;
    for (int row = 0; row < view.RowCount(); ++row) {
        const std::string text =
            view.Text(row, CScanView::NameColumn) + "|" + view.Text(row, CScanView::DescriptionColumn);
        if (NamesPlantedEntry(text)) {
            EXPECT_FALSE(NamesValidPlantedEntry(text)) << text;
            rows[view.Text(row, CScanView::TypeColumn)].push_back(row);
        }
    }
    return rows;
}

size_t FilesEndingWith(const std::string& folder, const std::string& ending)
{
    size_t count = 0;
    for (const auto& file : std::filesystem::directory_iterator(folder)) {
        count += file.path().extension() == ending ? 1 : 0;
    }
    return count;
}

}  // namespace

TEST(EndToEndTest, PlantScanRepairAndScanAgain)
{
    TheStartupFlags() = StartupFlags{};
    ScratchFolder folder("end-to-end");
    CurrentFolder current(folder.Path());
    PlantFixture fixture(folder.Path() + "\\plant");
    ASSERT_TRUE(fixture.AddShortcutFolderToIni(".\\Corvadin.ini")) << fixture.LastError();
    for (int i = 0; i < CategoryCount; ++i) {
        ASSERT_TRUE(fixture.Plant(static_cast<Category>(i), 2, 2)) << fixture.LastError();
    }
    OperationLog::Start("corvadin.log");

    CMainDialog main;
    ASSERT_TRUE(main.Create());
    const HWND window = main.GetSafeHwnd();
    const auto scan = [&] {
        ClickItem(window, IDC_START_SCAN);
        return PumpUntil([&] { return main.State() == CMainDialog::kIdle; }, FullScanTimeout);
    };
    ASSERT_TRUE(scan());
    CScanView& view = *main.View();
    const auto& counters = TheScanResults().errorCounters;

    // Every counter shows its category's rows; the planted broken entries are among them, the valid ones not.
    const std::map<std::string, std::vector<int>> planted = PlantedRows(view);
    int plantedTotal = 0;
    for (int i = 0; i < CategoryCount; ++i) {
        const auto category = static_cast<Category>(i);
        const auto found = planted.find(InfoOf(category).name);
        const int rows = found == planted.end() ? 0 : static_cast<int>(found->second.size());
        EXPECT_EQ(rows, fixture.Broken(category)) << InfoOf(category).name;
        EXPECT_GE(counters[static_cast<size_t>(i) + 1], rows) << InfoOf(category).name;
        EXPECT_EQ(ItemText(window, CounterId(i + 1)), std::to_string(counters[static_cast<size_t>(i) + 1]));
        plantedTotal += rows;
    }
    EXPECT_EQ(counters[0], view.RowCount());
    EXPECT_EQ(ItemText(window, IDC_TOTAL_COUNT), std::to_string(view.RowCount()));

    // Only the planted rows are repaired: the rest belong to the machine.
    for (int row = 0; row < view.RowCount(); ++row) {
        view.SetTicked(row, false);
    }
    for (const auto& [type, rows] : planted) {
        for (int row : rows) {
            view.SetTicked(row, true);
        }
    }
    const int totalBefore = counters[0];
    ClickItem(window, IDC_REPAIR_ERRORS);
    for (const auto& [type, rows] : planted) {
        for (int row : rows) {
            EXPECT_EQ(view.Text(row, CScanView::ActionColumn), "Fixed") << type << " row " << row;
        }
    }
    EXPECT_EQ(counters[0], totalBefore - plantedTotal);
    EXPECT_EQ(ItemText(window, IDC_TOTAL_COUNT), std::to_string(totalBefore - plantedTotal));
    EXPECT_GT(FilesEndingWith(folder.Path(), ".reg"), 0u);
    EXPECT_GT(FilesEndingWith(folder.Path(), ".fso"), 0u);
    const std::string log = ReadWholeFile("corvadin.log", std::ios::in);
    EXPECT_NE(log.find("Fix \"Startup program\":"), std::string::npos);
    EXPECT_NE(log.find("Shortcut:start"), std::string::npos);

    // Scanned again: the repaired entries are gone and the valid ones still pass.
    ASSERT_TRUE(scan());
    EXPECT_TRUE(PlantedRows(*main.View()).empty());

    main.Shutdown();
    main.DestroyWindow();
    OperationLog::Stop();
    EXPECT_TRUE(fixture.RemoveAll()) << fixture.LastError();
}
