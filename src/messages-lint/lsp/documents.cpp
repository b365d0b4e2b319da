#include "documents.h"

#include "messages/records.h"

namespace mt::lsp {
namespace {

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::expected<void, std::string> apply_change(Document& document, const Change& change, PositionEncoding encoding) {
    if (!change.start || !change.end) {
        document.text = change.text;
    } else {
        const std::size_t begin = document.lines.offset(document.text, *change.start, unit_of(encoding));
        const std::size_t end = document.lines.offset(document.text, *change.end, unit_of(encoding));
        if (end < begin) return std::unexpected("конец изменения раньше его начала");
        document.text.replace(begin, end - begin, change.text);
    }
    document.lines = index_lines(document.text);
    return {};
}

void check_document(Document& document, const lint::CheckOptions& options) {
    const std::string_view text = document.text;
    // Past the limit, the command line reads one byte more and stops; so does this.
    document.check = lint::check_file(text.substr(0, MAX_FEED_BYTES + 1), text.size(), path_of(document.uri), options);
}

std::string path_of(std::string_view uri) {
    constexpr std::string_view scheme = "file://";
    if (!uri.starts_with(scheme)) return std::string(uri);
    uri.remove_prefix(scheme.size());
    if (const std::size_t slash = uri.find('/'); slash != std::string_view::npos) uri.remove_prefix(slash);
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hex_value(uri[i + 1]) >= 0 && hex_value(uri[i + 2]) >= 0) {
            path += static_cast<char>(hex_value(uri[i + 1]) * 16 + hex_value(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

}  // namespace mt::lsp
