// Helpers for the settings dialog's tests: the settings key and the RunOnce entry kept aside for a test, and a
// second thread that drives a modal dialog as a person would while the test's thread runs it.
#pragma once

#include "settings/SettingsStore.h"

#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

constexpr const char* kSettingsKey = "Software\\Quenmark\\Corvadin";
constexpr const char* kRunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

// Moves whatever the settings key and the RunOnce entry hold out of the way for one test, starts the test without
// a settings key, and puts everything back afterwards.
class SettingsKeyKeeper {
public:
    SettingsKeyKeeper()
    {
        InitSettingsLocation("C:\\Program Files\\Corvadin\\Corvadin.exe");
        RegDeleteTreeA(HKEY_CURRENT_USER, kBackup);
        HKEY backup = nullptr;
        RegCreateKeyExA(HKEY_CURRENT_USER, kBackup, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &backup, nullptr);
        HKEY settings = nullptr;
        hadSettings_ = RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &settings) == ERROR_SUCCESS;
        if (hadSettings_) {
            RegCopyTreeA(settings, nullptr, backup);
            RegCloseKey(settings);
        }
        RegCloseKey(backup);
        runOnce_ = Value(kRunOnceKey, "Fenwarder");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
    }
    ~SettingsKeyKeeper()
    {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kSettingsKey);
        if (hadSettings_) {
            HKEY settings = nullptr;
            RegCreateKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &settings,
                            nullptr);
            HKEY backup = nullptr;
            RegOpenKeyExA(HKEY_CURRENT_USER, kBackup, 0, KEY_READ, &backup);
            RegCopyTreeA(backup, nullptr, settings);
            RegCloseKey(backup);
            RegCloseKey(settings);
        }
        RegDeleteTreeA(HKEY_CURRENT_USER, kBackup);
        if (runOnce_ == kAbsent) {
            RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, kRunOnceKey, "Fenwarder");
        } else {
            Plant(kRunOnceKey, "Fenwarder", runOnce_);
        }
    }
    SettingsKeyKeeper(const SettingsKeyKeeper&) = delete;
    SettingsKeyKeeper& operator=(const SettingsKeyKeeper&) = delete;

    static constexpr const char* kAbsent = "<absent>";

    static void Plant(const char* path, const char* name, const std::string& text, DWORD type = REG_SZ)
    {
        RegSetKeyValueA(HKEY_LOCAL_MACHINE, path, name, type, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }
    // The text of a value; kAbsent when there is none, "<type N>" when it is not REG_SZ.
    static std::string Value(const char* path, const char* name)
    {
        std::vector<char> text(20000);
        DWORD size = static_cast<DWORD>(text.size());
        DWORD type = 0;
        if (RegGetValueA(HKEY_LOCAL_MACHINE, path, name, RRF_RT_ANY | RRF_NOEXPAND, &type, text.data(), &size) !=
            ERROR_SUCCESS) {
            return kAbsent;
        }
        return type == REG_SZ ? std::string(text.data()) : "<type " + std::to_string(type) + ">";
    }
    // Every value of the settings key as name=text lines, in the key's order.
    static std::string Dump()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSettingsKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
            return "<no key>";
        }
        std::string dump;
        char name[1024];
        for (DWORD index = 0;; ++index) {
            DWORD length = sizeof name;
            if (RegEnumValueA(key, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
                break;
            }
            dump += std::string(name) + "=" + Value(kSettingsKey, name) + "\n";
        }
        RegCloseKey(key);
        return dump;
    }

private:
    static constexpr const char* kBackup = "Software\\CorvadinTest\\SettingsBackup";
    bool hadSettings_ = false;
    std::string runOnce_;
};

// Polls until condition holds or the time is up; returns the condition. For the driving thread, which has no
// windows of its own to pump.
template <typename Condition>
bool WaitUntil(Condition condition, DWORD milliseconds = 5000)
{
    const DWORD start = GetTickCount();
    while (!condition() && GetTickCount() - start < milliseconds) {
        Sleep(20);
    }
    return condition();
}

// A shown top-level dialog window of this process with caption; null when none appears in time.
inline HWND WaitForDialog(const char* caption, DWORD milliseconds = 5000)
{
    HWND found = nullptr;
    WaitUntil(
        [&] {
            found = FindWindowA("#32770", caption);
            return found && IsWindowVisible(found);
        },
        milliseconds);
    return found && IsWindowVisible(found) ? found : nullptr;
}

// The texts of a message box's static controls, joined.
inline std::string MessageText(HWND box)
{
    std::string text;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[32] = "";
        char caption[1024] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") == 0 && GetWindowTextA(child, caption, sizeof caption) > 0) {
            text += caption;
        }
    }
    return text;
}

// Runs run() (a modal loop) on this thread while script drives it from a second one. A script ends the run itself;
// whatever it still leaves open a few seconds later is cancelled, so that a failing test cannot hang the run.
inline void RunDriven(const std::function<void()>& run, const std::function<void()>& script,
                      const char* caption)
{
    std::thread driver([&] {
        script();
        if (WaitUntil([&] { return !FindWindowA("#32770", caption); }, 3000)) {
            return;
        }
        WaitUntil([&] {
            for (const char* open : {"Error", caption}) {
                if (HWND window = FindWindowA("#32770", open)) {
                    PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
                }
            }
            return !FindWindowA("#32770", caption);
        });
    });
    run();
    driver.join();
}
