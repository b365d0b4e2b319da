// Fails the build when doc/copyright does not name, with its version, every npm package that
// esbuild put into the page (its metafile's inputs), so a new or updated package cannot ship
// without its licence being listed.
//   node licences.mjs METAFILE NODE_MODULES COPYRIGHT STAMP
import { readFileSync, writeFileSync } from "node:fs";
import { join } from "node:path";

const [metafile, nodeModules, copyrightPath, stamp] = process.argv.slice(2);
const copyright = readFileSync(copyrightPath, "utf8").replace(/\s+/g, " ");
const packages = new Set();
for (const input of Object.keys(JSON.parse(readFileSync(metafile, "utf8")).inputs)) {
  const found = /node_modules\/((?:@[^/]+\/)?[^/]+)\//.exec(input);
  if (found) packages.add(found[1]);
}
const missing = [...packages].sort().map((name) => {
  const { version, license } = JSON.parse(readFileSync(join(nodeModules, name, "package.json"), "utf8"));
  return { name, version, license };
}).filter(({ name, version }) => !copyright.includes(`${name} ${version}`));
if (missing.length > 0) {
  const list = missing.map(({ name, version, license }) => `${name} ${version} (${license})`).join(", ");
  console.error(`licences.mjs: ${copyrightPath} does not list the bundled ${list}`);
  process.exit(1);
}
writeFileSync(stamp, `${[...packages].sort().join("\n")}\n`);
