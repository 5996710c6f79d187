// Whether a file class, extension, COM class, interface or type library is registered, asked as Windows' merged
// view answers it: the user's half (HKEY_CURRENT_USER\Software\Classes) first, then the machine's, each in the
// entry's view. Asking the merged key itself would depend on the system merging it, which not every one does.
#pragma once

#include "registry/RegistryView.h"
#include "scanners/CommandVerdicts.h"
#include "scanners/Looks.h"

#include <windows.h>

#include <string>
#include <unordered_map>
#include <utility>

// True when either half holds parent\name below Software\Classes (parent may be empty). Each answer goes to looks;
// only "not found" in both halves proves the class absent.
bool ClassIsRegistered(const std::string& parent, const std::string& name, RegistryView view, Looks& looks);
// The half (HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE) whose parent\name the merged view shows, or null when neither
// holds it or one of them cannot be asked.
HKEY RegisteredHalf(const std::string& parent, const std::string& name, RegistryView view, Looks& looks);

// "{00020424-0000-0000-C000-000000000046}": the form in which class, interface and library ids are written.
bool IsClassIdText(const std::string& text) noexcept;

// A judgement of one class made once per scan: many entries name the same class (thousands of interfaces share one
// marshaler, a program's handlers share its class), and each judgement opens keys in both halves. At most
// VerdictLimit judgements are kept at a time.
class ClassVerdicts {
public:
    // What judge(looks) said of the class that key names ("" for nothing wrong), asked at most once per key; the
    // looks that led to it go to looks every time.
    template <class Judge>
    std::string Of(const std::string& key, Looks& looks, Judge judge)
    {
        const std::string folded = Folded(key);
        auto found = verdicts_.find(folded);
        if (found == verdicts_.end()) {
            if (verdicts_.size() >= VerdictLimit) {
                verdicts_.clear();
            }
            Verdict verdict;
            verdict.problem = judge(verdict.looks);
            found = verdicts_.emplace(folded, std::move(verdict)).first;
        }
        looks.Add(found->second.looks);
        return found->second.problem;
    }
    void Clear() { verdicts_ = {}; }

private:
    struct Verdict {
        std::string problem;
        Looks looks;
    };
    // Registry names are alike whatever their case.
    static std::string Folded(const std::string& key);

    std::unordered_map<std::string, Verdict> verdicts_;
};
