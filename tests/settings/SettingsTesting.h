// The settings key and the RunOnce entry kept aside for a settings dialog test.
#pragma once

#include "settings/SettingsStore.h"
#include "tests/support/PlainRegistry.h"

#include <windows.h>

#include <string>

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
        WriteText(HKEY_LOCAL_MACHINE, path, name, text, type);
    }
    // The text of a value; kAbsent when there is none, "<type N>" when it is not REG_SZ.
    static std::string Value(const char* path, const char* name) { return ValueText(HKEY_LOCAL_MACHINE, path, name); }

private:
    static constexpr const char* kBackup = "Software\\CorvadinTest\\SettingsBackup";
    bool hadSettings_ = false;
    std::string runOnce_;
};
