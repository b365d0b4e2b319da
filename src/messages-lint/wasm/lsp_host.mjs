// The host of the language server's WebAssembly module (messages-lint-lsp.wasm): one session of
// `messages-lint --lsp` inside the module, fed the client's bytes, giving back the bytes for the
// client and the lines for the log. The launcher (messages-lint-lsp.mjs, over standard input
// and output) and the web worker (lsp_worker.mjs) are its two users; neither needs a WASI
// runtime (wasi_host.mjs supplies what the module imports; the C++ library's own fatal errors
// go to the log).

import { wasiImports } from "../../blocks/wasi_host/wasi_host.mjs";
import { clockZone } from "../../blocks/clock_zone/clock_zone.mjs";

// Starts a session. `module`: the module's bytes (or a compiled WebAssembly.Module).
// Options as the command line's: `warnings` (false as --no-warnings), `now` (Unix seconds, as
// --now; null: the clock at each check), `zone` the one a date without a zone is read in and the
// hints and the new message's window are on (this clock's, as the command line takes the
// system's). `log(text)` receives the log's lines.
// Returns {feed(bytes), finish(), ended(), exitStatus(), memoryBytes(), stop()}: feed takes a
// Uint8Array of the client's bytes and returns a Uint8Array of framed messages for the client.
export async function startServer(module, { warnings = true, now = null, zone = clockZone(), log = () => {} } = {}) {
  let memory = null;
  const logDecoder = new TextDecoder();
  const wasi = wasiImports(() => memory, log);
  const compiled = module instanceof WebAssembly.Module ? module : await WebAssembly.compile(module);
  // A module that wants anything else was built against more of the system than this host gives.
  const missing = WebAssembly.Module.imports(compiled).filter((i) => i.module !== "wasi_snapshot_preview1" || !(i.name in wasi));
  if (missing.length) throw new Error(`messages-lint: модуль ждёт ${missing.map((i) => `${i.module}.${i.name}`).join(", ")}`);
  const instance = await WebAssembly.instantiate(compiled, { wasi_snapshot_preview1: wasi });
  const exports = instance.exports;
  memory = exports.memory;
  exports._initialize();

  // The zone's name and table, copied in for the session, which keeps its own copy.
  const zoneName = new TextEncoder().encode(zone.name);
  const spanBytes = new Uint8Array(zone.spans.buffer, zone.spans.byteOffset, zone.spans.byteLength);
  const copied = [zoneName, spanBytes].map((bytes) => {
    const at = exports.mt_alloc(bytes.length);
    if (at === 0) throw new Error("messages-lint: не хватило памяти");
    new Uint8Array(memory.buffer, at, bytes.length).set(bytes);
    return at;
  });
  const session = exports.mt_lsp_start(warnings ? 1 : 0, now === null ? 0 : 1, BigInt(now ?? 0),
    copied[0], zoneName.length, copied[1], zone.spans.length / 2);
  for (const at of copied) exports.mt_free(at);
  if (session === 0) throw new Error("messages-lint: не хватило памяти");
  const result = exports.mt_alloc(12);
  if (result === 0) throw new Error("messages-lint: не хватило памяти");

  // What one call of the session gave: the messages for the client, returned; the log, sent on.
  function take(status) {
    if (status !== 0) throw new Error("messages-lint: не хватило памяти");
    const view = new DataView(memory.buffer);
    const at = view.getUint32(result, true);
    const protocol = view.getUint32(result + 4, true);
    const logged = view.getUint32(result + 8, true);
    const out = new Uint8Array(memory.buffer, at, protocol).slice();
    if (logged > 0) log(logDecoder.decode(new Uint8Array(memory.buffer, at + protocol, logged)));
    exports.mt_free(at);
    return out;
  }

  return {
    feed(bytes) {
      if (bytes.length === 0) return new Uint8Array(0);
      const at = exports.mt_alloc(bytes.length);
      if (at === 0) throw new Error("messages-lint: не хватило памяти");
      try {
        new Uint8Array(memory.buffer, at, bytes.length).set(bytes);
        return take(exports.mt_lsp_feed(session, at, bytes.length, result));
      } finally {
        exports.mt_free(at);
      }
    },
    finish: () => take(exports.mt_lsp_finish(session, result)),
    ended: () => exports.mt_lsp_ended(session) === 1,
    exitStatus: () => exports.mt_lsp_exit_status(session),
    // The module's whole linear memory: what the server costs its host.
    memoryBytes: () => memory.buffer.byteLength,
    stop() {
      exports.mt_lsp_stop(session);
      exports.mt_free(result);
    },
  };
}

const encoder = new TextEncoder();
const decoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });

// One message framed as the protocol frames it, from its JSON text.
export function frame(body) {
  const bytes = encoder.encode(body);
  const header = encoder.encode(`Content-Length: ${bytes.length}\r\n\r\n`);
  const out = new Uint8Array(header.length + bytes.length);
  out.set(header);
  out.set(bytes, header.length);
  return out;
}

// The bodies of the server's framed messages, as JSON texts. The server writes one header,
// Content-Length, and whole messages in every answer, so an answer splits exactly.
export function bodies(bytes) {
  const out = [];
  let at = 0;
  while (at < bytes.length) {
    let end = at;
    while (end + 3 < bytes.length && !(bytes[end] === 13 && bytes[end + 1] === 10 && bytes[end + 2] === 13 && bytes[end + 3] === 10)) end++;
    const header = decoder.decode(bytes.subarray(at, end));
    const length = Number(/^Content-Length: (\d+)$/.exec(header)?.[1]);
    if (!Number.isSafeInteger(length) || end + 4 + length > bytes.length) throw new Error(`messages-lint: кадр сервера не читается: ${header}`);
    out.push(decoder.decode(bytes.subarray(end + 4, end + 4 + length)));
    at = end + 4 + length;
  }
  return out;
}
