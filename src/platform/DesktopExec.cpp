#include "platform/DesktopExec.h"

namespace orvo {

namespace {

// A piece of an argument: literal text, or a field code with whether it
// stood inside quotes.
struct Piece {
    std::string text;
    char code = 0;
    bool quoted = false;
};

struct Word {
    std::vector<Piece> pieces;
    bool hadQuotes = false; // "" is an empty argument, not none
};

bool IsFileCode(char c) {
    return c == 'f' || c == 'u' || c == 'F' || c == 'U';
}

bool IsListCode(char c) {
    return c == 'F' || c == 'U';
}

// Splits by the Exec quoting rules; field codes are found in the same pass
// so that an escaped character is never mistaken for one.
std::optional<std::vector<Word>> Split(std::string_view exec) {
    std::vector<Word> words;
    Word word;
    bool inWord = false, quoted = false;
    auto literal = [&](char c) {
        if (word.pieces.empty() || word.pieces.back().code != 0)
            word.pieces.emplace_back();
        word.pieces.back().text.push_back(c);
    };
    for (size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (c == '%' && i + 1 < exec.size()) {
            char code = exec[++i];
            if (code == '%')
                literal('%');
            else
                word.pieces.push_back(Piece{{}, code, quoted});
            inWord = true;
        } else if (quoted) {
            if (c == '\\' && i + 1 < exec.size())
                literal(exec[++i]);
            else if (c == '"')
                quoted = false;
            else
                literal(c);
        } else if (c == '"') {
            quoted = inWord = word.hadQuotes = true;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(std::move(word));
            word = Word{};
            inWord = false;
        } else {
            literal(c);
            inWord = true;
        }
    }
    if (quoted)
        return std::nullopt;
    if (inWord)
        words.push_back(std::move(word));
    return words;
}

std::string ShellQuoted(const std::string& text) {
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out.push_back(c);
    }
    return out + "'";
}

std::string ShellWords(const std::vector<std::string>& texts) {
    std::string out;
    for (const std::string& t : texts)
        out += (out.empty() ? "" : " ") + ShellQuoted(t);
    return out;
}

// Appends one word's arguments. files are those of this process; a word
// with an unquoted %F or %U becomes one argument per file.
void ExpandWord(const Word& word, const std::vector<std::string>& files, const ExecContext& context,
                std::vector<std::string>& argv) {
    bool perFile = false;
    for (const Piece& p : word.pieces)
        perFile = perFile || (p.code && IsListCode(p.code) && !p.quoted);
    if (word.pieces.size() == 1 && word.pieces[0].code == 'i' && !word.pieces[0].quoted) {
        if (!context.icon.empty())
            argv.insert(argv.end(), {"--icon", context.icon});
        return;
    }
    const size_t rounds = perFile ? files.size() : 1;
    for (size_t round = 0; round < rounds; ++round) {
        std::string out;
        bool anyText = word.hadQuotes;
        for (const Piece& p : word.pieces) {
            std::string value;
            if (!p.code) {
                value = p.text;
            } else if (IsFileCode(p.code)) {
                if (perFile && !p.quoted && IsListCode(p.code))
                    value = files[round];
                else if (IsListCode(p.code))
                    value = ShellWords(files);
                else if (!files.empty())
                    value = p.quoted ? ShellQuoted(files.front()) : files.front();
            } else if (p.code == 'c' || p.code == 'k') {
                value = p.code == 'c' ? context.name : context.entryPath;
                if (p.quoted)
                    value = ShellQuoted(value);
            } else if (p.code == 'i' && p.quoted && !context.icon.empty()) {
                value = "--icon " + ShellQuoted(context.icon);
            }
            // The deprecated and unknown codes expand to nothing.
            anyText = anyText || !value.empty() || (!p.code && !p.text.empty());
            out += value;
        }
        if (anyText)
            argv.push_back(std::move(out));
    }
}

} // namespace

bool ExecTakesFiles(std::string_view exec) {
    auto words = Split(exec);
    if (!words)
        return false;
    for (const Word& w : *words)
        for (const Piece& p : w.pieces)
            if (IsFileCode(p.code))
                return true;
    return false;
}

std::optional<std::vector<std::vector<std::string>>>
ExpandExecForFiles(std::string_view exec, const std::vector<std::string>& files,
                   const ExecContext& context) {
    auto words = Split(exec);
    if (!words || words->empty())
        return std::nullopt;
    bool listCode = false, fileCode = false;
    for (const Word& w : *words)
        for (const Piece& p : w.pieces) {
            listCode = listCode || IsListCode(p.code);
            fileCode = fileCode || IsFileCode(p.code);
        }

    auto expand = [&](const std::vector<std::string>& these) {
        std::vector<std::string> argv;
        for (const Word& w : *words)
            ExpandWord(w, these, context, argv);
        if (!fileCode)
            argv.insert(argv.end(), these.begin(), these.end());
        return argv;
    };
    std::vector<std::vector<std::string>> processes;
    if (listCode || files.empty()) {
        processes.push_back(expand(files));
    } else {
        for (const std::string& f : files)
            processes.push_back(expand({f}));
    }
    for (const auto& argv : processes)
        if (argv.empty() || argv.front().empty())
            return std::nullopt;
    return processes;
}

std::vector<std::string> ExpandExecLine(std::string_view exec, const std::string& file,
                                        const std::string& name, const std::string& entryPath) {
    std::vector<std::string> files;
    if (!file.empty())
        files.push_back(file);
    auto processes = ExpandExecForFiles(exec, files, ExecContext{name, {}, entryPath});
    return processes ? processes->front() : std::vector<std::string>{};
}

} // namespace orvo
