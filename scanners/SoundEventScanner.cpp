#include "scanners/SoundEventScanner.h"

#include "engine/ScanIssue.h"
#include "registry/RegistryEnumeration.h"
#include "registry/RegistryValue.h"
#include "registry/RegistryView.h"
#include "scanners/FileChecks.h"

#include <functional>

namespace {

// Hands every subkey of a key to a function. The walk is one entry of the category's own walk: it counts its
// entries and obeys the stop flag, but leaves the progress bar to the outer walk.
class SubkeyWalk : public RegistryVisitor, public WalkContext {
public:
    SubkeyWalk(RegistryScanner& scanner, std::function<void(RegistryKey&)> visit)
        : scanner_(scanner), visit_(std::move(visit))
    {
    }
    void Walk(RegistryKey& key) { EnumerateSubkeys(key, *this, *this); }

    bool OnKey(RegistryKey* key) override
    {
        if (key) {
            visit_(*key);
        }
        return true;
    }
    bool OnValue(RegistryValue*) override { return true; }
    bool IsStopRequested() const override { return scanner_.IsStopRequested(); }
    ProgressSink* Progress() const override { return nullptr; }
    void NoteOutsideCodePage() override { scanner_.NoteOutsideCodePage(); }
    void NoteEntry() override { scanner_.NoteEntry(); }

private:
    RegistryScanner& scanner_;
    std::function<void(RegistryKey&)> visit_;
};

// A bare file name is played from the Windows media folder; any other text that is not a full path is not judged.
std::string SoundFilePath(const std::string& text)
{
    if (text.empty()) {
        return {};
    }
    if (text.find_first_of("\\/:") == std::string::npos) {
        const std::string& windows = SystemWindowsFolder();
        return windows.empty() ? std::string() : windows + "\\Media\\" + text;
    }
    return IsFullyQualified(text) ? text : std::string();
}

}  // namespace

SoundEventScanner::SoundEventScanner(IniStore* ini) : CategoryScanner(ini, Category::SoundEvent) {}

bool SoundEventScanner::OnKey(RegistryKey* application)
{
    if (!application) {
        return true;
    }
    SubkeyWalk schemes(*this, [this](RegistryKey& scheme) { JudgeScheme(scheme); });
    SubkeyWalk events(*this, [&schemes](RegistryKey& event) { schemes.Walk(event); });
    events.Walk(*application);
    return !IsStopRequested();
}

void SoundEventScanner::JudgeScheme(RegistryKey& scheme)
{
    Ref<RegistryValue> sound;
    if (ReadForJudging(scheme, "", sound) && sound) {
        OnValue(sound.get());
    }
}

bool SoundEventScanner::OnValue(RegistryValue* sound)
{
    if (!sound || (sound->Type() != REG_SZ && sound->Type() != REG_EXPAND_SZ)) {
        return true;
    }
    // An empty value plays nothing, on purpose; a variable this program cannot expand names no place it can look.
    const std::string text = ExpandVariables(sound->GetString(0));
    const std::string path = text.find('%') == std::string::npos ? SoundFilePath(text) : std::string();
    if (path.empty() || FileExists(path, Looked()) || !IsOnAvailableDrive(path)) {
        return true;
    }
    ReportIssue(ValueIssue, sound, " missing file:" + path);
    return true;
}
