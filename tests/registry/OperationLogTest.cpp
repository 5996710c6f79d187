#include "registry/OperationLog.h"
#include "tests/support/Scratch.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <thread>
#include <vector>

namespace {

std::vector<std::string> LinesOf(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

const std::regex stamped(R"(\d{4}/\d{2}/\d{2} - \d{2}:\d{2}:\d{2}\t\t(.*)\r)");

}  // namespace

TEST(OperationLogTest, LinesAreStampedAndAppendedAcrossRuns)
{
    ScratchFolder folder("log");
    const std::string path = folder.Path() + "\\scan.log";
    for (int run = 0; run < 2; ++run) {
        OperationLog::Start(path);
        OperationLog::Write(std::string("run ") + char('0' + run) + "\twith tab");
        OperationLog::Stop();
    }
    const std::vector<std::string> lines = LinesOf(path);
    ASSERT_EQ(lines.size(), 6u);
    const char* texts[] = {"************************ Start logging...", "run 0\twith tab", "logging stopped",
                           "************************ Start logging...", "run 1\twith tab", "logging stopped"};
    for (size_t i = 0; i < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, stamped)) << lines[i];
        EXPECT_EQ(match[1], texts[i]);
    }
}

TEST(OperationLogTest, WithoutANameNothingIsWrittenAnywhere)
{
    ScratchFolder folder("nolog");
    CurrentFolder here(folder.Path());
    OperationLog::Start("");
    EXPECT_FALSE(OperationLog::IsOpen());
    OperationLog::Write("dropped");
    OperationLog::Stop();
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));

    OperationLog::Start(folder.Path() + "\\no such folder\\x.log");
    EXPECT_FALSE(OperationLog::IsOpen());
    OperationLog::Stop();
}

TEST(OperationLogTest, LinesFromTwoThreadsNeverInterleave)
{
    ScratchFolder folder("threads");
    const std::string path = folder.Path() + "\\threads.log";
    OperationLog::Start(path);
    const int perThread = 2000;
    auto writer = [](char letter) {
        const std::string text(200, letter);
        for (int i = 0; i < perThread; ++i) {
            OperationLog::Write(text);
        }
    };
    std::thread first(writer, 'a');
    std::thread second(writer, 'b');
    first.join();
    second.join();
    OperationLog::Stop();

    const std::vector<std::string> lines = LinesOf(path);
    ASSERT_EQ(lines.size(), 2u * perThread + 2);
    for (size_t i = 1; i + 1 < lines.size(); ++i) {
        std::smatch match;
        ASSERT_TRUE(std::regex_match(lines[i], match, stamped)) << "line " << i;
        const std::string text = match[1];
        ASSERT_TRUE(text == std::string(200, 'a') || text == std::string(200, 'b')) << "line " << i;
    }
}
