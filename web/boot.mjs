// The page's first script, in its head: starts compiling the checker before the browser reads
// the editor's much larger script, and leaves the promise of it in
// globalThis.messagesLintChecker for that script (page.mjs).
import { createChecker } from "./checker.mjs";

function decodeBase64(text) {
  const raw = atob(text);
  const out = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; i++) out[i] = raw.charCodeAt(i);
  return out;
}

// The build puts the module here, gzipped, in base64 (web/inline.mjs). It is unpacked by the
// browser's own DecompressionStream and compiled while it streams in; nothing is fetched.
const packed = new Blob([decodeBase64("@MODULE@")]).stream().pipeThrough(new DecompressionStream("gzip"));
globalThis.messagesLintChecker = createChecker(new Response(packed, { headers: { "Content-Type": "application/wasm" } }))
  .then((checker) => {
    // Milliseconds from the start of navigation, for the browser test.
    document.documentElement.dataset.instantiatedMs = performance.now().toFixed(1);
    return checker;
  });
