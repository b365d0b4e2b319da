// The authors' page: a CodeMirror editor over the draft, the WebAssembly checker run on every
// change, and what it reports shown beside the text. Every problem, note, fix, place, length,
// completion, new message and word comes from the checker; this file wires the editor to it and
// applies the fixes and additions the author chooses, each as one undoable step. The editor's
// text of a file is in page/text.mjs, what it holds besides in page/source.mjs, what is shown
// beside it in page/report.mjs and page/timeline.mjs, the completion and the hints beside the
// values in page/assist.mjs.
import { EditorState, StateEffect } from "@codemirror/state";
import {
  Decoration, EditorView, keymap, lineNumbers, highlightSpecialChars, highlightActiveLine, highlightActiveLineGutter,
  drawSelection,
} from "@codemirror/view";
import { defaultKeymap, history, historyKeymap, isolateHistory } from "@codemirror/commands";
import { autocompletion, completionKeymap } from "@codemirror/autocomplete";
import { json } from "@codemirror/lang-json";
import { bracketMatching, syntaxHighlighting, defaultHighlightStyle } from "@codemirror/language";
import { forEachDiagnostic, forceLinting, linter, lintGutter, openLintPanel } from "@codemirror/lint";
import { EMPTY_SOURCE, currentBytes, setSource, sourceField, sourceHistory, strayGuard } from "./page/source.mjs";
import { changeBetween, textOf } from "./page/text.mjs";
import { choose, placeOf, showCursor, showMessages, showProblems, showSave, showSource, showVerdict } from "./page/report.mjs";
import { completionSource, hintDecorations, hintField, hintTheme, offsetIn, setHints } from "./page/assist.mjs";
import { showTimeline } from "./page/timeline.mjs";

// How long typing may pause before the draft is checked again.
const DEBOUNCE_MS = 150;

const $ = (id) => document.getElementById(id);
const zone = Intl.DateTimeFormat().resolvedOptions().timeZone;

// Asks for a check now, though the text did not change (another file name).
const recheck = StateEffect.define();

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

// The time ended windows are judged against: the clock, or a fixed `?now=SECONDS` in the page's
// address (as messages-lint's --now), for tests and reproducible checks.
const fixedNow = /^-?[0-9]{1,18}$/.test(new URLSearchParams(location.search).get("now") ?? "")
  ? BigInt(new URLSearchParams(location.search).get("now"))
  : null;
const now = () => fixedNow ?? BigInt(Math.floor(Date.now() / 1000));

function start(checker) {
  // The text as last opened or saved, to ask before it is lost.
  let saved = null;

  const convertText = (view) => {
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
    const { text, strays } = textOf(fixed.document, checker.open(fixed.document).marks);
    if (fixed.count === 0 || strays !== Decoration.none) return;
    view.dispatch({
      changes: changeBetween(state.doc.toString(), text.replace(/\r\n?/g, "\n")), scrollIntoView: true,
      annotations: isolateHistory.of("full"), userEvent: "input.fix",
    });
    $("announce").textContent = fixed.announce;
    view.focus();
  };

  // The new message after the last, written by the checker as its neighbours are, as one
  // undoable step; the cursor in its title, ready to type it.
  const addMessage = (view) => {
    const state = view.state;
    if (!state.field(sourceField).utf8) return;
    const made = checker.newMessage(currentBytes(state), now());
    if (made === null) {
      $("announce").textContent = "Новое сообщение некуда добавить: в черновике нет списка messages.";
      return;
    }
    const changes = state.changes(made.changes.map((c) => ({
      from: offsetIn(state.doc, c.from), to: offsetIn(state.doc, c.to), insert: c.insert,
    })));
    view.dispatch({
      changes, selection: { anchor: offsetIn(changes.apply(state.doc), made.cursor) }, scrollIntoView: true,
      annotations: isolateHistory.of("full"), userEvent: "input.message",
    });
    view.focus();
  };

  const check = (view) => {
    const state = view.state;
    const source = state.field(sourceField);
    const bytes = currentBytes(state);
    const begin = performance.now();
    const result = checker.check(bytes, $("name").value, now());
    const took = performance.now() - begin;
    // The checker shows none of an empty editor's problems: it is no draft yet, and gets a hint.
    const shown = result.page.problems;
    const problems = result.problems.slice(0, shown.length);
    // The checker's [line, character] places, in the text this check judged.
    const at = ([line, character]) => state.doc.line(line + 1).from + character;
    const starts = shown.map((s) => at(s.from));
    // A file that is not UTF-8 takes no fix but its conversion.
    const fixes = shown.map((s, i) => {
      if (!source.utf8 || !s.fix) return null;
      const changes = s.fix.changes.map((c) => ({ from: at(c.from) - starts[i], to: at(c.to) - starts[i], insert: c.insert }));
      return { name: s.fix.label, safe: s.fix.safe, apply: (v, from) => applyFix(v, from, changes) };
    });
    const convert = source.recoded !== null && !source.utf8 ? { name: source.recoded.label, apply: convertText } : null;
    const actionsOf = (i) => {
      if (convert && i === 0) return [{ name: convert.name, apply: (v) => convert.apply(v) }];
      if (fixes[i]) return [{ name: fixes[i].name, apply: fixes[i].apply }];
      return undefined;
    };
    const diagnostics = shown.map((s, i) => ({
      from: starts[i], to: at(s.to), severity: problems[i].severity, source: "messages-lint", message: s.message,
      actions: actionsOf(i),
    }));
    showVerdict(result.page.verdict);
    showProblems(view, problems, shown, diagnostics, fixes, convert);
    // Offered exactly when it would change the text: judged by the fixing itself, which also
    // repairs what no listed problem offers alone (a mistake the fix of an earlier one uncovers).
    const fixable = source.utf8 && problems.length > 0 && checker.fix(bytes).count > 0;
    $("fix-all").hidden = $("fix-all-hint").hidden = !fixable;
    const goTo = (i) => choose(view, placeOf(view, diagnostics[i]));
    showMessages(view, result.messages, result.limits, result.outline, problems, shown, goTo, (place) => offsetIn(view.state.doc, place));
    const names = new Map(result.outline.map((m) => [m.index, m.name_from]));
    showTimeline(result.messages, (index) => {
      if (names.has(index)) choose(view, offsetIn(view.state.doc, names.get(index)));
    }, now());
    view.dispatch({ effects: setHints.of(hintDecorations(state.doc, result.hints)) });
    $("new-message").disabled = !source.utf8;
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
    hintField, hintTheme,
    // A file that is not UTF-8 takes no edit, so it is offered none.
    autocompletion({
      override: [completionSource((s, place) =>
        (s.field(sourceField).utf8 ? checker.complete(currentBytes(s), place, now()) : { options: [] }))],
    }),
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
      ...completionKeymap, ...defaultKeymap, ...historyKeymap,
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
    const file = checker.open(bytes);
    const { text, strays } = textOf(bytes, file.marks);
    const utf8 = file.utf8;
    // The name as problem texts show it: invisible and bidirectional controls escaped.
    const shown = checker.check(new Uint8Array(0), name, now()).shown_name;
    const what = utf8 ? "проверяются его байты как есть, до первой правки" : "он не в UTF-8 и открыт только для чтения";
    const source = {
      bytes, utf8, strays, recoded: file.recoded, lineEnd: file.line_end, lineEndNote: file.line_end_note,
      notUtf8Note: file.not_utf8_note, opened: `Открыт файл ${shown} (${file.size}): ${what}.`,
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
    // The whole of a file is kept, so that an author can shorten a draft over the feed's limit,
    // up to the most the checker reads and fixes.
    if (file.size > checker.limits.draft_bytes) {
      const shown = checker.check(new Uint8Array(0), file.name, now()).shown_name;
      $("source").textContent = `Файл ${shown} не открыт: в нём ${file.size} байт, а страница открывает `
        + `файлы не больше ${checker.limits.draft_bytes} байт (16 МиБ).`;
      return;
    }
    if (unsaved() && !confirm("В редакторе есть несохранённые правки. Открыть другой файл вместо них?")) return;
    load(new Uint8Array(await file.arrayBuffer()), file.name);
  };

  $("open").addEventListener("click", () => $("file").click());
  $("fix-all").addEventListener("click", () => fixAll(view));
  $("new-message").addEventListener("click", () => addMessage(view));
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
