// What the editor adds to the author's typing, all of it from the checker: the completion
// items at the cursor, and the times and lengths written beside the values.
import { snippet } from "@codemirror/autocomplete";
import { StateEffect, StateField } from "@codemirror/state";
import { Decoration, EditorView, WidgetType } from "@codemirror/view";

// The editor's offset of a checker's [line, character] place in `doc`.
export const offsetIn = (doc, [line, character]) => {
  if (line >= doc.lines) return doc.length;
  const at = doc.line(line + 1);
  return Math.min(at.from + character, at.to);
};

// A snippet of the language protocol's syntax ($1, ${1:default}, ${1|a,b|}, $0, and \$ \} \\
// for those characters) in CodeMirror's (${1}, ${1:default}, ${0}, and \{ \} for braces), or
// null for a form CodeMirror has none of. A choice becomes its first value.
export function snippetTemplate(text) {
  const literal = (c) => (c === "{" || c === "}" ? `\\${c}` : c);
  let out = "";
  for (let i = 0; i < text.length;) {
    const c = text[i];
    if (c === "\\" && i + 1 < text.length && "$}\\".includes(text[i + 1])) {
      out += literal(text[i + 1]);
      i += 2;
      continue;
    }
    if (c !== "$") {
      out += literal(c);
      i++;
      continue;
    }
    const bare = /^\$(\d+)/.exec(text.slice(i));
    if (bare) {
      out += `\${${bare[1]}}`;
      i += bare[0].length;
      continue;
    }
    const braced = /^\$\{(\d+)(?:\}|:((?:\\[$}\\]|[^$}\\{])*)\}|\|([^|]*)\|\})/.exec(text.slice(i));
    if (!braced) return null;
    const [, number, given, choices] = braced;
    const value = given !== undefined ? given.replace(/\\(.)/g, "$1") : choices !== undefined ? choices.split(",")[0] : "";
    // CodeMirror's default holds no brace; nor does its field end at an escaped one.
    if (/[{}]/.test(value)) return null;
    out += value ? `\${${number}:${value}}` : `\${${number}}`;
    i += braced[0].length;
  }
  return out;
}

// The completion source: `complete(state, [line, character])` is the checker's answer at a
// place ({from, to, options}). While the author types, only after a word or a quotation mark;
// Ctrl+Space asks anywhere.
export function completionSource(complete) {
  return (context) => {
    if (!context.explicit && !context.matchBefore(/[\w"]$/)) return null;
    const { state } = context;
    const line = state.doc.lineAt(context.pos);
    const got = complete(state, [line.number - 1, context.pos - line.from]);
    if (got.options.length === 0) return null;
    const from = offsetIn(state.doc, got.from), to = Math.max(offsetIn(state.doc, got.to), context.pos);
    return {
      from, to,
      options: got.options.map((o) => {
        // CodeMirror writes a snippet's lines indented like the line it starts on, which would
        // indent the checker's own layout twice: a snippet of more than one line goes in plain.
        const template = o.snippet && !/[\r\n]/.test(o.snippet) ? snippetTemplate(o.snippet) : null;
        return {
          label: o.filter, displayLabel: o.label, detail: o.detail, info: o.info, type: o.type,
          apply: template !== null ? snippet(template) : o.apply,
        };
      }),
    };
  };
}

class Hint extends WidgetType {
  constructor(hint) {
    super();
    this.hint = hint;
  }
  eq(other) {
    return other.hint.label === this.hint.label && other.hint.over === this.hint.over && other.hint.kind === this.hint.kind;
  }
  toDOM() {
    const span = document.createElement("span");
    span.className = this.hint.over ? "cm-inlayHint cm-inlayHint-over" : "cm-inlayHint";
    // A screen reader says what the hint is; the eye sees it beside its value.
    const say = document.createElement("span");
    say.className = "cm-inlayHint-say";
    say.textContent = this.hint.kind === "time" ? " время: " : this.hint.over ? " длина сверх предела: " : " длина: ";
    span.append(say, this.hint.label);
    return span;
  }
  ignoreEvent() {
    return false;
  }
}

// The hints of the last check, their places mapped through the edits made since.
export const setHints = StateEffect.define();
export const hintField = StateField.define({
  create: () => Decoration.none,
  update(hints, tr) {
    for (const e of tr.effects) if (e.is(setHints)) return e.value;
    return hints.map(tr.changes);
  },
  provide: (field) => EditorView.decorations.from(field),
});

// The decorations of the checker's hints in `doc`.
export function hintDecorations(doc, hints) {
  return Decoration.set(hints.map((h) =>
    Decoration.widget({ widget: new Hint(h), side: 1 }).range(offsetIn(doc, h.at))), true);
}

export const hintTheme = EditorView.theme({
  ".cm-inlayHint": {
    marginLeft: ".5em", padding: "0 .3em", borderRadius: "3px", fontSize: "85%", opacity: ".75",
    background: "#8882", fontFamily: "system-ui, sans-serif",
  },
  ".cm-inlayHint-over": { color: "#b3261e", opacity: "1", fontWeight: "600" },
  ".cm-inlayHint-say": {
    position: "absolute", width: "1px", height: "1px", overflow: "hidden", clipPath: "inset(50%)", whiteSpace: "nowrap",
  },
});
