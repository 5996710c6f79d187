// What the scanner tests share: planting at the fixed registry places the scanners
// read (and removing exactly that), a progress sink that asks for a stop, and the
// operation log captured to a scratch file.
#pragma once

#include "engine/IssueList.h"
#include "registry/ProgressSink.h"
#include "engine/RegistryScanner.h"
#include "registry/OperationLog.h"

#include <windows.h>

#include <fstream>
#include <string>
#include <vector>

// Keys and values planted for one test. Keys that did not exist before are removed
// with their trees; values set in keys that existed are removed one by one.
class PlantedRegistry {
public:
    PlantedRegistry() = default;
    ~PlantedRegistry()
    {
        for (const Value& value : values_) {
            HKEY key = nullptr;
            if (RegOpenKeyExA(value.root, value.path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
                RegDeleteValueA(key, value.name.c_str());
                RegCloseKey(key);
            }
        }
        for (auto key = createdKeys_.rbegin(); key != createdKeys_.rend(); ++key) {
            RegDeleteTreeA(key->root, key->path.c_str());
        }
    }
    PlantedRegistry(const PlantedRegistry&) = delete;
    PlantedRegistry& operator=(const PlantedRegistry&) = delete;

    // Creates root\path and every missing key above it.
    void CreateKey(HKEY root, const std::string& path)
    {
        for (size_t end = path.find('\\');; end = path.find('\\', end + 1)) {
            const std::string prefix = path.substr(0, end);
            HKEY key = nullptr;
            DWORD disposition = 0;
            if (RegCreateKeyExA(root, prefix.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, &disposition) ==
                ERROR_SUCCESS) {
                RegCloseKey(key);
                if (disposition == REG_CREATED_NEW_KEY) {
                    createdKeys_.push_back({root, prefix, {}});
                }
            }
            if (end == std::string::npos) {
                break;
            }
        }
    }
    void Set(HKEY root, const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size)
    {
        CreateKey(root, path);
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, path.c_str(), 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
            RegSetValueExA(key, name.c_str(), 0, type, static_cast<const BYTE*>(data), size);
            RegCloseKey(key);
        }
        values_.push_back({root, path, name});
    }
    void SetString(HKEY root, const std::string& path, const std::string& name, const std::string& text,
                   DWORD type = REG_SZ)
    {
        Set(root, path, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    // A multi-string value from strings joined as "a\0b\0" (the final empty string is added).
    void SetMultiString(HKEY root, const std::string& path, const std::string& name, const std::string& joined)
    {
        const std::string data = joined + '\0';
        Set(root, path, name, REG_MULTI_SZ, data.data(), static_cast<DWORD>(data.size()));
    }
    void SetDword(HKEY root, const std::string& path, const std::string& name, DWORD number)
    {
        Set(root, path, name, REG_DWORD, &number, sizeof number);
    }

private:
    struct Value {
        HKEY root;
        std::string path;
        std::string name;
    };
    std::vector<Value> createdKeys_;
    std::vector<Value> values_;
};

// Asks scanner to stop as soon as the walk shows a text that contains trigger: the
// entry being shown is still judged, the next one is not.
class StopSink : public ProgressSink {
public:
    StopSink(RegistryScanner& scanner, std::string trigger) : scanner_(scanner), trigger_(std::move(trigger))
    {
        scanner_.SetProgress(this);
    }
    int Range() const override { return range_; }
    int Step(int delta) override { return position_ += delta; }
    void SetRange(int n) override { range_ = n; }
    int Position() const override { return position_; }
    void SetPosition(int p) override { position_ = p; }
    void SetText(const std::string& text) override
    {
        if (text.find(trigger_) != std::string::npos) {
            scanner_.RequestStop();
        }
    }

private:
    RegistryScanner& scanner_;
    std::string trigger_;
    int range_ = 0;
    int position_ = 0;
};

// The operation log written to path for the life of the object; Lines() gives each
// line's text without its time stamp.
class CapturedLog {
public:
    explicit CapturedLog(std::string path) : path_(std::move(path))
    {
        DeleteFileA(path_.c_str());
        OperationLog::Start(path_);
    }
    ~CapturedLog()
    {
        OperationLog::Stop();
        DeleteFileA(path_.c_str());
    }
    CapturedLog(const CapturedLog&) = delete;
    CapturedLog& operator=(const CapturedLog&) = delete;

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

private:
    std::string path_;
};

// The log lines (without time stamps) that one scan by scanner writes.
inline std::vector<std::string> LoggedScan(RegistryScanner& scanner, const std::string& logPath)
{
    const CapturedLog log(logPath);
    IssueList list;
    scanner.Scan(&list);
    return log.Lines();
}
