// The authors' page: a CodeMirror editor over the draft, the WebAssembly checker run on every
// change, and what it reports shown beside the text. Every problem, note, line, column and
// length comes from the checker; this file only places them on the screen.
import { EditorState } from "@codemirror/state";
import {
  EditorView, keymap, lineNumbers, highlightSpecialChars, highlightActiveLine, highlightActiveLineGutter, drawSelection,
} from "@codemirror/view";
import { defaultKeymap, history, historyKeymap } from "@codemirror/commands";
import { json } from "@codemirror/lang-json";
import { bracketMatching, syntaxHighlighting, defaultHighlightStyle } from "@codemirror/language";
import { lintGutter, lintKeymap, setDiagnostics } from "@codemirror/lint";

// How long typing may pause before the draft is checked again.
const DEBOUNCE_MS = 150;
// The transaction that replaces the text with an opened file's.
const LOAD_EVENT = "load";

const $ = (id) => document.getElementById(id);
const plural = new Intl.PluralRules("ru-RU");
const count = (n, forms) => `${n} ${forms[plural.select(n)] ?? forms.many}`;
const PROBLEMS = { one: "проблема", few: "проблемы", many: "проблем" };
const WARNINGS = { one: "предупреждение", few: "предупреждения", many: "предупреждений" };
const zone = Intl.DateTimeFormat().resolvedOptions().timeZone;
const dateFormat = new Intl.DateTimeFormat("ru-RU", {
  year: "numeric", month: "long", day: "numeric", hour: "2-digit", minute: "2-digit", second: "2-digit", timeZoneName: "short",
});

// What is being checked: the bytes of an opened file until the first edit, then the text.
const source = {
  bytes: null, // the opened file's exact bytes (no more than the limit and one byte), or null once edited
  length: 0, // the opened file's whole length
  lineEnd: "\n", // the opened file's line end, kept when checking an edited text and saving
};

// The bytes the checker sees: the opened file, or the editor's text in UTF-8 with the file's
// line ends.
function currentBytes(view) {
  if (source.bytes) return source.bytes;
  return new TextEncoder().encode(view.state.doc.sliceString(0, view.state.doc.length, source.lineEnd));
}

// The editor positions of byte offsets in `bytes`: the length of the display text of the bytes
// before each, found in one pass. A line end is one position in the editor whatever the file
// holds, so CRLF counts one.
function positionsOf(bytes, offsets, state) {
  const order = offsets.map((_, i) => i).sort((a, b) => offsets[a] - offsets[b]);
  const decoder = new TextDecoder("utf-8", { ignoreBOM: true });
  const positions = new Array(offsets.length);
  let at = 0, position = 0, endsWithCR = false;
  for (const i of order) {
    const to = Math.min(offsets[i], bytes.length);
    if (to > at) {
      const text = decoder.decode(bytes.subarray(at, to), { stream: true });
      const pairs = (text.match(/\r\n/g)?.length ?? 0) + (endsWithCR && text.startsWith("\n") ? 1 : 0);
      position += text.length - pairs;
      if (text.length > 0) endsWithCR = text.endsWith("\r");
      at = to;
    }
    positions[i] = Math.min(position, state.doc.length);
  }
  return positions;
}

function diagnosticOf(problem, from, state) {
  const line = state.doc.lineAt(from);
  const to = from < line.to ? from + 1 : from;
  const notes = problem.notes.map((n) => `\nпримечание: ${n}`).join("");
  return {
    from, to, severity: problem.severity === "warning" ? "warning" : problem.severity === "note" ? "info" : "error",
    source: "messages-lint", message: problem.text + notes,
  };
}

function showVerdict(problems) {
  const verdict = $("verdict");
  const errors = problems.filter((p) => (p.severity ?? "error") === "error").length;
  const warnings = problems.length - errors;
  const tail = warnings > 0 ? `; ${count(warnings, WARNINGS)}` : "";
  verdict.className = `verdict ${errors === 0 ? "ok" : "bad"}`;
  verdict.textContent = errors === 0
    ? `Проблем нет: лента будет принята, когда её подпишут${tail}.`
    : `${count(errors, PROBLEMS)}: лента не будет принята${tail}.`;
}

function showProblems(view, problems, positions) {
  const list = $("problems");
  list.replaceChildren();
  problems.forEach((p, i) => {
    const item = document.createElement("li");
    if (p.severity) item.className = p.severity;
    const go = document.createElement("button");
    go.type = "button";
    const where = document.createElement("span");
    where.className = "where";
    where.textContent = `${p.line}:${p.column}`;
    go.append(where, ` ${p.text}`);
    go.addEventListener("click", () => {
      view.dispatch({ selection: { anchor: positions[i] }, scrollIntoView: true });
      view.focus();
    });
    item.append(go);
    if (p.notes.length > 0) {
      const notes = document.createElement("ul");
      notes.className = "notes";
      for (const n of p.notes) {
        const note = document.createElement("li");
        note.textContent = `примечание: ${n}`;
        notes.append(note);
      }
      item.append(notes);
    }
    list.append(item);
  });
}

// A time as the document writes it, and as a date where one exists.
function timeOf(decimal) {
  const seconds = BigInt(decimal);
  const limit = 8640000000000n; // the range of a JavaScript date, in seconds
  const shown = seconds >= -limit && seconds <= limit ? dateFormat.format(new Date(Number(seconds) * 1000)) : "вне диапазона дат";
  return shown;
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

// The time ended windows are judged against: the clock, or a fixed `?now=SECONDS` in the page's
// address (as messages-lint's --now), for tests and reproducible checks.
const fixedNow = /^-?[0-9]{1,18}$/.test(new URLSearchParams(location.search).get("now") ?? "")
  ? BigInt(new URLSearchParams(location.search).get("now"))
  : null;
const now = () => fixedNow ?? BigInt(Math.floor(Date.now() / 1000));

function start(checker) {
  let timer = 0;
  let limit = 0; // the largest feed, in bytes, as the checker gives it
  const run = (view) => {
    clearTimeout(timer);
    timer = 0;
    const bytes = currentBytes(view);
    const begin = performance.now();
    const length = source.bytes ? source.length : bytes.length;
    const result = checker.check(bytes, $("name").value, now(), length);
    limit = result.limits.bytes;
    const took = performance.now() - begin;
    // An empty editor is no draft yet: it gets a hint rather than the reader's error on no input.
    const problems = bytes.length === 0 ? [] : result.problems;
    const positions = positionsOf(bytes, problems.map((p) => p.byte_offset), view.state);
    view.dispatch(setDiagnostics(view.state, problems.map((p, i) => diagnosticOf(p, positions[i], view.state))));
    if (bytes.length === 0) {
      $("verdict").className = "verdict";
      $("verdict").textContent = "Вставьте, наберите или откройте черновик ленты.";
    } else {
      showVerdict(problems);
    }
    showProblems(view, problems, positions);
    showMessages(result.messages, result.limits);
    document.body.dataset.checkMs = took.toFixed(3);
    document.body.dataset.checks = String(Number(document.body.dataset.checks ?? 0) + 1);
  };

  // The editor lives in a shadow root: CodeMirror then gives its styles to the browser as
  // constructed style sheets, which the page's policy allows, rather than as <style> elements,
  // which it refuses (only the page's own style is allowed, by its hash).
  const root = $("editor").attachShadow({ mode: "open" });
  const view = new EditorView({
    parent: root,
    root,
    state: EditorState.create({
      doc: "",
      extensions: [
        lineNumbers(), highlightActiveLineGutter(), highlightSpecialChars(), history(), drawSelection(),
        bracketMatching(), highlightActiveLine(), syntaxHighlighting(defaultHighlightStyle), json(), lintGutter(),
        EditorView.lineWrapping,
        EditorView.theme({
          "&": { height: "70vh", border: "1px solid #8884" },
          ".cm-scroller": { fontFamily: 'ui-monospace, "SF Mono", Menlo, Consolas, monospace' },
          // The lint package draws its marks with SVG images in data: URLs, which the page's
          // policy refuses like any other image; the same marks in plain CSS.
          ".cm-lintRange": { backgroundImage: "none", textDecoration: "underline wavy", textDecorationSkipInk: "none" },
          ".cm-lintRange-error": { textDecorationColor: "#e11" },
          ".cm-lintRange-warning": { textDecorationColor: "orange" },
          ".cm-lintRange-info": { textDecorationColor: "#999" },
          ".cm-lint-marker": { content: "normal", borderRadius: "50%", transform: "scale(.7)" },
          ".cm-lint-marker-error": { background: "#f43" },
          ".cm-lint-marker-warning": { background: "orange", borderRadius: "0" },
          ".cm-lint-marker-info": { background: "#77e", borderRadius: "0" },
        }),
        keymap.of([...defaultKeymap, ...historyKeymap, ...lintKeymap]),
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
          // Opening a file checks it at once; every other change is an edit.
          if (!update.transactions.some((t) => t.docChanged && !t.isUserEvent(LOAD_EVENT))) return;
          // The first edit ends checking the opened file's exact bytes.
          if (source.bytes) {
            source.bytes = null;
            $("source").textContent = "Изменено: проверяется текст редактора в UTF-8.";
          }
          clearTimeout(timer);
          timer = setTimeout(() => run(view), DEBOUNCE_MS);
        }),
      ],
    }),
  });

  const load = (bytes, name, length) => {
    source.bytes = bytes;
    source.length = length;
    source.lineEnd = bytes.includes(13) && new TextDecoder().decode(bytes).includes("\r\n") ? "\r\n" : "\n";
    $("name").value = name;
    const text = new TextDecoder("utf-8", { ignoreBOM: true }).decode(bytes);
    view.dispatch({ changes: { from: 0, to: view.state.doc.length, insert: text }, userEvent: LOAD_EVENT });
    const part = length > bytes.length ? ` (прочитано начало: ${bytes.length} из ${length} байт)` : "";
    $("source").textContent = `Открыт файл ${name}${part}: проверяются его байты как есть, до первой правки.`;
    run(view);
  };
  // A file is read no further than one byte past the limit, as on the command line: that is
  // enough to find it too large, whatever its size.
  const openFile = async (file) =>
    load(new Uint8Array(await file.slice(0, limit + 1).arrayBuffer()), file.name, file.size);

  $("open").addEventListener("click", () => $("file").click());
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
  $("name").addEventListener("input", () => run(view));
  $("save").addEventListener("click", () => {
    // UTF-8 without a byte-order mark, with the file's line ends.
    const text = view.state.doc.sliceString(0, view.state.doc.length, source.lineEnd).replace(/^\uFEFF/, "");
    const link = document.createElement("a");
    link.href = URL.createObjectURL(new Blob([new TextEncoder().encode(text)], { type: "application/json" }));
    link.download = $("name").value || "messages.json";
    link.click();
    setTimeout(() => URL.revokeObjectURL(link.href), 0);
  });
  $("zone").textContent = zone;
  run(view);
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
  (error) => {
    $("verdict").textContent = `Проверка не запустилась: ${error.message}`;
    $("verdict").className = "verdict bad";
  },
);
