#include "settings/DefaultOptions.h"

#include "settings/OptionKeys.h"
#include "settings/OptionTables.h"

#include <memory>

namespace orvo {

namespace {

// All first-run content lives in this file, so what a new options file
// holds can be read in one place.

struct BoolDefault {
    const char* key;
    bool value;
};

const BoolDefault kBoolDefaults[] = {
    {kBracketDirectoriesKey, false},  {kUseColorsKey, true},          {kHideCommentFileKey, true},
    {kAllProblemsAtStartKey, true},   {kShowTipsKey, true},           {kShowOnActionTipsKey, true},
    {kConvertDroppedImageKey, false}, {kShowQuickAccessBarKey, true},
};

struct StringDefault {
    const char* key;
    const char* value;
};

const StringDefault kStringDefaults[] = {
    {kBackgroundImagePathKey, kDefaultBackgroundValue},
};

struct IntDefault {
    const char* key;
    int32_t value;
};

const IntDefault kIntDefaults[] = {
    {kTipPositionKey, 0},
};

struct ColorDefault {
    const char* name;
    int red, green, blue;
};

// Every colour a default group uses is listed here, and a few spares for
// the user's own groups.
const ColorDefault kColorDefaults[] = {
    {"Black", 0, 0, 0},       {"Gray", 128, 128, 128}, {"Light gray", 200, 200, 200},
    {"Magenta", 160, 0, 160}, {"Teal", 0, 128, 128},   {"Orange", 205, 102, 0},
    {"Red", 190, 0, 0},       {"Blue", 0, 70, 190},    {"Brown", 140, 80, 20},
    {"Green", 0, 130, 0},     {"Navy", 0, 0, 128},     {"White", 255, 255, 255},
};

struct GroupDefault {
    const char* name;
    // Stored with the enclosing commas a lookup would add, so the first
    // lookups do not rewrite the cells.
    const char* extensions;
    bool bold, italic, underline, shadow;
    int fontSize;
    const char* color;
    const char* shadowColor;
};

// The colours follow the usual ls colouring of a Linux terminal (archives
// red, executables green, images magenta, audio cyan) so the families look
// familiar.
const GroupDefault kGroupDefaults[] = {
    {"Images",
     ",jpg,jpeg,jpe,png,gif,bmp,tif,tiff,ico,svg,svgz,webp,xpm,xbm,pbm,pgm,ppm,pnm,tga,mng,xcf,"
     "heic,"
     "heif,avif,jxl,psd,raw,cr2,nef,dng,",
     false, false, false, false, 0, "Magenta", "Light gray"},
    {"Audio", ",mp3,ogg,oga,opus,flac,wav,aiff,aif,m4a,aac,wma,mka,mid,midi,mod,xm,it,s3m,ape,wv,",
     false, false, false, false, 0, "Teal", "Light gray"},
    // No "ts": it is TypeScript far more often than a transport stream, and
    // the earlier group would take it from "Source code".
    {"Video", ",mp4,m4v,mkv,webm,avi,mov,mpg,mpeg,mpe,ogv,wmv,flv,3gp,m2ts,vob,asf,rm,rmvb,",
     false, true, false, false, 0, "Orange", "Light gray"},
    {"Archives and packages",
     ",zip,tar,gz,tgz,bz2,tbz,tbz2,xz,txz,zst,tzst,lz,lzma,lz4,z,7z,rar,arj,cab,cpio,ar,deb,udeb,"
     "rpm,apk,snap,flatpak,jar,war,iso,img,dmg,",
     true, false, false, false, 0, "Red", "Light gray"},
    {"Source code",
     ",c,h,cc,cpp,cxx,c++,hh,hpp,hxx,inl,ipp,m,mm,s,asm,rs,go,java,kt,kts,scala,cs,fs,swift,py,pyw,"
     "rb,pl,pm,php,lua,tcl,js,mjs,ts,tsx,jsx,dart,hs,ml,ex,exs,erl,clj,el,lisp,scm,r,jl,f,f90,for,"
     "pas,d,zig,nim,v,vhd,sql,cmake,mk,am,in,ac,m4,pro,qml,ui,qrc,html,htm,css,scss,xml,xsl,json,"
     "yaml,yml,toml,ini,conf,cfg,patch,diff,",
     false, false, false, false, 0, "Blue", "Light gray"},
    {"Documents",
     ",txt,text,md,markdown,rst,adoc,org,tex,bib,pdf,ps,eps,djvu,epub,mobi,odt,ods,odp,odg,doc,"
     "docx,"
     "xls,xlsx,ppt,pptx,rtf,csv,tsv,log,nfo,man,info,",
     false, false, false, false, 0, "Brown", "Light gray"},
    {"Executables and scripts",
     ",sh,bash,zsh,fish,ksh,csh,tcsh,run,bin,out,appimage,desktop,exe,com,bat,cmd,ps1,elf,", true,
     false, false, true, 0, "Green", "Light gray"},
};

// Group lists an earlier version shipped and a later one corrected. An
// options file that still holds one of them exactly gets the corrected
// list; a list the user edited is theirs and stays.
struct OutdatedGroup {
    const char* name;
    const char* extensions;
};

const OutdatedGroup kOutdatedGroups[] = {
    {"Video", ",mp4,m4v,mkv,webm,avi,mov,mpg,mpeg,mpe,ogv,wmv,flv,3gp,ts,m2ts,vob,asf,rm,rmvb,"},
};

// Name patterns of files a text search should skip: compiled code,
// libraries, archives, images and media.
constexpr const char* kBinaryPatterns =
    "*.o,*.obj,*.a,*.lib,*.so,*.so.*,*.ko,*.dll,*.exe,*.com,*.bin,*.elf,*.class,*.pyc,*.pyo,*.wasm,"
    "*.zip,*.jar,*.tar,*.gz,*.tgz,*.bz2,*.xz,*.zst,*.7z,*.rar,*.deb,*.rpm,*.iso,*.img,"
    "*.jpg,*.jpeg,*.png,*.gif,*.bmp,*.tif,*.tiff,*.ico,*.webp,*.xcf,*.psd,"
    "*.mp3,*.ogg,*.opus,*.flac,*.wav,*.m4a,*.mp4,*.mkv,*.webm,*.avi,*.mov,*.mpg,*.mpeg,"
    "*.pdf,*.qad,*.orl,dir_info.orb";

struct ImportantDefault {
    const char* title;
    const char* extension;
};

// "*" matches any name or extension; names are compared without their
// extension, ignoring case.
const ImportantDefault kImportantDefaults[] = {
    {"README", "*"},       {"Makefile", "*"},   {"GNUmakefile", "*"}, {"CMakeLists", "txt"},
    {"configure", "*"},    {"meson", "build"},  {"LICENSE", "*"},     {"COPYING", "*"},
    {"INSTALL", "*"},      {"NEWS", "*"},       {"ChangeLog", "*"},   {"AUTHORS", "*"},
    {"CONTRIBUTING", "*"}, {"Dockerfile", "*"}, {"package", "json"},  {"Cargo", "toml"},
    {"pyproject", "toml"}, {"setup", "py"},     {"go", "mod"},
};

const std::vector<const char*> kTips = {
    "Every file and directory can carry a comment. The comments of a directory live in the small "
    "file dir_info.orb inside it, and Orvo carries them along whenever it copies or moves files.",
    "F5 copies the selected files into another open browse window, F6 moves them. You choose the "
    "destination window from the list that opens.",
    "Before a copy or a move starts, Orvo checks the free space and lists every file that would "
    "be overwritten, so you decide before anything changes.",
    "Copies and moves run in the background with their own progress window: the speed and the "
    "estimated end are shown, and you can pause or stop them.",
    "Alt+F7 opens the file search. Several searches can run at the same time, each in its own "
    "window, while you go on working.",
    "In the search window, F9 turns the hits into a list window. Save it as an Orvo list (.orl) "
    "and "
    "Orvo will tell you later which of those files changed or vanished.",
    "Alt+1 shows or hides the quick access bar: the important files of the current directory, a "
    "quick search, and the files moved or copied during this session.",
    "Type a letter or a digit in a browse window to start a quick search among the listed names; "
    "Ctrl+J opens it empty.",
    "Numpad + and Numpad - select or unselect files by patterns such as *.png or *[0-9]*.tif. "
    "Numpad * inverts the selection.",
    "F3 opens the file under the cursor in the quick viewer: images, text and media each get their "
    "own viewer. Ctrl+F3 turns on auto view, which follows the selection.",
    "The image viewer can also convert: another format, another size, fewer colours or another "
    "colour depth.",
    "\"Files colors\" in the options menu sets the colour and font style of each group of files, "
    "such as images, archives or source code. Add your own groups with \"New\".",
    "The counting directories size mode writes the total size of every sub-directory into the "
    "list. Escape stops counting a large directory.",
    "Alt+A opens your favorites menu at the mouse position. The favorites are the links in the "
    "Favorites folder of Orvo's data directory: add a link there and it appears in the menu.",
    "Temporary directories made during a session are offered for deletion when Orvo closes, so "
    "scratch work does not pile up.",
    "Drop an image onto the empty desktop of Orvo to make it the background. In \"General "
    "options\" an empty background path means no picture at all.",
    "Alt+Left and Alt+Right go back and forward through the directories you visited; Backspace "
    "goes up one level.",
    "F2 renames the file under the cursor in place. F7 makes a new directory and Shift+F4 a new "
    "file from one of the templates in the File types folder.",
    "Ctrl+C and Ctrl+V copy and paste files, also to and from other file managers. Ctrl+Space puts "
    "the names of the selected files on the clipboard.",
    "The command-line tool orvo reads and changes these options while the program is closed: "
    "orvo options list shows every setting.",
};

QTable& AddEmpty(QDataBase& db, const char* name) {
    return *db.AddTable(MakeOptionTable(name));
}

void AddNameValueRow(QTable& table, const char* key, const QValue& value) {
    QRecord row = table.NewRecord();
    row.SetValue(kOptionNameColumn, QValue(std::string_view(key)));
    row.SetValue(kOptionValueColumn, value);
    table.AddRecord(row);
}

void FillTable(QTable& table) {
    const std::string& name = table.GetName();
    if (name == kBoolOptionsTable) {
        for (const BoolDefault& d : kBoolDefaults)
            AddNameValueRow(table, d.key, QValue(d.value, QVT_BOOL));
    } else if (name == kStringOptionsTable) {
        for (const StringDefault& d : kStringDefaults)
            AddNameValueRow(table, d.key, QValue(std::string_view(d.value)));
    } else if (name == kIntOptionsTable) {
        for (const IntDefault& d : kIntDefaults)
            AddNameValueRow(table, d.key, QValue(d.value, QVT_INT));
    } else if (name == kColorsTable) {
        for (const ColorDefault& d : kColorDefaults) {
            QRecord row = table.NewRecord();
            row.SetValue("Name", QValue(std::string_view(d.name)));
            row.SetValue("Red", QValue(int32_t{d.red}, QVT_INT));
            row.SetValue("Green", QValue(int32_t{d.green}, QVT_INT));
            row.SetValue("Blue", QValue(int32_t{d.blue}, QVT_INT));
            table.AddRecord(row);
        }
    } else if (name == kFileGroupsTable) {
        for (const GroupDefault& d : kGroupDefaults) {
            QRecord row = table.NewRecord();
            row.SetValue("Group name", QValue(std::string_view(d.name)));
            row.SetValue("Extensions", QValue(std::string_view(d.extensions)));
            row.SetValue("Bold", QValue(d.bold, QVT_BOOL));
            row.SetValue("Italic", QValue(d.italic, QVT_BOOL));
            row.SetValue("Underline", QValue(d.underline, QVT_BOOL));
            row.SetValue("Shadow", QValue(d.shadow, QVT_BOOL));
            row.SetValue("Font size", QValue(int32_t{d.fontSize}, QVT_INT));
            row.SetValue("Color", QValue(std::string_view(d.color)));
            row.SetValue("Color of shadow", QValue(std::string_view(d.shadowColor)));
            table.AddRecord(row);
        }
    } else if (name == kSpecialFilesTable) {
        QRecord row = table.NewRecord();
        row.SetValue("Group name", QValue(std::string_view("Binary")));
        row.SetValue("File name", QValue(std::string_view(kBinaryPatterns)));
        table.AddRecord(row);
    } else if (name == kImportantFilesTable) {
        for (const ImportantDefault& d : kImportantDefaults) {
            QRecord row = table.NewRecord();
            row.SetValue("Title", QValue(std::string_view(d.title)));
            row.SetValue("Extension", QValue(std::string_view(d.extension)));
            table.AddRecord(row);
        }
    } else if (name == kTipsTable) {
        for (const char* tip : kTips) {
            QRecord row = table.NewRecord();
            row.SetValue("Tip", QValue(std::string_view(tip)));
            table.AddRecord(row);
        }
    }
    // "Browse windows" and "User knows" start empty: they record what the
    // user does.
}

} // namespace

std::vector<std::string> SeedMissingOptionTables(QDataBase& db) {
    std::vector<std::string> added;
    for (const char* name : OptionTableNames()) {
        if (db.GetTable(name))
            continue;
        FillTable(AddEmpty(db, name));
        added.emplace_back(name);
    }
    return added;
}

int UpdateOutdatedDefaults(QDataBase& db) {
    QTable* groups = db.GetTable(kFileGroupsTable);
    if (!groups || groups->FieldIndex("Group name") < 0 || groups->FieldIndex("Extensions") < 0)
        return 0;
    int updated = 0;
    for (int row = 0; row < groups->GetRecordCount(); ++row) {
        const std::string name = groups->GetText("Group name", row);
        const std::string extensions = groups->GetText("Extensions", row);
        for (const OutdatedGroup& old : kOutdatedGroups) {
            if (name != old.name || extensions != old.extensions)
                continue;
            for (const GroupDefault& d : kGroupDefaults)
                if (name == d.name)
                    groups->SetText("Extensions", row, d.extensions);
            ++updated;
        }
    }
    return updated;
}

const std::vector<const char*>& DefaultTips() {
    return kTips;
}

} // namespace orvo
