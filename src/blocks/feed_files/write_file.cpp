#include "feed_files/write_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mt {
namespace {

FileResult<void> write_all_to(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return os_failure(put < 0 ? errno : EIO);
        bytes.remove_prefix(static_cast<std::size_t>(put));
    }
    return {};
}

// The temporary file's name in `folder`: the file's own name hidden and marked, ".NAME.XXXXXX"
// for mkstemp, with NAME cut so that the whole fits the folder's limit on the length of a name
// whatever the file's name is (a name of 248 bytes or more would not fit whole).
std::string temporary_name(const std::string& folder, const std::string& name) {
    constexpr std::string_view mark = ".XXXXXX";
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    const std::size_t longest = limit > 0 ? static_cast<std::size_t>(limit) : NAME_MAX;
    return folder + "." + name.substr(0, longest - 1 - mark.size()) + std::string(mark);
}

std::unexpected<FileError> refused(FileFailure failure) { return std::unexpected(FileError{failure, 0}); }

// Gives the temporary file the old file's owner, group and mode, in that order: a change of
// owner may clear the set-user-ID and set-group-ID bits, which the mode then sets again.
FileResult<void> carry_over(int fd, const struct stat& old) {
    struct stat made;
    if (::fstat(fd, &made) != 0) return os_failure(errno);
    if ((made.st_uid != old.st_uid || made.st_gid != old.st_gid) && ::fchown(fd, old.st_uid, old.st_gid) != 0)
        return refused(FileFailure::owner_not_kept);
    if (::fchmod(fd, old.st_mode & 07777) != 0) return os_failure(errno);
    return {};
}

}  // namespace

FileResult<void> write_file_atomically(const std::string& given, std::string_view bytes) {
    // A symbolic link stays a link: the file it names is replaced.
    std::string path = given;
    struct stat link;
    if (::lstat(given.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(given.c_str(), resolved) == nullptr) return os_failure(errno);
        path = resolved;
    }
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return os_failure(errno);
    if (!S_ISREG(info.st_mode)) return refused(FileFailure::not_regular);
    if ((info.st_mode & S_IWUSR) == 0) return refused(FileFailure::read_only);
    if (info.st_nlink > 1) return refused(FileFailure::hard_links);

    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = temporary_name(folder, name);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return os_failure(errno);
    FileResult<void> written = write_all_to(fd, bytes);
    if (written) written = carry_over(fd, info);
    if (::close(fd) != 0 && written) written = os_failure(errno);
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) written = os_failure(errno);
    if (!written) ::unlink(temporary.c_str());
    return written;
}

}  // namespace mt
