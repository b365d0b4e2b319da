#include "draft_reading.h"

#include <algorithm>
#include <optional>
#include <string>

#include "common/digits.h"
#include "common/utf8.h"
#include "common/white_space.h"
#include "lint/code_pages.h"
#include "syntax_mistakes.h"
#include "typographic_quotes.h"

namespace mt::lint {
namespace {

constexpr std::string_view BOM = "\xEF\xBB\xBF";

// White space that looks like a space between tokens but is not JSON's.
bool is_foreign_space(char32_t c) {
    return c == 0x00A0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200B) || c == 0x2028 || c == 0x2029 || c == 0x202F ||
           c == 0x205F || c == 0x2060 || c == 0x3000 || c == 0xFEFF;
}

// The code unit of the `\u` escape whose backslash is at `at`, or -1 when it has no four hex digits.
long unit_at(std::string_view bytes, std::size_t at) {
    if (at + 6 > bytes.size() || bytes[at] != '\\' || bytes[at + 1] != 'u') return -1;
    long value = 0;
    for (std::size_t i = at + 2; i < at + 6; ++i) {
        const int digit = hex_digit_value(bytes[i]);
        if (digit < 0) return -1;
        value = value << 4 | digit;
    }
    return value;
}

// The length of the escape whose backslash is at `at` when it is one JSON has (a surrogate only
// in a pair, which is one escape of twelve bytes), else 0.
std::size_t escape_length(std::string_view bytes, std::size_t at) {
    if (at + 1 >= bytes.size()) return 0;
    if (std::string_view("\"\\/bfnrt").find(bytes[at + 1]) != std::string_view::npos) return 2;
    const long unit = unit_at(bytes, at);
    if (unit < 0 || (unit >= 0xDC00 && unit <= 0xDFFF)) return 0;
    if (unit < 0xD800 || unit > 0xDBFF) return 6;
    const long trailing = unit_at(bytes, at + 6);
    return trailing >= 0xDC00 && trailing <= 0xDFFF ? 12 : 0;
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

// What a scanned string gives: where it ends and the mistakes inside it.
struct ScannedString {
    std::size_t end = 0;
    std::vector<Diagnosis> mistakes;
    // Whether one of them has a repair.
    bool repaired() const {
        return std::any_of(mistakes.begin(), mistakes.end(), [](const Diagnosis& d) { return d.fix.has_value(); });
    }
};

class Scanner {
  public:
    Scanner(std::string_view bytes, const AuthorZone& zone, std::size_t until, bool tokens)
        : b_(bytes), zone_(zone), until_(until), keep_tokens_(tokens) {}

    DraftReading run() {
        byte_order_mark();
        while (pos_ <= until_) {
            if (step()) continue;
            const bool finished = state_ == State::done && pos_ >= b_.size();
            if (!finished && !recorded_) add(stuck_mistake(b_, pos_, place()));
            break;
        }
        out_.grammar_end = pos_;
        // Past the grammar's part, strings and brackets only: what stands before a byte there is
        // what a plain reading of strings and brackets says.
        while (keep_tokens_ && pos_ <= until_ && pos_ < b_.size()) plain_token();
        return std::move(out_);
    }

  private:
    enum class State { value, first_value, key, first_key, colon, comma_or_end, done };
    enum class Role { key, value };

    void byte_order_mark() {
        // UTF-16's mark: nothing after it reads as JSON until the whole file is recoded.
        if (auto text = decode_utf16(b_)) add(utf16_mistake(b_, std::move(*text)));
        if (!b_.starts_with(BOM)) return;
        token(TokenKind::byte_order_mark, 0, BOM.size());
        add(byte_order_mark_mistake());
        pos_ = BOM.size();
    }

    void token(TokenKind kind, std::size_t begin, std::size_t end) {
        if (keep_tokens_) out_.tokens.push_back({kind, begin, end});
    }

    void add(Diagnosis diagnosis) { out_.diagnoses.push_back(std::move(diagnosis)); }

    // Whether the document's lines end in lone carriage returns more often than in line feeds
    // (counted once, when a carriage return inside a string asks).
    bool cr_lines() const {
        if (!cr_lines_) {
            std::size_t lone = 0, feeds = 0;
            for (std::size_t i = 0; i < b_.size(); ++i) {
                if (b_[i] == '\n') ++feeds;
                if (b_[i] == '\r' && (i + 1 == b_.size() || b_[i + 1] != '\n')) ++lone;
            }
            cr_lines_ = lone > feeds;
        }
        return *cr_lines_;
    }

    // Records the mistake the grammar stops at, where it is not at the cursor.
    bool stuck_at(Diagnosis diagnosis) {
        add(std::move(diagnosis));
        recorded_ = true;
        return false;
    }

    GrammarPlace place(std::optional<Wanted> wanted = std::nullopt) const {
        GrammarPlace at;
        at.open = boxes_;
        at.member_value =
            !boxes_.empty() && boxes_.back() == '{' && (state_ == State::value || state_ == State::comma_or_end);
        at.wanted = wanted                                                   ? *wanted
                    : state_ == State::value || state_ == State::first_value ? Wanted::value
                    : state_ == State::key || state_ == State::first_key     ? Wanted::key
                    : state_ == State::colon                                 ? Wanted::colon
                    : state_ == State::comma_or_end                          ? Wanted::comma_or_end
                                                                             : Wanted::nothing;
        return at;
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

    // The control byte at `at` inside a string, kept in `out`, and its length; none when it is
    // not one a string can be repaired around (a line end or a tab).
    std::optional<std::size_t> control_inside(std::size_t at, ScannedString& out) const {
        Diagnosis control = control_mistake(b_, at, cr_lines());
        if (!control.fix) return std::nullopt;
        const std::size_t length = control.fix->edits.front().end - at;
        out.mistakes.push_back(std::move(control));
        return length;
    }

    // A string in JSON's own quotation marks: its raw line breaks and tabs, escapes JSON does not
    // have, and a typographic closing mark where the author closed it with one (the reader then
    // reads on to the next `"`).
    std::optional<ScannedString> json_string(std::size_t open, Role role) const {
        ScannedString out;
        for (std::size_t pos = plain_end(b_, open + 1); pos < b_.size(); pos = plain_end(b_, pos)) {
            const char c = b_[pos];
            if (c == '"') {
                if (!closes_here(pos + 1, role)) {
                    if (auto mixed = typographic_close(open, pos, role, out.mistakes)) return mixed;
                    if (auto inner = quotes_inside(pos, role, out.mistakes)) return inner;
                }
                out.end = pos + 1;
                // A string that needed repairs inside must end where a string can end.
                if (out.repaired() && !closes_here(out.end, role)) return std::nullopt;
                return out;
            }
            if (c == '\\') {
                const std::size_t length = escape_length(b_, pos);
                if (length == 0) out.mistakes.push_back(escape_mistake(pos));
                pos += std::max<std::size_t>(length, 2);
                continue;
            }
            if (static_cast<unsigned char>(c) < 0x20) {
                if (auto mixed = typographic_close(open, pos, role, out.mistakes)) return mixed;
                const auto length = control_inside(pos, out);
                if (!length) return std::nullopt;
                pos += *length;
                continue;
            }
        }
        return std::nullopt;
    }

    // A value's string that a straight mark at `first` ends early, a letter or a digit right after
    // it (`"Скидка "50%" сегодня"`): read on to the first later mark on the same line that
    // something closing follows. The mistakes found before it are kept.
    std::optional<ScannedString> quotes_inside(std::size_t first, Role role,
                                               const std::vector<Diagnosis>& before) const {
        if (role != Role::value || first + 1 >= b_.size() ||
            std::string_view(" \t\r\n,:{}[]\"").find(b_[first + 1]) != std::string_view::npos)
            return std::nullopt;
        std::vector<std::size_t> inner = {first};
        for (std::size_t pos = first + 1; pos < b_.size(); ++pos) {
            const char c = b_[pos];
            if (static_cast<unsigned char>(c) < 0x20) return std::nullopt;
            if (c == '\\') {
                ++pos;
                continue;
            }
            if (c != '"') continue;
            if (!closes_here(pos + 1, role)) {
                inner.push_back(pos);
                continue;
            }
            ScannedString out;
            out.mistakes = before;
            out.mistakes.push_back(quote_in_text_mistake(b_, first, inner));
            out.end = pos + 1;
            return out;
        }
        return std::nullopt;
    }

    // A string opened with `"` and closed with a typographic mark before `stop`: the first such
    // mark that something closing follows. The mistakes found before it are kept.
    std::optional<ScannedString> typographic_close(std::size_t open, std::size_t stop, Role role,
                                                   const std::vector<Diagnosis>& before) const {
        for (std::size_t pos = open + 1; pos < stop;) {
            const Character c = first_character(b_.substr(pos, stop - pos));
            if (c.valid && is_typographic_quote(c.value) && closes_here(pos + c.length, role)) {
                ScannedString out;
                for (const Diagnosis& mistake : before)
                    if (mistake.stop < pos) out.mistakes.push_back(mistake);
                out.mistakes.push_back(quote_mistake(b_, pos, stop + 1, false, {{pos, pos + c.length, "\""}}));
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
        // A typographic mark before JSON's own opening `"` (`“"Продлите…”`) is one mark too many:
        // the two become one `"`, and the text keeps no quotation mark of them.
        const bool doubled = !single && open + opener.length < b_.size() && b_[open + opener.length] == '"';
        const std::size_t text = open + opener.length + (doubled ? 1 : 0);
        std::vector<Edit> edits = {{open, text, "\""}};
        ScannedString out;
        bool straight_inside = false;
        for (std::size_t pos = text; pos < b_.size();) {
            const char byte = b_[pos];
            if (byte == '\n' || byte == '\r') return std::nullopt;
            if (single && byte == '\\' && pos + 1 < b_.size() && b_[pos + 1] == '\'') {
                edits.push_back({pos, pos + 2, "'"});
                pos += 2;
                continue;
            }
            if (byte == '\\') {
                pos += 2;
                continue;
            }
            if (static_cast<unsigned char>(byte) < 0x20) {
                const auto length = control_inside(pos, out);
                if (!length) return std::nullopt;
                pos += *length;
                continue;
            }
            const Character c = first_character(b_.substr(pos));
            const bool closer = closers.find(c.value) != std::u32string_view::npos || (!single && byte == '"');
            if (c.valid && closer && closes_here(pos + c.length, role)) {
                // A `"` that closes after a `"` inside is no closing mark the author typed.
                if (byte == '"' && straight_inside) return std::nullopt;
                if (byte != '"') edits.push_back({pos, pos + c.length, "\""});
                out.end = pos + c.length;
                out.mistakes.insert(out.mistakes.begin(), quote_mistake(b_, open, open, single, std::move(edits)));
                return out;
            }
            if (byte == '"') {
                // After `“"`, another `"` may close a quotation inside: which marks are text is not certain.
                if (doubled) return std::nullopt;
                edits.push_back({pos, pos + 1, "\\\""});
                straight_inside = true;
            }
            pos += c.length;
        }
        return std::nullopt;
    }

    std::optional<ScannedString> string_at(std::size_t at, Role role) const {
        return b_[at] == '"' ? json_string(at, role) : foreign_string(at, role);
    }

    // Where the reader stops in a string opened with `"` at `open` that the reading could not
    // take: its first control byte or escape JSON does not have, or the end of the document.
    Diagnosis string_failure(std::size_t open) const {
        if (b_[open] != '"') return stuck_mistake(b_, open, place());
        for (std::size_t pos = open + 1; pos < b_.size(); ++pos) {
            const char c = b_[pos];
            if (static_cast<unsigned char>(c) < 0x20) {
                // The string as a whole could not be read, so no repair inside it is certain.
                Diagnosis control = control_mistake(b_, pos, cr_lines());
                control.fix.reset();
                return control;
            }
            if (c == '\\') {
                const std::size_t length = escape_length(b_, pos);
                if (pos + 1 < b_.size() && length == 0) return escape_mistake(pos);
                pos += std::max<std::size_t>(length, 2) - 1;
            }
        }
        Diagnosis unclosed;
        unclosed.mistake = Mistake::unclosed_string;
        unclosed.stop = b_.size() - 1;
        unclosed.stop_last = b_.size();
        return unclosed;
    }

    // Takes white space and comments, repairing what JSON does not allow; false at a comment
    // that never ends.
    bool space() {
        while (pos_ < b_.size()) {
            const char c = b_[pos_];
            if (is_json_space(c)) {
                ++pos_;
            } else if ((c == '/' && pos_ + 1 < b_.size() && b_[pos_ + 1] == '/') || c == '#') {
                // To the end of the line: `//`, and `#` of YAML, TOML and shell scripts.
                std::size_t end = pos_ + 1;
                while (end < b_.size() && b_[end] != '\n' &&
                       !(b_[end] == '\r' && end + 1 < b_.size() && b_[end + 1] == '\n'))
                    ++end;
                token(TokenKind::comment, pos_, end);
                add(comment_mistake(b_, pos_, end));
                pos_ = end;
            } else if (c == '/' && pos_ + 1 < b_.size() && b_[pos_ + 1] == '*') {
                const std::size_t close = b_.find("*/", pos_ + 2);
                if (close == std::string_view::npos) return false;
                token(TokenKind::comment, pos_, close + 2);
                add(comment_mistake(b_, pos_, close + 2));
                pos_ = close + 2;
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                const Character ch = first_character(b_.substr(pos_));
                if (!ch.valid || !is_foreign_space(ch.value)) return true;
                token(TokenKind::foreign_space, pos_, pos_ + ch.length);
                add(foreign_space_mistake(b_, pos_));
                foreign_space_ = {pos_, pos_ + ch.length};
                pos_ += ch.length;
            } else {
                return true;
            }
        }
        return true;
    }

    void open(char bracket) {
        boxes_.push_back(bracket);
        opens_.push_back(pos_);
        token(bracket == '{' ? TokenKind::object_begin : TokenKind::array_begin, pos_, pos_ + 1);
        ++pos_;
        state_ = bracket == '{' ? State::first_key : State::first_value;
    }

    // At a `}` or `]`: false when it closes nothing open.
    bool close() {
        const char bracket = b_[pos_] == '}' ? '{' : '[';
        if (boxes_.empty() || boxes_.back() != bracket) return false;
        boxes_.pop_back();
        opens_.pop_back();
        token(bracket == '{' ? TokenKind::object_end : TokenKind::array_end, pos_, pos_ + 1);
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
        if (!scanned) return stuck_at(string_failure(pos_));
        for (Diagnosis& mistake : scanned->mistakes) add(std::move(mistake));
        token(b_[pos_] == '"' ? TokenKind::string : TokenKind::foreign_string, pos_, scanned->end);
        if (role == Role::key) key_ = {pos_, scanned->end};
        pos_ = scanned->end;
        return true;
    }

    // A number JSON does not write so: the reader stops inside the run of number characters
    // [begin, pos_), or just after it when the number is cut short.
    void number_form(std::size_t begin) {
        const std::size_t stop = number_stop(b_, begin, pos_);
        if (stop == NO_OFFSET || stop >= b_.size()) return;  // the end has its own mistake
        if (auto date = unquoted_date_mistake(b_, begin, pos_, stop, zone_)) return add(std::move(*date));
        if (number_stop(b_, begin, stop) == NO_OFFSET)
            // A whole number ends there, and what follows stands where a comma belongs.
            return add(stuck_mistake(b_, stop, place(Wanted::comma_or_end)));
        Diagnosis malformed;
        malformed.mistake = Mistake::malformed_number;
        malformed.stop = malformed.stop_last = stop;
        add(std::move(malformed));
    }

    // A word of small letters that is not a literal: where the reader stops in it when it starts
    // like one (a literal misspelt, or one with letters after it).
    bool not_a_literal(std::string_view word) {
        const char c = b_[pos_];
        if (c != 't' && c != 'f' && c != 'n') return false;
        const std::string_view literal = c == 't' ? "true" : c == 'f' ? "false" : "null";
        std::size_t same = 0;
        while (same < word.size() && same < literal.size() && word[same] == literal[same]) ++same;
        const std::size_t stop = pos_ + same;
        if (stop >= b_.size()) return stuck_at(stuck_mistake(b_, b_.size(), place()));
        if (same == literal.size()) return stuck_at(stuck_mistake(b_, stop, place(Wanted::comma_or_end)));
        Diagnosis misspelt;
        misspelt.mistake = Mistake::misspelt_literal;
        misspelt.stop = misspelt.stop_last = stop;
        return stuck_at(std::move(misspelt));
    }

    // Whether a comma is certainly missing before the token at the cursor: a key (a string a
    // `:` follows) after a member's value, or a record after a record.
    bool comma_missing() const {
        if (boxes_.back() == '{') {
            if (!starts_string(pos_)) return false;
            const auto key = string_at(pos_, Role::key);
            if (!key) return false;
            const std::size_t after = skip_space(b_, key->end);
            return after < b_.size() && b_[after] == ':';
        }
        const char before = b_[value_end_ - 1];
        return (b_[pos_] == '{' || b_[pos_] == '[') && (before == '}' || before == ']');
    }

    // At what stands after a key where its colon belongs: a value (and not the key of another
    // member, `"a" "b": 1`) means the colon is missing, and the reading goes on to the value.
    bool colon_missing() {
        const char c = b_[pos_];
        const bool value =
            c == '{' || c == '[' || c == '-' || (c >= '0' && c <= '9') || c == 't' || c == 'f' || c == 'n' || c == '"';
        if (!value) return false;
        if (c == '"') {
            const auto string = string_at(pos_, Role::key);
            if (!string) return false;
            const std::size_t after = skip_space(b_, string->end);
            if (after < b_.size() && b_[after] == ':') return false;
        }
        add(missing_colon_mistake(b_, key_.begin, key_.end, pos_));
        state_ = State::value;
        last_comma_ = NO_OFFSET;
        return true;
    }

    // A record where a key of the record before it belongs, in a list: that record's `}` is
    // taken to stand before the comma, and the reading goes on in the list.
    bool record_left_open() {
        add(unclosed_record_mistake(last_comma_, pos_));
        if (keep_tokens_) {
            // Its closing bracket, of no bytes, before the comma.
            const auto comma = std::find_if(out_.tokens.rbegin(), out_.tokens.rend(),
                                            [&](const Token& t) { return t.begin == last_comma_; });
            if (comma != out_.tokens.rend())
                out_.tokens.insert(comma.base() - 1, {TokenKind::object_end, last_comma_, last_comma_});
        }
        boxes_.pop_back();
        opens_.pop_back();
        state_ = State::value;
        return true;
    }

    // The `]` or `}` that closes the bracket at `open`, strings stepped over; NO_OFFSET when none does.
    std::size_t matching_end(std::size_t open) const {
        std::size_t depth = 0;
        for (std::size_t at = open; at < b_.size(); ++at) {
            const char c = b_[at];
            if (c == '"') {
                for (++at; at < b_.size() && b_[at] != '"'; ++at)
                    if (b_[at] == '\\') ++at;
            } else if (c == '[' || c == '{') {
                ++depth;
            } else if (c == ']' || c == '}') {
                if (--depth == 0) return c == (b_[open] == '[' ? ']' : '}') ? at : NO_OFFSET;
            }
        }
        return NO_OFFSET;
    }

    void take_number() {
        const std::size_t start = pos_;
        while (pos_ < b_.size() && ((b_[pos_] >= '0' && b_[pos_] <= '9') || b_[pos_] == '-' || b_[pos_] == '+' ||
                                    b_[pos_] == '.' || b_[pos_] == 'e' || b_[pos_] == 'E'))
            ++pos_;
        token(TokenKind::number, start, pos_);
        number_form(start);
        took_value();
    }

    // Whether the digits at the cursor go on the number before it, past a white space character
    // JSON does not know that stands alone between the two: its repair removes it, and the two
    // are one number (`1 000` with a no-break space). Only a run of digits that a number's end
    // may follow goes on; anything else is a mistake of its own.
    bool number_goes_on() const {
        const auto digit = [&](std::size_t at) { return at < b_.size() && b_[at] >= '0' && b_[at] <= '9'; };
        if (!digit(pos_) || foreign_space_.end != pos_ || foreign_space_.begin != value_end_ || value_end_ == 0 ||
            !digit(value_end_ - 1))
            return false;
        std::size_t end = pos_;
        while (digit(end)) ++end;
        return end == b_.size() || std::string_view(".eE+-").find(b_[end]) == std::string_view::npos;
    }

    // One token; false when the scan ends.
    bool step() {
        if (!space() || pos_ >= b_.size()) return false;
        const char c = b_[pos_];
        switch (state_) {
            case State::done:
                return false;
            case State::colon:
                if (c != ':') return colon_missing();
                token(TokenKind::colon, pos_, pos_ + 1);
                ++pos_;
                state_ = State::value;
                last_comma_ = NO_OFFSET;
                return true;
            case State::comma_or_end:
                if (c == ',') {
                    token(TokenKind::comma, pos_, pos_ + 1);
                    last_comma_ = pos_++;
                    state_ = boxes_.back() == '{' ? State::key : State::value;
                    return true;
                }
                if (c == '}' || c == ']') return close();
                if (c == ':' && boxes_.back() == '[' && value_end_ > 0 && b_[value_end_ - 1] == '"')
                    return stuck_at(members_in_array_mistake(opens_.back(), matching_end(opens_.back()), pos_));
                if (number_goes_on()) {
                    const std::size_t start = pos_;
                    while (pos_ < b_.size() && b_[pos_] >= '0' && b_[pos_] <= '9') ++pos_;
                    token(TokenKind::number, start, pos_);
                    took_value();
                    return true;
                }
                if (!comma_missing()) return false;
                add(missing_comma_mistake(b_, value_end_, pos_, boxes_.back()));
                state_ = boxes_.back() == '{' ? State::key : State::value;
                last_comma_ = NO_OFFSET;
                return true;
            default:
                break;
        }
        if (c == ',' && !boxes_.empty()) {
            const bool first = state_ == State::first_key || state_ == State::first_value;
            if (!first && last_comma_ == NO_OFFSET) return false;  // a value missing after a `:`
            token(TokenKind::comma, pos_, pos_ + 1);
            add(extra_comma_mistake(pos_++, first));
            return true;
        }
        if ((c == '{' || c == '[') && state_ == State::key && last_comma_ != NO_OFFSET && boxes_.size() >= 2 &&
            boxes_[boxes_.size() - 2] == '[')
            return record_left_open();
        if (c == '}' || c == ']') {
            if (state_ == State::key || state_ == State::value) {
                // Only a comma just before makes the bracket a repair; a value missing after
                // a `:` is not one.
                if (boxes_.empty() || last_comma_ == NO_OFFSET) return false;
                add(trailing_comma_mistake(b_, last_comma_, pos_));
            }
            return close();
        }
        if (state_ == State::key || state_ == State::first_key) {
            if (!starts_string(pos_) || !take_string(Role::key)) return false;
            state_ = State::colon;
            return true;
        }
        if (c == '{' || c == '[') {
            open(c);
            return true;
        }
        if (starts_string(pos_)) {
            if (!take_string(Role::value)) return false;
        } else if ((c >= '0' && c <= '9') || c == '-') {
            take_number();
            return true;
        } else if (c >= 'a' && c <= 'z') {
            std::size_t end = pos_;
            while (end < b_.size() && b_[end] >= 'a' && b_[end] <= 'z') ++end;
            const std::string_view word = b_.substr(pos_, end - pos_);
            if (word != "true" && word != "false" && word != "null") return not_a_literal(word);
            token(TokenKind::literal, pos_, end);
            pos_ = end;
        } else {
            return false;
        }
        took_value();
        return true;
    }

    std::string_view b_;
    const AuthorZone& zone_;
    std::size_t until_ = NO_OFFSET;
    bool keep_tokens_ = true;
    std::size_t pos_ = 0;
    State state_ = State::value;
    std::string boxes_;                   // the brackets open, '{' or '[', the innermost last
    std::vector<std::size_t> opens_;      // where each of them stands
    std::size_t last_comma_ = NO_OFFSET;  // the comma just taken, while the next token is looked for
    std::size_t value_end_ = 0;
    Span foreign_space_ = {0, 0};  // the last white space character JSON does not know
    Span key_ = {0, 0};            // the last key taken
    bool recorded_ = false;        // whether the mistake the grammar stopped at is recorded
    mutable std::optional<bool> cr_lines_;
    DraftReading out_;
};

}  // namespace

DraftReading read_draft(std::string_view document, const AuthorZone& zone, std::size_t until) {
    return Scanner(document, zone, until, true).run();
}

std::vector<Diagnosis> draft_mistakes(std::string_view document, const AuthorZone& zone) {
    return Scanner(document, zone, NO_OFFSET, false).run().diagnoses;
}

std::vector<Diagnosis> diagnose_draft(std::string_view document, const AuthorZone& zone) {
    return draft_mistakes(document, zone);
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

std::vector<MessageStart> message_starts(std::string_view document, const DraftReading& reading) {
    std::vector<MessageStart> starts;
    std::size_t depth = 0;     // brackets open before the token
    std::size_t list = 0;      // the messages list's depth inside it, 0 outside
    std::size_t elements = 0;  // the list's elements begun so far
    bool element_due = false;  // in the list, after its `[` or a comma
    bool key_read = false;     // the top-level key `messages` just read
    bool colon_read = false;   // and its colon after it
    for (const Token& t : reading.tokens) {
        const bool in_list = list != 0 && depth == list;
        switch (t.kind) {
            case TokenKind::object_begin:
            case TokenKind::array_begin:
                if (in_list) {
                    // A record where an element stands, or right after one (a comma missing).
                    starts.push_back({elements++, t.begin});
                    element_due = false;
                } else if (depth == 1 && colon_read && t.kind == TokenKind::array_begin) {
                    list = depth + 1;
                    element_due = true;
                }
                ++depth;
                break;
            case TokenKind::object_end:
            case TokenKind::array_end:
                if (depth > 0) --depth;
                if (list != 0 && depth < list) list = 0;
                break;
            case TokenKind::comma:
                if (in_list) element_due = true;
                break;
            case TokenKind::comment:
            case TokenKind::foreign_space:
            case TokenKind::byte_order_mark:
                continue;  // between tokens: changes nothing of what stands around it
            case TokenKind::string:
            case TokenKind::foreign_string:
            case TokenKind::number:
            case TokenKind::literal:
                if (in_list && element_due) {
                    ++elements;
                    element_due = false;
                }
                break;
            default:
                break;
        }
        colon_read = key_read && t.kind == TokenKind::colon;
        key_read =
            depth == 1 && t.kind == TokenKind::string && document.substr(t.begin, t.end - t.begin) == "\"messages\"";
    }
    return starts;
}

bool object_has_key(std::string_view document, const DraftReading& reading, std::size_t member, std::string_view key) {
    // Each open bracket: whether it is the member's object, and whether a key is due in it.
    struct Open {
        bool object;
        bool key_due;
        bool has_member;
        bool has_key;
    };
    std::vector<Open> open;
    for (const Token& t : reading.tokens) {
        switch (t.kind) {
            case TokenKind::object_begin:
            case TokenKind::array_begin:
                open.push_back({t.kind == TokenKind::object_begin, t.kind == TokenKind::object_begin, false, false});
                break;
            case TokenKind::object_end:
            case TokenKind::array_end:
                if (open.empty()) break;
                if (open.back().has_member) return open.back().has_key;
                open.pop_back();
                break;
            case TokenKind::comma:
                if (!open.empty()) open.back().key_due = open.back().object;
                break;
            case TokenKind::string:
                if (open.empty() || !open.back().key_due) break;
                open.back().key_due = false;
                if (t.begin == member)
                    open.back().has_member = true;
                else if (t.end - t.begin >= 2 && document.substr(t.begin + 1, t.end - t.begin - 2) == key)
                    open.back().has_key = true;
                break;
            default:
                if (!open.empty() && t.kind != TokenKind::comment && t.kind != TokenKind::foreign_space)
                    open.back().key_due = false;
                break;
        }
    }
    return !open.empty() && open.back().has_member && open.back().has_key;
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
    for (const Diagnosis& mistake : reading.diagnoses)
        if (mistake.fix && mistake.stop >= begin && mistake.stop < end) return NO_OFFSET;
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
