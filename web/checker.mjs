// The WebAssembly draft checker as a JavaScript object, for the page and its Node test alike.
// The module imports three WASI functions (fd_write, fd_seek, fd_close), which it only reaches
// when the C++ library reports a fatal error; wasi_host.mjs provides them, so neither the page
// nor the test needs a WASI runtime.

import { wasiImports } from "../src/blocks/wasi_host/wasi_host.mjs";
import { clockZone } from "../src/blocks/clock_zone/clock_zone.mjs";

export { clockZone };

// `module`: the module's bytes, or a Response that streams them (compiled as they arrive).
// `report(text)`: where the module's own error output goes. `zone`: the author's (clockZone()).
export async function createChecker(module, report = (text) => console.error(text), zone = clockZone()) {
  let memory = null;
  // Its results reach the editor (a recoded document) and the page (the report): they are UTF-8
  // by construction, and anything else is refused rather than quietly replaced.
  const decoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });
  const wasi = wasiImports(() => memory, report);
  const imports = { wasi_snapshot_preview1: wasi };
  const { instance } = typeof Response !== "undefined" && module instanceof Response
    ? await WebAssembly.instantiateStreaming(module, imports)
    : await WebAssembly.instantiate(module, imports);
  const exports = instance.exports;
  memory = exports.memory;
  exports._initialize();

  const encoder = new TextEncoder();
  // Copies `data` into a fresh block of the module's memory.
  const copyIn = (data) => {
    const at = exports.mt_alloc(data.length);
    if (at === 0) throw new Error("messages-lint: не хватило памяти");
    new Uint8Array(memory.buffer, at, data.length).set(data);
    return at;
  };

  // The text of the block whose address and length the module stored at `out`; frees the block.
  const takeResult = (out) => {
    const view = new DataView(memory.buffer);
    const at = view.getUint32(out, true);
    const text = decoder.decode(new Uint8Array(memory.buffer, at, view.getUint32(out + 4, true)));
    exports.mt_free(at);
    return text;
  };

  // Checks `document` (a Uint8Array: a whole file, or the start of a longer file of `length`
  // bytes) named `name` at `now` (Unix seconds, a BigInt), as the command line checks a file:
  // from no more than one byte past the size limit, which is enough to find it too large.
  // Returns {problems, page, messages, outline, hints, shown_name, limits} as the module gives them.
  // The zone stays in the module's memory for as long as the checker lives.
  const zoneNameBytes = encoder.encode(zone.name);
  const zoneName = copyIn(zoneNameBytes);
  const zoneSpans = copyIn(new Uint8Array(zone.spans.buffer, zone.spans.byteOffset, zone.spans.byteLength));

  let cap = Infinity; // the size limit and one byte, once the module has said the limit
  function check(document, name, now, length = document.length) {
    if (document.length > cap) document = document.subarray(0, cap);
    const nameBytes = encoder.encode(name);
    let doc = 0, path = 0, out = 0; // freeing 0 does nothing
    try {
      doc = copyIn(document);
      path = copyIn(nameBytes);
      out = copyIn(new Uint8Array(8));
      if (exports.mt_check(doc, document.length, BigInt(length), path, nameBytes.length, now, zoneName,
        zoneNameBytes.length, zoneSpans, zone.spans.length / 2, out) !== 0)
        throw new Error("messages-lint: не хватило памяти");
      return JSON.parse(takeResult(out));
    } finally {
      exports.mt_free(out);
      exports.mt_free(path);
      exports.mt_free(doc);
    }
  }
  // The UTF-8 text of `document` (a Uint8Array) when the lint core reads it as a Windows-1251
  // document that is not UTF-8; otherwise null.
  function recode(document) {
    let doc = 0, out = 0;
    try {
      doc = copyIn(document);
      out = copyIn(new Uint8Array(8));
      const status = exports.mt_recode(doc, document.length, out);
      if (status === 2) return null;
      if (status !== 0) throw new Error("messages-lint: не хватило памяти");
      return JSON.parse(takeResult(out));
    } finally {
      exports.mt_free(out);
      exports.mt_free(doc);
    }
  }
  // `document` (a Uint8Array) fixed in rounds, as `messages-lint --fix` fixes a file (with
  // `unsafe`, as --unsafe-fixes): {document: the fixed bytes, count: how many fixes were made,
  // announce: the page's words for that}.
  function fix(document, unsafe = false) {
    let doc = 0, out = 0;
    try {
      doc = copyIn(document);
      out = copyIn(new Uint8Array(20));
      if (exports.mt_fix(doc, document.length, unsafe ? 1 : 0, zoneName, zoneNameBytes.length, zoneSpans,
        zone.spans.length / 2, out) !== 0) throw new Error("messages-lint: не хватило памяти");
      const view = new DataView(memory.buffer);
      const at = view.getUint32(out, true);
      const fixed = new Uint8Array(memory.buffer, at, view.getUint32(out + 4, true)).slice();
      const count = view.getUint32(out + 8, true);
      exports.mt_free(at);
      return { document: fixed, count, announce: takeResult(out + 12) };
    } finally {
      exports.mt_free(out);
      exports.mt_free(doc);
    }
  }
  // What an opened file (a Uint8Array) is, as the module says: {utf8, line_end, line_end_note,
  // not_utf8_note, recoded: null or {from, text, label}, marks: a Uint8Array with 1 where a byte
  // begins no character}.
  function open(document) {
    let doc = 0, marks = 0, out = 0;
    try {
      doc = copyIn(document);
      marks = copyIn(new Uint8Array(document.length));
      out = copyIn(new Uint8Array(8));
      if (exports.mt_open(doc, document.length, marks, out) !== 0) throw new Error("messages-lint: не хватило памяти");
      const opened = JSON.parse(takeResult(out));
      opened.marks = new Uint8Array(memory.buffer, marks, document.length).slice();
      return opened;
    } finally {
      exports.mt_free(out);
      exports.mt_free(marks);
      exports.mt_free(doc);
    }
  }
  // What the editor offers to write at [line, character] of `document` (a Uint8Array) at `now`
  // (a BigInt): {from, to: the places it writes over, options: [{label, filter, detail, info,
  // apply: the plain text, snippet: the same with tab stops ("" when none), type}]}.
  function complete(document, [line, character], now) {
    let doc = 0, out = 0;
    try {
      doc = copyIn(document);
      out = copyIn(new Uint8Array(8));
      if (exports.mt_complete(doc, document.length, line, character, now, zoneName, zoneNameBytes.length, zoneSpans,
        zone.spans.length / 2, out) !== 0) throw new Error("messages-lint: не хватило памяти");
      return JSON.parse(takeResult(out));
    } finally {
      exports.mt_free(out);
      exports.mt_free(doc);
    }
  }
  // The new message after the last one of `document` (a Uint8Array) at `now` (a BigInt), written
  // as its neighbours are: {label, changes: [{from, to, insert}], cursor: the place in its title
  // once it is in}, or null when the draft has no list of messages.
  function newMessage(document, now) {
    let doc = 0, out = 0;
    try {
      doc = copyIn(document);
      out = copyIn(new Uint8Array(8));
      if (exports.mt_new_message(doc, document.length, now, zoneName, zoneNameBytes.length, zoneSpans,
        zone.spans.length / 2, out) !== 0) throw new Error("messages-lint: не хватило памяти");
      return JSON.parse(takeResult(out));
    } finally {
      exports.mt_free(out);
      exports.mt_free(doc);
    }
  }
  // The limits the module checks against: {title_chars, body_chars, messages, bytes (a feed's),
  // draft_bytes (the most a draft is read and fixed up to)}.
  const limits = check(new Uint8Array(0), "", 0n).limits;
  cap = limits.bytes + 1;
  return { check, recode, fix, open, complete, newMessage, limits };
}
