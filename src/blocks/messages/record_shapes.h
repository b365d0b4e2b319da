// The three records of a feed document as the reader knows them: each field's key, how its
// value is read and whether it may be left out. The reader and the map from a rule failure to
// the value it is about both take the fields from here.
//
// Internal to the messages block.
#pragma once

#include "record_reader.h"

namespace mt::reader {

// Defined with the reader: the call to action (null or a record) and the message list.
Read<void> read_optional_cta(Reader& r, std::optional<Cta>& out);
Read<void> read_messages(Reader& r, std::vector<Message>& out);

inline constexpr RecordShape<Message, 9> MESSAGE_SHAPE = {
    ValueType::message,
    RecordKind::message,
    {{
        {"id",
         [](Reader& r, Message& m) {
             auto read = read_text(r, m.id);
             r.id_read = read.has_value();
             return read;
         }},
        {"priority", [](Reader& r, Message& m) { return read_integer(r, m.priority, ValueType::u8); }},
        {"title", [](Reader& r, Message& m) { return read_text(r, m.title); }},
        {"body", [](Reader& r, Message& m) { return read_text(r, m.body); }},
        {"start_at", [](Reader& r, Message& m) { return read_integer(r, m.start_at, ValueType::i64); }},
        {"end_at", [](Reader& r, Message& m) { return read_integer(r, m.end_at, ValueType::i64); }},
        {"cta", [](Reader& r, Message& m) { return read_optional_cta(r, m.cta); }, OPTIONAL},
        {"minVersion", [](Reader& r, Message& m) { return read_optional_text(r, m.minVersion); }, OPTIONAL},
        {"maxVersion", [](Reader& r, Message& m) { return read_optional_text(r, m.maxVersion); }, OPTIONAL},
    }},
};

inline constexpr RecordShape<Feed, 3> FEED_SHAPE = {
    ValueType::feed,
    RecordKind::feed,
    {{
        {"schema", [](Reader& r, Feed& f) { return read_integer(r, f.schema, ValueType::u32); }},
        {"revision", [](Reader& r, Feed& f) { return read_integer(r, f.revision, ValueType::u64); }},
        {"messages", [](Reader& r, Feed& f) { return read_messages(r, f.messages); }, OPTIONAL},
    }},
};

static_assert(MESSAGE_SHAPE.required_fields_lead() && FEED_SHAPE.required_fields_lead());

}  // namespace mt::reader
