// The authors' page: a CodeMirror editor over the draft, the WebAssembly checker run on every
// change, and what it reports shown beside the text. Every problem, note, fix, line, column and
// length comes from the checker; this file only places them on the screen and applies the fixes
// the author chooses, each as one undoable step.
//
// The author's bytes are the truth: an opened file is checked and saved exactly as it is until
// the author edits it; then the editor's text is, in UTF-8 with the file's own line end. A file
// that is not UTF-8 is shown read-only, each byte that begins no character drawn as its escape,
// and cannot be saved, until the author converts it with the checker's decoding.
import { EditorState, StateEffect, StateField } from "@codemirror/state";
import {
  Decoration, EditorView, WidgetType, keymap, lineNumbers, highlightSpecialChars, highlightActiveLine,
  highlightActiveLineGutter, drawSelection,
} from "@codemirror/view";
import { defaultKeymap, history, historyKeymap, invertedEffects, isolateHistory } from "@codemirror/commands";
import { json } from "@codemirror/lang-json";
import { bracketMatching, syntaxHighlighting, defaultHighlightStyle } from "@codemirror/language";
import { forEachDiagnostic, forceLinting, linter, lintGutter, openLintPanel } from "@codemirror/lint";

// How long typing may pause before the draft is checked again.
const DEBOUNCE_MS = 150;
// The largest file the page opens: the whole of it is kept, so that an author can shorten a
// draft that is over the feed's limit.
const MAX_OPEN_BYTES = 16 * 1024 * 1024;
// The convert action's label, naming the code page the checker read the file in.
const convertLabel = (recoded) => `Перекодировать из ${recoded.from} в UTF-8`;
const FIXES = { one: "исправление", few: "исправления", many: "исправлений" };

const $ = (id) => document.getElementById(id);
const plural = new Intl.PluralRules("ru-RU");
const count = (n, forms) => `${n} ${forms[plural.select(n)]}`;
const PROBLEMS = { one: "проблема", few: "проблемы", many: "проблем" };
const WARNINGS = { one: "предупреждение", few: "предупреждения", many: "предупреждений" };
const LINES = { one: "строка", few: "строки", many: "строк" };
const zone = Intl.DateTimeFormat().resolvedOptions().timeZone;
const dateFormat = new Intl.DateTimeFormat("ru-RU", {
  year: "numeric", month: "long", day: "numeric", hour: "2-digit", minute: "2-digit", second: "2-digit", timeZoneName: "short",
});
const LINE_END_NAMES = { "\n": "LF", "\r\n": "CRLF", "\r": "CR" };

// The length of the UTF-8 sequence that begins at `at`, or 0 when the byte there begins none
// (a stray continuation byte, an overlong form, a surrogate, past U+10FFFF, or cut short).
function sequenceLength(bytes, at) {
  const b = bytes[at];
  if (b < 0x80) return 1;
  let length, min, max = 0xbf;
  if (b >= 0xc2 && b <= 0xdf) length = 2;
  else if (b >= 0xe0 && b <= 0xef) length = 3;
  else if (b >= 0xf0 && b <= 0xf4) length = 4;
  else return 0;
  // The second byte's range excludes overlong forms, surrogates and code points past U+10FFFF.
  min = b === 0xe0 ? 0xa0 : b === 0xf0 ? 0x90 : 0x80;
  if (b === 0xed) max = 0x9f;
  else if (b === 0xf4) max = 0x8f;
  if (at + length > bytes.length || bytes[at + 1] < min || bytes[at + 1] > max) return 0;
  for (let i = 2; i < length; i++) if ((bytes[at + i] & 0xc0) !== 0x80) return 0;
  return length;
}

// A byte that begins no character stands in the editor's text as one character of the private
// use area, U+E000 plus the byte, which a widget draws as the byte's escape. The text is never
// saved: such a file is read-only until converted.
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

// The text of `bytes` for the editor, and the escapes of the bytes that begin no character.
function textOf(bytes) {
  try {
    return { text: new TextDecoder("utf-8", { fatal: true, ignoreBOM: true }).decode(bytes), strays: Decoration.none };
  } catch {
    const parts = [], marks = [];
    // Only runs of whole characters are decoded; `fatal` makes a slip here an error, never a U+FFFD.
    const decoder = new TextDecoder("utf-8", { fatal: true, ignoreBOM: true });
    let at = 0, run = 0, position = 0;
    const flush = (to) => {
      if (to > run) {
        const part = decoder.decode(bytes.subarray(run, to));
        parts.push(part);
        // The editor's text holds a CRLF as one line break.
        position += part.length - (part.match(/\r\n/g)?.length ?? 0);
      }
    };
    while (at < bytes.length) {
      const length = sequenceLength(bytes, at);
      if (length > 0) {
        at += length;
        continue;
      }
      flush(at);
      parts.push(String.fromCharCode(STRAY_BASE + bytes[at]));
      marks.push(Decoration.replace({ widget: new StrayByte(bytes[at]) }).range(position, position + 1));
      position += 1;
      at += 1;
      run = at;
    }
    flush(at);
    return { text: parts.join(""), strays: Decoration.set(marks) };
  }
}

// The editor positions of byte offsets in `bytes`, found in one pass: a character counts its
// UTF-16 units, a byte that begins none counts one (its stray character), and a line end
// counts one whatever the file holds, as in the editor's text.
function positionsOf(bytes, offsets) {
  const order = offsets.map((_, i) => i).sort((a, b) => offsets[a] - offsets[b]);
  const positions = new Array(offsets.length);
  let at = 0, position = 0;
  for (const i of order) {
    const to = Math.min(offsets[i], bytes.length);
    while (at < to) {
      const n = sequenceLength(bytes, at);
      if (n === 0) {
        position += 1;
        at += 1;
      } else {
        if (!(bytes[at] === 0x0a && at > 0 && bytes[at - 1] === 0x0d)) position += n === 4 ? 2 : 1;
        at += n;
      }
    }
    positions[i] = position;
  }
  return positions;
}

// The line ends of `bytes`: how many of each, and the one to keep, the most used (LF when none).
function lineEndsOf(bytes) {
  const counts = { "\n": 0, "\r\n": 0, "\r": 0 };
  for (let i = 0; i < bytes.length; i++) {
    if (bytes[i] === 0x0d) {
      if (bytes[i + 1] === 0x0a) {
        counts["\r\n"]++;
        i++;
      } else {
        counts["\r"]++;
      }
    } else if (bytes[i] === 0x0a) {
      counts["\n"]++;
    }
  }
  const lineEnd = Object.keys(counts).reduce((best, end) => (counts[end] > counts[best] ? end : best), "\n");
  const kinds = Object.values(counts).filter((n) => n > 0).length;
  return { counts, lineEnd, mixed: kinds > 1 };
}

// What the editor holds. `bytes`: the opened file's whole bytes while they are what is checked
// and saved (until the first edit), else null. `opened`: what the page says of the file.
// `lineEnd`, `counts`, `mixed`: its line end (lineEndsOf). `utf8`: whether the text is the
// file's (false for a file that is not UTF-8, which takes no edit). `recoded`: the code page the
// checker reads the file in and the text it reads, {from, text}, when it is certain of one. `strays`: the escapes drawn over
// the text of a file that is not UTF-8.
const EMPTY_SOURCE = {
  bytes: null, opened: "", lineEnd: "\n", counts: null, mixed: false, utf8: true, recoded: null, strays: Decoration.none,
};
const setSource = StateEffect.define();
const sourceField = StateField.define({
  create: () => EMPTY_SOURCE,
  update(value, tr) {
    const set = tr.effects.filter((e) => e.is(setSource));
    if (set.length > 0) return set[set.length - 1].value;
    // The first edit ends checking the opened file's exact bytes.
    if (tr.docChanged && value.bytes) return { ...value, bytes: null };
    return value;
  },
  provide: (field) => [
    EditorView.decorations.from(field, (source) => source.strays),
    EditorView.contentAttributes.from(field, (source) => (source.utf8 ? {} : { "aria-readonly": "true" })),
  ],
});
// A file that is not UTF-8 takes no edit but its conversion, and undo and redo of it. (Not the
// editor's read-only state, in which undo and redo do nothing.)
const strayGuard = EditorState.changeFilter.of((tr) =>
  tr.startState.field(sourceField).utf8 || tr.effects.some((e) => e.is(setSource)));
// Undo and redo bring back what the editor held with the text: undoing the first edit checks
// the file's bytes again, undoing a conversion shows the file as it was.
const sourceHistory = invertedEffects.of((tr) => {
  const before = tr.startState.field(sourceField);
  return before !== tr.state.field(sourceField) ? [setSource.of(before)] : [];
});
// Asks for a check now, though the text did not change (another file name).
const recheck = StateEffect.define();

// The bytes the checker sees and Save writes: the opened file as it is, or the editor's text
// in UTF-8 with the file's line end.
function currentBytes(state) {
  const source = state.field(sourceField);
  return source.bytes ?? new TextEncoder().encode(state.doc.sliceString(0, state.doc.length, source.lineEnd));
}

// A fix's button: a safe fix by its title, an unsafe one offered as a suggestion.
const fixLabel = (fix) => (fix.safe ? fix.title : `предложение: ${fix.title}`);

// Makes a fix as one undoable step: `changes` are relative to `at`, the problem's place now, so
// that the fix applies where the editor has moved the problem since its check (as the lint
// package's own actions do). The cursor goes to the end of the first change.
function applyFix(view, at, changes) {
  const length = view.state.doc.length;
  const clamp = (n) => Math.max(0, Math.min(length, at + n));
  const specs = changes.map((c) => ({ from: clamp(c.from), to: clamp(c.to), insert: c.insert }));
  const set = view.state.changes(specs);
  view.dispatch({
    changes: set, selection: { anchor: set.mapPos(specs[0].to, 1) }, scrollIntoView: true,
    annotations: isolateHistory.of("full"), userEvent: "input.fix",
  });
  view.focus();
}

// The one change that turns the editor's text `old` into `text`: their common start and end
// kept, so that the cursor and the marks stay where they were (never between the two halves of
// a character outside the Basic Multilingual Plane).
function changeBetween(old, text) {
  const limit = Math.min(old.length, text.length);
  let start = 0;
  while (start < limit && old.charCodeAt(start) === text.charCodeAt(start)) start++;
  if (start > 0 && (old.charCodeAt(start - 1) & 0xfc00) === 0xd800) start--;
  let end = 0;
  while (end < limit - start && old.charCodeAt(old.length - 1 - end) === text.charCodeAt(text.length - 1 - end)) end++;
  if (end > 0 && (old.charCodeAt(old.length - end) & 0xfc00) === 0xdc00) end--;
  return { from: start, to: old.length - end, insert: text.slice(start, text.length - end) };
}

// The problem's span in bytes: its shown place (where the list's LINE:COLUMN is) to its end, or
// its byte and one character when the checker gives no span.
const spanOf = (p) => [p.start_byte_offset ?? p.byte_offset, p.end_byte_offset ?? null];

// Before a problem found past the first error (where the application stops reading), as the
// command line and the editors list it.
const laterWords = (problem) => (problem.after_first_error ? "после первой ошибки: " : "");

function diagnosticOf(problem, from, to, state, actions) {
  if (to === null || to <= from) {
    const line = state.doc.lineAt(from);
    to = from < line.to ? from + 1 : from;
  }
  const notes = problem.notes.map((n) => `\nпримечание: ${n}`).join("");
  return {
    from, to, severity: problem.severity, source: "messages-lint", message: laterWords(problem) + problem.text + notes, actions,
  };
}

function verdictOf(problems, empty) {
  if (empty) return { kind: "empty", text: "Вставьте, наберите или откройте черновик ленты." };
  const errors = problems.filter((p) => p.severity === "error").length;
  const warnings = problems.length - errors;
  const tail = warnings > 0 ? `; ${count(warnings, WARNINGS)}` : "";
  return errors === 0
    ? { kind: "ok", text: `Проблем нет: лента будет принята, когда её подпишут${tail}.` }
    : { kind: "bad", text: `${count(errors, PROBLEMS)}: лента не будет принята${tail}.` };
}

// The verdict line changes with every check; screen readers hear it (the live region
// #announce) only when the verdict does.
function showVerdict({ kind, text }) {
  const verdict = $("verdict");
  if (verdict.dataset.kind !== kind) $("announce").textContent = text;
  verdict.dataset.kind = kind;
  verdict.className = `verdict ${kind}`;
  verdict.textContent = text;
}

function showSource(source) {
  $("source").textContent = source.bytes || !source.opened ? source.opened : "Изменено: проверяется текст редактора в UTF-8.";
}

// Puts the cursor at a place, in view.
function choose(view, position) {
  view.dispatch({ selection: { anchor: position }, scrollIntoView: true });
  view.focus();
}

// Where a diagnostic starts now: the editor maps it through the edits made since the check.
function placeOf(view, diagnostic) {
  let place = Math.min(diagnostic.from, view.state.doc.length);
  forEachDiagnostic(view.state, (d, from) => {
    if (d === diagnostic) place = from;
  });
  return place;
}

function showProblems(view, problems, diagnostics, convert, fixes) {
  const list = $("problems");
  list.replaceChildren();
  problems.forEach((p, i) => {
    const item = document.createElement("li");
    item.className = p.severity;
    const go = document.createElement("button");
    go.type = "button";
    const where = document.createElement("span");
    where.className = "where";
    where.textContent = `${p.line}:${p.column}`;
    go.append(where, " ", laterWords(p), p.severity === "warning" ? "предупреждение: " : "", p.text);
    go.addEventListener("click", () => choose(view, placeOf(view, diagnostics[i])));
    go.id = `problem-${i}`;
    item.append(go);
    if (p.notes.length > 0) {
      const notes = document.createElement("ul");
      notes.className = "notes";
      notes.id = `notes-${i}`;
      go.setAttribute("aria-describedby", notes.id);
      for (const n of p.notes) {
        const note = document.createElement("li");
        note.textContent = `примечание: ${n}`;
        notes.append(note);
      }
      item.append(notes);
    }
    if (fixes[i]) {
      const box = document.createElement("div");
      box.className = "fixes";
      const action = document.createElement("button");
      action.type = "button";
      action.className = fixes[i].safe ? "action" : "action suggestion";
      action.textContent = fixes[i].name;
      action.setAttribute("aria-describedby", go.id);
      action.addEventListener("click", () => applyFix(view, placeOf(view, diagnostics[i]), fixes[i].changes));
      box.append(action);
      item.append(box);
    }
    if (convert && i === 0) {
      const action = document.createElement("button");
      action.type = "button";
      action.className = "action";
      action.textContent = convertLabel(view.state.field(sourceField).recoded);
      action.addEventListener("click", () => convert(view));
      item.append(action);
    }
    list.append(item);
  });
}

// A time as the document writes it, and as a date where one exists.
function timeOf(decimal) {
  const seconds = BigInt(decimal);
  const limit = 8640000000000n; // the range of a JavaScript date, in seconds
  return seconds >= -limit && seconds <= limit ? dateFormat.format(new Date(Number(seconds) * 1000)) : "вне диапазона дат";
}

function showMessages(messages, limits) {
  const list = $("messages");
  list.replaceChildren();
  for (const m of messages) {
    const item = document.createElement("li");
    const fields = document.createElement("dl");
    const add = (term, value, over = false) => {
      const dt = document.createElement("dt");
      dt.textContent = term;
      const dd = document.createElement("dd");
      dd.textContent = value;
      if (over) dd.className = "over";
      fields.append(dt, dd);
    };
    add("id", m.id);
    add("приоритет", String(m.priority));
    add(`заголовок (${m.title_chars} из ${limits.title_chars} символов)`, m.title, m.title_chars > limits.title_chars);
    add(`текст (${m.body_chars} из ${limits.body_chars} символов)`, m.body, m.body_chars > limits.body_chars);
    add("действие", m.cta ?? "нет");
    add("показ с", `${timeOf(m.start_at)} (start_at: ${m.start_at_text})`);
    add("показ до", `${timeOf(m.end_at)} (end_at: ${m.end_at_text})`);
    add("версии", `${m.minVersion ?? "любая"} … ${m.maxVersion ?? "любая"}`);
    item.append(fields);
    list.append(item);
  }
}

// Whether Save can write the text, and what the author should know before saving.
function showSave(source) {
  $("save").disabled = !source.utf8;
  let note = "";
  if (!source.utf8) {
    note = "Сохранить нельзя: файл не в UTF-8 (байты, которые не читаются как UTF-8, показаны как \\x{..}), "
      + "а сама страница не меняет в нём ни байта. "
      + (source.recoded !== null ? `Его можно перекодировать кнопкой «${convertLabel(source.recoded)}» у проблемы.`
        : "Сохраните его в UTF-8 в своём редакторе и откройте снова.");
  } else if (source.mixed) {
    const parts = Object.entries(source.counts).filter(([, n]) => n > 0)
      .map(([end, n]) => `${LINE_END_NAMES[end]} — ${count(n, LINES)}`);
    note = `Концы строк в файле разные (${parts.join(", ")}): после правки все будут `
      + `${LINE_END_NAMES[source.lineEnd]}, как в большинстве строк.`;
  }
  $("save-note").textContent = note;
}

// Where the cursor is, counted as the list counts: the line, and 1 plus the characters before
// it on the line.
function showCursor(state) {
  const head = state.selection.main.head;
  const line = state.doc.lineAt(head);
  $("cursor").textContent = `${line.number}:${[...line.text.slice(0, head - line.from)].length + 1}`;
}

// The time ended windows are judged against: the clock, or a fixed `?now=SECONDS` in the page's
// address (as messages-lint's --now), for tests and reproducible checks.
const fixedNow = /^-?[0-9]{1,18}$/.test(new URLSearchParams(location.search).get("now") ?? "")
  ? BigInt(new URLSearchParams(location.search).get("now"))
  : null;
const now = () => fixedNow ?? BigInt(Math.floor(Date.now() / 1000));

function start(checker) {
  // The text as last opened or saved, to ask before it is lost.
  let saved = null;

  const convert = (view) => {
    const source = view.state.field(sourceField);
    view.dispatch({
      changes: { from: 0, to: view.state.doc.length, insert: source.recoded.text },
      effects: setSource.of({ ...source, bytes: null, utf8: true, strays: Decoration.none }),
      annotations: isolateHistory.of("full"),
      userEvent: "input.recode",
    });
    view.focus();
  };

  // Every safe fix, in rounds, as `messages-lint --fix` makes them: the module fixes the bytes
  // Save would write, and the editor's text becomes the fixed document in one undoable step.
  const fixAll = (view) => {
    const state = view.state;
    if (!state.field(sourceField).utf8) return;
    const fixed = checker.fix(currentBytes(state));
    const { text, strays } = textOf(fixed.document);
    if (fixed.count === 0 || strays !== Decoration.none) return;
    view.dispatch({
      changes: changeBetween(state.doc.toString(), text.replace(/\r\n?/g, "\n")), scrollIntoView: true,
      annotations: isolateHistory.of("full"), userEvent: "input.fix",
    });
    $("announce").textContent = `Сделано ${count(fixed.count, FIXES)}; отменить их — Ctrl+Z (⌘Z на Mac).`;
    view.focus();
  };

  const check = (view) => {
    const state = view.state;
    const source = state.field(sourceField);
    const bytes = currentBytes(state);
    const begin = performance.now();
    const result = checker.check(bytes, $("name").value, now());
    const took = performance.now() - begin;
    // An empty editor is no draft yet: it gets a hint rather than the reader's error on no input.
    const problems = bytes.length === 0 ? [] : result.problems;
    const spans = problems.map(spanOf);
    // A file that is not UTF-8 takes no fix but its conversion.
    const edits = problems.map((p) => (source.utf8 && p.fix ? p.fix.edits : []));
    const offsets = [...spans.flat().filter((o) => o !== null), ...edits.flat().flatMap((e) => [e.begin, e.end])];
    const found = positionsOf(bytes, offsets);
    const positions = new Map(offsets.map((o, i) => [o, found[i]]));
    const starts = spans.map(([from]) => positions.get(from));
    const offer = source.recoded !== null && !source.utf8 ? convert : null;
    const fixes = problems.map((p, i) => (edits[i].length === 0 ? null : {
      name: fixLabel(p.fix), safe: p.fix.safe,
      changes: edits[i].map((e) => ({
        from: positions.get(e.begin) - starts[i], to: positions.get(e.end) - starts[i], insert: e.replacement,
      })),
    }));
    const actionsOf = (i) => {
      if (offer && i === 0) return [{ name: convertLabel(source.recoded), apply: (v) => convert(v) }];
      if (fixes[i]) return [{ name: fixes[i].name, apply: (v, from) => applyFix(v, from, fixes[i].changes) }];
      return undefined;
    };
    const diagnostics = problems.map((p, i) => diagnosticOf(
      p, starts[i], spans[i][1] === null ? null : positions.get(spans[i][1]), state, actionsOf(i)));
    showVerdict(verdictOf(problems, bytes.length === 0));
    showProblems(view, problems, diagnostics, offer, fixes);
    // Offered exactly when it would change the text: judged by the fixing itself, which also
    // repairs what no listed problem offers alone (a mistake the fix of an earlier one uncovers).
    const fixable = source.utf8 && problems.length > 0 && checker.fix(bytes).count > 0;
    $("fix-all").hidden = $("fix-all-hint").hidden = !fixable;
    showMessages(result.messages, result.limits);
    document.body.dataset.checkMs = took.toFixed(3);
    document.body.dataset.checks = String(Number(document.body.dataset.checks ?? 0) + 1);
    return diagnostics;
  };

  // F8 and Shift+F8: the next or previous problem after the cursor, the cursor at its shown place.
  const step = (forward) => (view) => {
    const starts = [];
    forEachDiagnostic(view.state, (_, from) => starts.push(from));
    if (starts.length === 0) return false;
    const head = view.state.selection.main.head;
    const next = forward
      ? starts.find((from) => from > head) ?? starts[0]
      : starts.findLast((from) => from < head) ?? starts[starts.length - 1];
    choose(view, next);
    return true;
  };

  const extensions = [
    sourceField, sourceHistory, strayGuard,
    lineNumbers(), highlightActiveLineGutter(), highlightSpecialChars(), history(), drawSelection(),
    bracketMatching(), highlightActiveLine(), syntaxHighlighting(defaultHighlightStyle), json(),
    linter(check, { delay: DEBOUNCE_MS, needsRefresh: (u) => u.transactions.some((t) => t.effects.some((e) => e.is(recheck))) }),
    lintGutter(),
    EditorView.lineWrapping,
    EditorView.theme({
      "&": { height: "70vh", border: "1px solid #8884" },
      ".cm-scroller": { fontFamily: 'ui-monospace, "SF Mono", Menlo, Consolas, monospace' },
      // The lint package draws its marks with SVG images in data: URLs, which the page's
      // policy refuses like any other image; the same marks in plain CSS.
      ".cm-lintRange": { backgroundImage: "none", textDecoration: "underline wavy", textDecorationSkipInk: "none" },
      ".cm-lintRange-error": { textDecorationColor: "#e11" },
      ".cm-lintRange-warning": { textDecorationColor: "orange" },
      ".cm-lint-marker": { content: "normal", borderRadius: "50%", transform: "scale(.7)" },
      ".cm-lint-marker-error": { background: "#f43" },
      ".cm-lint-marker-warning": { background: "orange", borderRadius: "0" },
      ".cm-strayByte": { color: "#b3261e", border: "1px solid currentColor", borderRadius: "3px", padding: "0 1px" },
    }),
    keymap.of([
      { key: "F8", run: step(true) }, { key: "Shift-F8", run: step(false) },
      { key: "Mod-Shift-m", run: openLintPanel, preventDefault: true },
      ...defaultKeymap, ...historyKeymap,
    ]),
    EditorView.contentAttributes.of({ "aria-label": "Текст ленты" }),
    // The editor's own words, which screen readers say and tooltips show, in Russian too.
    EditorState.phrases.of({
      "Control character": "Управляющий символ",
      "Diagnostics": "Проблемы в тексте",
      "No diagnostics": "Проблем нет",
      "Selection deleted": "Выделенное удалено",
      "close": "закрыть",
    }),
    EditorView.updateListener.of((update) => {
      const source = update.state.field(sourceField);
      if (update.startState.field(sourceField) !== source) {
        showSave(source);
        showSource(source);
      }
      if (update.selectionSet || update.docChanged) showCursor(update.state);
    }),
  ];

  // The editor lives in a shadow root: CodeMirror then gives its styles to the browser as
  // constructed style sheets, which the page's policy allows, rather than as <style> elements,
  // which it refuses (only the page's own style is allowed, by its hash).
  const root = $("editor").attachShadow({ mode: "open" });
  const view = new EditorView({ parent: root, root, state: EditorState.create({ doc: "", extensions }) });
  saved = view.state.doc;

  // An opened file is a new editor state: its own text, source and history.
  const load = (bytes, name) => {
    const { text, strays } = textOf(bytes);
    const utf8 = strays === Decoration.none;
    // The name as problem texts show it: invisible and bidirectional controls escaped.
    const shown = checker.check(new Uint8Array(0), name, now()).shown_name;
    const what = utf8 ? "проверяются его байты как есть, до первой правки" : "он не в UTF-8 и открыт только для чтения";
    const source = {
      ...lineEndsOf(bytes), bytes, utf8, strays, recoded: utf8 ? null : checker.recode(bytes),
      opened: `Открыт файл ${shown} (${bytes.length} байт): ${what}.`,
    };
    view.setState(EditorState.create({ doc: text, extensions: [extensions, sourceField.init(() => source)] }));
    saved = view.state.doc;
    $("name").value = shown;
    showSource(source);
    showSave(source);
    showCursor(view.state);
    forceLinting(view);
  };
  const unsaved = () => !view.state.doc.eq(saved);
  const openFile = async (file) => {
    if (file.size > MAX_OPEN_BYTES) {
      const shown = checker.check(new Uint8Array(0), file.name, now()).shown_name;
      $("source").textContent = `Файл ${shown} не открыт: в нём ${file.size} байт, а страница открывает `
        + `файлы не больше ${MAX_OPEN_BYTES} байт (16 МиБ).`;
      return;
    }
    if (unsaved() && !confirm("В редакторе есть несохранённые правки. Открыть другой файл вместо них?")) return;
    load(new Uint8Array(await file.arrayBuffer()), file.name);
  };

  $("open").addEventListener("click", () => $("file").click());
  $("fix-all").addEventListener("click", () => fixAll(view));
  $("file").addEventListener("change", (event) => {
    const [file] = event.target.files;
    if (file) openFile(file);
    event.target.value = "";
  });
  const editor = $("editor");
  editor.addEventListener("dragover", (event) => {
    event.preventDefault();
    editor.classList.add("dropping");
  });
  editor.addEventListener("dragleave", () => editor.classList.remove("dropping"));
  editor.addEventListener("drop", (event) => {
    event.preventDefault();
    editor.classList.remove("dropping");
    const [file] = event.dataTransfer.files;
    if (file) openFile(file);
  }, true);
  $("name").addEventListener("input", () => {
    view.dispatch({ effects: recheck.of(null) });
    forceLinting(view);
  });
  $("save").addEventListener("click", () => {
    // Exactly the bytes the last check judged: the file as opened, or the text with its line end.
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([currentBytes(view.state)], { type: "application/json" }));
    link.download = $("name").value || "messages.json";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
    saved = view.state.doc;
  });
  window.addEventListener("beforeunload", (event) => {
    if (!unsaved()) return;
    event.preventDefault();
    event.returnValue = true; // what browsers before the preventDefault form look for
  });
  $("zone").textContent = zone;
  showSave(EMPTY_SOURCE);
  showCursor(view.state);
  forceLinting(view);
  return view;
}

// The checker is compiled by the page's first script (boot.mjs) while this one loads.
globalThis.messagesLintChecker.then(
  (checker) => {
    start(checker);
    // Milliseconds from the start of navigation, for the browser test.
    document.body.dataset.readyMs = performance.now().toFixed(1);
    document.body.dataset.ready = "true";
  },
  (error) => showVerdict({ kind: "bad", text: `Проверка не запустилась: ${error.message}` }),
);
