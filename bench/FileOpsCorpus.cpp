// Makes the tree the file-operation benchmark copies and deletes: 20
// directories of 10 sub-directories of FILES/200 files each, 1 to 3 KB of
// varied bytes per file, every directory with its own comment and every
// tenth file commented, as a user's commented photo or document tree.
// Usage: bench_fileops_corpus DIR [FILES]
#include "comments/CommentFile.h"
#include "platform/EntryOperations.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s DIR [FILES]\n", argv[0]);
        return 2;
    }
    const std::string root = argv[1];
    const long files = argc > 2 ? std::atol(argv[2]) : 200000;
    const long perDirectory = files / 200 > 0 ? files / 200 : 1;
    std::string block(4096, '\0');
    uint32_t seed = 12345;
    for (char& c : block) {
        seed = seed * 1103515245u + 12345u;
        c = static_cast<char>(seed >> 16);
    }
    long made = 0;
    for (int top = 0; top < 20; ++top) {
        for (int sub = 0; sub < 10; ++sub) {
            std::string dir =
                root + "/album " + std::to_string(top) + "/part " + std::to_string(sub);
            if (!orvo::CreateDirChain(dir)) {
                std::perror(dir.c_str());
                return 1;
            }
            orvo::CommentFile comments;
            comments.Create(dir);
            comments.SetComment(orvo::kThisDirKey,
                                "part " + std::to_string(sub) + " of album " + std::to_string(top));
            for (long i = 0; i < perDirectory; ++i, ++made) {
                std::string name = "IMG_" + std::to_string(100000 + made) + ".jpg";
                int fd = ::open((dir + "/" + name).c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
                size_t size = 1024 + static_cast<size_t>((made * 7919) % 2048);
                if (fd < 0 ||
                    ::write(fd, block.data() + made % 1024, size) != static_cast<ssize_t>(size)) {
                    std::perror(name.c_str());
                    return 1;
                }
                ::close(fd);
                if (i % 10 == 0)
                    comments.SetComment(name, "taken on day " + std::to_string(i));
            }
            comments.Close(true);
        }
    }
    std::printf("%ld files\n", made);
    return 0;
}
