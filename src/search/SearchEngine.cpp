#include "search/SearchEngine.h"

#include "platform/FileStatus.h"
#include "platform/OleDate.h"
#include "platform/PathText.h"
#include "search/CTextSearcher.h"
#include "search/HitStatusPipeline.h"
#include "search/NamePatterns.h"
#include "search/SearchConditions.h"
#include "search/SearchWalker.h"

#include <cstdlib>
#include <ctime>
#include <sys/stat.h>

namespace orvo {

// One search from its start to its end.
class SearchRun {
public:
    SearchRun(const SearchCriteria& criteria, SearchControl& control, SearchSink& sink)
        : criteria_(criteria), control_(control), sink_(sink) {}

    SearchSummary Run();

private:
    enum class PlaceEnd { Done, Broken, Closed };

    PlaceEnd SearchPlace(const std::string& place);
    void Visit(SearchWalker& walker);
    // Fills in what the entry's status tells and reports the hit.
    void Complete(SearchHit& hit, const struct stat& st, bool leadsNowhere);
    // Whether the open file holds the text as the mode asks; the sample of
    // the phrase found last goes into hit.
    bool HoldsText(SearchHit& hit);
    bool StopAsked() const {
        return !control_.searching_ || control_.lastKey_ == SearchControl::kEscape;
    }

    SearchCriteria criteria_;
    SearchControl& control_;
    SearchSink& sink_;
    NamePatternList names_;
    NamePatternList binaries_;
    SearchConditions conditions_;
    std::vector<std::string> phrases_;
    CTextSearcher searcher_;
    SearchCounts counts_;
    std::string caption_;
    std::string lastShown_;
    // A name search without conditions reads the status of its hits on a
    // second thread (only the hits need it, and only for their rows).
    std::unique_ptr<HitStatusPipeline> pipeline_;
};

SearchSummary SearchRun::Run() {
    SearchSummary summary;
    if (criteria_.names.empty())
        criteria_.names = "*.*";
    std::vector<std::string> names = SplitList(criteria_.names);
    std::vector<std::string> places =
        criteria_.placeList.empty() ? SplitList(criteria_.places) : criteria_.placeList;
    if (names.empty() || places.empty()) {
        control_.begun_ = false;
        control_.searching_ = false;
        summary.end = SearchEnd::NothingToDo;
        return summary;
    }
    names_ = NamePatternList(names);
    if (criteria_.excludeBinaries)
        binaries_ = NamePatternList(criteria_.binaryPatterns);
    conditions_ = SearchConditions::Build(criteria_, TimeToLocalOleDate(std::time(nullptr)));
    if (criteria_.textOn) {
        // Empty phrases ("a;;b", a trailing ";") would be found in every
        // file; they are left out.
        phrases_ = criteria_.textMode == TextMode::Simple ? std::vector<std::string>{criteria_.text}
                                                          : SplitList(criteria_.text);
        if (phrases_.empty())
            phrases_.push_back(std::string());
    }
    caption_ = SearchCaption(criteria_);
    if (!criteria_.textOn && conditions_.Empty())
        pipeline_ = std::make_unique<HitStatusPipeline>(
            [this](PendingHit& p) { Complete(p.hit, p.status, p.leadsNowhere); });

    if (!control_.begun_.exchange(false)) {
        control_.lastKey_ = 0;
        control_.searching_ = true;
    }
    for (const std::string& place : places) {
        PlaceEnd end = SearchPlace(place);
        if (end == PlaceEnd::Closed) {
            summary.end = SearchEnd::Closed;
            break;
        }
        if (end == PlaceEnd::Broken) {
            // A stop ends the whole search, not only the place being walked.
            summary.end = SearchEnd::Stopped;
            break;
        }
    }
    control_.searching_ = false;
    summary.counts = counts_;
    return summary;
}

SearchRun::PlaceEnd SearchRun::SearchPlace(const std::string& place) {
    sink_.PlaceStarted(place, caption_);
    SearchWalker walker;
    PlaceEnd end = PlaceEnd::Done;
    if (walker.Start(place, criteria_.followLinks)) {
        while (walker.Next()) {
            if (counts_.entries % 50 == 0) {
                if (pipeline_)
                    pipeline_->Deliver(false);
                sink_.Counts(counts_);
                if (control_.closed_)
                    return PlaceEnd::Closed;
                if (StopAsked()) {
                    end = PlaceEnd::Broken;
                    break;
                }
            }
            Visit(walker);
            int key = control_.lastKey_.exchange(0);
            if (control_.closed_)
                return PlaceEnd::Closed;
            if (key == SearchControl::kEscape || !control_.searching_) {
                end = PlaceEnd::Broken;
                break;
            }
            ++counts_.entries;
            if (key == SearchControl::kBackspace && walker.Depth() > 1)
                walker.SkipRestOfDirectory();
        }
    }
    if (pipeline_)
        pipeline_->Deliver(true);
    sink_.Counts(counts_);
    sink_.PlaceFinished(place, end == PlaceEnd::Broken, counts_);
    return end;
}

void SearchRun::Visit(SearchWalker& walker) {
    const std::string& shown = criteria_.textOn ? walker.Path() : walker.DirectoryPath();
    if (shown != lastShown_) {
        lastShown_ = shown;
        sink_.Searching(lastShown_);
    }

    // The entry's status is read only when needed: most entries of a name
    // search end at the name. A link reports what it leads to (a link that
    // leads nowhere, its own dates and nothing else); with "Follow the
    // links" a link to a file stands for that file, whose name is tested
    // and whose path is the hit.
    std::string target;
    std::string_view name = walker.Name();
    struct stat st {};
    bool known = false;
    bool leadsNowhere = false;
    if (walker.IsLink()) {
        known = walker.Status(st, true);
        if (!known) {
            known = leadsNowhere = walker.Status(st, false);
        } else if (criteria_.followLinks && !S_ISDIR(st.st_mode)) {
            // The file itself, through any further links, as a clean path.
            if (char* real = ::realpath(walker.Path().c_str(), nullptr)) {
                target = real;
                std::free(real);
                name = FileNameOf(target);
            }
        }
    }
    if (!names_.MatchesAny(name))
        return;
    const bool isDirectory =
        walker.IsDirectory() || (known && !leadsNowhere && S_ISDIR(st.st_mode));
    if (criteria_.textOn && isDirectory)
        return;
    if (criteria_.excludeBinaries && binaries_.MatchesAny(name))
        return;
    if (pipeline_) {
        PendingHit pending;
        pending.hit.path = target.empty() ? walker.Path() : target;
        NameParts parts = SplitExtension(name);
        pending.hit.name.assign(parts.stem);
        pending.hit.extension.assign(parts.extension);
        pending.hit.isDirectory = isDirectory;
        if (known) {
            pending.needsStatus = false;
            pending.status = st;
            pending.leadsNowhere = leadsNowhere;
        } else {
            pending.directoryFd = walker.SharedDirectoryFd();
            pending.entryName.assign(walker.Name());
        }
        pipeline_->Add(std::move(pending));
        return;
    }
    if (!known && (!criteria_.textOn || !conditions_.Empty()) &&
        !(known = walker.Status(st, false)))
        return; // gone since it was listed
    auto rowSize = [&] {
        return isDirectory || leadsNowhere ? uint64_t{0} : static_cast<uint64_t>(st.st_size);
    };
    if (!conditions_.Empty() &&
        !conditions_.Holds(conditions_.NeedsDate() ? TimeToLocalOleDate(st.st_mtime) : 0,
                           rowSize()))
        return;

    SearchHit hit;
    if (criteria_.textOn) {
        // Without "Follow the links" a link is not read through.
        bool opened = target.empty()
                          ? searcher_.OpenAt(walker.DirectoryFd(), walker.Name().data(), false,
                                             criteria_.wildcard, criteria_.matchCase)
                          : searcher_.Open(target, criteria_.wildcard, false, criteria_.matchCase);
        if (!opened)
            return; // unreadable files are not hits
        if (!known) {
            st = searcher_.Status();
            known = true;
        }
        bool holds = HoldsText(hit);
        searcher_.Close();
        if (!holds)
            return;
    }
    hit.path = target.empty() ? walker.Path() : target;
    NameParts parts = SplitExtension(name);
    hit.name.assign(parts.stem);
    hit.extension.assign(parts.extension);
    hit.isDirectory = isDirectory;
    Complete(hit, st, leadsNowhere);
}

void SearchRun::Complete(SearchHit& hit, const struct stat& st, bool leadsNowhere) {
    hit.size = hit.isDirectory || leadsNowhere ? uint64_t{0} : static_cast<uint64_t>(st.st_size);
    hit.modified = st.st_mtime;
    std::string name = hit.extension.empty() ? hit.name : hit.name + "." + hit.extension;
    hit.attributes = AttributeText(name, leadsNowhere ? 0 : st.st_mode);
    if (hit.isDirectory) {
        ++counts_.dirsFound;
    } else {
        ++counts_.filesFound;
        counts_.bytesFound += hit.size;
    }
    sink_.Hit(std::move(hit));
}

bool SearchRun::HoldsText(SearchHit& hit) {
    int64_t start = -1, end = -1;
    bool holds = false;
    switch (criteria_.textMode) {
    case TextMode::Simple:
        holds = searcher_.FindNext(phrases_.front(), &start, &end) >= 0;
        break;
    case TextMode::Or:
        for (const std::string& phrase : phrases_) {
            searcher_.Rewind();
            if ((holds = searcher_.FindNext(phrase, &start, &end) >= 0))
                break;
        }
        break;
    case TextMode::And:
        for (const std::string& phrase : phrases_) {
            searcher_.Rewind();
            if (!(holds = searcher_.FindNext(phrase, &start, &end) >= 0))
                break;
        }
        break;
    }
    if (holds)
        hit.sample = searcher_.Sample(static_cast<uint64_t>(start), static_cast<uint64_t>(end));
    return holds;
}

SearchSummary RunSearch(const SearchCriteria& criteria, SearchControl& control, SearchSink& sink) {
    return SearchRun(criteria, control, sink).Run();
}

} // namespace orvo
