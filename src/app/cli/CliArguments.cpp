#include "app/cli/CliArguments.h"

namespace orvo::cli {

bool CliArguments::Has(std::string_view name) const {
    return Last(name) != nullptr;
}

const std::vector<std::string>* CliArguments::Last(std::string_view name) const {
    for (auto it = options.rbegin(); it != options.rend(); ++it)
        if (it->name == name)
            return &it->values;
    return nullptr;
}

bool ListHolds(const char* list, std::string_view word) {
    std::string_view rest = list ? list : "";
    while (!rest.empty()) {
        const size_t blank = rest.find(' ');
        if (rest.substr(0, blank) == word)
            return true;
        if (blank == std::string_view::npos)
            break;
        rest.remove_prefix(blank + 1);
    }
    return false;
}

bool LooksLikeOperand(std::string_view word) {
    return word.size() < 2 || word[0] != '-' || (word[1] >= '0' && word[1] <= '9');
}

namespace {

const CliOption* FindOption(const std::vector<CliOption>& options, std::string_view name) {
    for (const CliOption& o : options)
        if (name == o.name)
            return &o;
    return nullptr;
}

std::string NeedsValues(const CliOption& option) {
    return std::string(option.name) + (option.values == 1
                                           ? " needs a value"
                                           : " needs " + std::to_string(option.values) + " values");
}

// "a b c" as "a, b or c".
std::string OneOf(std::string_view list) {
    std::vector<std::string_view> words;
    for (size_t blank; (blank = list.find(' ')) != std::string_view::npos;
         list.remove_prefix(blank + 1))
        words.push_back(list.substr(0, blank));
    words.push_back(list);
    std::string text;
    for (size_t i = 0; i < words.size(); ++i)
        text.append(i == 0 ? "" : i + 1 == words.size() ? " or " : ", ").append(words[i]);
    return text;
}

} // namespace

CliSplit SplitCliArguments(const std::vector<std::string>& words,
                           const std::vector<CliOption>& options) {
    CliSplit split;
    CliArguments& out = split.arguments;
    // The first mistake is the one reported, but --help anywhere still wins.
    auto mistake = [&split](std::string message) {
        if (split.error.empty())
            split.error = std::move(message);
    };
    std::vector<const CliOption*> used;
    bool ended = false;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (ended || LooksLikeOperand(word)) {
            out.operands.push_back(word);
            continue;
        }
        if (word == "--") {
            ended = true;
            continue;
        }
        if (word == "--help") {
            split.help = true;
            continue;
        }
        const size_t equals = word.find('=');
        const bool inWord = word.starts_with("--") && equals != std::string::npos;
        const CliOption* option = FindOption(options, inWord ? word.substr(0, equals) : word);
        if (!option) {
            mistake("unknown option " + word + " (put -- before an operand that begins with -)");
            continue;
        }
        CliArguments::Given given{option->name, {}};
        if (inWord) {
            if (option->values != 1) {
                mistake(option->values == 0 ? std::string(option->name) + " takes no value"
                                            : NeedsValues(*option) + ", as separate words");
                continue;
            }
            given.values.push_back(word.substr(equals + 1));
        } else {
            if (words.size() - i - 1 < static_cast<size_t>(option->values)) {
                mistake(NeedsValues(*option));
                break;
            }
            given.values.assign(words.begin() + static_cast<std::ptrdiff_t>(i + 1),
                                words.begin() +
                                    static_cast<std::ptrdiff_t>(i + 1 + option->values));
            i += option->values;
        }
        out.options.push_back(std::move(given));
        used.push_back(option);
    }
    // An option of one sub-command given to another is a mistake, wherever
    // it stands among the words.
    const std::string verb = out.operands.empty() ? std::string() : out.operands[0];
    for (const CliOption* option : used)
        if (option->verbs && !ListHolds(option->verbs, verb))
            mistake(std::string(option->name) + " goes with " + OneOf(option->verbs) +
                    (verb.empty() ? std::string() : ", not with " + verb));
    return split;
}

} // namespace orvo::cli
