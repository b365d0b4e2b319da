#include "reading_problem.h"

#include "common/digits.h"
#include "common/escape.h"
#include "draft_reading.h"
#include "lint/line_index.h"
#include "locate.h"
#include "messages/acceptance.h"
#include "syntax_mistakes.h"
#include "value_mistakes.h"

namespace mt::lint {
namespace {

bool is_blank(std::string_view document) { return document.find_first_not_of(" \t\r\n") == std::string_view::npos; }

// "messages[2] (id "promo")": the message a record error is in, its id when it had been read.
std::string message_named(const ReadError& error) {
    std::string out = "messages[" + decimal(error.message_index) + "]";
    if (error.message_id) out += " (id " + quoted_form(*error.message_id) + ")";
    return out;
}

std::string missing_field_note(const ReadError& error) {
    const std::string field = "обязательного поля `" + error.key + "`";
    if (error.message_index == NO_MESSAGE) return "в объекте ленты нет " + field;
    if (error.record == RecordKind::cta)
        return "в cta сообщения " + message_named(error) + " нет " + field + "; cta начинается здесь";
    return "в сообщении " + message_named(error) + " нет " + field + "; сообщение начинается здесь";
}

// The reading's mistake at the byte the reader stopped at (the one it took last), for an error
// of JSON's syntax or an end of the document.
const Diagnosis* mistake_at(const DraftReading& reading, const ReadError& error) {
    if (error.kind() != ReadErrorKind::syntax && error.kind() != ReadErrorKind::end_of_input) return nullptr;
    const std::size_t stop = error.offset > 0 ? error.offset - 1 : 0;
    for (const Diagnosis& mistake : reading.diagnoses)
        if (mistake.stops_at(stop)) return &mistake;
    return nullptr;
}

// The notes on the document as a whole and on a record: a byte-order mark, nothing but white
// space, a missing field, a key given twice.
std::vector<std::string> notes_for(std::string_view document, const DraftReading& reading, const ReadError& error,
                                   const std::optional<Span>& first_key) {
    std::vector<std::string> notes;
    if (!reading.diagnoses.empty() && reading.diagnoses.front().mistake == Mistake::byte_order_mark)
        notes.push_back(reading.diagnoses.front().note);
    if (is_blank(document))
        notes.push_back(std::string(document.empty() ? "файл пуст" : "в файле только пробелы и переводы строк") +
                        ": лента — это объект {\"schema\": 1, \"revision\": …, \"messages\": […]}");
    switch (error.kind()) {
        case ReadErrorKind::missing_field:
            notes.push_back(missing_field_note(error));
            break;
        case ReadErrorKind::duplicate_field:
            if (first_key) {
                const TextPosition at =
                    LineIndex(document, LineEnds::line_feed).position(document, first_key->begin, Unit::code_point);
                notes.push_back("ключ `" + escape_unprintable(error.key) + "` уже есть в этом объекте: строка " +
                                decimal(at.line + 1) + ", столбец " + decimal(at.character + 1));
            }
            break;
        default:
            break;
    }
    return notes;
}

// Where an author is pointed and what is marked, for the reader's error about the byte at
// `offset`.
Span place(std::string_view document, const ReadError& error, std::size_t offset) {
    switch (error.reason) {
        case Reason::invalid_code_point:
            if (error.invalid_byte_offset < document.size()) {
                // From the first byte that is not UTF-8 to the string's closing quotation mark.
                return {error.invalid_byte_offset, error.offset - 1};
            }
            break;
        case Reason::missing_field:
            if (error.record_offset != NO_OFFSET)
                return {error.record_offset, error.offset};  // the whole record that lacks the field
            break;
        case Reason::unknown_field:
        case Reason::duplicate_field:
        case Reason::unknown_variant:
            if (error.key_offset != NO_OFFSET) return {error.key_offset, error.key_end};
            break;
        case Reason::invalid_type:
        case Reason::invalid_value:
            if (error.value_offset != NO_OFFSET) {
                // An array or object found is left untaken: only its bracket is marked.
                const bool untaken = error.found == FoundValue::sequence || error.found == FoundValue::map;
                return {error.value_offset, untaken ? error.value_offset + 1 : error.offset};
            }
            break;
        case Reason::invalid_length:
            if (error.record_offset != NO_OFFSET) return {error.record_offset, error.offset};
            break;
        default:
            break;
    }
    if (error.column == 0 && error.offset > 0) {
        const std::size_t shown = end_of_line_before(document, error.offset);
        return {shown, shown};
    }
    return {offset, token_end(document, offset)};
}

}  // namespace

Problem reading_problem(std::string_view document, const ReadError& error, const DraftReading& reading,
                        const AuthorZone& zone) {
    Problem problem;
    problem.code = Code::json;
    problem.text = escape_controls(std::string(PARSE_ERROR_PREFIX) + error.text());
    // The reader's position stands just after the byte it is about, unless it starts a line.
    problem.offset = error.column > 0 ? error.offset - 1 : error.offset;
    Span span = place(document, error, problem.offset);
    // Bytes that are not UTF-8 are the one mistake the reading does not look at: its note and
    // its recoding come from the code pages.
    const std::optional<Diagnosis> not_utf8 =
        error.kind() == ReadErrorKind::invalid_string && error.invalid_byte_offset < document.size()
            ? std::optional(not_utf8_mistake(
                  document, error.invalid_byte_offset,
                  error.offset > error.invalid_byte_offset ? error.offset - 1 : error.invalid_byte_offset))
            : std::nullopt;
    const Diagnosis* mistake = not_utf8 ? &*not_utf8 : mistake_at(reading, error);
    const ValueDiagnosis value = diagnose_read_value(document, reading, error, zone);
    if (mistake && mistake->shown) span = *mistake->shown;
    if (value.shown) span = *value.shown;
    problem.span = marked(span);
    if (error.reason == Reason::duplicate_field && error.first_key_offset != NO_OFFSET)
        problem.related = marked({error.first_key_offset, error.first_key_offset + (error.key_end - error.key_offset)});
    problem.notes = notes_for(document, reading, error, problem.related);
    problem.notes.insert(problem.notes.end(), value.notes.begin(), value.notes.end());
    if (mistake && !mistake->note.empty() && mistake->mistake != Mistake::byte_order_mark)
        problem.notes.push_back(mistake->note);
    problem.fix = mistake ? mistake->fix : value.fix;
    return problem;
}

}  // namespace mt::lint
