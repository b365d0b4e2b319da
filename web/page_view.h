// What the page shows, made here from the lint core's values so that the page only puts it on
// the screen: where each problem is in the editor, the words of its list entry and of its mark,
// its fix as the editor's changes with the button's words, the verdict, and what an opened
// file is (which bytes begin no character, its line end, what saving it needs).
//
// Editor places are [line, character] pairs: lines as the editor ends them ("\n", "\r\n" or a
// lone "\r"), characters in UTF-16 code units, a byte that begins no character counting one (the
// editor shows it as one character).
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

#include "lint/author_zone.h"
#include "lint/draft_view.h"
#include "lint/line_index.h"
#include "lint/problems.h"

namespace mt::web {

// {"verdict": {"kind": "empty" | "ok" | "bad", "text"}, "problems": [{"from", "to", "heading",
// "message", "fix": null | {"label", "safe", "changes": [{"from", "to", "insert"}]}}]}, one entry
// per problem of `bytes` (none for an empty editor, which gets a hint rather than the reader's
// error). A problem that marks nothing is shown on its next character, unless it stands at a
// line's end.
std::string page_view_json(std::string_view bytes, std::span<const lint::Problem> problems);

// [{"index", "name", "title", "from", "to", "name_from", "name_to", "problems"}], one per message
// of the draft's outline (`lines` its editor lines, LineEnds::any), which follows a draft that does not read yet: `name` its id (or its
// place while it has none), from and to its record, name_from and name_to what names it, and
// `problems` the indices of the problems of `problems` that are about it.
std::string outline_json(const lint::DraftView& draft, const lint::LineIndex& lines,
                         std::span<const lint::Problem> problems);

// [{"at", "label", "kind": "time" | "length", "over"}]: what the editor writes just after a
// value, a time on the author's clock or a length against its limit.
std::string hints_json(const lint::DraftView& draft, const lint::LineIndex& lines, const lint::AuthorZone& zone);

// Appends `,"key":` and `value` as a JSON string: a member after the first of an object.
void append_field(std::string& out, std::string_view key, std::string_view value);

// The editor place of byte `offset` of `bytes`: "[line,character]".
std::string place_json(std::string_view bytes, const lint::LineIndex& lines, std::size_t offset);

// How many fixes "Исправить всё надёжное" made, as the page announces it.
std::string fixes_made_text(std::size_t count);

// {"size" ("523 байта"), "utf8", "line_end", "line_end_note", "not_utf8_note", "recoded": null |
// {"from", "text", "label"}} of an opened file, with marks[i] set to 1 where byte i begins no character and 0
// elsewhere. `line_end` is the one kept when the text is edited, the most used (LF when there
// is none); `line_end_note` says so when the file mixes them (else it is empty); `recoded` is the
// lint core's certain reading of a file that is not UTF-8, with the convert button's words.
std::string opened_file_json(std::string_view bytes, std::span<unsigned char> marks);

}  // namespace mt::web
