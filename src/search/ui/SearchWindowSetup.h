#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

namespace orvo {

// What a search window is opened with.
struct SearchWindowSetup {
    // The directory of the browse window it was opened for, and the
    // directories selected there.
    QString currentDirectory;
    QStringList selectedDirectories;
    // Names of the "Binary" special files, for "Exclude binaries".
    std::vector<std::string> binaryPatterns;
    // Ready-made name patterns: a label and its patterns each.
    QStringList patternLabels;
    QStringList patterns;
    // The quick-search form of a path box: names and text to search at
    // once, then a list window of the hits.
    QString names;
    QString text;
    bool searchText = false;
    bool listWhenDone = false;
};

} // namespace orvo
