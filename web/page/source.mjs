// What the editor holds besides its text: the opened file, while its bytes are what is checked
// and saved. The author's bytes are the truth: an opened file is checked and saved exactly as it
// is until the author edits it; then the editor's text is, in UTF-8 with the file's own line
// end. A file that is not UTF-8 takes no edit but its conversion.
import { EditorState, StateEffect, StateField } from "@codemirror/state";
import { Decoration, EditorView } from "@codemirror/view";
import { invertedEffects } from "@codemirror/commands";

// `bytes`: the opened file's whole bytes while they are what is checked and saved (until the
// first edit), else null. `opened`: what the page says of the file. `lineEnd`: the line end an
// edited text is saved with. `lineEndNote`, `notUtf8Note`: what the page says before saving
// (checker.open). `utf8`: whether the text is the file's (false for a file that is not UTF-8,
// which takes no edit). `recoded`: the code page the checker reads the file in, the text it
// reads and the convert button's words, {from, text, label}, when it is certain of one.
// `strays`: the escapes drawn over the text of a file that is not UTF-8.
export const EMPTY_SOURCE = {
  bytes: null, opened: "", lineEnd: "\n", lineEndNote: "", notUtf8Note: "", utf8: true, recoded: null,
  strays: Decoration.none,
};
export const setSource = StateEffect.define();
export const sourceField = StateField.define({
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
export const strayGuard = EditorState.changeFilter.of((tr) =>
  tr.startState.field(sourceField).utf8 || tr.effects.some((e) => e.is(setSource)));
// Undo and redo bring back what the editor held with the text: undoing the first edit checks
// the file's bytes again, undoing a conversion shows the file as it was.
export const sourceHistory = invertedEffects.of((tr) => {
  const before = tr.startState.field(sourceField);
  return before !== tr.state.field(sourceField) ? [setSource.of(before)] : [];
});

// The bytes the checker sees and Save writes: the opened file as it is, or the editor's text
// in UTF-8 with the file's line end.
export function currentBytes(state) {
  const source = state.field(sourceField);
  return source.bytes ?? new TextEncoder().encode(state.doc.sliceString(0, state.doc.length, source.lineEnd));
}
