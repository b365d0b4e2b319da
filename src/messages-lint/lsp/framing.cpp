#include "framing.h"

#include <algorithm>
#include <cctype>

#include "common/digits.h"

namespace mt::lsp {
namespace {

constexpr std::string_view LENGTH_NAME = "content-length";

bool same_letters(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// Where "Content-Length" (any case) begins in `text`, or npos.
std::size_t find_length_name(std::string_view text) {
    for (std::size_t i = 0; i + LENGTH_NAME.size() <= text.size(); ++i)
        if (same_letters(text.substr(i, LENGTH_NAME.size()), LENGTH_NAME)) return i;
    return std::string_view::npos;
}

bool is_token(std::string_view name) {
    return !name.empty() && std::all_of(name.begin(), name.end(), [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_';
    });
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

// The body length a header block (without its empty line) announces, or why it announces none.
struct Announced {
    std::size_t length = 0;
    std::optional<FrameError> error;
};

Announced read_header_block(std::string_view block) {
    std::optional<std::size_t> length;
    while (!block.empty()) {
        const std::size_t end = block.find("\r\n");
        const std::string_view line = block.substr(0, end);
        block = end == std::string_view::npos ? std::string_view() : block.substr(end + 2);
        const std::size_t colon = line.find(':');
        if (colon == std::string_view::npos || !is_token(line.substr(0, colon))) return {0, FrameError::bad_header};
        if (!same_letters(line.substr(0, colon), LENGTH_NAME)) continue;  // Content-Type and others
        const std::string_view value = trim(line.substr(colon + 1));
        // More digits than any length under the limit has are refused as too large, unread.
        if (value.empty() || value.size() > 12 ||
            !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return {0, FrameError::bad_header};
        std::size_t n = 0;
        for (const char c : value) n = n * 10 + static_cast<std::size_t>(c - '0');
        if (length && *length != n) return {0, FrameError::bad_header};
        length = n;
    }
    if (!length) return {0, FrameError::no_length};
    return {*length, std::nullopt};
}

}  // namespace

std::string_view frame_error_text(FrameError error) {
    switch (error) {
        case FrameError::bad_header:
            return "неверный заголовок сообщения";
        case FrameError::no_length:
            return "в заголовке сообщения нет Content-Length";
        case FrameError::header_too_long:
            return "заголовок сообщения длиннее 8 КиБ";
        case FrameError::body_too_large:
            return "сообщение длиннее 16 МиБ пропущено";
        case FrameError::truncated:
            return "ввод кончился посреди сообщения";
    }
    return "неверное сообщение";
}

void FrameReader::feed(std::string_view bytes) {
    if (state_ == State::skip) {
        const std::size_t dropped = std::min(length_, bytes.size());
        length_ -= dropped;
        bytes.remove_prefix(dropped);
        if (length_ == 0) state_ = State::header;
    }
    buffer_.append(bytes);
}

std::optional<Frame> FrameReader::next() {
    for (;;) {
        if (state_ == State::skip) {
            const std::size_t dropped = std::min(length_, buffer_.size());
            length_ -= dropped;
            buffer_.erase(0, dropped);
            if (length_ > 0) return std::nullopt;
            state_ = State::header;
        }
        if (state_ == State::body) {
            if (buffer_.size() < length_) return std::nullopt;
            Frame frame{buffer_.substr(0, length_), std::nullopt};
            buffer_.erase(0, length_);
            state_ = State::header;
            return frame;
        }
        if (resyncing_) {
            const std::size_t at = find_length_name(buffer_);
            if (at == std::string::npos) {
                // Keep what could be the beginning of the name, split across two reads.
                const std::size_t keep = std::min(buffer_.size(), LENGTH_NAME.size() - 1);
                buffer_.erase(0, buffer_.size() - keep);
                return std::nullopt;
            }
            buffer_.erase(0, at);
            resyncing_ = false;
        }
        const std::size_t end = buffer_.find("\r\n\r\n");
        if (end == std::string::npos || end > MAX_HEADER_BYTES) {
            if (buffer_.size() < MAX_HEADER_BYTES + 4) return std::nullopt;
            buffer_.erase(0, 1);
            resyncing_ = true;
            return Frame{{}, FrameError::header_too_long};
        }
        const Announced announced = read_header_block(std::string_view(buffer_).substr(0, end));
        if (announced.error) {
            buffer_.erase(0, 1);  // the block's start is not a message: look past it
            resyncing_ = true;
            return Frame{{}, announced.error};
        }
        buffer_.erase(0, end + 4);
        length_ = announced.length;
        if (length_ > MAX_BODY_BYTES) {
            state_ = State::skip;
            return Frame{{}, FrameError::body_too_large};
        }
        state_ = State::body;
    }
}

std::optional<FrameError> FrameReader::finish() const {
    if (state_ != State::header) return FrameError::truncated;
    if (resyncing_) return std::nullopt;  // what is left is not a message
    const bool blank = std::all_of(buffer_.begin(), buffer_.end(), [](char c) { return c == '\r' || c == '\n'; });
    return blank ? std::nullopt : std::optional(FrameError::truncated);
}

std::string frame(std::string_view body) {
    std::string out = "Content-Length: " + decimal(body.size()) + "\r\n\r\n";
    out.append(body);
    return out;
}

}  // namespace mt::lsp
