// Explorer's shell extension handlers whose class is registered in neither half of the classes, or whose
// in-process server file is gone: the handler lists below each class's shellex key (the file classes, "*",
// AllFilesystemObjects, Directory and its Background, Folder, Drive), the icon overlay identifiers and the list of
// approved extensions. Explorer loads these on every right-click, so a broken one slows or crashes it.
#pragma once

#include "scanners/ClassKeys.h"
#include "scanners/ComObjectScanner.h"

#include <string>

class ShellExtensionScanner : public ComObjectScanner {
public:
    explicit ShellExtensionScanner(IniStore* ini);
    // A class of either half, or an icon overlay identifier.
    bool OnKey(RegistryKey* key) override;
    // An approved extension: its name is the class.
    bool OnValue(RegistryValue* value) override;

protected:
    // A handler's issue is judged again on the handler's own key.
    void Revisit(const ScanIssue& issue) override;

private:
    // Judges the handler lists below one shellex key.
    void JudgeShellex(RegistryKey& shellex);
    // Judges one handler key: its default value names the class, or its own name does.
    void JudgeHandler(RegistryKey& handlerKey);
    // What is wrong with the class a handler names ("" when nothing is).
    std::string HandlerProblem(const std::string& classId, RegistryView view);
    std::string ClassProblem(const std::string& classId, RegistryView view);

};
