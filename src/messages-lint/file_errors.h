// The authors' checker's words for a file it could not read or replace: Russian, with the
// operating system's error number kept for whoever searches for it.
#pragma once

#include <string>

#include "feed_files/file_error.h"

namespace mt::lint {

// "нет такого файла или папки (ошибка ОС 2)", "у файла нет права записи …".
std::string file_error_words(const FileError& error);

}  // namespace mt::lint
