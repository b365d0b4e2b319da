// Rewrites a .vsix (a zip) so that two builds of the same sources give the same bytes: every
// entry gets one time (SOURCE_DATE_EPOCH, else 1980-01-01, the first a zip can hold) and the
// entries come in a fixed order (the package's two manifests first, then by name). vsce stamps
// the files it makes in memory with the present time, and lists the others as the file system
// returns them; the contents it writes are kept byte for byte.
//   node reproducible.mjs NODE_MODULES IN.vsix OUT.vsix
// Uses yauzl and yazl, the zip libraries @vscode/vsce itself is built on (package-lock.json).
import { createWriteStream, renameSync, statSync, unlinkSync } from "node:fs";
import { createRequire } from "node:module";
import { join, resolve } from "node:path";

const [nodeModules, input, output, maxBytes] = process.argv.slice(2);
const require = createRequire(join(resolve(nodeModules), "index.js"));
const yauzl = require("yauzl");
const yazl = require("yazl");

// Zip times are local times with two-second steps: the process runs in UTC.
process.env.TZ = "UTC";
const DOS_EPOCH = 315532800;
const epoch = Math.max(Number(process.env.SOURCE_DATE_EPOCH || DOS_EPOCH), DOS_EPOCH);
const time = new Date(epoch * 1000);
const FIRST = ["extension.vsixmanifest", "[Content_Types].xml"];
const rank = (name) => (FIRST.includes(name) ? FIRST.indexOf(name) : FIRST.length);

const entries = await new Promise((done, fail) => {
  yauzl.open(input, { lazyEntries: true }, (error, zip) => {
    if (error) return fail(error);
    const read = [];
    zip.on("entry", (entry) => {
      zip.openReadStream(entry, (error, stream) => {
        if (error) return fail(error);
        const chunks = [];
        stream.on("data", (c) => chunks.push(c));
        stream.on("end", () => {
          read.push({ name: entry.fileName, data: Buffer.concat(chunks) });
          zip.readEntry();
        });
      });
    });
    zip.on("end", () => done(read));
    zip.on("error", fail);
    zip.readEntry();
  });
});
entries.sort((a, b) => rank(a.name) - rank(b.name) || (a.name < b.name ? -1 : a.name > b.name ? 1 : 0));

const zip = new yazl.ZipFile();
for (const e of entries) zip.addBuffer(e.data, e.name, { mtime: time, mode: 0o100644, compress: true });
zip.end();
const partial = `${output}.partial`;
await new Promise((done, fail) => {
  const out = createWriteStream(partial);
  zip.outputStream.pipe(out).on("finish", done).on("error", fail);
});
const size = statSync(partial).size;
console.log(`${output}: ${size} bytes`);
if (maxBytes !== undefined && size > Number(maxBytes)) {
  unlinkSync(partial);
  console.error(`${output}: ${size} bytes, over the ${maxBytes} a .vsix may have`);
  process.exit(1);
}
renameSync(partial, output);
