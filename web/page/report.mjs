// What the page shows beside the text: the verdict, the problems with their notes and fixes,
// the messages that read, the file and what saving it needs, and the cursor's place. Every word
// and number comes from the checker; this file only puts them in the page.
import { forEachDiagnostic } from "@codemirror/lint";

const $ = (id) => document.getElementById(id);
const dateFormat = new Intl.DateTimeFormat("ru-RU", {
  year: "numeric", month: "long", day: "numeric", hour: "2-digit", minute: "2-digit", second: "2-digit", timeZoneName: "short",
});

// The verdict line changes with every check; screen readers hear it (the live region
// #announce) only when the verdict does. `verdict`: the checker's {kind, text}.
export function showVerdict({ kind, text }) {
  const verdict = $("verdict");
  if (verdict.dataset.kind !== kind) $("announce").textContent = text;
  verdict.dataset.kind = kind;
  verdict.className = `verdict ${kind}`;
  verdict.textContent = text;
}

export function showSource(source) {
  $("source").textContent = source.bytes || !source.opened ? source.opened : "Изменено: проверяется текст редактора в UTF-8.";
}

// Puts the cursor at a place, in view.
export function choose(view, position) {
  view.dispatch({ selection: { anchor: position }, scrollIntoView: true });
  view.focus();
}

// Where a diagnostic starts now: the editor maps it through the edits made since the check.
export function placeOf(view, diagnostic) {
  let place = Math.min(diagnostic.from, view.state.doc.length);
  forEachDiagnostic(view.state, (d, from) => {
    if (d === diagnostic) place = from;
  });
  return place;
}

// The list of problems: `problems` as the checker reports them (LINE:COLUMN, notes), `shown` as
// the page shows them (their headings), `diagnostics` their marks in the editor, `fixes` the
// fix of each one that has one ({name, safe, apply}), and `convert` ({name, apply}) offered with
// the first problem of a file that is not UTF-8.
export function showProblems(view, problems, shown, diagnostics, fixes, convert) {
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
    go.append(where, " ", shown[i].heading);
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
      action.addEventListener("click", () => fixes[i].apply(view, placeOf(view, diagnostics[i])));
      box.append(action);
      item.append(box);
    }
    if (convert && i === 0) {
      const action = document.createElement("button");
      action.type = "button";
      action.className = "action";
      action.textContent = convert.name;
      action.addEventListener("click", () => convert.apply(view));
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

// The messages as the outline reads them, also from a draft that does not read yet: each one's
// name moves the cursor to it, its summary follows where it reads, and its own problems below,
// each going to its place as the problem list does. `outline`: the checker's entries ({index,
// name, title, name_from, problems}); `messages`: its summaries; `problems`, `shown`: as for
// showProblems; `goTo(i)` goes to problem i; `at(place)` is the editor offset of a place.
export function showMessages(view, messages, limits, outline, problems, shown, goTo, at) {
  const list = $("messages");
  list.replaceChildren();
  const summaries = new Map(messages.map((m) => [m.index, m]));
  const entries = outline.length > 0 ? outline : messages.map((m) => ({ index: m.index, name: m.id, title: m.title, problems: [] }));
  for (const entry of entries) {
    const m = summaries.get(entry.index);
    const item = document.createElement("li");
    item.id = `message-${entry.index}`;
    const go = document.createElement("button");
    go.type = "button";
    go.className = "go";
    const id = document.createElement("span");
    id.className = "id";
    id.textContent = entry.name;
    go.append(id, entry.title ? ` — ${entry.title}` : "");
    if (entry.name_from) go.addEventListener("click", () => choose(view, at(entry.name_from)));
    item.append(go);
    if (m) item.append(summaryOf(m, limits));
    if (entry.problems.length > 0) {
      const own = document.createElement("ul");
      own.className = "own-problems";
      own.setAttribute("aria-label", `Проблемы сообщения ${entry.name}`);
      for (const i of entry.problems) {
        const row = document.createElement("li");
        row.className = problems[i].severity;
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = `${problems[i].line}:${problems[i].column} ${shown[i].heading}`;
        button.addEventListener("click", () => goTo(i));
        row.append(button);
        own.append(row);
      }
      item.append(own);
    }
    list.append(item);
  }
}

function summaryOf(m, limits) {
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
  return fields;
}

// Whether Save can write the text, and what the author should know before saving.
export function showSave(source) {
  $("save").disabled = !source.utf8;
  $("save-note").textContent = source.utf8 ? source.lineEndNote : source.notUtf8Note;
}

// Where the cursor is, counted as the list counts: the line, and 1 plus the characters before
// it on the line.
export function showCursor(state) {
  const head = state.selection.main.head;
  const line = state.doc.lineAt(head);
  $("cursor").textContent = `${line.number}:${[...line.text.slice(0, head - line.from)].length + 1}`;
}
