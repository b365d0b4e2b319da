#include "file_errors.h"

#include <cerrno>
#include <cstring>

#include "common/digits.h"

namespace mt::lint {
namespace {

// The errors a file's reading or replacing meets in practice, by name: their numbers differ
// between systems.
const char* os_words(int code) {
    switch (code) {
        case EPERM:
            return "операция не разрешена";
        case ENOENT:
            return "нет такого файла или папки";
        case EIO:
            return "ошибка ввода-вывода";
        case ENXIO:
            return "нет такого устройства";
        case ENOMEM:
            return "не хватает памяти";
        case EACCES:
            return "нет прав доступа";
        case EBUSY:
            return "устройство или файл заняты";
        case ENOTDIR:
            return "часть пути — не папка";
        case EISDIR:
            return "это папка, а не файл";
        case EINVAL:
            return "недопустимый аргумент";
        case ENFILE:
        case EMFILE:
            return "открыто слишком много файлов";
        case ETXTBSY:
            return "файл занят";
        case EFBIG:
            return "файл больше, чем позволено";
        case ENOSPC:
            return "на диске нет места";
        case EROFS:
            return "файловая система только для чтения";
        case EPIPE:
            return "канал закрыт";
        case ENAMETOOLONG:
            return "слишком длинное имя";
        case ELOOP:
            return "слишком много символических ссылок подряд";
        case EDQUOT:
            return "превышена дисковая квота";
        default:
            return nullptr;
    }
}

}  // namespace

std::string file_error_words(const FileError& error) {
    switch (error.failure) {
        case FileFailure::os_error: {
            const char* words = os_words(error.code);
            return std::string(words ? words : std::strerror(error.code)) + " (ошибка ОС " + decimal(error.code) + ")";
        }
        case FileFailure::not_regular:
            return "это не обычный файл (канал, устройство), и исправленный файл на его место не записать";
        case FileFailure::read_only:
            return "у владельца нет права записи в этот файл (снимите защиту, chmod u+w, если файл можно менять)";
        case FileFailure::hard_links:
            return "у файла есть другие имена (жёсткие ссылки), а записанный заново файл был бы только под этим";
        case FileFailure::owner_not_kept:
            return "файл принадлежит другому пользователю или группе, и записанному заново файлу их не передать";
    }
    return "";
}

}  // namespace mt::lint
