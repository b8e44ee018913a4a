#include "platform/GvfsShare.h"

#include "platform/DisplayText.h"
#include "platform/TimedCall.h"

#include <dirent.h>
#include <map>

namespace orvo {

bool DescribeGvfsShare(std::string_view name, GvfsShare& share) {
    const size_t colon = name.find(':');
    if (colon == 0 || colon == std::string_view::npos)
        return false;
    std::string scheme(name.substr(0, colon));
    std::map<std::string, std::string> keys;
    std::string_view rest = name.substr(colon + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        std::string_view pair = rest.substr(0, comma);
        const size_t equals = pair.find('=');
        if (equals != std::string_view::npos)
            keys[std::string(pair.substr(0, equals))] =
                DecodeHexEscapes(pair.substr(equals + 1), "%");
        rest = comma == std::string_view::npos ? std::string_view() : rest.substr(comma + 1);
    }
    const std::string& host = keys["host"];
    const std::string& server = keys["server"];
    const std::string& place = host.empty() ? server : host;
    if (place.empty())
        return false;

    share = GvfsShare();
    share.device = scheme == "mtp" || scheme == "gphoto2" || scheme == "afc";
    if (scheme == "smb-share")
        share.kind = "smb";
    else if (scheme == "dav" && keys["ssl"] == "true")
        share.kind = "davs";
    else
        share.kind = scheme;
    const std::string& what = !keys["share"].empty() ? keys["share"] : keys["user"];
    share.label = what.empty() || share.device ? place : what + " on " + place;
    return true;
}

std::optional<std::vector<std::string>> EntryNamesWithin(const std::string& directory,
                                                         int timeoutMs) {
    return CallWithin<std::vector<std::string>>(timeoutMs, [directory] {
        std::vector<std::string> found;
        if (DIR* dir = ::opendir(directory.c_str())) {
            while (struct dirent* d = ::readdir(dir)) {
                std::string name = d->d_name;
                if (name != "." && name != "..")
                    found.push_back(std::move(name));
            }
            ::closedir(dir);
        }
        return found;
    });
}

} // namespace orvo
