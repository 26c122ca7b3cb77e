// Scratch folders for tests: made under $TMPDIR (or /tmp) and removed, with
// everything in them, when the process that made them ends.
#pragma once
#include <ftw.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>
#include <string>
#include <vector>

inline void remove_tree(const std::string &dir) {
    chmod(dir.c_str(), 0755);
    nftw(dir.c_str(), [](const char *path, const struct stat *, int, struct FTW *) { return remove(path); }, 8,
         FTW_DEPTH | FTW_PHYS);
}

// A forked child that ends normally leaves its parent's folders alone.
struct ScratchFolders {
    pid_t owner = getpid();
    std::vector<std::string> made;
    ~ScratchFolders() {
        if (getpid() == owner)
            for (const std::string &dir : made)
                remove_tree(dir);
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
