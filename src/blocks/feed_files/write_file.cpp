#include "feed_files/write_file.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/os_error.h"

namespace mt {
namespace {

Result<void> write_all_to(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t put = ::write(fd, bytes.data(), bytes.size());
        if (put < 0 && errno == EINTR) continue;
        if (put <= 0) return fail(os_error_text(put < 0 ? errno : EIO));
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

}  // namespace

Result<void> write_file_atomically(const std::string& given, std::string_view bytes) {
    // A symbolic link stays a link: the file it names is replaced.
    std::string path = given;
    struct stat link;
    if (::lstat(given.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        char resolved[PATH_MAX];
        if (::realpath(given.c_str(), resolved) == nullptr) return fail(os_error_text(errno));
        path = resolved;
    }
    struct stat info;
    if (::stat(path.c_str(), &info) != 0) return fail(os_error_text(errno));
    if (!S_ISREG(info.st_mode)) return fail(os_error_text(EINVAL));

    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temporary = temporary_name(folder, name);
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) return fail(os_error_text(errno));
    Result<void> written = write_all_to(fd, bytes);
    if (written && ::fchmod(fd, info.st_mode & 07777) != 0) written = fail(os_error_text(errno));
    if (::close(fd) != 0 && written) written = fail(os_error_text(errno));
    if (written && ::rename(temporary.c_str(), path.c_str()) != 0) written = fail(os_error_text(errno));
    if (!written) ::unlink(temporary.c_str());
    return written;
}

}  // namespace mt
