// orvo options list | get [--bool|--int|--string] KEY | set [--bool|--int|--string] KEY VALUE
#include "app/cli/CliCommand.h"
#include "platform/DataDirectory.h"
#include "settings/CellReading.h"
#include "settings/OptionAccessors.h"
#include "settings/OptionTables.h"
#include "settings/OptionsStore.h"

#include <charconv>
#include <cstdio>
#include <strings.h>

namespace orvo::cli {

namespace {

struct OptionKind {
    const char* flag;
    const char* name; // as `list` prints it
    const char* table;
};

const OptionKind kKinds[] = {
    {"--bool", "bool", kBoolOptionsTable},
    {"--string", "string", kStringOptionsTable},
    {"--int", "int", kIntOptionsTable},
};

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

std::string CellText(const OptionKind& kind, const QValue& cell) {
    if (kind.table == kBoolOptionsTable)
        return CellIsTrue(cell) ? "TRUE" : "FALSE";
    if (kind.table == kIntOptionsTable)
        return std::to_string(CellAsInt(cell));
    return cell.ToText();
}

// The options as the program would see them; a file that cannot be read
// stops the command rather than showing or overwriting defaults.
bool Open(OptionsStore& store, const std::string& dataDirectory) {
    OptionsLoadResult r = store.Load(OptionsFilePath(dataDirectory));
    if (!r.Ok()) {
        Fail(r.message);
        return false;
    }
    return true;
}

// The type flag given, if any; more than one is a mistake.
const OptionKind* KindGiven(const CliArguments& args, bool& bad) {
    const OptionKind* kind = nullptr;
    bad = false;
    for (const CliArguments::Given& given : args.options)
        for (const OptionKind& k : kKinds)
            if (given.name == k.flag) {
                bad = bad || kind != nullptr;
                kind = &k;
            }
    return kind;
}

// The kinds whose table holds the key.
std::vector<const OptionKind*> KindsHolding(const QDataBase& db, const std::string& key) {
    std::vector<const OptionKind*> found;
    for (const OptionKind& k : kKinds) {
        const QTable* t = db.GetTable(k.table);
        if (t && FindOptionRow(*t, key) >= 0)
            found.push_back(&k);
    }
    return found;
}

// The kind a key without a type flag refers to, or null after a message.
const OptionKind* KindOf(const QDataBase& db, const std::string& key) {
    std::vector<const OptionKind*> kinds = KindsHolding(db, key);
    if (kinds.empty()) {
        Fail("there is no option \"" + key + "\"; name its type with --bool, --int or --string");
        return nullptr;
    }
    if (kinds.size() > 1) {
        Fail("\"" + key + "\" is both a " + kinds[0]->name + " and a " + kinds[1]->name +
             " option; say which with " + kinds[0]->flag + " or " + kinds[1]->flag);
        return nullptr;
    }
    return kinds[0];
}

int List() {
    OptionsStore store;
    if (!Open(store, DataDirectoryPath()))
        return 1;
    for (const OptionKind& k : kKinds) {
        const QTable* t = store.Database().GetTable(k.table);
        for (int row = 0; t && row < t->GetRecordCount(); ++row)
            Print(std::string(k.name) + '\t' + EscapeCell(t->GetText(kOptionNameColumn, row)) +
                  '\t' + EscapeCell(CellText(k, t->GetValue(kOptionValueColumn, row))));
    }
    return 0;
}

int Get(const OptionKind* kind, const std::string& key) {
    OptionsStore store;
    if (!Open(store, DataDirectoryPath()))
        return 1;
    const QDataBase& db = store.Database();
    if (!kind && !(kind = KindOf(db, key)))
        return 1;
    // With a type flag a missing key prints what the program reads for it.
    if (kind->table == kBoolOptionsTable)
        Print(GetBoolOption(db, key) ? "TRUE" : "FALSE");
    else if (kind->table == kIntOptionsTable)
        Print(std::to_string(GetIntOption(db, key)));
    else
        Print(EscapeCell(GetStringOption(db, key)));
    return 0;
}

bool ParseBool(const std::string& text, bool& value) {
    for (const char* yes : {"true", "1", "yes", "on"})
        if (strcasecmp(text.c_str(), yes) == 0)
            return value = true, true;
    for (const char* no : {"false", "0", "no", "off"})
        if (strcasecmp(text.c_str(), no) == 0)
            return value = false, true;
    return false;
}

bool ParseInt(const std::string& text, int32_t& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end && !text.empty();
}

int Set(const OptionKind* kind, const std::string& key, const std::string& text) {
    if (key.empty())
        return Fail("an option needs a name");
    std::string dir = EnsureDataDirectory();
    OptionsStore store;
    if (!Open(store, dir))
        return 1;
    QDataBase& db = store.Database();
    if (!kind && !(kind = KindOf(db, key)))
        return 1;
    if (kind->table == kBoolOptionsTable) {
        bool value = false;
        if (!ParseBool(text, value))
            return Fail("\"" + text + "\" is not a bool option value (TRUE or FALSE)");
        SetBoolOption(db, key, value);
    } else if (kind->table == kIntOptionsTable) {
        int32_t value = 0;
        if (!ParseInt(text, value))
            return Fail("\"" + text +
                        "\" is not a whole number between -2147483648 and 2147483647");
        SetIntOption(db, key, value);
    } else {
        SetStringOption(db, key, text);
    }
    OptionsSaveResult saved = store.Save();
    if (!saved.saved)
        return Fail(saved.message);
    return 0;
}

int Run(const CliArguments& arguments) {
    if (arguments.operands.empty())
        return UsageError("options");
    const std::string& verb = arguments.operands[0];
    const std::vector<std::string> args(arguments.operands.begin() + 1, arguments.operands.end());
    bool badFlag = false;
    const OptionKind* kind = KindGiven(arguments, badFlag);
    if (badFlag)
        return UsageError("options");
    if (verb == "list" && args.empty() && !kind)
        return List();
    if (verb == "get" && args.size() == 1)
        return Get(kind, args[0]);
    if (verb == "set" && args.size() == 2)
        return Set(kind, args[0], args[1]);
    return UsageError("options");
}

const CliRegistration registration(
    {"options",
     "  orvo options list                     every option with its type and value\n"
     "  orvo options get [--bool|--int|--string] KEY\n"
     "                                        print one option's value\n"
     "  orvo options set [--bool|--int|--string] KEY VALUE\n"
     "                                        change an option (the type flag is needed for a\n"
     "                                        key the options do not have yet)",
     Run,
     {{"--bool", 0, "get set"}, {"--int", 0, "get set"}, {"--string", 0, "get set"}},
     "list get set",
     false});

} // namespace

} // namespace orvo::cli
