#include "draft_reading.h"

#include <algorithm>
#include <optional>
#include <string>

#include "code_point.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "lint/windows_1251.h"
#include "typographic_quotes.h"

namespace mt::lint {
namespace {

constexpr std::string_view BOM = "\xEF\xBB\xBF";

constexpr std::string_view REMOVE_BOM = "удалить метку порядка байтов (BOM)";
constexpr std::string_view RECODE = "перекодировать файл из Windows-1251 в UTF-8";
constexpr std::string_view STRAIGHT_QUOTES = "заменить типографские кавычки на прямые";
constexpr std::string_view DOUBLE_QUOTES = "заменить одинарные кавычки на двойные";
constexpr std::string_view REMOVE_COMMENT = "удалить комментарий";
constexpr std::string_view REMOVE_COMMA = "удалить лишнюю запятую";
constexpr std::string_view INSERT_COMMA = "вставить пропущенную запятую";

// White space that looks like a space between tokens but is not JSON's.
bool is_foreign_space(char32_t c) {
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

std::string space_title(char32_t c) {
    const std::string name = c == 0x00A0   ? "неразрывный пробел"
                             : c == 0x200B ? "пробел нулевой ширины"
                             : c == 0x3000 ? "широкий пробел"
                                           : "невидимый символ";
    return "заменить " + name + " " + code_point(c) + " обычным пробелом";
}

// Whether two Cyrillic letters written in UTF-8 stand side by side somewhere in `bytes`: then
// the file is UTF-8 with a few damaged bytes, and reading it as Windows-1251 would garble it.
bool has_utf8_cyrillic_word(std::string_view bytes) {
    bool previous = false;
    for (std::size_t i = 0; i < bytes.size();) {
        const Character c = first_character(bytes.substr(i));
        const bool letter = c.valid && c.length == 2 && c.value >= 0x0400 && c.value <= 0x04FF;
        if (letter && previous) return true;
        previous = letter;
        i += c.length;
    }
    return false;
}

// The first byte at or after `at` that ends plain string content: a `"`, a `\` or a control
// byte below 0x20; bytes.size() when there is none.
std::size_t plain_end(std::string_view bytes, std::size_t at) {
    while (at < bytes.size()) {
        const auto c = static_cast<unsigned char>(bytes[at]);
        if (c < 0x20 || c == '"' || c == '\\') break;
        ++at;
    }
    return at;
}

// The edits that re-encode the runs of bytes above 0x7F of `bytes` (from `from` on) as `utf8`
// has them: both hold the same bytes below 0x80 in the same order.
std::vector<Edit> recoding_edits(std::string_view bytes, std::size_t from, std::string_view utf8) {
    std::vector<Edit> edits;
    std::size_t i = from, j = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            ++j;
            continue;
        }
        std::size_t run_end = i, text_end = j;
        while (run_end < bytes.size() && static_cast<unsigned char>(bytes[run_end]) >= 0x80) ++run_end;
        while (text_end < utf8.size() && static_cast<unsigned char>(utf8[text_end]) >= 0x80) ++text_end;
        edits.push_back({i, run_end, std::string(utf8.substr(j, text_end - j))});
        i = run_end;
        j = text_end;
    }
    return edits;
}

// What a scanned string gives: where it ends and its repairs.
struct ScannedString {
    std::size_t end = 0;
    std::vector<Repair> repairs;
};

class Scanner {
  public:
    Scanner(std::string_view bytes, std::size_t until, bool tokens) : b_(bytes), until_(until), keep_tokens_(tokens) {}

    DraftReading run() {
        byte_order_mark();
        while (pos_ <= until_ && step()) {
        }
        out_.grammar_end = pos_;
        // Past the grammar's part, strings and brackets only: what stands before a byte there is
        // what a plain reading of strings and brackets says.
        while (keep_tokens_ && pos_ <= until_ && pos_ < b_.size()) plain_token();
        return std::move(out_);
    }

    std::vector<Repair> encoding_repairs() {
        byte_order_mark();
        // Re-encoding comes first: the rest is read again in UTF-8.
        const std::string_view rest = b_.substr(pos_);
        if (const auto utf8 = has_utf8_cyrillic_word(rest) ? std::nullopt : decode_windows_1251(rest))
            add(pos_ + valid_utf8_prefix(b_.substr(pos_)), std::string(RECODE), recoding_edits(b_, pos_, *utf8));
        return std::move(out_.repairs);
    }

  private:
    enum class State { value, first_value, key, first_key, colon, comma_or_end, done };
    enum class Role { key, value };
    enum class Box { object, array };

    void byte_order_mark() {
        if (!b_.starts_with(BOM)) return;
        token(TokenKind::byte_order_mark, 0, BOM.size());
        add(0, std::string(REMOVE_BOM), {{0, BOM.size(), ""}});
        pos_ = BOM.size();
    }

    void token(TokenKind kind, std::size_t begin, std::size_t end) {
        if (keep_tokens_) out_.tokens.push_back({kind, begin, end});
    }

    // One token of a plain reading: a string from `"` to the next `"` not escaped (or the end),
    // a bracket, a colon, a comma, or a run of anything else up to one of those or white space.
    void plain_token() {
        constexpr std::string_view PUNCTUATION = "{}[]:,";
        constexpr TokenKind PUNCTUATION_KINDS[] = {TokenKind::object_begin, TokenKind::object_end,
                                                   TokenKind::array_begin,  TokenKind::array_end,
                                                   TokenKind::colon,        TokenKind::comma};
        pos_ = skip_space(b_, pos_);
        if (pos_ >= b_.size()) return;
        const std::size_t begin = pos_;
        if (const std::size_t which = PUNCTUATION.find(b_[pos_]); which != std::string_view::npos)
            return token(PUNCTUATION_KINDS[which], begin, ++pos_);
        if (b_[pos_] == '"') {
            for (++pos_; pos_ < b_.size() && b_[pos_] != '"'; ++pos_)
                if (b_[pos_] == '\\') ++pos_;
            if (pos_ >= b_.size()) return token(TokenKind::unclosed_string, begin, pos_ = b_.size());
            return token(TokenKind::string, begin, ++pos_);
        }
        while (pos_ < b_.size() && !is_json_space(b_[pos_]) && b_[pos_] != '"' &&
               PUNCTUATION.find(b_[pos_]) == std::string_view::npos)
            ++pos_;
        token(TokenKind::unreadable, begin, pos_);
    }

    void add(std::size_t stop, std::string title, std::vector<Edit> edits, std::size_t stop_last = NO_OFFSET) {
        Repair repair;
        repair.stop = stop;
        repair.stop_last = stop_last == NO_OFFSET ? stop : stop_last;
        repair.fix.title = std::move(title);
        repair.fix.safe = true;
        repair.fix.edits = std::move(edits);
        out_.repairs.push_back(std::move(repair));
    }

    // Whether what follows `at` (after spaces and tabs) may follow a string in its role: a `:`
    // after a key; a `,`, `}` or `]` after a value, or the end of a line (a comma may be missing
    // there), a comment or the end of the document.
    bool closes_here(std::size_t at, Role role) const {
        while (at < b_.size() && (b_[at] == ' ' || b_[at] == '\t')) ++at;
        if (at == b_.size()) return role == Role::value;
        const char c = b_[at];
        if (role == Role::key) return c == ':';
        return c == ',' || c == '}' || c == ']' || c == '\n' || c == '\r' || c == '/';
    }

    bool starts_string(std::size_t at) const {
        if (at >= b_.size()) return false;
        if (b_[at] == '"' || b_[at] == '\'') return true;
        const Character c = first_character(b_.substr(at));
        return c.valid && is_typographic_quote(c.value);
    }

    // The repair of a raw line break, carriage return or tab at `at` inside a string, and its
    // length; none for any other control byte.
    std::optional<std::size_t> escape_control(std::size_t at, std::vector<Repair>& repairs) const {
        const char c = b_[at];
        Repair repair;
        repair.stop = repair.stop_last = at;
        std::size_t length = 1;
        if (c == '\n' || (c == '\r' && at + 1 < b_.size() && b_[at + 1] == '\n')) {
            length = c == '\r' ? 2 : 1;
            repair.fix.title = "записать перевод строки внутри строки как \\n";
            repair.fix.edits = {{at, at + length, "\\n"}};
        } else if (c == '\r') {
            repair.fix.title = "записать возврат каретки внутри строки как \\r";
            repair.fix.edits = {{at, at + 1, "\\r"}};
        } else if (c == '\t') {
            repair.fix.title = "записать табуляцию внутри строки как \\t";
            repair.fix.edits = {{at, at + 1, "\\t"}};
        } else {
            return std::nullopt;
        }
        repairs.push_back(std::move(repair));
        return length;
    }

    // A string in JSON's own quotation marks: its raw line breaks and tabs, and a typographic
    // closing mark where the author closed it with one (the reader then reads on to the next `"`).
    std::optional<ScannedString> json_string(std::size_t open, Role role) const {
        ScannedString out;
        for (std::size_t pos = plain_end(b_, open + 1); pos < b_.size(); pos = plain_end(b_, pos)) {
            const char c = b_[pos];
            if (c == '"') {
                if (!closes_here(pos + 1, role))
                    if (auto mixed = typographic_close(open, pos, role, out.repairs)) return mixed;
                out.end = pos + 1;
                // A string that needed repairs inside must end where a string can end.
                if (!out.repairs.empty() && !closes_here(out.end, role)) return std::nullopt;
                return out;
            }
            if (c == '\\') {
                pos += 2;
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                if (auto mixed = typographic_close(open, pos, role, out.repairs)) return mixed;
                const auto length = escape_control(pos, out.repairs);
                if (!length) return std::nullopt;
                pos += *length;
                continue;
            }
        }
        return std::nullopt;
    }

    // A string opened with `"` and closed with a typographic mark before `stop`: the first such
    // mark that something closing follows. The repairs found before it are kept.
    std::optional<ScannedString> typographic_close(std::size_t open, std::size_t stop, Role role,
                                                   const std::vector<Repair>& before) const {
        for (std::size_t pos = open + 1; pos < stop;) {
            const Character c = first_character(b_.substr(pos, stop - pos));
            if (c.valid && is_typographic_quote(c.value) && closes_here(pos + c.length, role)) {
                ScannedString out;
                for (const Repair& repair : before)
                    if (repair.stop < pos) out.repairs.push_back(repair);
                Repair quote;
                quote.stop = pos;
                quote.stop_last = stop + 1;
                quote.fix.title = STRAIGHT_QUOTES;
                quote.fix.edits = {{pos, pos + c.length, "\""}};
                out.repairs.push_back(std::move(quote));
                out.end = pos + c.length;
                return out;
            }
            pos += b_[pos] == '\\' ? 2 : c.length;
        }
        return std::nullopt;
    }

    // A string opened with a single or a typographic mark, which never spans lines: closed by
    // the first mark of its pair that something closing follows, or by the first `"` when one
    // closes it (a typographic mark opened, a straight one closed). A `"` inside is escaped; in
    // a single-quoted string the `\'` of other languages becomes a plain `'`.
    std::optional<ScannedString> foreign_string(std::size_t open, Role role) const {
        const bool single = b_[open] == '\'';
        const Character opener = first_character(b_.substr(open));
        const std::u32string_view closers = single ? U"'" : quote_pair(opener.value)->closers;
        Repair quote;
        quote.stop = quote.stop_last = open;
        quote.fix.title = single ? DOUBLE_QUOTES : STRAIGHT_QUOTES;
        quote.fix.edits.push_back({open, open + opener.length, "\""});
        ScannedString out;
        bool straight_inside = false;
        for (std::size_t pos = open + opener.length; pos < b_.size();) {
            const char byte = b_[pos];
            if (byte == '\n' || byte == '\r') return std::nullopt;
            if (single && byte == '\\' && pos + 1 < b_.size() && b_[pos + 1] == '\'') {
                quote.fix.edits.push_back({pos, pos + 2, "'"});
                pos += 2;
                continue;
            }
            if (byte == '\\') {
                pos += 2;
                continue;
            }
            if (static_cast<unsigned char>(byte) < 0x20) {
                const auto length = escape_control(pos, out.repairs);
                if (!length) return std::nullopt;
                pos += *length;
                continue;
            }
            const Character c = first_character(b_.substr(pos));
            const bool closer = closers.find(c.value) != std::u32string_view::npos || (!single && byte == '"');
            if (c.valid && closer && closes_here(pos + c.length, role)) {
                // A `"` that closes after a `"` inside is no closing mark the author typed.
                if (byte == '"' && straight_inside) return std::nullopt;
                if (byte != '"') quote.fix.edits.push_back({pos, pos + c.length, "\""});
                out.end = pos + c.length;
                out.repairs.insert(out.repairs.begin(), std::move(quote));
                return out;
            }
            if (byte == '"') {
                quote.fix.edits.push_back({pos, pos + 1, "\\\""});
                straight_inside = true;
            }
            pos += c.length;
        }
        return std::nullopt;
    }

    std::optional<ScannedString> string_at(std::size_t at, Role role) const {
        return b_[at] == '"' ? json_string(at, role) : foreign_string(at, role);
    }

    // Removes a comment from `begin` to `end`: with the spaces around it when it ends its line,
    // and the whole line when nothing else is on it.
    void remove_comment(std::size_t begin, std::size_t end) {
        std::size_t from = begin, to = end;
        while (from > 0 && (b_[from - 1] == ' ' || b_[from - 1] == '\t')) --from;
        while (to < b_.size() && (b_[to] == ' ' || b_[to] == '\t')) ++to;
        const bool line_starts = from == 0 || b_[from - 1] == '\n';
        const bool crlf = to + 1 < b_.size() && b_[to] == '\r' && b_[to + 1] == '\n';
        const bool line_ends = to == b_.size() || b_[to] == '\n' || crlf;
        if (!line_ends) {
            // Inside a line: the comment and the spaces after it, when spaces stand before it.
            from = begin;
            if (begin == 0 || (b_[begin - 1] != ' ' && b_[begin - 1] != '\t')) to = end;
        } else if (line_starts && to < b_.size()) {
            to += crlf ? 2 : 1;
        }
        token(TokenKind::comment, begin, end);
        add(begin, std::string(REMOVE_COMMENT), {{from, to, ""}});
    }

    // Takes white space and comments, repairing what JSON does not allow; false at a comment
    // that never ends.
    bool space() {
        while (pos_ < b_.size()) {
            const char c = b_[pos_];
            if (is_json_space(c)) {
                ++pos_;
            } else if (c == '/' && pos_ + 1 < b_.size() && b_[pos_ + 1] == '/') {
                std::size_t end = pos_ + 2;
                while (end < b_.size() && b_[end] != '\n' &&
                       !(b_[end] == '\r' && end + 1 < b_.size() && b_[end + 1] == '\n'))
                    ++end;
                remove_comment(pos_, end);
                pos_ = end;
            } else if (c == '/' && pos_ + 1 < b_.size() && b_[pos_ + 1] == '*') {
                const std::size_t close = b_.find("*/", pos_ + 2);
                if (close == std::string_view::npos) return false;
                remove_comment(pos_, close + 2);
                pos_ = close + 2;
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                const Character ch = first_character(b_.substr(pos_));
                if (!ch.valid || !is_foreign_space(ch.value)) return true;
                token(TokenKind::foreign_space, pos_, pos_ + ch.length);
                add(pos_, space_title(ch.value), {{pos_, pos_ + ch.length, " "}});
                pos_ += ch.length;
            } else {
                return true;
            }
        }
        return true;
    }

    void open(Box box) {
        boxes_.push_back(box);
        token(box == Box::object ? TokenKind::object_begin : TokenKind::array_begin, pos_, pos_ + 1);
        ++pos_;
        state_ = box == Box::object ? State::first_key : State::first_value;
    }

    // At a `}` or `]`: false when it closes nothing open.
    bool close() {
        const Box box = b_[pos_] == '}' ? Box::object : Box::array;
        if (boxes_.empty() || boxes_.back() != box) return false;
        boxes_.pop_back();
        token(box == Box::object ? TokenKind::object_end : TokenKind::array_end, pos_, pos_ + 1);
        ++pos_;
        value_end_ = pos_;
        state_ = boxes_.empty() ? State::done : State::comma_or_end;
        return true;
    }

    void took_value() {
        value_end_ = pos_;
        state_ = boxes_.empty() ? State::done : State::comma_or_end;
    }

    bool take_string(Role role) {
        auto scanned = string_at(pos_, role);
        if (!scanned) return false;
        for (Repair& repair : scanned->repairs) out_.repairs.push_back(std::move(repair));
        token(b_[pos_] == '"' ? TokenKind::string : TokenKind::foreign_string, pos_, scanned->end);
        pos_ = scanned->end;
        return true;
    }

    // Whether a comma is certainly missing before the token at the cursor: a key (a string a
    // `:` follows) after a member's value, or a record after a record.
    bool comma_missing() const {
        if (boxes_.back() == Box::object) {
            if (!starts_string(pos_)) return false;
            const auto key = string_at(pos_, Role::key);
            if (!key) return false;
            const std::size_t after = skip_space(b_, key->end);
            return after < b_.size() && b_[after] == ':';
        }
        const char before = b_[value_end_ - 1];
        return (b_[pos_] == '{' || b_[pos_] == '[') && (before == '}' || before == ']');
    }

    // One token; false when the scan ends.
    bool step() {
        if (!space() || pos_ >= b_.size()) return false;
        const char c = b_[pos_];
        switch (state_) {
            case State::done:
                return false;
            case State::colon:
                if (c != ':') return false;
                token(TokenKind::colon, pos_, pos_ + 1);
                ++pos_;
                state_ = State::value;
                last_comma_ = NO_OFFSET;
                return true;
            case State::comma_or_end:
                if (c == ',') {
                    token(TokenKind::comma, pos_, pos_ + 1);
                    last_comma_ = pos_++;
                    state_ = boxes_.back() == Box::object ? State::key : State::value;
                    return true;
                }
                if (c == '}' || c == ']') return close();
                if (!comma_missing()) return false;
                add(pos_, std::string(INSERT_COMMA), {{value_end_, value_end_, ","}});
                state_ = boxes_.back() == Box::object ? State::key : State::value;
                last_comma_ = NO_OFFSET;
                return true;
            default:
                break;
        }
        if (c == '}' || c == ']') {
            if (state_ == State::key || state_ == State::value) {
                // Only a comma just before makes the bracket a repair; a value missing after
                // a `:` is not one.
                if (boxes_.empty() || last_comma_ == NO_OFFSET) return false;
                add(pos_, std::string(REMOVE_COMMA), {{last_comma_, last_comma_ + 1, ""}});
            }
            return close();
        }
        if (state_ == State::key || state_ == State::first_key) {
            if (!starts_string(pos_) || !take_string(Role::key)) return false;
            state_ = State::colon;
            return true;
        }
        if (c == '{' || c == '[') {
            open(c == '{' ? Box::object : Box::array);
            return true;
        }
        if (starts_string(pos_)) {
            if (!take_string(Role::value)) return false;
        } else if ((c >= '0' && c <= '9') || c == '-') {
            const std::size_t start = pos_;
            while (pos_ < b_.size() && ((b_[pos_] >= '0' && b_[pos_] <= '9') || b_[pos_] == '-' || b_[pos_] == '+' ||
                                        b_[pos_] == '.' || b_[pos_] == 'e' || b_[pos_] == 'E'))
                ++pos_;
            token(TokenKind::number, start, pos_);
        } else if (c >= 'a' && c <= 'z') {
            std::size_t end = pos_;
            while (end < b_.size() && b_[end] >= 'a' && b_[end] <= 'z') ++end;
            const std::string_view word = b_.substr(pos_, end - pos_);
            if (word != "true" && word != "false" && word != "null") return false;
            token(TokenKind::literal, pos_, end);
            pos_ = end;
        } else {
            return false;
        }
        took_value();
        return true;
    }

    std::string_view b_;
    std::size_t until_ = NO_OFFSET;
    bool keep_tokens_ = true;
    std::size_t pos_ = 0;
    State state_ = State::value;
    std::vector<Box> boxes_;
    std::size_t last_comma_ = NO_OFFSET;  // the comma just taken, while the next token is looked for
    std::size_t value_end_ = 0;
    DraftReading out_;
};

}  // namespace

DraftReading read_draft(std::string_view document, std::size_t until) { return Scanner(document, until, true).run(); }

std::vector<Repair> draft_repairs(std::string_view document) {
    return Scanner(document, NO_OFFSET, false).run().repairs;
}

std::vector<Repair> encoding_repairs(std::string_view document) {
    return Scanner(document, 0, false).encoding_repairs();
}

Context context_before(const DraftReading& reading, std::size_t offset) {
    Context context;
    std::vector<OpenBracket>& open = context.open;
    for (const Token& t : reading.tokens) {
        if (t.begin >= offset) break;
        switch (t.kind) {
            case TokenKind::unclosed_string:
                context.in_string = true;
                return context;
            case TokenKind::string:
                if (t.end > offset) {
                    context.in_string = true;
                    return context;
                }
                break;
            case TokenKind::object_begin:
            case TokenKind::array_begin:
                open.push_back({.bracket = t.kind == TokenKind::object_begin ? '{' : '['});
                break;
            case TokenKind::object_end:
            case TokenKind::array_end:
                if (!open.empty()) open.pop_back();
                break;
            case TokenKind::colon:
                if (!open.empty()) open.back().value = true;
                break;
            case TokenKind::comma:
                if (!open.empty()) open.back().value = false;
                break;
            default:
                break;
        }
    }
    return context;
}

std::size_t plain_value_end(const DraftReading& reading, std::size_t begin) {
    // The format nests five deep; a value deeper than this is not one a fix needs to step over.
    constexpr std::size_t MAX_DEPTH = 16;
    const auto first = std::lower_bound(reading.tokens.begin(), reading.tokens.end(), begin,
                                        [](const Token& t, std::size_t at) { return t.begin < at; });
    if (first == reading.tokens.end() || first->begin != begin) return NO_OFFSET;
    std::size_t depth = 0, end = NO_OFFSET;
    for (auto t = first; t != reading.tokens.end() && end == NO_OFFSET; ++t) {
        switch (t->kind) {
            case TokenKind::object_begin:
            case TokenKind::array_begin:
                if (++depth > MAX_DEPTH + 1) return NO_OFFSET;
                break;
            case TokenKind::object_end:
            case TokenKind::array_end:
                if (depth == 0) return NO_OFFSET;
                if (--depth == 0) end = t->end;
                break;
            case TokenKind::string:
            case TokenKind::number:
            case TokenKind::literal:
                if (depth > MAX_DEPTH) return NO_OFFSET;
                if (depth == 0) end = t->end;
                break;
            case TokenKind::colon:
            case TokenKind::comma:
                if (depth == 0) return NO_OFFSET;
                break;
            default:
                return NO_OFFSET;
        }
    }
    if (end == NO_OFFSET || end > reading.grammar_end) return NO_OFFSET;
    for (const Repair& repair : reading.repairs)
        if (repair.stop >= begin && repair.stop < end) return NO_OFFSET;
    return end;
}

std::size_t skip_space(std::string_view bytes, std::size_t at) {
    while (at < bytes.size() && is_json_space(bytes[at])) ++at;
    return at;
}

std::size_t previous_token_end(std::string_view bytes, std::size_t offset) {
    for (std::size_t i = std::min(offset, bytes.size()); i > 0; --i)
        if (!is_json_space(bytes[i - 1])) return i - 1;
    return NO_OFFSET;
}

}  // namespace mt::lint
