#include "common/utf8.h"

#include "utf8_decode.h"

namespace mt {

using utf8::decode;
using utf8::Decoded;

std::size_t valid_utf8_prefix(std::string_view bytes) {
    std::size_t offset = 0;
    while (offset < bytes.size()) {
        // ASCII runs are the common case in feeds; skip them without the full decoder.
        if (static_cast<unsigned char>(bytes[offset]) < 0x80) {
            ++offset;
            continue;
        }
        const Decoded d = decode(bytes.substr(offset));
        if (!d.length) break;
        offset += d.length;
    }
    return offset;
}

bool is_valid_utf8(std::string_view bytes) { return valid_utf8_prefix(bytes) == bytes.size(); }

void append_utf8(std::string& out, char32_t value) {
    if (value < 0x80) {
        out += static_cast<char>(value);
    } else if (value < 0x800) {
        out += static_cast<char>(0xC0 | (value >> 6));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else if (value < 0x10000) {
        out += static_cast<char>(0xE0 | (value >> 12));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (value >> 18));
        out += static_cast<char>(0x80 | ((value >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((value >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (value & 0x3F));
    }
}

Character first_character(std::string_view bytes) {
    const Decoded d = decode(bytes);
    if (!d.length) return {U'\uFFFD', 1, false};
    return {d.value, d.length, true};
}

std::size_t character_start(std::string_view bytes, std::size_t offset) {
    const auto continuation = [&](std::size_t at) { return (static_cast<unsigned char>(bytes[at]) & 0xC0) == 0x80; };
    if (offset >= bytes.size() || !continuation(offset)) return offset;
    for (std::size_t back = 1; back <= 3 && back <= offset; ++back) {
        if (continuation(offset - back)) continue;
        const std::size_t lead = offset - back;
        const Decoded d = decode(bytes.substr(lead));
        // A whole character that reaches this byte, or one that is cut short by the end of the
        // bytes after a valid beginning.
        const bool whole = d.length > back;
        const bool cut = d.length == 0 && d.consumed > back && lead + d.consumed == bytes.size();
        return whole || cut ? lead : offset;
    }
    return offset;
}

std::size_t character_end(std::string_view bytes, std::size_t offset) {
    while (offset < bytes.size() && (static_cast<unsigned char>(bytes[offset]) & 0xC0) == 0x80) ++offset;
    return offset;
}

std::size_t count_characters(std::string_view bytes) {
    std::size_t count = 0;
    for (std::size_t offset = 0; offset < bytes.size(); ++count) {
        // ASCII, the common case, needs no decoder.
        if (static_cast<unsigned char>(bytes[offset]) < 0x80)
            ++offset;
        else
            offset += first_character(bytes.substr(offset)).length;
    }
    return count;
}

std::string decode_utf8_lossy(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    while (!bytes.empty()) {
        const Decoded d = decode(bytes);
        if (d.length)
            out.append(bytes.data(), d.length);
        else
            append_utf8(out, U'\uFFFD');
        bytes.remove_prefix(d.consumed);
    }
    return out;
}

}  // namespace mt
