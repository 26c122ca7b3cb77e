// Scratch folders for tests: made under $TMPDIR (or /tmp), removed with all in them as their process ends.
#pragma once
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

// A forked child that ends normally leaves its parent's folders alone.
struct ScratchFolders {
    pid_t owner = getpid();
    std::vector<std::string> made;
    ~ScratchFolders() {
        for (const std::string &dir : made)
            if (getpid() == owner && chmod(dir.c_str(), 0755) == 0)
                nftw(dir.c_str(), [](const char *p, const struct stat *, int, struct FTW *) { return remove(p); }, 8,
                     FTW_DEPTH | FTW_PHYS);
    }
};

inline std::string scratch_folder(void) {
    static ScratchFolders folders;
    const char *tmp = getenv("TMPDIR");
    std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/og-test-XXXXXX";
    if (!mkdtemp(&dir[0]))
        abort();
    folders.made.push_back(dir);
    return dir;
}

inline std::string read_file(const std::string &path) {  // "" when missing
    using bytes = std::istreambuf_iterator<char>;
    return std::string(bytes(std::ifstream(path, std::ios::binary).rdbuf()), bytes());
}
