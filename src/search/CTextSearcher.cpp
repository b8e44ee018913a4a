#include "search/CTextSearcher.h"

#include "search/TextCase.h"
#include "search/TextFinding.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace orvo {

namespace {

// Reads up to n bytes at offset (or at the current offset when offset is
// negative); fewer only at the end of the file or on an error.
size_t ReadFully(int fd, char* into, size_t n, int64_t offset) {
    size_t got = 0;
    while (got < n) {
        ssize_t r = offset < 0 ? ::read(fd, into + got, n - got)
                               : ::pread(fd, into + got, n - got,
                                         static_cast<off_t>(offset) + static_cast<off_t>(got));
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        got += static_cast<size_t>(r);
    }
    return got;
}

bool Continuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t Utf8Step(const std::string& s, size_t i) {
    size_t n = 1;
    while (i + n < s.size() && Continuation(s[i + n]))
        ++n;
    return n;
}

} // namespace

// The file's bytes as windows: the whole file when it fits the chunk
// limit, else one chunk plus the overlap asked for at a time.
class CTextSearcher::FileWindows : public WindowedText {
public:
    size_t chunkLimit = kDefaultChunkLimit;
    bool fold = false;

    // Reads the start of the file; false when it cannot be read.
    bool Load(int fd, uint64_t sizeHint) {
        fd_ = fd;
        loadedChunk_ = UINT64_MAX;
        // Nothing of the previous file is kept: growing the buffer copies
        // only what this file has put in it so far.
        size_ = 0;
        size_t want = static_cast<size_t>(std::min<uint64_t>(sizeHint, chunkLimit));
        Reserve(want + 1);
        for (;;) {
            // A file is read as far as its status says it reaches, in one
            // call; only one that reports no length (as /proc files do) or
            // one too long for a buffer is read on to find its end.
            size_t room = size_ < want ? want - size_ : capacity_ - size_;
            errno = 0;
            size_t got = ReadFully(fd, buffer_.get() + size_, room, -1);
            size_ += got;
            if (got < room) {
                if (errno != 0 && errno != EINTR)
                    return false;
                break; // the end of the file
            }
            if (size_ == want && want == sizeHint && want > 0)
                break;
            if (size_ > chunkLimit)
                break; // too large for one buffer: windows from here on
            Reserve(std::min(capacity_ * 2, chunkLimit + 1));
        }
        whole_ = size_ <= chunkLimit;
        if (whole_ && fold)
            FoldTextInPlace(buffer_.get(), size_);
        if (!whole_)
            size_ = 0;
        return true;
    }

    TextWindow WindowAt(uint64_t from, size_t overlap) override {
        if (whole_)
            return {buffer_.get(), 0, size_, size_, true};
        uint64_t chunk = from / chunkLimit;
        uint64_t start = chunk * chunkLimit;
        if (chunk != loadedChunk_ || overlap > loadedOverlap_) {
            size_t want = chunkLimit + std::max<size_t>(overlap, 1);
            Reserve(want);
            size_ = ReadFully(fd_, buffer_.get(), want, static_cast<int64_t>(start));
            last_ = size_ < want;
            if (fold)
                FoldTextInPlace(buffer_.get(), size_);
            loadedChunk_ = chunk;
            loadedOverlap_ = overlap;
        }
        return {buffer_.get(), start, size_, start + chunkLimit, last_};
    }

    // Keeps a buffer of one file's size from staying around after it.
    void Trim() {
        if (capacity_ > (size_t{16} << 20)) {
            buffer_.reset();
            capacity_ = 0;
            size_ = 0;
        }
    }

private:
    void Reserve(size_t n) {
        if (n <= capacity_)
            return;
        // No zero filling: the bytes are read over at once.
        std::unique_ptr<char[]> bigger(new char[n]);
        std::copy(buffer_.get(), buffer_.get() + size_, bigger.get());
        buffer_ = std::move(bigger);
        capacity_ = n;
    }

    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0;
    size_t size_ = 0;
    int fd_ = -1;
    bool whole_ = true;
    bool last_ = true;
    uint64_t loadedChunk_ = UINT64_MAX;
    size_t loadedOverlap_ = 0;
};

CTextSearcher::CTextSearcher() : windows_(std::make_unique<FileWindows>()) {}

CTextSearcher::~CTextSearcher() {
    Close();
}

void CTextSearcher::SetChunkLimit(size_t bytes) {
    windows_->chunkLimit = std::max<size_t>(bytes, 1);
}

void CTextSearcher::Close() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    position_ = 0;
    windows_->Trim();
}

bool CTextSearcher::Open(const std::string& path, bool wildcard, bool wholeWords, bool matchCase) {
    return OpenAt(AT_FDCWD, path.c_str(), true, wildcard, matchCase);
}

bool CTextSearcher::OpenAt(int directoryFd, const char* name, bool followLink, bool wildcard,
                           bool matchCase) {
    Close();
    wildcard_ = wildcard;
    matchCase_ = matchCase;
    // Non-blocking, so that a FIFO met on the way cannot hang the search
    // before it is recognised and left alone.
    int flags = O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK | (followLink ? 0 : O_NOFOLLOW);
    int fd = ::openat(directoryFd, name, flags);
    if (fd < 0)
        return false;
    if (::fstat(fd, &status_) != 0 || !S_ISREG(status_.st_mode)) {
        ::close(fd);
        return false;
    }
    windows_->fold = !matchCase;
    if (!Load(fd)) {
        ::close(fd);
        return false;
    }
    fd_ = fd;
    return true;
}

bool CTextSearcher::Load(int fd) {
    return windows_->Load(fd, static_cast<uint64_t>(std::max<off_t>(status_.st_size, 0)));
}

const WildcardPattern& CTextSearcher::PatternFor(std::string_view phrase) {
    if (preparedPhrase_ != phrase || preparedCase_ != matchCase_ || preparedText_.empty()) {
        preparedPhrase_.assign(phrase);
        preparedCase_ = matchCase_;
        preparedText_ = preparedPhrase_;
        if (preparedText_.empty() || preparedText_.back() != '*')
            preparedText_.push_back('*');
        prepared_ = WildcardPattern(preparedText_, matchCase_);
    }
    return prepared_;
}

int64_t CTextSearcher::FindNext(std::string_view phrase, int64_t* startOut, int64_t* endOut) {
    if (fd_ < 0)
        return -1;
    uint64_t end = 0;
    int64_t start;
    if (wildcard_) {
        start = FindPatternFrom(*windows_, PatternFor(phrase), position_, &end, !matchCase_);
    } else if (matchCase_) {
        start = FindBytes(*windows_, phrase, position_, &end);
    } else {
        thread_local std::string folded;
        folded.assign(phrase);
        FoldTextInPlace(folded.data(), folded.size());
        start = FindBytes(*windows_, folded, position_, &end);
    }
    if (start < 0)
        return -1;
    position_ = static_cast<uint64_t>(start);
    if (startOut)
        *startOut = start;
    if (endOut)
        *endOut = static_cast<int64_t>(end);
    return start;
}

std::string CTextSearcher::Sample(uint64_t start, uint64_t end) const {
    if (fd_ < 0 || end < start)
        return {};
    constexpr size_t kCharsBefore = 10, kCharsAfter = 50, kMaxHitBytes = 200;
    // Four bytes are the longest character, so these reads hold enough.
    const uint64_t beforeFrom = start > kCharsBefore * 4 ? start - kCharsBefore * 4 : 0;
    std::string before(static_cast<size_t>(start - beforeFrom), '\0');
    before.resize(ReadFully(fd_, before.data(), before.size(), static_cast<int64_t>(beforeFrom)));
    size_t from = before.size();
    for (size_t chars = 0; chars < kCharsBefore && from > 0; ++chars) {
        --from;
        while (from > 0 && Continuation(before[from]))
            --from;
    }

    const size_t hitBytes = static_cast<size_t>(std::min<uint64_t>(end - start, kMaxHitBytes));
    std::string rest(hitBytes + kCharsAfter * 4, '\0');
    rest.resize(ReadFully(fd_, rest.data(), rest.size(), static_cast<int64_t>(start)));
    size_t stop = std::min(hitBytes, rest.size());
    while (stop > 0 && stop < rest.size() && Continuation(rest[stop]))
        --stop; // a long hit is cut at a character's start
    for (size_t chars = 0; chars < kCharsAfter && stop < rest.size(); ++chars)
        stop += Utf8Step(rest, stop);

    std::string sample = before.substr(from) + rest.substr(0, stop);
    for (char& c : sample) {
        if (c == '\r' || c == '\n' || c == '\t')
            c = ' ';
        else if (c == '\0')
            c = '\1'; // a cell's text ends at a zero byte
    }
    return sample;
}

} // namespace orvo
