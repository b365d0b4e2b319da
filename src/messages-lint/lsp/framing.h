// The protocol's framing over a byte stream: each message is a header block ("Name: value"
// lines ended by "\r\n", then an empty line) with a Content-Length, then exactly that many bytes
// of body. FrameReader takes the bytes as they arrive, in pieces of any size, and gives back
// whole bodies and framing errors in stream order; frame() writes one message.
//
// Bounded: a header block longer than MAX_HEADER_BYTES is an error, and a body longer than
// MAX_BODY_BYTES is refused and its bytes are dropped as they arrive, never held. After an
// error the reader looks for the next "Content-Length" and goes on from there, so one bad
// message never ends the conversation.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace mt::lsp {

inline constexpr std::size_t MAX_BODY_BYTES = 16 * 1024 * 1024;
inline constexpr std::size_t MAX_HEADER_BYTES = 8 * 1024;

enum class FrameError {
    bad_header,       // a line that is no header, or a Content-Length that is no decimal length
    no_length,        // a header block without Content-Length
    header_too_long,  // no empty line within MAX_HEADER_BYTES
    body_too_large,   // a Content-Length over MAX_BODY_BYTES: the body is skipped
    truncated,        // the input ended inside a message
};

// In Russian, for the error answer and the log.
std::string_view frame_error_text(FrameError error);

// One thing found in the stream: a body, or an error in its place.
struct Frame {
    std::string body;
    std::optional<FrameError> error;
};

class FrameReader {
  public:
    void feed(std::string_view bytes);
    // The next whole body or error, or none until more bytes come.
    std::optional<Frame> next();
    // At the end of input: `truncated` when a message was begun and not finished.
    std::optional<FrameError> finish() const;
    // Drops bytes up to the next "Content-Length": after a body that was no message, whatever
    // follows it is trusted only from a header on.
    void resync() { resyncing_ = true; }

  private:
    enum class State { header, body, skip };
    State state_ = State::header;
    bool resyncing_ = false;
    std::size_t length_ = 0;  // of the body being read, or the bytes still to skip
    std::string buffer_;
};

std::string frame(std::string_view body);

}  // namespace mt::lsp
