// messages-lint --lsp driven by a real client: vscode-jsonrpc and vscode-languageserver-protocol,
// the libraries VS Code's own client is built on (pinned in package-lock.json).
//
//   node client.mjs [--emulator=WORDS] [--server=WORDS] [--record=FILE] LINT SCRATCH LARGE_FEED DOCUMENT_DIR...
//
// WORDS, separated by "|", start the program under a cross build's emulator (qemu-aarch64 …).
// With --server, the server under test is started from its WORDS instead (node|messages-lint-lsp.mjs,
// the WebAssembly module's launcher): every conversation below is held with it and with
// `LINT --lsp`, and each message the two send must be the same after the id. With --record,
// what `LINT --lsp` sent goes to FILE, one message a line (tools/record_outputs.py).
//
// For each position encoding a client can offer (and for none), one server: initialize, then
// every document of the folders opened in turn, its diagnostics compared with what
// `messages-lint --format=json` reports for the same bytes, with the ranges converted here from
// the report's lines and columns on this file's own account. Then, on the example's text: an
// incremental change, the code actions applied (the result again compared with the report), a
// hover, shutdown and exit with status 0. In one of the offers, every document that reads also
// has its outline, hints, a completion inside its first message and one after its last, and each
// repeated id's definition checked against what the document's JSON says: the messages by id and
// title, the times as dates in UTC (the setting the server is started with), the lengths near
// their limits, the keys a message lacks, and a new message that leaves the draft readable.
// Last, the figures on LARGE_FEED (the 64 KiB, 50-message feed): the median time from didChange
// sent to publishDiagnostics received, of a completion and of the hints, and the server's
// resident memory with 20 such documents open. The figures are printed, not judged.
import { execFileSync, spawn } from "node:child_process";
import { mkdirSync, readdirSync, readFileSync, writeFileSync } from "node:fs";
import { join, resolve } from "node:path";
import { pathToFileURL } from "node:url";
import rpc from "vscode-jsonrpc/node.js";
import lsp from "vscode-languageserver-protocol/node.js";

const given = process.argv.slice(2);
const words = (option) => (given[0]?.startsWith(option) ? given.shift().slice(option.length).split("|").filter(Boolean) : []);
const emulator = words("--emulator=");
const otherServer = words("--server=");
const [record] = words("--record=");
const [lint, scratch, largeFeed, ...folders] = given.map((p) => resolve(p));
// The program and its arguments as a process starts them: under the emulator, if there is one.
const program = (args) => (emulator.length ? [emulator[0], [...emulator.slice(1), lint, ...args]] : [lint, args]);
// The server of the conversations being held: `LINT --lsp`, or the one of --server.
let serverWords = null;
const serverCommand = (args) => (serverWords ? [serverWords[0], [...serverWords.slice(1), ...args]] : program(["--lsp", ...args]));
// What the server sent, in order and without ids, while the conversations are recorded.
let transcript = null;
if (!folders.length) throw new Error("usage: client.mjs LINT SCRATCH LARGE_FEED DOCUMENT_DIR...");
const NOW = 1_800_000_000;
mkdirSync(scratch, { recursive: true });

let failures = 0;
function fail(what) {
  failures += 1;
  if (failures <= 20) console.error(`FAIL: ${what}`);
}

// --- The report of the command line, and the conversion of its places -------------------------

// The JSON Lines report of each file, by path (many files to one run).
function reports(paths, extra = []) {
  const out = new Map(paths.map((p) => [p, []]));
  for (let i = 0; i < paths.length; i += 200) {
    const batch = paths.slice(i, i + 200);
    let text;
    try {
      text = execFileSync(...program(["--format=json", `--now=${NOW}`, ...extra, "--", ...batch]), { maxBuffer: 1 << 28 }).toString();
    } catch (e) {
      if (e.status !== 1) throw e;
      text = e.stdout.toString();
    }
    for (const line of text.split("\n").filter(Boolean)) {
      const p = JSON.parse(line);
      out.get(p.file).push(p);
    }
  }
  return out;
}

// The byte offset of the report's line and column: lines counted after each line feed, the
// column in characters.
function offsetOfReport(bytes, line, column) {
  let at = 0;
  for (let l = 1; l < line; l++) at = bytes.indexOf(0x0a, at) + 1;
  for (let c = 1; c < column && at < bytes.length; c++) at += characterLength(bytes[at]);
  return at;
}

function characterLength(lead) {
  return lead < 0x80 ? 1 : lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 1;
}

// The protocol's position of a byte offset: lines end at \n, \r\n or a lone \r; characters are
// counted in the encoding's units.
function positionOf(bytes, offset, encoding) {
  let line = 0,
    start = 0;
  for (let i = 0; i < offset; i++) {
    if (bytes[i] === 0x0a || (bytes[i] === 0x0d && bytes[i + 1] !== 0x0a)) {
      line += 1;
      start = i + 1;
    }
  }
  let character = 0;
  for (let i = start; i < offset; ) {
    const n = characterLength(bytes[i]);
    character += encoding === "utf-8" ? n : encoding === "utf-16" && n === 4 ? 2 : 1;
    i += n;
  }
  return { line, character };
}

function offsetOf(bytes, position, encoding) {
  let at = 0;
  for (let l = 0; l < position.line && at < bytes.length; at++)
    if (bytes[at] === 0x0a || (bytes[at] === 0x0d && bytes[at + 1] !== 0x0a)) l += 1;
  for (let c = 0; c < position.character && at < bytes.length && bytes[at] !== 0x0a && bytes[at] !== 0x0d; ) {
    const n = characterLength(bytes[at]);
    c += encoding === "utf-8" ? n : encoding === "utf-16" && n === 4 ? 2 : 1;
    at += n;
  }
  return at;
}

const same = (a, b) => a.line === b.line && a.character === b.character;
const before = (a, b) => a.line < b.line || (a.line === b.line && a.character < b.character);

// Whether the diagnostics say what the report says, in its order.
function compare(name, bytes, diagnostics, report, encoding) {
  if (diagnostics.length !== report.length) {
    fail(`${name} (${encoding}): ${diagnostics.length} diagnostics, the report has ${report.length}`);
    return;
  }
  report.forEach((p, i) => {
    const d = diagnostics[i];
    const start = positionOf(bytes, offsetOfReport(bytes, p.line, p.column), encoding);
    const message = [(p.after_first_error ? "после первой ошибки: " : "") + p.text, ...p.notes.map((n) => `примечание: ${n}`)].join("\n");
    const severity = p.severity === "error" ? 1 : 2;
    if (!same(d.range.start, start)) fail(`${name} (${encoding}) #${i}: starts at ${JSON.stringify(d.range.start)}, not ${JSON.stringify(start)}`);
    if (p.end_line !== undefined) {
      const end = positionOf(bytes, offsetOfReport(bytes, p.end_line, p.end_column), encoding);
      if (!same(d.range.end, end) && before(start, end)) fail(`${name} (${encoding}) #${i}: ends at ${JSON.stringify(d.range.end)}, not ${JSON.stringify(end)}`);
    }
    if (!before(d.range.start, d.range.end) && offsetOfReport(bytes, p.line, p.column) < bytes.length)
      fail(`${name} (${encoding}) #${i}: an empty range`);
    if (d.code !== p.rule || d.severity !== severity || d.message !== message || d.source !== "messages-lint")
      fail(`${name} (${encoding}) #${i}: ${JSON.stringify(d)} for ${JSON.stringify(p)}`);
  });
}

// --- A server and its client ------------------------------------------------------------------

async function start(encodings, now = NOW, extra = []) {
  const child = spawn(...serverCommand([`--now=${now}`, ...extra]), { stdio: ["pipe", "pipe", "inherit"] });
  const exited = new Promise((done) => child.on("exit", (code) => done(code)));
  const connection = lsp.createProtocolConnection(new rpc.StreamMessageReader(child.stdout), new rpc.StreamMessageWriter(child.stdin));
  const request = connection.sendRequest.bind(connection);
  connection.sendRequest = async (type, params) => {
    const result = await request(type, params);
    transcript?.push(JSON.stringify({ method: type.method, result }));
    return result;
  };
  const waiting = new Map(); // "uri version" -> resolve
  connection.onNotification(lsp.PublishDiagnosticsNotification.type, (params) => {
    transcript?.push(JSON.stringify({ publish: params }));
    const key = `${params.uri} ${params.version}`;
    const done = waiting.get(key);
    if (done) {
      waiting.delete(key);
      done(params.diagnostics);
    }
  });
  connection.listen();
  const general = encodings ? { positionEncodings: encodings } : {};
  const result = await connection.sendRequest(lsp.InitializeRequest.type, {
    processId: process.pid,
    rootUri: null,
    capabilities: {
      general,
      workspace: { workspaceEdit: { documentChanges: true } },
      textDocument: { documentSymbol: { hierarchicalDocumentSymbolSupport: true } },
    },
    initializationOptions: { "messages-lint": { hintZone: "UTC" } },
  });
  await connection.sendNotification(lsp.InitializedNotification.type, {});
  const diagnosticsOf = (uri, version) => new Promise((done) => waiting.set(`${uri} ${version}`, done));
  return { child, exited, connection, result, diagnosticsOf };
}

async function open(server, uri, text, version = 1) {
  const diagnostics = server.diagnosticsOf(uri, version);
  await server.connection.sendNotification(lsp.DidOpenTextDocumentNotification.type, {
    textDocument: { uri, languageId: "json", version, text },
  });
  return diagnostics;
}

async function stop(server) {
  await server.connection.sendRequest(lsp.ShutdownRequest.type);
  await server.connection.sendNotification(lsp.ExitNotification.type);
  const code = await server.exited;
  server.connection.dispose();
  if (code !== 0) fail(`the server exited with ${code} after shutdown and exit`);
}

// Applies TextEdits (in the encoding's positions) to bytes, from the last to the first.
function applyEdits(bytes, edits, encoding) {
  const ranges = edits.map((e) => ({ begin: offsetOf(bytes, e.range.start, encoding), end: offsetOf(bytes, e.range.end, encoding), text: e.newText }));
  ranges.sort((a, b) => b.begin - a.begin);
  let out = bytes;
  for (const r of ranges) out = Buffer.concat([out.subarray(0, r.begin), Buffer.from(r.text, "utf8"), out.subarray(r.end)]);
  return out;
}

// --- What a document that reads shows besides its problems ------------------------------------

const MESSAGE_KEYS = ["id", "priority", "title", "body", "start_at", "end_at", "cta", "minVersion", "maxVersion"];
const LIMITS = { title: 80, body: 800 };

// How the outline shows a text beside its key: on one line, at most 40 characters.
function shortened(text) {
  const chars = [...text.replace(/[\n\r\t]/g, " ")];
  return chars.length > 40 ? chars.slice(0, 40).join("") + "…" : chars.join("");
}

// "2026-01-01 00:00 UTC", the seconds only when there are some.
function utcLabel(seconds) {
  const d = new Date(seconds * 1000);
  const two = (n) => String(n).padStart(2, "0");
  const y = d.getUTCFullYear();
  const year = (y < 0 ? "-" : "") + String(Math.abs(y)).padStart(4, "0");
  const s = d.getUTCSeconds();
  return `${year}-${two(d.getUTCMonth() + 1)}-${two(d.getUTCDate())} ${two(d.getUTCHours())}:${two(d.getUTCMinutes())}${s ? `:${two(s)}` : ""} UTC`;
}

let workbenchDocuments = 0;
// Each readable document with the new message written in, judged by the command line at the end
// in one run: the draft must still read.
const withNewMessage = [];

function judgeNewMessages() {
  const judged = reports(withNewMessage.map((w) => w.added));
  for (const { from, added } of withNewMessage) {
    const problems = judged.get(added);
    if (problems.some((p) => p.rule === "json")) fail(`${from}: with the new message ${JSON.stringify(problems[0])}`);
  }
  withNewMessage.length = 0;
}

async function workbench(server, d, uri, report, encoding) {
  if (report.some((p) => p.rule === "json" || p.rule === "size")) return;
  const feed = JSON.parse(d.text);
  if (Array.isArray(feed) || !Array.isArray(feed.messages)) return;
  workbenchDocuments += 1;
  const ask = (type, params) => server.connection.sendRequest(type, { textDocument: { uri }, ...params });
  const symbols = await ask(lsp.DocumentSymbolRequest.type, {});
  const list = symbols.find((s) => s.name === "messages");
  const children = list?.children ?? [];
  const shown = children.map((s) => `${s.name} / ${s.detail ?? ""}`);
  const objects = feed.messages.map((m, i) => [m, i]).filter(([m]) => m && typeof m === "object" && !Array.isArray(m));
  const wanted = feed.messages.map((m, i) => {
    const id = Array.isArray(m) ? m[0] : m.id;
    const title = Array.isArray(m) ? m[2] : m.title;
    return `${id === "" ? `сообщение ${i + 1}` : shortened(id)} / ${shortened(title)}`;
  });
  if (JSON.stringify(shown) !== JSON.stringify(wanted)) fail(`${d.path}: the outline ${JSON.stringify(shown)}, not ${JSON.stringify(wanted)}`);

  const hints = await ask(lsp.InlayHintRequest.type, { range: { start: { line: 0, character: 0 }, end: positionOf(d.bytes, d.bytes.length, encoding) } });
  const labels = [];
  // A message in the array form has its fields in their order.
  const fieldsOf = (m) => (Array.isArray(m) ? m.map((value, i) => [MESSAGE_KEYS[i], value]) : m && typeof m === "object" ? Object.entries(m) : []);
  for (const m of feed.messages)
    for (const [key, value] of fieldsOf(m)) {
      if ((key === "start_at" || key === "end_at") && Number.isInteger(value) && Math.abs(value) <= 1e11) labels.push(utcLabel(value));
      if (key in LIMITS && typeof value === "string" && [...value].length + 10 >= LIMITS[key]) labels.push(`${[...value].length}/${LIMITS[key]}`);
    }
  if (hints.length !== labels.length || hints.some((h, i) => h.label !== labels[i]))
    fail(`${d.path}: the hints ${JSON.stringify(hints.map((h) => h.label))}, not ${JSON.stringify(labels)}`);

  if (!children.length) return;
  // Just inside the first message's brace: the keys it lacks, and the key written there.
  const [first] = feed.messages;
  if (objects.length && objects[0][1] === 0) {
    const inside = { line: children[0].range.start.line, character: children[0].range.start.character + 1 };
    const atKey = d.bytes[offsetOf(d.bytes, inside, encoding)] === 0x22 ? Object.keys(first)[0] : null;
    const keys = MESSAGE_KEYS.filter((k) => !(k in first) || k === atKey);
    const offered = (await ask(lsp.CompletionRequest.type, { position: inside })).items.map((i) => i.label);
    if (JSON.stringify(offered) !== JSON.stringify(keys)) fail(`${d.path}: completion offers ${JSON.stringify(offered)}, not ${JSON.stringify(keys)}`);
  }
  // Just past the last message: a new message, which leaves the draft readable.
  const after = children[children.length - 1].range.end;
  const items = (await ask(lsp.CompletionRequest.type, { position: after })).items;
  if (items.length !== 1 || !items[0].label.startsWith("новое сообщение")) fail(`${d.path}: after the last message ${JSON.stringify(items)}`);
  else {
    const added = join(scratch, `with-new-message-${withNewMessage.length}.json`);
    writeFileSync(added, applyEdits(d.bytes, [items[0].textEdit], encoding));
    withNewMessage.push({ from: d.path, added });
  }
  // A repeated id leads to the first message with that id.
  for (const p of report.filter((p) => p.rule === "duplicate-id")) {
    const firstIndex = feed.messages.findIndex((m) => (Array.isArray(m) ? m[0] : m.id) === p.id);
    const location = await ask(lsp.DefinitionRequest.type, { position: positionOf(d.bytes, p.start_byte_offset, encoding) });
    if (JSON.stringify(location?.range) !== JSON.stringify(children[firstIndex].selectionRange))
      fail(`${d.path}: the definition of ${p.id} is ${JSON.stringify(location)}`);
  }
}

// --- The documents, in every encoding ---------------------------------------------------------

const decoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });
const documents = [];
let notText = 0;
for (const folder of folders) {
  for (const name of readdirSync(folder).sort()) {
    if (!name.endsWith(".json")) continue;
    const path = join(folder, name);
    const bytes = readFileSync(path);
    try {
      documents.push({ path, bytes, text: decoder.decode(bytes) });
    } catch {
      notText += 1; // no client can send bytes that are not UTF-8
    }
  }
}
// An oversize draft whose name has Cyrillic letters and a space: its address carries them as
// upper-case percent escapes, as VS Code writes them, and the size problem must name the file by
// the decoded path, as the command line does.
{
  const path = join(scratch, "лента я.json");
  writeFileSync(path, `{"schema": 1${" ".repeat(70000)}}`);
  const bytes = readFileSync(path);
  if (!pathToFileURL(path).href.endsWith("/%D0%BB%D0%B5%D0%BD%D1%82%D0%B0%20%D1%8F.json")) fail(`the address of ${path}`);
  documents.push({ path, bytes, text: bytes.toString("utf8") });
}
const reported = reports(documents.map((d) => d.path));
const version = execFileSync(...program(["--version"])).toString();

// The conversations, with the server of serverWords: every document in every encoding offer,
// then a change, code actions and hover.
async function conversations() {
  workbenchDocuments = 0;
  for (const encodings of [["utf-8"], ["utf-16"], ["utf-32"], ["utf-32", "utf-8", "utf-16"], null]) {
    const expected = encodings ? encodings[0] : "utf-16";
    const server = await start(encodings);
    const agreed = server.result.capabilities.positionEncoding;
    if (agreed !== expected) fail(`offered ${JSON.stringify(encodings)}, agreed ${agreed}`);
    const info = server.result.serverInfo;
    if (info?.name !== "messages-lint" || `messages-lint ${info?.version}\n` !== version) fail(`serverInfo ${JSON.stringify(info)}`);
    for (const d of documents) {
      const uri = pathToFileURL(d.path).href;
      const diagnostics = await open(server, uri, d.text);
      compare(d.path, d.bytes, diagnostics, reported.get(d.path), agreed);
      // Every code action of the whole document, and what helps write it, in the encoding
      // editors use most.
      if (agreed === "utf-16" && encodings) {
        await server.connection.sendRequest(lsp.CodeActionRequest.type, {
          textDocument: { uri },
          range: { start: { line: 0, character: 0 }, end: positionOf(d.bytes, d.bytes.length, agreed) },
          context: { diagnostics: [] },
        });
        await workbench(server, d, uri, reported.get(d.path), agreed);
      }
      await server.connection.sendNotification(lsp.DidCloseTextDocumentNotification.type, { textDocument: { uri } });
    }
    await stop(server);
  }
  judgeNewMessages();
  console.log(`documents: ${documents.length} compared in 5 encoding offers (${notText} not UTF-8, which no client sends); ` +
    `${workbenchDocuments} that read with their outline, hints, completion and definitions`);

  // --no-warnings reaches the server: the documents with warnings get what the report of
  // --no-warnings has for them.
  {
    const warned = documents.filter((d) => reported.get(d.path).some((p) => p.severity === "warning"));
    if (!warned.length) fail("no document with warnings");
    const quiet = reports(warned.map((d) => d.path), ["--no-warnings"]);
    const server = await start(null, NOW, ["--no-warnings"]);
    for (const d of warned) {
      const uri = pathToFileURL(d.path).href;
      compare(`${d.path} (--no-warnings)`, d.bytes, await open(server, uri, d.text), quiet.get(d.path), "utf-16");
      await server.connection.sendNotification(lsp.DidCloseTextDocumentNotification.type, { textDocument: { uri } });
    }
    await stop(server);
  }

  // --- A change, code actions and hover on the example's text ------------------------------------

  const example = folders.map((f) => join(f, "messages.json")).find((p) => documents.some((d) => d.path === p));
  if (!example) throw new Error("no messages.json among the documents");
  for (const encoding of ["utf-8", "utf-16", "utf-32"]) {
    const server = await start([encoding]);
    const uri = pathToFileURL(join(scratch, "messages.json")).href;
    let bytes = readFileSync(example);
    await open(server, uri, bytes.toString("utf8"));

    // A typographic quotation mark and a trailing comma typed into the middle of the text, as one
    // incremental change: the second line's first character replaced.
    const position = { line: 1, character: 1 };
    const at = offsetOf(bytes, position, encoding);
    const change = { range: { start: position, end: positionOf(bytes, at + characterLength(bytes[at]), encoding) }, text: "“schema”: 1,," };
    bytes = applyEdits(bytes, [{ range: change.range, newText: change.text }], encoding);
    let diagnostics = server.diagnosticsOf(uri, 2);
    await server.connection.sendNotification(lsp.DidChangeTextDocumentNotification.type, { textDocument: { uri, version: 2 }, contentChanges: [change] });
    const changed = join(scratch, `changed-${encoding}.json`);
    writeFileSync(changed, bytes);
    compare(`after the change (${encoding})`, bytes, await diagnostics, reports([changed]).get(changed), encoding);

    // Every action offered for the whole text: the fix-all one when there is one, else each
    // preferred quick fix, applied here and the result checked against the report again.
    const whole = { start: { line: 0, character: 0 }, end: positionOf(bytes, bytes.length, encoding) };
    const actions = await server.connection.sendRequest(lsp.CodeActionRequest.type, {
      textDocument: { uri },
      range: whole,
      context: { diagnostics: [], only: ["quickfix", "source.fixAll"] },
    });
    const fixAll = actions.filter((a) => a.kind === "source.fixAll.messages-lint");
    const chosen = fixAll.length ? fixAll : actions.filter((a) => a.kind === "quickfix" && a.isPreferred).slice(0, 1);
    let version = 2;
    for (const action of chosen) {
      const [edit] = action.edit.documentChanges;
      if (edit.textDocument.uri !== uri || edit.textDocument.version !== version) fail(`${action.title}: an edit of ${JSON.stringify(edit.textDocument)}`);
      bytes = applyEdits(bytes, edit.edits, encoding);
      version += 1;
      diagnostics = server.diagnosticsOf(uri, version);
      await server.connection.sendNotification(lsp.DidChangeTextDocumentNotification.type, {
        textDocument: { uri, version },
        contentChanges: [{ text: bytes.toString("utf8") }],
      });
      const fixed = join(scratch, `fixed-${encoding}.json`);
      writeFileSync(fixed, bytes);
      compare(`after "${action.title}" (${encoding})`, bytes, await diagnostics, reports([fixed]).get(fixed), encoding);
    }
    console.log(`${encoding}: ${actions.length} code actions offered, ${chosen.length} applied`);
    if (actions.some((a) => !["quickfix", "source.fixAll.messages-lint"].includes(a.kind))) fail("an action of another kind");

    // Hover inside the first message of the original text (still the fourth line).
    const reverted = readFileSync(example);
    version += 1;
    diagnostics = server.diagnosticsOf(uri, version);
    await server.connection.sendNotification(lsp.DidChangeTextDocumentNotification.type, { textDocument: { uri, version }, contentChanges: [{ text: reverted.toString("utf8") }] });
    await diagnostics;
    const firstId = /"id":\s*"([^"]*)"/.exec(reverted.toString("utf8"))[1];
    const idAt = reverted.indexOf(Buffer.from(`"${firstId}"`));
    const hover = await server.connection.sendRequest(lsp.HoverRequest.type, { textDocument: { uri }, position: positionOf(reverted, idAt, encoding) });
    if (!hover || hover.contents.kind !== "markdown" || !hover.contents.value.includes(`**Сообщение \`${firstId}\`**`) || !hover.contents.value.includes("UTC"))
      fail(`hover on ${firstId} (${encoding}): ${JSON.stringify(hover)}`);
    const nothing = await server.connection.sendRequest(lsp.HoverRequest.type, { textDocument: { uri }, position: { line: 0, character: 0 } });
    if (nothing !== null) fail(`hover outside every message: ${JSON.stringify(nothing)}`);
    await stop(server);
  }
}

// --- The figures ------------------------------------------------------------------------------

// The figures of the server of serverWords, printed under `label`: the time from its start to
// the first diagnostics of LARGE_FEED, and those of the header.
async function figures(label) {
  // At a time inside the feed's windows, so every rule accepts it, as a finished feed.
  const inside = 1_766_000_000;
  const feed = readFileSync(largeFeed);
  const uri = pathToFileURL(largeFeed).href;
  const started = process.hrtime.bigint();
  const server = await start(["utf-16"], inside);
  const first = await open(server, uri, feed.toString("utf8"));
  const startMs = Number(process.hrtime.bigint() - started) / 1e6;
  if (first.length !== 0) fail(`the large feed has ${first.length} diagnostics at ${inside}`);
  // A letter of the first title typed over and back, 101 times.
  const text = feed.toString("utf8");
  const titleAt = positionOf(feed, feed.indexOf(Buffer.from('"title"')) + 10, "utf-16");
  const times = [];
  for (let version = 2; version <= 102; version++) {
    const range = { start: titleAt, end: { line: titleAt.line, character: titleAt.character + 1 } };
    const letter = version % 2 ? text.slice(offsetOf(feed, titleAt, "utf-16"), offsetOf(feed, range.end, "utf-16")) : "Ж";
    const diagnostics = server.diagnosticsOf(uri, version);
    const begin = process.hrtime.bigint();
    server.connection.sendNotification(lsp.DidChangeTextDocumentNotification.type, { textDocument: { uri, version }, contentChanges: [{ range, text: letter }] });
    await diagnostics;
    times.push(Number(process.hrtime.bigint() - begin) / 1e6);
  }
  times.sort((a, b) => a - b);
  const median = times[Math.floor(times.length / 2)];
  // A completion inside the first message, and the hints of the whole feed, 101 times each.
  const medianOf = async (type, params) => {
    const spent = [];
    for (let i = 0; i < 101; i++) {
      const begin = process.hrtime.bigint();
      await server.connection.sendRequest(type, { textDocument: { uri }, ...params });
      spent.push(Number(process.hrtime.bigint() - begin) / 1e6);
    }
    return spent.sort((a, b) => a - b)[50];
  };
  const inFirst = positionOf(feed, feed.indexOf(Buffer.from('"messages"')) + 16, "utf-16");
  const completion = await medianOf(lsp.CompletionRequest.type, { position: inFirst });
  const hints = await medianOf(lsp.InlayHintRequest.type, { range: { start: { line: 0, character: 0 }, end: positionOf(feed, feed.length, "utf-16") } });
  for (let i = 1; i < 20; i++) await open(server, `${uri}-${i}`, text);
  const status = readFileSync(`/proc/${server.child.pid}/status`, "utf8");
  const rss = /VmRSS:\s*(\d+) kB/.exec(status)[1];
  const hwm = /VmHWM:\s*(\d+) kB/.exec(status)[1];
  console.log(`figures of ${label}: ${feed.length} bytes (no diagnostics at --now=${inside}), start to the first diagnostics ${startMs.toFixed(1)} ms, ` +
    `didChange to publishDiagnostics median ${median.toFixed(2)} ms ` +
    `(min ${times[0].toFixed(2)}, max ${times[times.length - 1].toFixed(2)}, ${times.length} changes); ` +
    `completion median ${completion.toFixed(2)} ms, inlay hints median ${hints.toFixed(2)} ms; ` +
    `the process's resident memory with 20 open: VmRSS ${(rss / 1024).toFixed(1)} MiB (peak ${(hwm / 1024).toFixed(1)} MiB)`);
  await stop(server);
}

// --- The servers --------------------------------------------------------------------------------

transcript = otherServer.length || record ? [] : null;
await conversations();
const native = transcript;
if (record) writeFileSync(record, native.map((m) => `${m}\n`).join(""));
transcript = null;
await figures("messages-lint --lsp");
if (otherServer.length) {
  serverWords = otherServer;
  transcript = [];
  await conversations();
  const label = otherServer.join(" ");
  if (transcript.length !== native.length) fail(`${label} sent ${transcript.length} messages, messages-lint --lsp ${native.length}`);
  const differ = transcript.findIndex((m, i) => m !== native[i]);
  if (differ >= 0 && differ < native.length) fail(`message ${differ} differs:\n  ${label}: ${transcript[differ]}\n  messages-lint --lsp: ${native[differ]}`);
  console.log(`${label}: ${transcript.length} messages, each the same as messages-lint --lsp sent`);
  transcript = null;
  await figures(label);
}

if (failures) {
  console.error(`${failures} failures`);
  process.exit(1);
}
console.log("lsp client test: all checks passed");
