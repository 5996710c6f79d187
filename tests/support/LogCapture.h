// The operation log written to a file of the test's for as long as the object lives.
#pragma once

#include "registry/OperationLog.h"

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

class LogCapture {
public:
    explicit LogCapture(std::string path) : path_(std::move(path))
    {
        DeleteFileA(path_.c_str());
        OperationLog::Start(path_);
    }
    ~LogCapture()
    {
        OperationLog::Stop();
        DeleteFileA(path_.c_str());
    }
    LogCapture(const LogCapture&) = delete;
    LogCapture& operator=(const LogCapture&) = delete;

    // The text of every line, without its time stamp.
    std::vector<std::string> Lines() const
    {
        std::vector<std::string> lines;
        std::ifstream in(path_);
        for (std::string line; std::getline(in, line);) {
            const size_t tabs = line.find("\t\t");
            lines.push_back(tabs == std::string::npos ? line : line.substr(tabs + 2));
        }
        return lines;
    }

    // The texts of the lines that record repairs.
    std::vector<std::string> FixLines() const
    {
        std::vector<std::string> fixes;
        for (const std::string& line : Lines()) {
            if (line.rfind("Fix ", 0) == 0) {
                fixes.push_back(line);
            }
        }
        return fixes;
    }

private:
    std::string path_;
};
