#include "browse/ThumbnailCache.h"

#include "../platform/TestDirectory.h"
#include "browse/Md5.h"
#include "browse/ThumbnailMaker.h"
#include "browse/ThumbnailPng.h"
#include "image/ImageFile.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <utime.h>
#include <zlib.h>

using namespace orvo;
using orvo::test::ScopedEnv;
using orvo::test::TestDirectory;

namespace {

RasterImage Solid(int width, int height, RgbQuad colour) {
    RasterImage image;
    image.Create(width, height, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            image.SetPixelColor(x, y, colour);
    return image;
}

std::string WritePicture(const TestDirectory& dir, const std::string& name, int width, int height,
                         RgbQuad colour = MakeRgb(20, 160, 40)) {
    RasterImage image = Solid(width, height, colour);
    const std::string path = dir / name;
    EXPECT_TRUE(SaveImage(image, path, -1, true));
    return path;
}

int64_t MTime(const std::string& path) {
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mtime;
}

void SetMTime(const std::string& path, time_t when) {
    utimbuf times{when, when};
    ASSERT_EQ(::utime(path.c_str(), &times), 0);
}

std::string Chunk(const std::string& type, const std::string& data) {
    std::string chunk;
    const uint32_t length = static_cast<uint32_t>(data.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += static_cast<char>(length >> shift);
    const std::string body = type + data;
    chunk += body;
    const uint32_t crc = crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size());
    for (int shift = 24; shift >= 0; shift -= 8)
        chunk += static_cast<char>(crc >> shift);
    return chunk;
}

std::string Deflated(const std::string& text) {
    uLongf size = compressBound(text.size());
    std::string out(size, '\0');
    compress(reinterpret_cast<Bytef*>(out.data()), &size,
             reinterpret_cast<const Bytef*>(text.data()), text.size());
    out.resize(size);
    return out;
}

// A cache folder in a fresh directory for each test.
struct CacheHome {
    TestDirectory dir;
    ScopedEnv env{"XDG_CACHE_HOME", dir.Path().c_str()};
    std::string Root() const { return dir / "thumbnails"; }
};

} // namespace

TEST(ThumbnailNames, Md5OfKnownTexts) {
    EXPECT_EQ(Md5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
    EXPECT_EQ(Md5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
    // 56 bytes: the length no longer fits in the block the text ends in.
    EXPECT_EQ(Md5Hex("abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq"),
              "8215ef0796a20bcaaae116d3876c664a");
    EXPECT_EQ(Md5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
    // The example the thumbnail cache's own description gives.
    EXPECT_EQ(Md5Hex("file:///home/jens/photos/me.png"), "c6ee772d9e49320e97ec29a7eb5b1697");
}

TEST(ThumbnailNames, UrisFoldersAndPlaces) {
    EXPECT_EQ(ThumbnailCache::FileUri("/home/a b/#x%y?\xC3\xA9.jpg"),
              "file:///home/a%20b/%23x%25y%3F%C3%A9.jpg");
    EXPECT_EQ(ThumbnailCache::FileUri("/k/!$&'()*+,-.:=@_~"), "file:///k/!$&'()*+,-.:=@_~");
    EXPECT_EQ(ThumbnailCache::FileUri("/k/[a];b\\"), "file:///k/%5Ba%5D%3Bb%5C");

    EXPECT_EQ(ThumbnailCache::FolderEdge(16), 128);
    EXPECT_EQ(ThumbnailCache::FolderEdge(128), 128);
    EXPECT_EQ(ThumbnailCache::FolderEdge(129), 256);
    EXPECT_EQ(ThumbnailCache::FolderEdge(1024), 1024);
    EXPECT_EQ(ThumbnailCache::FolderEdge(1025), 0);

    {
        ScopedEnv cache("XDG_CACHE_HOME", "/c");
        EXPECT_EQ(ThumbnailCache::ThumbnailPath("file:///home/jens/photos/me.png", 256),
                  "/c/thumbnails/large/c6ee772d9e49320e97ec29a7eb5b1697.png");
        EXPECT_TRUE(ThumbnailCache::IsInsideCache("/c/thumbnails/normal/x.png"));
        EXPECT_FALSE(ThumbnailCache::IsInsideCache("/c/thumbnails2/x.png"));
    }
    ScopedEnv relative("XDG_CACHE_HOME", "relative/dir");
    ScopedEnv home("HOME", "/h");
    EXPECT_EQ(ThumbnailCache::RootDirectory(), "/h/.cache/thumbnails");
    ScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(ThumbnailCache::RootDirectory(), "");
    EXPECT_EQ(ThumbnailCache::ThumbnailPath("file:///x", 128), "");
}

TEST(ThumbnailCacheFiles, StoredThumbnailsServeOnlyTheSameVersion) {
    CacheHome home;
    TestDirectory photos;
    const std::string photo = WritePicture(photos, "a.png", 10, 10);
    RasterImage thumb = Solid(12, 7, MakeRgb(200, 10, 30));
    ASSERT_TRUE(ThumbnailCache::Store(photo, 1700000000, 1234, 128, thumb));

    const std::string file = ThumbnailCache::ThumbnailPath(ThumbnailCache::FileUri(photo), 128);
    struct stat st {};
    ASSERT_EQ(::stat(file.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat((home.Root() + "/normal").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);
    // Only the finished file is left: no temporary beside it.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.Root() + "/normal"),
                            std::filesystem::directory_iterator()),
              1);
    PngTexts texts = ReadPngTexts(test::ReadFile(file));
    EXPECT_EQ(texts.at(0), (std::pair<std::string, std::string>("Thumb::URI", "file://" + photo)));
    EXPECT_EQ(texts.at(1).second, "1700000000");

    RasterImage back;
    ASSERT_TRUE(ThumbnailCache::Load(photo, 1700000000, 128, back));
    EXPECT_EQ(back.Width(), 12);
    EXPECT_EQ(back.Height(), 7);
    EXPECT_EQ(back.GetPixelColor(3, 2), MakeRgb(200, 10, 30));
    EXPECT_FALSE(ThumbnailCache::Load(photo, 1700000001, 128, back)); // the file changed since
    EXPECT_FALSE(ThumbnailCache::Load(photo, 1700000000, 256, back)); // another size
    EXPECT_FALSE(ThumbnailCache::Load(photos / "b.png", 1700000000, 128, back));
}

TEST(ThumbnailCacheFiles, ThumbnailsOfOtherProgramsAndDamagedOnes) {
    CacheHome home;
    TestDirectory photos;
    const std::string photo = photos / "other.jpg";
    const std::string uri = ThumbnailCache::FileUri(photo);
    const std::string file = ThumbnailCache::ThumbnailPath(uri, 128);
    std::filesystem::create_directories(home.Root() + "/normal");

    // Another program wrote its texts compressed and international.
    std::string png = EncodeThumbnailPng(Solid(8, 8, MakeRgb(1, 2, 3)), {});
    ASSERT_FALSE(png.empty());
    png.insert(33, Chunk("zTXt", std::string("Thumb::URI\0\0", 12) + Deflated(uri)) +
                       Chunk("iTXt", std::string("Thumb::MTime\0\0\0\0\0", 17) + "42"));
    std::ofstream(file, std::ios::binary) << png;
    RasterImage back;
    EXPECT_TRUE(ThumbnailCache::Load(photo, 42, 128, back));
    EXPECT_EQ(back.GetPixelColor(0, 0), MakeRgb(1, 2, 3));

    // Every cut of the file reads without harm: refused, or (with only the
    // end marker missing) the whole picture.
    int refused = 0;
    for (size_t cut = 0; cut + 1 < png.size(); cut += 7) {
        std::ofstream(file, std::ios::binary | std::ios::trunc).write(png.data(), cut);
        ReadPngTexts(png.substr(0, cut));
        if (!ThumbnailCache::Load(photo, 42, 128, back))
            ++refused;
        else
            EXPECT_TRUE(cut > png.size() - 20 && back.GetPixelColor(7, 7) == MakeRgb(1, 2, 3));
    }
    EXPECT_GE(refused, static_cast<int>(png.size() / 7) - 3);
    std::ofstream(file, std::ios::binary | std::ios::trunc) << "not a picture at all";
    EXPECT_FALSE(ThumbnailCache::Load(photo, 42, 128, back));

    // A compressed text that would inflate without end is cut.
    std::string bomb = EncodeThumbnailPng(Solid(2, 2, MakeRgb(0, 0, 0)), {});
    bomb.insert(33, Chunk("zTXt", std::string("k\0\0", 3) + Deflated(std::string(10 << 20, 'x'))));
    PngTexts texts = ReadPngTexts(bomb);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_LE(texts[0].second.size(), 64u * 1024);
}

TEST(ThumbnailCacheFiles, AnUnwritableCacheIsNoFailure) {
    TestDirectory dir;
    dir.Write("thumbnails", "a file where the folder should be");
    ScopedEnv env("XDG_CACHE_HOME", dir.Path().c_str());
    const std::string photo = WritePicture(dir, "p.png", 300, 200);
    EXPECT_FALSE(ThumbnailCache::Store(photo, 1, 1, 128, Solid(4, 4, MakeRgb(0, 0, 0))));
    RasterImage out;
    EXPECT_EQ(MakeThumbnail(photo, 96, out), GuardedLoad::Loaded);
    EXPECT_EQ(out.Width(), 96);
}

TEST(ThumbnailMaking, MadeOnceThenTakenFromTheCache) {
    CacheHome home;
    TestDirectory photos;
    const std::string photo = WritePicture(photos, "big.jpg", 400, 300);
    SetMTime(photo, 1600000000);
    RasterImage out;
    ASSERT_EQ(MakeThumbnail(photo, 96, out), GuardedLoad::Loaded);
    EXPECT_EQ(out.Width(), 96);
    EXPECT_EQ(out.Height(), 72);
    EXPECT_EQ(out.Bits(), 24);
    RasterImage cached;
    ASSERT_TRUE(ThumbnailCache::Load(photo, 1600000000, 128, cached));
    EXPECT_EQ(cached.Width(), 128); // the cache keeps its own size
    EXPECT_EQ(cached.Height(), 96);

    // A cached thumbnail is used as it is, not made again.
    ASSERT_TRUE(
        ThumbnailCache::Store(photo, 1600000000, 1, 128, Solid(128, 96, MakeRgb(250, 0, 0))));
    ASSERT_EQ(MakeThumbnail(photo, 64, out), GuardedLoad::Loaded);
    EXPECT_EQ(out.Width(), 64);
    EXPECT_EQ(out.GetPixelColor(10, 10), MakeRgb(250, 0, 0));
    // Once the file changes, it is made again.
    SetMTime(photo, 1600000100);
    ASSERT_EQ(MakeThumbnail(photo, 64, out), GuardedLoad::Loaded);
    EXPECT_NE(out.GetPixelColor(10, 10), MakeRgb(250, 0, 0));

    // Larger cells use the larger folder; beyond the largest, no cache.
    ASSERT_EQ(MakeThumbnail(photo, 200, out), GuardedLoad::Loaded);
    EXPECT_TRUE(std::filesystem::exists(
        ThumbnailCache::ThumbnailPath(ThumbnailCache::FileUri(photo), 256)));
    const std::string tiny = WritePicture(photos, "tiny.gif", 30, 20);
    ASSERT_EQ(MakeThumbnail(tiny, 2000, out), GuardedLoad::Loaded);
    EXPECT_EQ(out.Width(), 30); // never enlarged
    EXPECT_FALSE(std::filesystem::exists(home.Root() + "/xx-large"));
}

TEST(ThumbnailMaking, DamagedPicturesAndFilesThatAreNone) {
    CacheHome home;
    TestDirectory dir;
    RasterImage out;
    std::string message;
    const std::string broken = dir.Write("broken.jpg", std::string(3000, '\x5a'));
    EXPECT_EQ(MakeThumbnail(broken, 96, out, &message), GuardedLoad::Damaged);
    EXPECT_EQ(message, "Damaged image causing exception found : " + broken +
                           ". Exception handled. Press ok. to continue.");
    EXPECT_TRUE(out.IsEmpty());

    for (const std::string& path : {dir.Write("empty.jpg"), dir.Write("notes.txt", "text"),
                                    dir.Write("sprite.tga", "not decoded here"),
                                    dir / "vanished.jpg", dir.MakeDirectory("folder.png")}) {
        message.clear();
        EXPECT_EQ(MakeThumbnail(path, 96, out, &message), GuardedLoad::UseIcon) << path;
        EXPECT_EQ(message, "") << path;
    }
    // Files inside the cache get no thumbnails of their own there.
    std::filesystem::create_directories(home.Root() + "/normal");
    const std::string inside = WritePicture(home.dir, "thumbnails/normal/x.png", 200, 200);
    EXPECT_EQ(MakeThumbnail(inside, 96, out), GuardedLoad::Loaded);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(home.Root() + "/normal"),
                            std::filesystem::directory_iterator()),
              1);
}
