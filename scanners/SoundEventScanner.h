// Sounds of application events whose sound file is missing.
#pragma once

#include "scanners/CategoryScanner.h"

class SoundEventScanner : public CategoryScanner {
public:
    explicit SoundEventScanner(IniStore* ini);
    // An application's key: its events, each with its schemes (".Current", ".Default", named ones).
    bool OnKey(RegistryKey* application) override;
    // The default value of one scheme key, which names the sound.
    bool OnValue(RegistryValue* sound) override;

private:
    void JudgeScheme(RegistryKey& scheme);
};
