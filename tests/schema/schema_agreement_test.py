"""The schema and the reference agree with messages-tool.

Over every document the reader and acceptance tests hold, the reference's examples and the
variations made below:
  (a) every document the tool accepts, the schema accepts;
  (b) every document the schema accepts, the tool accepts, unless the document has one of the
      REASONS that JSON Schema cannot express and the tool refuses it with that reason's text.
The tool's verdict comes from feed_oracle (the front end's check, signed with the development
key). The schema sees the text an editor sees: the bytes as UTF-8 with a leading byte-order mark
dropped, read by Python's json module. The reference's limits, kind names and texts are checked
against the code's constants and the texts the tool actually printed.
"""

import argparse
import json
import os
import re
import subprocess
import sys

try:
    import jsonschema
except ImportError:
    sys.exit("schema agreement: /usr/bin/python3 has no jsonschema; run scripts/bootstrap --schema")

U64_MAX = 2**64 - 1

# Why the tool may refuse a document the schema accepts: (name, the tool's text for it, whether
# the document shows it). Every reason must explain at least one generated document.
REASONS = [
    ("a key repeated in one object (Python keeps the last)", r"duplicate field `|expected value at",
     lambda doc: doc.duplicate_keys),
    ("message ids not unique", r"дубликат id", lambda doc: len(set(doc.ids)) < len(doc.ids)),
    ("end_at not greater than start_at", r"end_at <= start_at", lambda doc: any(e <= s for s, e in doc.windows)),
    ("minVersion above maxVersion", r"minVersion .* > maxVersion",
     lambda doc: any(lo > hi for lo, hi in doc.version_pairs)),
    ("an integer written with a fraction or an exponent, or as -0", r"invalid type: floating point",
     lambda doc: doc.float_syntax),
    ("a byte-order mark before the document", r"expected value at line 1 column 1$", lambda doc: doc.bom),
    ("a lone surrogate escape (Python keeps it)", r"lone leading surrogate in hex escape|unexpected end of hex escape",
     lambda doc: doc.lone_surrogate),
    ("a version part above 18446744073709551615", r"версия не semver",
     lambda doc: any(part > U64_MAX for v in doc.versions for part in v)),
    ("a file over 64 KiB", r"байт больше 64 КиБ", lambda doc: doc.size > 65536),
]

MESSAGE_FIELDS = ["id", "priority", "title", "body", "start_at", "end_at", "cta", "minVersion", "maxVersion"]


class Document:
    """A document as the schema sees it, with the facts the reasons ask about."""

    def __init__(self, data):
        self.size = len(data)
        self.bom = data.startswith(b"\xef\xbb\xbf")
        self.duplicate_keys = self.float_syntax = self.lone_surrogate = False
        self.value = self.readable = None
        try:
            text = data[3:].decode("utf-8") if self.bom else data.decode("utf-8")
            self.value = json.loads(text, object_pairs_hook=self._object, parse_float=self._float,
                                    parse_int=self._int)
            self.readable = True
        except (ValueError, RecursionError):
            self.readable = False
        self.lone_surrogate = self.readable and self._has_surrogate(self.value)

    def _object(self, pairs):
        if len({key for key, _ in pairs}) < len(pairs):
            self.duplicate_keys = True
        return dict(pairs)

    def _float(self, text):
        self.float_syntax = True
        return float(text)

    def _int(self, text):
        if text == "-0":
            self.float_syntax = True
        return int(text)

    def _has_surrogate(self, value):
        if isinstance(value, str):
            return any(0xD800 <= ord(c) <= 0xDFFF for c in value)
        if isinstance(value, list):
            return any(self._has_surrogate(v) for v in value)
        if isinstance(value, dict):
            return any(self._has_surrogate(k) or self._has_surrogate(v) for k, v in value.items())
        return False

    def messages(self):
        """The messages of a schema-valid document as dictionaries, whichever form they take."""
        feed = self.value
        listed = feed.get("messages", []) if isinstance(feed, dict) else (feed[2] if len(feed) > 2 else [])
        return [m if isinstance(m, dict) else dict(zip(MESSAGE_FIELDS, m)) for m in listed]

    def derive(self):
        messages = self.messages()
        # Only what a valid-looking message shows counts: a schema that lets more through must
        # not have it explained away.
        parse = lambda v: tuple(int(p) for p in v.split(".")) if isinstance(v, str) and v.count(".") == 2 else None
        self.ids = [m.get("id") for m in messages]
        self.windows = [(m["start_at"], m["end_at"]) for m in messages
                        if isinstance(m.get("start_at"), int) and isinstance(m.get("end_at"), int)]
        versions = [(parse(m.get("minVersion")), parse(m.get("maxVersion"))) for m in messages]
        self.versions = [v for pair in versions for v in pair if v is not None]
        self.version_pairs = [pair for pair in versions if None not in pair]


# --- variations --------------------------------------------------------------------------------

def dumps(value):
    return json.dumps(value, ensure_ascii=False).encode()


def message(**changes):
    m = {"id": "m1", "priority": 1, "title": "Обновление", "body": "Вышла версия 2.4.", "start_at": 100,
         "end_at": 200}
    m.update(changes)
    return {k: v for k, v in m.items() if v is not ...}


def feed(*messages, **changes):
    f = {"schema": 1, "revision": 7, "messages": list(messages) if messages else [message()]}
    f.update(changes)
    return {k: v for k, v in f.items() if v is not ...}


# JSON texts put in place of a value: other types, boundaries, numbers the data model blurs.
VALUES = ["null", "true", "false", "0", "1", "2", "3", "-1", "255", "256", "4294967296", "18446744073709551615",
          "18446744073709551616", "9223372036854775807", "-9223372036854775808", "-9223372036854775809",
          "1.0", "1e0", "-0", "1E2", "1e400", "NaN", "-Infinity", '""', '" "', '"x"', '"1"', '"open_updates"',
          '"1.2.3"', "[]", '["open_license"]', "{}", '{"kind":"open_updates"}', '{"open_updates":null}']
PLACEHOLDER = '"@@"'


def substituted(template, values=VALUES):
    """`template` (JSON bytes holding PLACEHOLDER once) with each value in its place."""
    return [template.replace(PLACEHOLDER.encode(), v.encode()) for v in values]


def variations():
    docs = []
    add = docs.append
    # Every value of every field replaced, in the object and the array forms.
    for field in MESSAGE_FIELDS:
        docs += substituted(dumps(feed(message(**{field: "@@"}))))
        row = [message()[k] for k in MESSAGE_FIELDS[:6]] + [None, None, None]
        row[MESSAGE_FIELDS.index(field)] = "@@"
        docs += substituted(dumps([1, 1, [row]]))
    for field in ["schema", "revision", "messages"]:
        docs += substituted(dumps(feed(**{field: "@@"})))
        row = [1, 1, [message()]]
        row[["schema", "revision", "messages"].index(field)] = "@@"
        docs += substituted(dumps(row))
    docs += substituted(dumps(feed(message(cta={"kind": "@@"}))))
    docs += substituted(dumps(feed(message(cta=["@@"]))))
    docs += substituted(dumps(feed(message(cta={"kind": {"open_license": "@@"}}))))
    # Fields left out, unknown keys, and arrays of every length.
    for field in MESSAGE_FIELDS + ["extra", "Id", "$schema"]:
        add(dumps(feed(message(**{field: ...}))) if field in MESSAGE_FIELDS else dumps(feed(message(**{field: 1}))))
    for field in ["schema", "revision", "messages", "$schema"]:
        add(dumps(feed(**{field: ...})) if field != "$schema" else dumps(feed(**{field: "x"})))
    full = ["m1", 1, "t", "b", 1, 2, ["open_updates"], "1.0.0", "2.0.0"]
    for n in range(11):
        add(dumps([1, 1, [(full + [None])[:n]]]))
    for n in range(5):
        add(dumps([1, 1, [], None][:n]))
        add(dumps(feed(message(cta=["open_license", None, None][:n]))))
    # Kinds in both forms, and near misses.
    for kind in ["open_updates", "open_appearance", "open_license", "Open_updates", "open_update", "open_settings",
                 "", " open_license", "open_license\n"]:
        add(dumps(feed(message(cta={"kind": kind}))))
        add(dumps(feed(message(cta={"kind": {kind: None}}))))
        add(dumps(feed(message(cta=[kind]))))
    add(dumps(feed(message(cta={"kind": {"open_updates": None, "open_license": None}}))))
    # Ids, priorities, time windows.
    for mid in ["a" * 64, "a" * 65, "", "Az09_-", "a.b", "a b", "ид", "a\n", "abc\n", "a" * 63 + "\n", "a\r",
                "a\u0000", "a\t", "ａ", "a\u2028", "-", "_"]:
        add(dumps(feed(message(id=mid))))
    add(dumps(feed(message(id="x"), message(id="y"), message(id="x"))))
    add(dumps(feed(message(id="Promo"), message(id="promo"))))
    for priority in range(4):
        add(dumps(feed(message(priority=priority))))
    for start, end in [(1, 1), (1, 2), (2, 1), (-5, -4), (-(2**63), 2**63 - 1), (2**63 - 1, -(2**63))]:
        add(dumps(feed(message(start_at=start, end_at=end))))
    # Lengths in code points: Cyrillic, escaped and raw emoji, a family emoji of five code points.
    family = "\U0001F468\u200D\U0001F469\u200D\U0001F467"
    for title in ["ж" * 80, "ж" * 81, "x" * 75 + family, "x" * 76 + family, "😀" * 80, "😀" * 81,
                  "  " + "x" * 79, " " * 80 + "x"]:
        add(dumps(feed(message(title=title))))
    for body in ["я" * 800, "я" * 801, "😀" * 800, "b\n" * 400, "b\n" * 401]:
        add(dumps(feed(message(body=body))))
    add(dumps(feed(message(title="😀" * 80))).replace("😀".encode(), b"\\ud83d\\ude00"))
    # Blank and control characters, each alone and inside a text, in the title and the body.
    specials = [chr(c) for c in list(range(0x20)) + list(range(0x7F, 0xA1))] + [
        "\u1680", "\u180e", "\u2000", "\u200a", "\u200b", "\u2028", "\u2029", "\u202f", "\u205f", "\u3000",
        "\ufeff", "\u00ad", "\u034f", " "]
    for c in specials:
        for field in ("title", "body"):
            add(dumps(feed(message(**{field: c}))))
            add(dumps(feed(message(**{field: "a" + c + "b"}))))
            add(dumps(feed(message(**{field: c + "a" + c}))))
    # Versions, alone and in pairs.
    versions = ["1.2.3", "0.0.0", "10.20.30", "1.2", "1.2.3.4", "1.2.3.", ".1.2.3", "1..3", "", "01.2.3", "1.02.3",
                "1.2.00", "v1.2.3", "+1.2.3", " 1.2.3", "1.2.3 ", "1.2.3\n", "1.2.3-beta", "1.2.3+build",
                "1.2.٣", "1.2.1٣", "1.2.3\u2028",
                "18446744073709551615.0.0", "18446744073709551616.0.0", "99999999999999999999.0.0",
                "100000000000000000000.0.0", "0.0.18446744073709551616"]
    for v in versions:
        add(dumps(feed(message(minVersion=v))))
        add(dumps(feed(message(maxVersion=v))))
    for lo, hi in [("1.2.10", "1.2.9"), ("1.9.0", "1.10.0"), ("2.0.0", "2.0.0"), ("2.0.0", "1.99.99"),
                   ("1.2.3", None), (None, "1.2.3"), ("99999999999999999999.0.0", "1.0.0")]:
        add(dumps(feed(message(minVersion=lo, maxVersion=hi))))
    # Message counts, and sizes around 64 KiB: full-length Cyrillic messages, pretty-printed.
    for n in (0, 1, 49, 50, 51):
        add(dumps(feed(*[message(id=f"m{i}") for i in range(n)]) if n else feed(messages=[])))
    for n in (33, 34, 35, 36, 50):
        longest = [message(id=f"m{i:02}", title="ж" * 80, body="я" * 800) for i in range(n)]
        add(json.dumps(feed(*longest), ensure_ascii=False, indent=2).encode())
    # What only the bytes can show: repeated keys, number spellings, marks, escapes, white space.
    ok = dumps(feed())
    for raw in [
        b'{"schema":1,"revision":1,"revision":2}',
        b'{"schema":1,"revision":1,"messages":[],"messages":[]}',
        b'{"schema":1,"revision":1,"messages":[{"id":"a","id":"b","priority":1,"title":"t","body":"b",'
        b'"start_at":1,"end_at":2}]}',
        b'{"schema":1,"revision":1,"messages":[{"id":"a","priority":1,"title":"t","body":"b","start_at":1,'
        b'"end_at":2,"cta":null,"cta":{"kind":"open_updates"}}]}',
        b'[1,1,[["a",1,"t","b",1,2,{"kind":"open_updates","kind":"open_license"}]]]',
        b'[1,1,[["a",1,"t","b",1,2,{"kind":{"open_updates":null,"open_updates":null}}]]]',
        b'{"schema":1.0,"revision":1}', b'{"schema":1,"revision":1e0}', b'{"schema":1,"revision":10E-1}',
        b'[1,1,[["a",-0,"t","b",1,2]]]', b'[1,1,[["a",1,"t","b",-0,2]]]', b'[1,1,[["a",2.0,"t","b",1,2]]]',
        b'[1,1,[["a",1,"t","b",1,NaN]]]', b'[1,1,[["a",1,"t","b",1,Infinity]]]',
        b'\xef\xbb\xbf' + ok, b'\xef\xbb\xbf[1,1]', b'\xef\xbb\xbf\xef\xbb\xbf[1,1]',
        b'[1,1,[["a",1,"\\ud800","b",1,2]]]', b'[1,1,[["a",1,"x\\udc00","b",1,2]]]',
        b'[1,1,[["a",1,"\\ud800\\u0041","b",1,2]]]', b'[1,1,[["a",1,"t","\\ud83dx",1,2]]]',
        b'[1,1,[["a",1,"\\ud83d\\ude00","b",1,2]]]', b'[1,1,[["\\u0061",1,"\\u0074","b",1,2]]]',
        b'{"\\u0073chema":1,"revision":1}', b'[1,1,[["a",1,"t\xff","b",1,2]]]', b'[1,1,[["a",1,"t\x01","b",1,2]]]',
        b'[1,1,[["a",1,"t\\/","b",1,2]]]', b' \t\r\n[1,1] \t\r\n', b'[1,1]\x0c', b'[1,1]\xc2\xa0', b'[1,1]x',
        b'[1,1,]', b'\x00[1,1]', ok + b"\n", b"", b"[1,1] [1,1]", ok.replace(b'"', b"'"),
        "[1,1]".encode("utf-16"), b'[1,1,[["a",1,"t","b",1,2,null,null,null]]]',
    ]:
        add(raw)
    return docs


# --- the reference -----------------------------------------------------------------------------

def tables(markdown):
    """Every table of the reference as (header cells, rows of cells)."""
    found, lines = [], markdown.splitlines()
    for i, line in enumerate(lines):
        if line.startswith("|") and i + 1 < len(lines) and re.match(r"^\|[-| :]+\|$", lines[i + 1]):
            rows, j = [], i + 2
            while j < len(lines) and lines[j].startswith("|"):
                rows.append(cells(lines[j]))
                j += 1
            found.append((cells(line), rows))
    return found


def cells(line):
    return [unquote(c.strip()) for c in line.strip().strip("|").split("|")]


def unquote(cell):
    """The text inside a code span (`x` or `` x ``), or the cell as it stands."""
    match = re.fullmatch(r"(`+) ?(.*?) ?\1", cell)
    return match.group(2) if match else cell


def column(markdown, header):
    """The cells under `header`, in every table that has that column."""
    out = []
    for head, rows in tables(markdown):
        if header in head:
            out += [row[head.index(header)] for row in rows]
    return out


def patterns(schema):
    if isinstance(schema, dict):
        for key, value in schema.items():
            if key == "pattern":
                yield value
            else:
                yield from patterns(value)
    elif isinstance(schema, list):
        for value in schema:
            yield from patterns(value)


def template_regex(template):
    pieces = re.split(r"\{[A-Za-z_]+\}", template)
    return re.compile("(.*?)".join(re.escape(p) for p in pieces) + r"\Z", re.S)


def checked_examples(markdown):
    return re.findall(r"<!-- checked example: ([\w-]+) -->\s*```json\n(.*?)```", markdown, re.S)


# --- the run -----------------------------------------------------------------------------------

def main():
    parser = argparse.ArgumentParser()
    for option in ("--oracle", "--schema", "--reference", "--documents", "--scratch"):
        parser.add_argument(option, required=True)
    args = parser.parse_args()
    failures = []

    limits = {}
    printed = subprocess.run([args.oracle, "--limits"], check=True, capture_output=True, text=True).stdout
    for line in printed.splitlines():
        name, _, value = line.partition(" ")
        limits[name] = value
    with open(args.schema, encoding="utf-8") as f:
        schema = json.load(f)
    jsonschema.Draft202012Validator.check_schema(schema)
    validator = jsonschema.Draft202012Validator(schema)

    # The schema's limits and kind names are the code's.
    d = schema["$defs"]
    kinds = limits["CTA_KIND_NAMES"].split()
    for what, schema_value, code_value in [
        ("schema", d["schema"]["const"], int(limits["SUPPORTED_SCHEMA"])),
        ("revision minimum", d["revision"]["minimum"], int(limits["MIN_REVISION"])),
        ("messages maxItems", d["messages"]["maxItems"], int(limits["MAX_MESSAGES"])),
        ("id maxLength", d["id"]["maxLength"], int(limits["MAX_ID_BYTES"])),
        ("id pattern", d["id"]["pattern"], "^[A-Za-z0-9_-]{1,%s}(?![\\s\\S])" % limits["MAX_ID_BYTES"]),
        ("priority maximum", d["priority"]["maximum"], int(limits["MAX_PRIORITY"])),
        ("title maxLength", d["title"]["maxLength"], int(limits["MAX_TITLE_CHARS"])),
        ("body maxLength", d["body"]["maxLength"], int(limits["MAX_BODY_CHARS"])),
        ("kind names", d["kind"]["anyOf"][0]["enum"], kinds),
        ("kind objects", d["kind"]["anyOf"][1]["enum"], [{k: None} for k in kinds]),
    ]:
        if schema_value != code_value:
            failures.append(f"schema {what} is {schema_value!r}, the code says {code_value!r}")

    # Patterns mean the same in every dialect an editor uses (ECMA-262, Java, Python): no \s, \d,
    # \w, \b, no bare full stop, and no $ (which in Java and Python also matches before a final
    # line feed); a pattern may end in (?![\s\S]), "nothing follows", instead.
    for pattern in patterns(schema):
        if re.search(r"\\[sSdDwWbB]|\$|(?<!\\)\.", pattern.removesuffix("(?![\\s\\S])")):
            failures.append(f"schema pattern {pattern!r} reads differently in other regular-expression dialects")

    # The reference's limits and kind names are the code's.
    with open(args.reference, encoding="utf-8") as f:
        reference = f.read()
    documented = {}
    for head, rows in tables(reference):
        if head[:2] == ["Constant", "Value"]:
            documented.update((row[0], row[1].replace(" ", "")) for row in rows)
    for name, value in limits.items():
        if name != "CTA_KIND_NAMES" and documented.get(name) != value:
            failures.append(f"reference gives {name} as {documented.get(name)!r}, the code says {value}")
    if column(reference, "Kind") != kinds:
        failures.append(f"reference lists the kinds {column(reference, 'Kind')}, the code {kinds}")
    rule_texts = [template_regex(t) for t in column(reference, "Text (exact)")]
    reader_texts = [template_regex(t) for t in column(reference, "Reader message (exact)")]

    # Every document: recorded ones, the reference's examples, variations.
    paths = sorted(os.path.join(args.documents, n) for n in os.listdir(args.documents))
    if len(paths) < 100:
        failures.append(f"only {len(paths)} documents recorded in {args.documents}")
    os.makedirs(args.scratch, exist_ok=True)
    for name in os.listdir(args.scratch):
        os.remove(os.path.join(args.scratch, name))
    examples = checked_examples(reference)
    if sorted(name for name, _ in examples) != ["full", "minimal"]:
        failures.append(f"reference has the checked examples {[n for n, _ in examples]}, not minimal and full")
    generated = [(f"example-{name}.json", text.encode()) for name, text in examples]
    generated += [(f"variation-{i:04}.json", data) for i, data in enumerate(variations())]
    for name, data in generated:
        path = os.path.join(args.scratch, name)
        with open(path, "wb") as f:
            f.write(data)
        paths.append(path)
    oracle = subprocess.run([args.oracle, os.path.join(args.scratch, "signature.sig")], check=True,
                            input="\n".join(paths) + "\n", capture_output=True, text=True)
    verdicts = oracle.stdout.splitlines()
    assert len(verdicts) == len(paths), oracle.stderr

    explained = {name: 0 for name, _, _ in REASONS}
    seen_rules, seen_reader = set(), set()
    counts = {"accepted by both": 0, "refused by both": 0, "explained": 0}
    for path, verdict in zip(paths, verdicts):
        with open(path, "rb") as f:
            data = f.read()
        doc = Document(data)
        schema_accepts = doc.readable and validator.is_valid(doc.value)
        tool_accepts = verdict == "accepted"
        text = data[:400].decode("utf-8", "backslashreplace")
        shown = f"{path}: {text!r}{'...' if len(data) > 400 else ''}\n    tool: {verdict}"
        if not tool_accepts:
            match_texts(verdict, rule_texts, reader_texts, seen_rules, seen_reader, failures, shown)
        if path.endswith(("example-minimal.json", "example-full.json")) and not (tool_accepts and schema_accepts):
            failures.append(f"reference example refused (schema accepts: {schema_accepts})\n  {shown}")
        if tool_accepts and not schema_accepts:
            errors = [] if not doc.readable else [e.message for e in validator.iter_errors(doc.value)][:3]
            failures.append(f"(a) the tool accepts, the schema refuses: {errors or 'unreadable'}\n  {shown}")
        elif schema_accepts and not tool_accepts:
            doc.derive()
            reasons = [name for name, text, shows in REASONS if shows(doc) and re.search(text, verdict)]
            if reasons:
                explained[reasons[0]] += 1
                counts["explained"] += 1
            else:
                failures.append(f"(b) the schema accepts, the tool refuses, for no listed reason\n  {shown}")
        else:
            counts["accepted by both" if tool_accepts else "refused by both"] += 1

    for name, n in explained.items():
        if n == 0:
            failures.append(f"listed reason never met: {name}")
    for i, regex in enumerate(rule_texts):
        if i not in seen_rules and "подпись" not in regex.pattern:
            failures.append(f"reference text never printed by the tool: {regex.pattern}")
    for i, regex in enumerate(reader_texts):
        if i not in seen_reader:
            failures.append(f"reference reader message never printed by the tool: {regex.pattern}")

    print(f"{len(paths)} documents ({len(paths) - len(generated)} recorded by the tests): {counts}")
    for name, n in explained.items():
        print(f"  {n:4} refused by the tool only: {name}")
    for failure in failures:
        print("FAIL " + failure)
    return 1 if failures else 0


def match_texts(verdict, rule_texts, reader_texts, seen_rules, seen_reader, failures, shown):
    """The tool's refusal must be one of the reference's texts; a reader error one of its messages."""
    text = verdict.removeprefix("[messages-tool] ЛЕНТА ОТКЛОНЕНА: ")
    rules = [i for i, regex in enumerate(rule_texts) if regex.match(text) or regex.match(verdict)]
    if not rules:
        failures.append(f"the tool printed a text the reference does not give\n  {shown}")
        return
    seen_rules.update(rules)
    inner = text.removeprefix("messages: JSON ленты не разбирается: ")
    if inner != text:
        inner = re.sub(r" at line \d+ column \d+\Z", "", inner)
        reader = [i for i, regex in enumerate(reader_texts) if regex.match(inner)]
        if not reader:
            failures.append(f"the tool printed a reader message the reference does not give: {inner}\n  {shown}")
        seen_reader.update(reader)


if __name__ == "__main__":
    sys.exit(main())
