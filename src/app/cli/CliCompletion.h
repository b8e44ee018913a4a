#pragma once

#include <string>
#include <vector>

namespace orvo::cli {

// What the shell may put in place of the last word of `orvo WORDS...`
// (the words after "orvo", the last one being typed, possibly empty): one
// candidate a line, beginning with that word, and a line ":files" when a
// file name fits there. Returns the exit status.
int CompleteWords(const std::vector<std::string>& words);

} // namespace orvo::cli
