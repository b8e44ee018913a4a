#pragma once

#include "search/WildcardPattern.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <sys/stat.h>

namespace orvo {

// Looks for phrases in one file. A file up to the chunk limit (64 MiB) is
// read whole into one buffer; a larger one is read in windows of that size
// that overlap by the longest stretch a phrase can take, which finds the
// same hits as one buffer would without ever holding the whole file. The
// buffer is folded to lower case once unless case matters. Only regular
// files are read; anything that cannot be opened or read is simply not
// searched.
class CTextSearcher {
public:
    static constexpr size_t kDefaultChunkLimit = size_t{64} << 20;

    CTextSearcher();
    ~CTextSearcher();
    CTextSearcher(const CTextSearcher&) = delete;
    CTextSearcher& operator=(const CTextSearcher&) = delete;

    // wholeWords is accepted and not used: text is never matched by word
    // boundaries. Symbolic links are read through. Returns whether the
    // file could be read.
    bool Open(const std::string& path, bool wildcard, bool wholeWords, bool matchCase);
    // The same for an entry of an open directory; a symbolic link is read
    // through only with followLink.
    bool OpenAt(int directoryFd, const char* name, bool followLink, bool wildcard, bool matchCase);
    void Close();
    bool IsOpen() const { return fd_ >= 0; }

    // The next hit of a phrase at or after the position (wildcard pattern
    // or plain text as opened); the position moves to the hit's start.
    // Returns the start or -1.
    int64_t FindNext(std::string_view phrase, int64_t* startOut = nullptr,
                     int64_t* endOut = nullptr);
    void Rewind() { position_ = 0; }

    // The file's status as opened.
    const struct stat& Status() const { return status_; }
    // The text around a hit as the file has it: 10 characters before its
    // start, the hit (at most 200 bytes of it) and 50 characters after,
    // each carriage return, line feed and tab made a blank.
    std::string Sample(uint64_t start, uint64_t end) const;

    // Tests make the limit small to cross window boundaries cheaply.
    void SetChunkLimit(size_t bytes);

private:
    class FileWindows;
    bool Load(int fd);
    const WildcardPattern& PatternFor(std::string_view phrase);

    std::unique_ptr<FileWindows> windows_;
    struct stat status_ {};
    int fd_ = -1;
    uint64_t position_ = 0;
    bool wildcard_ = false;
    bool matchCase_ = false;
    // The last phrase prepared, kept because every file of a search asks
    // for the same phrases.
    std::string preparedPhrase_;
    std::string preparedText_;
    bool preparedCase_ = false;
    WildcardPattern prepared_;
};

} // namespace orvo
