// Reading and replacing the game's file: the one place of open, rename,
// locks, fsync and the file-size signal.
#include "platform/files.h"
#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdio.h>
#include <string.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/xattr.h>
#endif

namespace {

// A save's temporary is the file's name, this mark, then ".", the process
// and a serial number: "scores.tmp.4242.0". Earlier versions of the game
// used the mark alone.
const char TEMP_MARK[] = ".tmp";
enum { TEMP_NAME_SIZE = 300 };

int write_all(int fd, const char *bytes, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, bytes, size);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return 0;
        bytes += n;
        size -= (size_t)n;
    }
    return 1;
}

// An ACL is an extended attribute that a new file would not have, and its
// mask stands in the mode's group bits: only a write in place keeps it.
int has_acl(const char *name) {
#ifdef __linux__
    return lgetxattr(name, "system.posix_acl_access", nullptr, 0) >= 0;
#else
    (void)name;
    return 0;
#endif
}

// Where a new file may take the old one's place without anyone noticing:
// the folder takes a new entry, and the file is missing or a plain file of
// ours that no other name shares (none at all when another game's save has
// just replaced it). A link, a second name, an ACL or a file the player may
// not write is written in place, or left alone.
int replace_is_safe(const char *name, const struct stat *old, int exists) {
    if (faccessat(AT_FDCWD, ".", W_OK | X_OK, AT_EACCESS) != 0)
        return 0;
    return !exists || (S_ISREG(old->st_mode) && old->st_nlink <= 1 && !has_acl(name));
}

int is_temporary(const char *entry, const char *prefix, size_t length) {
    return strncmp(entry, prefix, length) == 0 && (entry[length] == '\0' || entry[length] == '.');
}

// Each save holds a lock on its temporary until the rename, and a killed
// save's lock goes with it: a temporary that can be locked is left over.
// A running save's stays, whatever its age.
void remove_stale_temporaries(const char *prefix) {
    DIR *folder = opendir(".");
    if (!folder)
        return;
    size_t length = strlen(prefix);
    for (struct dirent *e; (e = readdir(folder)) != nullptr;) {
        struct stat named, held;
        if (!is_temporary(e->d_name, prefix, length) || lstat(e->d_name, &named) != 0 || !S_ISREG(named.st_mode))
            continue;
        int fd = open(e->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0)
            continue;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &held) == 0 && held.st_ino == named.st_ino &&
            held.st_dev == named.st_dev)
            unlink(e->d_name);
        close(fd);
    }
    closedir(folder);
}

// A new temporary, created exclusively and locked; -1 when none can be made.
int create_temporary(const char *prefix, char *temp) {
    static unsigned serial = 0;
    for (int tries = 0; tries < 8; tries++) {
        if (snprintf(temp, TEMP_NAME_SIZE, "%s.%ld.%u", prefix, (long)getpid(), serial++) >= TEMP_NAME_SIZE)
            return -1;
        int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOCTTY | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return -1;
        if (fd < 0)
            continue;
        // Between the open and the lock another save may have taken it for
        // a dead one's: it is gone, or about to be, and another is made.
        struct stat st;
        if (flock(fd, LOCK_EX | LOCK_NB) == 0 && fstat(fd, &st) == 0 && st.st_nlink > 0)
            return fd;
        close(fd);
    }
    return -1;
}

// The new file gets the old one's owner, group and permission bits. Its
// group is what the folder gave it (a setgid folder gives its own), so it
// is compared as it stands. Where it cannot, the old file is written in
// place instead.
int take_owner_and_mode(int fd, const struct stat *old) {
    struct stat st;
    if (fstat(fd, &st) != 0)
        return 0;
    if ((st.st_uid != old->st_uid || st.st_gid != old->st_gid) && fchown(fd, old->st_uid, old->st_gid) != 0)
        return 0;
    return fchmod(fd, old->st_mode & 07777) == 0;
}

int make_temporary(const char *name, const struct stat *old, int exists, char *temp) {
    char prefix[TEMP_NAME_SIZE];
    if (snprintf(prefix, sizeof prefix, "%s%s", name, TEMP_MARK) >= (int)sizeof prefix)
        return -1;
    remove_stale_temporaries(prefix);
    int fd = create_temporary(prefix, temp);
    if (fd < 0 || !exists || take_owner_and_mode(fd, old))
        return fd;
    unlink(temp);
    close(fd);
    return -1;
}

void sync_folder(void) {
    int dir = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
}

// The plain create-or-truncate of the file, through a link if it is one.
// Only a regular file is written: opening a FIFO would wait for a reader.
void write_in_place(const char *name, const char *bytes, size_t size) {
    int fd = open(name, O_WRONLY | O_CREAT | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0)
        return;
    struct stat st;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ftruncate(fd, 0) == 0)
        write_all(fd, bytes, size);
    close(fd);
}

void save(const char *name, const char *bytes, size_t size) {
    struct stat old;
    int exists = lstat(name, &old) == 0;
    // A file the player may not write stays as it is; a link to nowhere is
    // written through, creating its target.
    if (exists && faccessat(AT_FDCWD, name, W_OK, AT_EACCESS) != 0 && errno != ENOENT)
        return;
    char temp[TEMP_NAME_SIZE];
    int fd = replace_is_safe(name, &old, exists) ? make_temporary(name, &old, exists, temp) : -1;
    if (fd < 0) {
        write_in_place(name, bytes, size);
        return;
    }
    // A complete new file or none: a full disk or a size limit leaves the
    // old one byte for byte.
    if (!write_all(fd, bytes, size) || fsync(fd) != 0 || rename(temp, name) != 0)
        unlink(temp);
    else
        sync_folder();
    close(fd);  // the lock is held until the temporary has gone either way
}

}  // namespace

long plat_read_file(const char *name, char *bytes, size_t capacity) {
    // O_NONBLOCK: a FIFO would otherwise hold start-up for ever.
    int fd = open(name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st;
    long got = -1;
    if (fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        got = 0;
        ssize_t n;
        while ((size_t)got < capacity && (n = read(fd, bytes + got, capacity - (size_t)got)) > 0)
            got += n;
    }
    close(fd);
    return got;
}

// A file-size limit would otherwise end the program with SIGXFSZ in the
// middle of a save; ignored, the write fails and the save is skipped.
void plat_save_file(const char *name, const char *bytes, size_t size) {
    struct sigaction ignore = {}, previous;
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    save(name, bytes, size);
    sigaction(SIGXFSZ, &previous, nullptr);
}
