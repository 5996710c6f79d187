// An issue's whole case in plain lines: the entry and its data, what was looked for and what Windows answered,
// the grade and its reason, and what a repair does. The window's details area, its Copy Details and the console's
// --details show this text.
#pragma once

#include <string>

class ScanIssue;

// Lines ended by "\r\n".
std::string IssueDetails(const ScanIssue& issue);
// What a repair of the issue deletes and where its backup goes, in one sentence.
std::string RepairWords(const ScanIssue& issue);
