// A folder that answers slowly, as a network share does: a FUSE passthrough
// of another folder that waits a given number of milliseconds before every
// request it answers, and counts the requests by kind. For the benchmarks
// only; the program itself never uses it.
//
//   slow_folder <source folder> <mount point> <milliseconds> [fuse options]
//
// On unmount it prints how many requests of each kind it answered. The
// counts so far can be read at any time from the file ".requests" at the
// top of the mount, which is answered at once and counts for nothing.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <stdatomic.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

static char source[PATH_MAX];
static long delay_ms;

enum { kGetattr, kReaddir, kOpen, kRead, kRename, kOther, kKinds };
static const char* const kind_names[kKinds] = {"getattr", "readdir", "open", "read", "rename", "other"};
static atomic_long counts[kKinds];

static void wait_and_count(int kind) {
    atomic_fetch_add(&counts[kind], 1);
    struct timespec pause = {delay_ms / 1000, (delay_ms % 1000) * 1000000L};
    nanosleep(&pause, NULL);
}

static void full_path(char out[PATH_MAX], const char* path) { snprintf(out, PATH_MAX, "%s%s", source, path); }

static const char kCountsFile[] = "/.requests";
enum { kCountsSize = 4096 };

static int is_counts_file(const char* path) { return strcmp(path, kCountsFile) == 0; }

// "getattr 12\nreaddir 3\n...", padded with blanks to the file's size.
static void counts_text(char out[kCountsSize]) {
    int at = 0;
    for (int k = 0; k < kKinds; ++k) {
        at += snprintf(out + at, (size_t)(kCountsSize - at), "%s %ld\n", kind_names[k], atomic_load(&counts[k]));
    }
    memset(out + at, ' ', (size_t)(kCountsSize - at));
}

static int slow_getattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
    (void)fi;
    if (is_counts_file(path)) {
        memset(st, 0, sizeof *st);
        st->st_mode = S_IFREG | 0444;
        st->st_nlink = 1;
        st->st_size = kCountsSize;
        return 0;
    }
    wait_and_count(kGetattr);
    char p[PATH_MAX];
    full_path(p, path);
    return lstat(p, st) == 0 ? 0 : -errno;
}

static int slow_readdir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset, struct fuse_file_info* fi,
                        enum fuse_readdir_flags flags) {
    (void)offset;
    (void)fi;
    (void)flags;
    wait_and_count(kReaddir);
    char p[PATH_MAX];
    full_path(p, path);
    DIR* dir = opendir(p);
    if (!dir) return -errno;
    struct dirent* entry;
    while ((entry = readdir(dir)) != NULL) {
        struct stat st;
        memset(&st, 0, sizeof st);
        st.st_ino = entry->d_ino;
        st.st_mode = (mode_t)entry->d_type << 12;
        if (fill(buf, entry->d_name, &st, 0, 0)) break;
    }
    closedir(dir);
    return 0;
}

static int slow_open(const char* path, struct fuse_file_info* fi) {
    if (is_counts_file(path)) {
        fi->fh = (uint64_t)-1;
        fi->direct_io = 1;
        return 0;
    }
    wait_and_count(kOpen);
    char p[PATH_MAX];
    full_path(p, path);
    int fd = open(p, fi->flags);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    fi->direct_io = 1;  // every read reaches the folder, as on a share without a cache
    return 0;
}

static int slow_create(const char* path, mode_t mode, struct fuse_file_info* fi) {
    wait_and_count(kOther);
    char p[PATH_MAX];
    full_path(p, path);
    int fd = open(p, fi->flags, mode);
    if (fd < 0) return -errno;
    fi->fh = (uint64_t)fd;
    return 0;
}

static int slow_read(const char* path, char* buf, size_t size, off_t offset, struct fuse_file_info* fi) {
    if (is_counts_file(path)) {
        char text[kCountsSize];
        counts_text(text);
        if (offset >= kCountsSize) return 0;
        size_t n = size < (size_t)(kCountsSize - offset) ? size : (size_t)(kCountsSize - offset);
        memcpy(buf, text + offset, n);
        return (int)n;
    }
    wait_and_count(kRead);
    ssize_t n = pread((int)fi->fh, buf, size, offset);
    return n < 0 ? -errno : (int)n;
}

static int slow_write(const char* path, const char* buf, size_t size, off_t offset, struct fuse_file_info* fi) {
    (void)path;
    wait_and_count(kOther);
    ssize_t n = pwrite((int)fi->fh, buf, size, offset);
    return n < 0 ? -errno : (int)n;
}

static int slow_release(const char* path, struct fuse_file_info* fi) {
    if (!is_counts_file(path)) close((int)fi->fh);
    return 0;
}

static int slow_rename(const char* from, const char* to, unsigned int flags) {
    wait_and_count(kRename);
    char a[PATH_MAX], b[PATH_MAX];
    full_path(a, from);
    full_path(b, to);
    if (flags & RENAME_NOREPLACE) {
        // No replace: refuse when the target is there (the program never replaces).
        struct stat st;
        if (lstat(b, &st) == 0) return -EEXIST;
    }
    return rename(a, b) == 0 ? 0 : -errno;
}

static int slow_unlink(const char* path) {
    wait_and_count(kOther);
    char p[PATH_MAX];
    full_path(p, path);
    return unlink(p) == 0 ? 0 : -errno;
}

static int slow_mkdir(const char* path, mode_t mode) {
    wait_and_count(kOther);
    char p[PATH_MAX];
    full_path(p, path);
    return mkdir(p, mode) == 0 ? 0 : -errno;
}

static int slow_rmdir(const char* path) {
    wait_and_count(kOther);
    char p[PATH_MAX];
    full_path(p, path);
    return rmdir(p) == 0 ? 0 : -errno;
}

static int slow_truncate(const char* path, off_t size, struct fuse_file_info* fi) {
    wait_and_count(kOther);
    if (fi) return ftruncate((int)fi->fh, size) == 0 ? 0 : -errno;
    char p[PATH_MAX];
    full_path(p, path);
    return truncate(p, size) == 0 ? 0 : -errno;
}

static int slow_utimens(const char* path, const struct timespec tv[2], struct fuse_file_info* fi) {
    (void)fi;
    wait_and_count(kOther);
    char p[PATH_MAX];
    full_path(p, path);
    return utimensat(AT_FDCWD, p, tv, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -errno;
}

static int slow_statfs(const char* path, struct statvfs* st) {
    (void)path;
    return statvfs(source, st) == 0 ? 0 : -errno;
}

static void slow_destroy(void* data) {
    (void)data;
    for (int k = 0; k < kKinds; ++k) fprintf(stderr, "%s %ld\n", kind_names[k], atomic_load(&counts[k]));
}

static const struct fuse_operations kOperations = {
    .getattr = slow_getattr,
    .readdir = slow_readdir,
    .open = slow_open,
    .create = slow_create,
    .read = slow_read,
    .write = slow_write,
    .release = slow_release,
    .rename = slow_rename,
    .unlink = slow_unlink,
    .mkdir = slow_mkdir,
    .rmdir = slow_rmdir,
    .truncate = slow_truncate,
    .utimens = slow_utimens,
    .statfs = slow_statfs,
    .destroy = slow_destroy,
};

int main(int argc, char* argv[]) {
    if (argc < 4 || !realpath(argv[1], source)) {
        fprintf(stderr, "usage: %s <source folder> <mount point> <milliseconds> [fuse options]\n", argv[0]);
        return 2;
    }
    delay_ms = atol(argv[3]);
    // FUSE sees the mount point and the options; -f keeps it in the foreground.
    char* fuse_argv[16] = {argv[0], argv[2], "-f", "-o", "default_permissions"};
    int fuse_argc = 5;
    for (int i = 4; i < argc && fuse_argc < 15; ++i) fuse_argv[fuse_argc++] = argv[i];
    return fuse_main(fuse_argc, fuse_argv, &kOperations, NULL);
}
