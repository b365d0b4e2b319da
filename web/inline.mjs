// Makes the one-file page: the template with the style and the two bundled scripts put in (the
// first, BOOT, with the checker module gzipped and in base64 where it says "@MODULE@"), and a
// Content-Security-Policy that allows exactly those scripts and that style by their SHA-256
// hashes and nothing else.
//   node inline.mjs TEMPLATE STYLE BOOT SCRIPT MODULE OUTPUT
import { createHash } from "node:crypto";
import { readFileSync, writeFileSync } from "node:fs";
import { gzipSync } from "node:zlib";

const [template, stylePath, bootPath, scriptPath, modulePath, output] = process.argv.slice(2);
if (!output) {
  console.error("inline.mjs: usage: node inline.mjs TEMPLATE STYLE BOOT SCRIPT MODULE OUTPUT");
  process.exit(2);
}
const style = readFileSync(stylePath, "utf8");
const script = readFileSync(scriptPath, "utf8").trimEnd();
const bundle = readFileSync(bootPath, "utf8").trimEnd();
// gzip writes no time or name here, so the same module gives the same bytes.
const module = gzipSync(readFileSync(modulePath), { level: 9 }).toString("base64");
const place = '"@MODULE@"';
if (bundle.indexOf(place) < 0 || bundle.indexOf(place) !== bundle.lastIndexOf(place)) {
  console.error(`inline.mjs: the first script must hold ${place} exactly once`);
  process.exit(1);
}
const boot = bundle.replace(place, () => `"${module}"`);
for (const [name, text] of [["script", boot], ["script", script], ["style", style]]) {
  if (/<\/(script|style)/i.test(text)) {
    console.error(`inline.mjs: the ${name} would end its element early (it holds "</${name}")`);
    process.exit(1);
  }
}
const hash = (text) => `'sha256-${createHash("sha256").update(text, "utf8").digest("base64")}'`;
const csp = [
  "default-src 'none'",
  `script-src ${hash(boot)} ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`,
  "base-uri 'none'",
  "form-action 'none'",
].join("; ");
const parts = { CSP: csp, STYLE: style, BOOT: boot, SCRIPT: script };
let missing = new Set(Object.keys(parts));
const page = readFileSync(template, "utf8").replace(/@(CSP|STYLE|BOOT|SCRIPT)@/g, (_, key) => {
  missing.delete(key);
  return parts[key];
});
if (missing.size > 0) {
  console.error(`inline.mjs: the template has no place for ${[...missing].join(", ")}`);
  process.exit(1);
}
writeFileSync(output, page);
