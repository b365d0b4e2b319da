// A file's bytes as the editor's text. A byte that begins no character (the checker says which)
// stands in the text as one character of the private use area, U+E000 plus the byte, which a
// widget draws as the byte's escape. That text is never saved: such a file is read-only until
// it is converted.
import { Decoration, WidgetType } from "@codemirror/view";

const STRAY_BASE = 0xe000;

class StrayByte extends WidgetType {
  constructor(byte) {
    super();
    this.byte = byte;
  }
  eq(other) {
    return other.byte === this.byte;
  }
  toDOM() {
    const span = document.createElement("span");
    span.className = "cm-strayByte";
    span.textContent = `\\x{${this.byte.toString(16).padStart(2, "0")}}`;
    span.title = "байт, который не начинает символ UTF-8";
    return span;
  }
}

// The text of `bytes` for the editor, and the escapes of the bytes that begin no character:
// `marks` has 1 for each of them (checker.open). Only runs of whole characters are decoded, and
// `fatal` makes a slip here an error, never a U+FFFD.
export function textOf(bytes, marks) {
  const decoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });
  if (!marks.includes(1)) return { text: decoder.decode(bytes), strays: Decoration.none };
  const parts = [], ranges = [];
  let run = 0, position = 0;
  const flush = (to) => {
    if (to > run) {
      const part = decoder.decode(bytes.subarray(run, to));
      parts.push(part);
      // The editor's text holds a CRLF as one line break.
      position += part.length - (part.match(/\r\n/g)?.length ?? 0);
    }
  };
  for (let at = 0; at < bytes.length; at++) {
    if (marks[at] === 0) continue;
    flush(at);
    parts.push(String.fromCharCode(STRAY_BASE + bytes[at]));
    ranges.push(Decoration.replace({ widget: new StrayByte(bytes[at]) }).range(position, position + 1));
    position += 1;
    run = at + 1;
  }
  flush(bytes.length);
  return { text: parts.join(""), strays: Decoration.set(ranges) };
}

// The one change that turns the editor's text `old` into `text`: their common start and end
// kept, so that the cursor and the marks stay where they were (never between the two halves of
// a character outside the Basic Multilingual Plane).
export function changeBetween(old, text) {
  const limit = Math.min(old.length, text.length);
  let start = 0;
  while (start < limit && old.charCodeAt(start) === text.charCodeAt(start)) start++;
  if (start > 0 && (old.charCodeAt(start - 1) & 0xfc00) === 0xd800) start--;
  let end = 0;
  while (end < limit - start && old.charCodeAt(old.length - 1 - end) === text.charCodeAt(text.length - 1 - end)) end++;
  if (end > 0 && (old.charCodeAt(old.length - end) & 0xfc00) === 0xdc00) end--;
  return { from: start, to: old.length - end, insert: text.slice(start, text.length - end) };
}
