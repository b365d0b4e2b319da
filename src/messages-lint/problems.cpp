#include "messages-lint/problems.h"

#include <algorithm>
#include <charconv>

#include "common/text.h"
#include "messages-tool/io.h"
#include "messages/messages.h"

namespace mt::lint {
namespace {

std::string_view rule_code(Rule rule) {
    switch (rule) {
        case Rule::schema:
            return "schema";
        case Rule::revision:
            return "revision";
        case Rule::count:
            return "count";
        case Rule::id:
            return "id";
        case Rule::priority:
            return "priority";
        case Rule::title_length:
            return "title-length";
        case Rule::body_length:
            return "body-length";
        case Rule::empty_text:
            return "empty-text";
        case Rule::control_character:
            return "control-character";
        case Rule::time_window:
            return "time-window";
        case Rule::version:
            return "version";
        case Rule::version_order:
            return "version-order";
        case Rule::duplicate_id:
            return "duplicate-id";
    }
    return "rule";
}

// The line and column that end a reader's error text: "... at line {l} column {c}".
std::optional<std::pair<std::size_t, std::size_t>> reader_position(std::string_view text) {
    constexpr std::string_view LINE = " at line ", COLUMN = " column ";
    const std::size_t at = text.rfind(LINE);
    if (at == std::string_view::npos) return std::nullopt;
    const char* p = text.data() + at + LINE.size();
    const char* const end = text.data() + text.size();
    std::size_t line = 0, column = 0;
    auto parsed = std::from_chars(p, end, line);
    if (parsed.ec != std::errc{} || std::string_view(parsed.ptr, end).substr(0, COLUMN.size()) != COLUMN)
        return std::nullopt;
    parsed = std::from_chars(parsed.ptr + COLUMN.size(), end, column);
    if (parsed.ec != std::errc{} || parsed.ptr != end || line == 0) return std::nullopt;
    return std::pair{line, column};
}

// The offset of the byte that the reader's "line {l} column {c}" names: the column counts the
// bytes before the position on its line, and the position stands just after the byte.
std::size_t reader_offset(std::string_view bytes, std::size_t line, std::size_t column) {
    std::size_t start = 0;
    for (std::size_t l = 1; l < line && start < bytes.size(); ++l) {
        const std::size_t feed = bytes.find('\n', start);
        if (feed == std::string_view::npos) return bytes.size();
        start = feed + 1;
    }
    return std::min(bytes.size(), start + (column > 0 ? column - 1 : 0));
}

std::u32string characters_of(std::string_view text) {
    std::u32string out;
    while (!text.empty()) {
        const Character c = first_character(text);
        out += c.value < 0x80 && c.value >= 'A' && c.value <= 'Z' ? c.value - 'A' + 'a' : c.value;
        text.remove_prefix(c.length);
    }
    return out;
}

std::size_t edit_distance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// For "unknown field `{key}`, expected {keys}": the listed key nearest to the unknown one, when
// it differs by case only or by at most a third of its letters (one or two edits).
std::optional<std::string> nearest_key(std::string_view reader_text) {
    constexpr std::string_view HEAD = "unknown field `", EXPECTED = "`, expected ";
    if (!reader_text.starts_with(HEAD)) return std::nullopt;
    // The key list holds no "`, expected ", so the last one ends the unknown key.
    const std::size_t split = reader_text.rfind(EXPECTED);
    if (split == std::string_view::npos || split < HEAD.size()) return std::nullopt;
    const std::u32string unknown = characters_of(reader_text.substr(HEAD.size(), split - HEAD.size()));
    std::string_view list = reader_text.substr(split + EXPECTED.size());

    std::optional<std::string> best;
    std::size_t best_distance = 0;
    for (std::size_t open; (open = list.find('`')) != std::string_view::npos;) {
        const std::size_t close = list.find('`', open + 1);
        if (close == std::string_view::npos) break;
        const std::string_view key = list.substr(open + 1, close - open - 1);
        list.remove_prefix(close + 1);
        const std::size_t distance = edit_distance(unknown, characters_of(key));
        const std::size_t allowed = std::max<std::size_t>(1, std::min<std::size_t>(2, key.size() / 3));
        if (distance <= allowed && (!best || distance < best_distance)) {
            best = std::string(key);
            best_distance = distance;
        }
    }
    return best;
}

std::string code_point(char32_t value) {
    char digits[8];
    const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<std::uint32_t>(value), 16).ptr;
    std::string hex(digits, end);
    std::transform(hex.begin(), hex.end(), hex.begin(), [](char c) { return c >= 'a' ? c - 'a' + 'A' : c; });
    return "U+" + std::string(hex.size() < 4 ? 4 - hex.size() : 0, '0') + hex;
}

std::string_view field_of(Subject subject) { return subject == Subject::title ? "title" : "body"; }

// Fills in the line and column of every location from its offset, in one pass over `bytes`
// however many there are.
void fill_lines_and_columns(std::string_view bytes, std::vector<Location*> locations) {
    std::sort(locations.begin(), locations.end(), [](auto* a, auto* b) { return a->offset < b->offset; });
    std::size_t pos = 0, line = 1, column = 1;
    for (Location* at : locations) {
        const std::size_t target = std::min(at->offset, bytes.size());
        while (pos < target) {
            if (bytes[pos] == '\n') {
                ++line;
                column = 1;
                ++pos;
                continue;
            }
            // Characters, not bytes; a byte that begins no valid character counts one.
            const std::size_t length =
                static_cast<unsigned char>(bytes[pos]) < 0x80 ? 1 : first_character(bytes.substr(pos)).length;
            if (pos + length > target) break;  // the target lies inside this character
            pos += length;
            ++column;
        }
        at->line = line;
        at->column = column;
    }
}

std::vector<std::string> notes_for(const Feed& feed, const RuleFailure& failure) {
    const auto text_of = [&](Subject s) -> const std::string& {
        const Message& m = feed.messages[failure.message];
        return s == Subject::title ? m.title : m.body;
    };
    switch (failure.rule) {
        case Rule::title_length:
        case Rule::body_length:
            return {"в " + std::string(field_of(failure.subject)) + " " +
                    count_of(count_characters(text_of(failure.subject)), "символ", "символа", "символов") +
                    ", допустимо не больше " +
                    decimal(failure.rule == Rule::title_length ? MAX_TITLE_CHARS : MAX_BODY_CHARS)};
        case Rule::control_character:
            if (const auto control = first_control_character(text_of(failure.subject)))
                return {"в " + std::string(field_of(failure.subject)) + " управляющий символ " + code_point(*control)};
            return {};
        default:
            return {};
    }
}

}  // namespace

std::string count_of(std::size_t n, std::string_view one, std::string_view few, std::string_view many) {
    const std::size_t tens = n % 100, units = n % 10;
    const std::string_view word = tens >= 11 && tens <= 14   ? many
                                  : units == 1               ? one
                                  : units >= 2 && units <= 4 ? few
                                                             : many;
    return decimal(n) + " " + std::string(word);
}

std::vector<Problem> find_problems(std::string_view document) {
    FeedLocations at;
    const Result<Feed> feed = parse_feed(document, at);
    if (!feed) {
        const std::string& reader_text = feed.error().text;
        const auto position = reader_position(reader_text);
        Problem problem{
            "json", {}, std::nullopt, std::nullopt, escape_controls(std::string(PARSE_ERROR_PREFIX) + reader_text), {}};
        problem.at.offset = position ? reader_offset(document, position->first, position->second) : 0;
        fill_lines_and_columns(document, {&problem.at});
        if (document.starts_with("\xEF\xBB\xBF"))
            problem.notes.push_back(
                "файл начинается с метки порядка байтов (BOM, байты EF BB BF): сохраните его в UTF-8 без BOM "
                "(VS Code: «UTF-8 with BOM» в строке состояния → «Save with Encoding» → «UTF-8»; "
                "Блокнот: «Сохранить как», кодировка «UTF-8»)");
        if (auto key = nearest_key(reader_text)) problem.notes.push_back("возможно, имелось в виду `" + *key + "`");
        return {std::move(problem)};
    }

    const std::vector<RuleFailure> failures = find_rule_failures(*feed);
    std::vector<Problem> problems;
    problems.reserve(failures.size());
    // Where the first message with a duplicate id has that id, one per duplicate-id problem.
    std::vector<std::pair<std::size_t, Location>> earlier_ids;
    for (const RuleFailure& failure : failures) {
        Problem& problem = problems.emplace_back(Problem{rule_code(failure.rule),
                                                         {},
                                                         std::nullopt,
                                                         std::nullopt,
                                                         escape_controls(failure.text),
                                                         notes_for(*feed, failure)});
        const std::size_t offset = value_offset(at, failure);
        problem.at.offset = offset == NO_OFFSET ? 0 : offset;
        if (failure.message != NO_MESSAGE) {
            problem.message = failure.message;
            problem.id = feed->messages[failure.message].id;
        }
        if (failure.rule == Rule::duplicate_id) {
            RuleFailure first = failure;
            first.message = failure.earlier;
            const std::size_t earlier = value_offset(at, first);
            earlier_ids.emplace_back(problems.size() - 1, Location{earlier == NO_OFFSET ? 0 : earlier});
        }
    }
    std::vector<Location*> all;
    for (Problem& problem : problems) all.push_back(&problem.at);
    for (auto& [index, earlier] : earlier_ids) all.push_back(&earlier);
    fill_lines_and_columns(document, std::move(all));
    for (const auto& [index, earlier] : earlier_ids)
        problems[index].notes.push_back("этот id уже есть у сообщения на строке " + decimal(earlier.line));
    return problems;
}

Problem oversize_problem(std::string_view head, std::string_view path) {
    Problem problem{
        "size", {MAX_FEED_BYTES}, std::nullopt, std::nullopt, escape_controls(feed_too_large_text(path, head.size())),
        {}};
    fill_lines_and_columns(head, {&problem.at});
    return problem;
}

}  // namespace mt::lint
