// The WebAssembly checker, run through the page's own glue, gives for every document exactly
// the problems that the native `messages-lint --format=json` prints: the same objects, keys in
// the same order, in the same order. What the page places in the editor besides (marks, fixes,
// the outline's names, the hints, the new message and the cursor in it, completion) stands
// where the editor's text has what it is about.
//   node agreement.mjs MODULE NATIVE_LINT DIR...
// Every *.json file of each DIR is checked, plus documents made here for the paths the
// collected ones may miss (one past the size limit, CRLF line ends, Windows-1251 bytes); and
// each is decoded from Windows-1251 as the page's convert action would.
import { execFileSync } from "node:child_process";
import { mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from "node:fs";
import { tmpdir } from "node:os";
import { join } from "node:path";
import { createChecker } from "../../web/checker.mjs";

const [modulePath, lint, ...dirs] = process.argv.slice(2);
if (dirs.length === 0) {
  console.error("agreement.mjs: usage: node agreement.mjs MODULE NATIVE_LINT DIR...");
  process.exit(2);
}

// Each character of `text` through a code page's table, as the browser's decoder reads it.
const encodeIn = (label, text) => {
  const decoder = new TextDecoder(label);
  const table = new Map([...Array(256).keys()].map((b) => [decoder.decode(Uint8Array.of(b)), b]));
  return Buffer.from([...text].map((c) => table.get(c)));
};
const made = mkdtempSync(join(tmpdir(), "web-agreement-"));
const good = readFileSync(new URL("../../examples/messages.json", import.meta.url));
const goodText = good.toString("utf8");
// [name, bytes, what the convert action gives ({from, text}) or null]
const MADE = [
  ["oversize.json", Buffer.concat([good, Buffer.alloc(70000 - good.length, 0x20)]), null],
  ["crlf.json", Buffer.from(good.toString("latin1").replaceAll("\n", "\r\n"), "latin1"), null],
  // «Привет» in Windows-1251 inside a title of a UTF-8 file: its UTF-8 letters are kept.
  ["cp1251.json", Buffer.concat([Buffer.from(goodText.split("Тёмная тема")[0]), encodeIn("windows-1251", "Привет"),
    Buffer.from(goodText.split("Тёмная тема").slice(1).join("Тёмная тема"))]),
    { from: "Windows-1251", text: goodText.replace("Тёмная тема", "Привет") }],
  // The whole example in each code page: exactly that one reads it as Russian.
  ["whole-1251.json", encodeIn("windows-1251", goodText), { from: "Windows-1251", text: goodText }],
  ["whole-koi8-r.json", encodeIn("koi8-r", goodText), { from: "KOI8-R", text: goodText }],
  ["whole-mac-cyrillic.json", encodeIn("x-mac-cyrillic", goodText), { from: "Mac Cyrillic", text: goodText }],
  ["whole-cp866.json", encodeIn("ibm866", goodText), { from: "CP866", text: goodText }],
  // Dates without a zone, in summer and in winter: read in the zone of the run (TZ), on both sides.
  ["dated.json", Buffer.from(goodText.replace(/"start_at": -?[0-9]+/, '"start_at": "2026-07-01 10:00"')
    .replace(/"end_at": -?[0-9]+/, '"end_at": 2026-01-15')), null],
  ["whole-utf-16.json", Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from(goodText, "utf16le")]),
    { from: "UTF-16", text: goodText }],
];
const madeRecodings = new Map(MADE.map(([name, , recoded]) => [join(made, name), recoded]));
for (const [name, bytes] of MADE) writeFileSync(join(made, name), bytes);

const files = [...dirs, made].flatMap((dir) =>
  readdirSync(dir).filter((f) => f.endsWith(".json")).sort().map((f) => join(dir, f)));

// Both sides judge ended windows against the same fixed time, so the run does not depend on the clock.
const NOW = 1796000000n;

// One native run over all files; its lines grouped by file.
let output;
try {
  output = execFileSync(lint, ["--format=json", `--now=${NOW}`, "--", ...files], { maxBuffer: 1 << 28 });
} catch (error) {
  if (error.status !== 1) throw error;  // 1: some file has problems
  output = error.stdout;
}
const native = new Map(files.map((f) => [f, []]));
for (const line of output.toString("utf8").split("\n").filter(Boolean)) {
  const problem = JSON.parse(line);
  native.get(problem.file).push(JSON.stringify(problem));
}

const checker = await createChecker(readFileSync(modulePath), (text) => {
  throw new Error(`the module wrote: ${text}`);
});
// The convert action's decoding: none for a UTF-8 document, and for each made draft exactly the
// code page and the text it was made from.
const utf8 = new TextDecoder("utf-8", { fatal: true });

// The editor's text of `bytes` as the page makes it, each byte the module marks as beginning no
// character one character; the decoder is fatal, so a mark in the wrong place fails here, and
// keeps a byte-order mark, as the page's does.
const editorDecoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });
const editorText = (bytes, marks) => {
  let text = "", run = 0;
  for (let at = 0; at <= bytes.length; at++) {
    if (at < bytes.length && marks[at] === 0) continue;
    text += editorDecoder.decode(bytes.subarray(run, at)) + (at < bytes.length ? "\ue000" : "");
    run = at + 1;
  }
  return text.replace(/\r\n?/g, "\n");  // the editor holds every line end as one line break
};
// Where byte `offset` stands in the editor's text, counted from the text before it; and where a
// [line, character] place of the module stands, counted the editor's way, by its lines.
const editorOffset = (bytes, marks, offset) => {
  offset = Math.min(offset, bytes.length);
  while (offset > 0 && offset < bytes.length && marks[offset] === 0 && (bytes[offset] & 0xc0) === 0x80) offset--;
  return editorText(bytes.subarray(0, offset), marks).length;
};
const placeOffset = (text, [line, character]) => {
  const lines = text.split("\n");
  return lines.slice(0, line).reduce((at, l) => at + l.length + 1, 0) + character;
};
// Completion at the place "|" marks, the run's zone reading a date: [draft, a label offered there,
// the text it writes, the text it writes over].
const COMPLETIONS = [
  ['{"schema":1,"revision":1,"messages":[{"id":"a","pri|', "priority", '"priority":', '"pri'],
  ['{"schema":1,"revision":1,"messages":[{"id":"a","cta": n|', '{"kind": "open_license"}', '{"kind": "open_license"}', "n"],
  ['{"schema":1,"revision":1,"messages":[{"id":"a","start_at": "2026-07-01 10:00"|',
    String(new Date(2026, 6, 1, 10).getTime() / 1000), String(new Date(2026, 6, 1, 10).getTime() / 1000),
    '"2026-07-01 10:00"'],
  ['{"schema":1,"revision":1,"messages":[{"id":"a","end_at": 2026-01-15|',
    String(new Date(2026, 0, 15).getTime() / 1000), String(new Date(2026, 0, 15).getTime() / 1000), "2026-01-15"],
  // Line ends of every kind and characters of two UTF-16 units before the place.
  ['{"schema":1,\r"revision":1,\r\n"messages":[\n{"id":"😀漢","title":"😀","pri|', "priority", '"priority":', '"pri'],
];
let failures = 0, problems = 0, recoded = 0, places = 0;
for (const file of files) {
  const bytes = readFileSync(file);
  const text = checker.recode(bytes);
  let isUtf8 = true;
  try {
    utf8.decode(bytes);
  } catch {
    isUtf8 = false;
  }
  const expected = madeRecodings.get(file);
  if ((text !== null && isUtf8) || (expected !== undefined && JSON.stringify(text) !== JSON.stringify(expected))) {
    failures++;
    console.error(`RECODED WRONG: ${file}: ${JSON.stringify(text)?.slice(0, 200)}`);
  }
  if (text !== null) recoded++;
  const result = checker.check(bytes, file, NOW);
  const got = result.problems.map((p) => JSON.stringify(p));
  // What the page is told: each problem's place and its fix's edits in the editor's text, and
  // which bytes of the file begin no character (exactly those the browser's decoder refuses).
  const head = bytes.subarray(0, checker.limits.bytes + 1);
  const opened = checker.open(head);
  const shownText = editorText(head, opened.marks);
  const misplaced = [];
  if (opened.utf8 !== isUtf8 && bytes.length === head.length) misplaced.push(`utf8 ${opened.utf8}`);
  if (result.page.problems.length !== (bytes.length === 0 ? 0 : result.problems.length)) misplaced.push("count");
  result.page.problems.forEach((shown, i) => {
    const p = result.problems[i];
    // A mark that covers nothing is shown on the character it stands before, but at a line's end.
    const start = p.start_byte_offset, lead = head[start];
    const markEnd = p.end_byte_offset > start ? p.end_byte_offset
      : start >= head.length || lead === 0x0a || lead === 0x0d ? start
      : start + (opened.marks[start] === 1 || lead < 0x80 ? 1 : lead < 0xe0 ? 2 : lead < 0xf0 ? 3 : 4);
    const pairs = [[start, shown.from], [markEnd, shown.to],
      ...(shown.fix?.changes ?? []).flatMap((c, j) => [[p.fix.edits[j].begin, c.from], [p.fix.edits[j].end, c.to]])];
    for (const [offset, place] of pairs) {
      places++;
      if (editorOffset(head, opened.marks, offset) !== placeOffset(shownText, place)) misplaced.push(`${offset} at ${place}`);
    }
  });
  // An outline's message is named by its id (or its bracket), a time hint follows the
  // digits of its seconds, a length hint the quotation mark that ends its text.
  for (const m of result.outline) {
    places++;
    const name = shownText.slice(placeOffset(shownText, m.name_from), placeOffset(shownText, m.name_to));
    if (!(name.startsWith('"') || name === "{" || name === "[" || name === m.name)
      || placeOffset(shownText, m.from) > placeOffset(shownText, m.name_from))
      misplaced.push(`message ${m.index} named ${JSON.stringify(name)}`);
  }
  for (const h of result.hints) {
    places++;
    const before = shownText[placeOffset(shownText, h.at) - 1];
    if (!(h.kind === "time" ? /[0-9]/.test(before) : before === '"')) misplaced.push(`${h.kind} hint after ${before}`);
  }
  // The new message: one more message in the outline, under an id no other has, the cursor
  // between the quotation marks of its empty title; a draft that read still reads, one longer.
  const added = opened.utf8 && bytes.length === head.length ? checker.newMessage(bytes, NOW) : null;
  if (added !== null) {
    const [change] = added.changes;
    const from = placeOffset(shownText, change.from), to = placeOffset(shownText, change.to);
    const after = shownText.slice(0, from) + change.insert.replace(/\r\n?/g, "\n") + shownText.slice(to);
    const grownBytes = new TextEncoder().encode(after);
    const grown = checker.check(grownBytes, file, NOW);
    const cursor = placeOffset(after, added.cursor);
    const names = result.outline.map((m) => m.name);
    const read = result.messages.length === result.outline.length && result.messages.length > 0;
    const roomFor = result.messages.length < checker.limits.messages && grownBytes.length <= checker.limits.bytes;
    if (after.slice(cursor - 1, cursor + 1) !== '""' || !/"title"\s*:\s*"$/.test(after.slice(0, cursor))
      || (read && (grown.outline.length !== result.outline.length + 1 || names.includes(grown.outline.at(-1).name)))
      || (read && roomFor && grown.messages.length !== result.messages.length + 1))
      misplaced.push(`new message ${JSON.stringify(change.insert)} at ${change.from}, cursor ${added.cursor}`);
  }
  if (misplaced.length > 0) {
    failures++;
    console.error(`PLACED WRONG: ${file}: ${misplaced.join(", ")}`);
  }
  const want = native.get(file);
  problems += want.length;
  if (JSON.stringify(got) !== JSON.stringify(want)) {
    failures++;
    console.error(`DIFFERS: ${file}\n  native: ${want.join("\n          ")}\n  module: ${got.join("\n          ")}`);
  }
}
// What the page says of an opened file's size, with its plural.
for (const [size, words] of [[1, "1 байт"], [2, "2 байта"], [5, "5 байт"], [21, "21 байт"], [22, "22 байта"]]) {
  const said = checker.open(new Uint8Array(size).fill(0x20)).size;
  if (said !== words) {
    failures++;
    console.error(`SIZE WRONG: ${size} bytes said as ${said}`);
  }
}
for (const [marked, label, apply, over] of COMPLETIONS) {
  const text = marked.replace("|", "");
  const bytes = new TextEncoder().encode(text);
  const shown = text.replace(/\r\n?/g, "\n");
  const cursor = marked.replace(/\r\n?/g, "\n").indexOf("|");
  const lines = shown.slice(0, cursor).split("\n");
  const got = checker.complete(bytes, [lines.length - 1, lines.at(-1).length], NOW);
  const option = got.options.find((o) => o.label === label);
  const written = shown.slice(placeOffset(shown, got.from), placeOffset(shown, got.to));
  if (!option || option.apply !== apply || written !== over) {
    failures++;
    console.error(`COMPLETED WRONG: ${marked}: over ${JSON.stringify(written)}, ${JSON.stringify(got.options.map((o) => [o.label, o.apply]))}`);
  }
}
rmSync(made, { recursive: true });
if (files.length < 50) {
  console.error(`only ${files.length} documents: the collection is missing`);
  process.exit(1);
}
console.log(`web_agreement: ${files.length} documents, ${problems} problems, ${places} editor places, ${recoded} read as Windows-1251, ${failures} differ`);
process.exit(failures === 0 ? 0 : 1);
