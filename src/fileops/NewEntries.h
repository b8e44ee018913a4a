#pragma once

#include <string>
#include <vector>

namespace orvo {

// Creating directories and files with comments, several at once: what the
// "Create new directory" dialog does once it has its answers.

// The pieces of the dialog's name or comment text: split at every ";"
// when several are meant, else the whole text as one.
std::vector<std::string> SplitEntryNames(const std::string& text, bool multiple);

struct NewEntriesReport {
    // The full paths asked for, in order (an empty name gives an empty
    // path and is skipped).
    std::vector<std::string> paths;
    // The paths that are directories now, made or found.
    std::vector<std::string> created;
    // What this call made, per name that made anything: the topmost
    // directory its mkdir created ("a/b" where "a" was there gives "a/b").
    // A name that existed already is not here, so nothing that was there
    // before can be mistaken for something made.
    std::vector<std::string> made;
    // "Couldn't create PATH" and the failures of the transfers.
    std::vector<std::string> messages;
};

// Makes directory + "/" + each name, component by component. Every
// component must be a directory of its own (a link in the way is a
// failure, not a way elsewhere); a failure is reported and the next name
// still tried.
NewEntriesReport CreateNewDirectories(const std::string& directory,
                                      const std::vector<std::string>& names);

// Comment i goes to path i where both exist and the comment is not empty.
void ApplyNewEntryComments(const std::vector<std::string>& paths,
                           const std::vector<std::string>& comments);

// Copies (or moves) the entries into each of the directories at once,
// without the operation window (see TreeMerge): a directory that exists
// there already is merged into. Entries already there are replaced only
// with replaceExisting, else kept with their comments. Moving into several
// directories copies into all but the last and moves into the last, so
// that each receives the entries. The failures are appended to messages.
void TransferIntoDirectories(const std::vector<std::string>& items,
                             const std::vector<std::string>& directories, bool move,
                             bool replaceExisting, std::vector<std::string>& messages);

// A template of the file-types directory.
struct FileTemplate {
    std::string fileName; // "Text file.txt"
    std::string path;
    std::string extension; // "txt"; "" for a template without one
};

// The templates of a directory (every regular file but the comment file),
// by name; empty when the directory is missing.
std::vector<FileTemplate> ListFileTemplates(const std::string& directory);
// The one offered first: "Text file.txt" when present, else the first.
int DefaultTemplateIndex(const std::vector<FileTemplate>& templates);
// The file-types directory of the data directory.
std::string FileTemplatesDirectory();

// A new file's name: a name without an extension gets the template's.
std::string NewFileName(const std::string& name, const FileTemplate& chosen);

enum class NewFileResult { Created, Exists, Failed };
// Copies the template to target with the current time as its times (an
// empty template path makes an empty file). An existing target is replaced
// only with overwrite (never a directory).
NewFileResult CreateFileFromTemplate(const FileTemplate& chosen, const std::string& target,
                                     bool overwrite);

} // namespace orvo
