// The cheapest correct walk over a category's entries, to measure a scan against: it answers the questions a scan
// asks as cheaply as Windows allows and shares no code with the scanners. It walks the start keys of the category
// table (walk kind, both views where Windows keeps them apart, both class halves), with the narrow functions:
// each entry's value read relative to the enumerated parent with one RegGetValueA, one GetFileAttributesA per
// path, and just enough parsing to find the path. A category it knows no reads for has the default value of each
// subkey, or each value's text, taken as the path.
#pragma once

#include "scanners/Categories.h"

#include <string>
#include <vector>

// The entries the walk visited. Shortcut folders come from the ini file the scan reads.
int WalkBare(const CategoryInfo& category, const std::vector<std::string>& shortcutFolders);
