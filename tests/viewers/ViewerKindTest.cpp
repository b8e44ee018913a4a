#include "viewers/ViewerKind.h"

#include "browse/HoverInfo.h"

#include <gtest/gtest.h>

using namespace orvo;

TEST(ClassifyForViewer, ExtensionListsAndAlt) {
    struct Case {
        const char* extension;
        bool alt;
        ViewerKind kind;
    } cases[] = {
        {"jpg", false, ViewerKind::Image},
        {"JPG", false, ViewerKind::Image},
        {"TiFf", false, ViewerKind::Image},
        {"tga", false, ViewerKind::Image},
        {"", false, ViewerKind::Image},
        {"wav", false, ViewerKind::Multimedia},
        {"MPEG", false, ViewerKind::Multimedia},
        {"snd", false, ViewerKind::Multimedia},
        {"au", false, ViewerKind::Multimedia},
        {"txt", false, ViewerKind::Text},
        {"jpgx", false, ViewerKind::Text},
        {"jp", false, ViewerKind::Text},
        {"mp", false, ViewerKind::Text},
        {"gz", false, ViewerKind::Text},
        // Alt makes everything text, pictures, sounds and nameless files alike.
        {"jpg", true, ViewerKind::Text},
        {"wav", true, ViewerKind::Text},
        {"", true, ViewerKind::Text},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyForViewer(c.extension, c.alt), c.kind)
            << c.extension << (c.alt ? " with Alt" : "");
    EXPECT_STREQ(ViewerKindName(ViewerKind::Multimedia), "multimedia");
}

TEST(ClassifyForViewer, ListMembershipIsWholeEntries) {
    EXPECT_TRUE(IsInExtensionList("WMX", MediaExtensionList));
    EXPECT_TRUE(IsInExtensionList("avi", "avi"));
    EXPECT_FALSE(IsInExtensionList("av", "avi;mpg"));
    EXPECT_FALSE(IsInExtensionList("avi;mpg", "avi;mpg"));
    EXPECT_FALSE(IsInExtensionList("", "avi;mpg"));
    EXPECT_TRUE(IsInExtensionList("wav", HoverPlayExtensionList));
    EXPECT_FALSE(IsInExtensionList("avi", HoverPlayExtensionList));
}
