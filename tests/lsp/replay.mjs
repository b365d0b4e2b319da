// The session test's byte streams (malformed, split, nested a million deep, 16 MiB; written by
// lsp_session_test with MT_LSP_STREAMS) replayed through the native server and the WebAssembly
// one: what each writes to standard output and standard error, and its exit status, must be the
// same. The module is also fed in-process in pieces of 7 bytes (and of one, for the short
// streams), which must give the same messages as the whole. Last, the module's memory
// (memory.buffer.byteLength) with LARGE_FEED open 20 times is printed.
//
//   node replay.mjs LINT LAUNCHER STREAM_DIR LARGE_FEED
import { spawnSync } from "node:child_process";
import { readdirSync, readFileSync } from "node:fs";
import { dirname, join } from "node:path";
import { frame, startServer } from "../../src/messages-lint/wasm/lsp_host.mjs";

const [lint, launcher, folder, largeFeed] = process.argv.slice(2);
if (!largeFeed) throw new Error("usage: replay.mjs LINT LAUNCHER STREAM_DIR LARGE_FEED");
const module = await WebAssembly.compile(readFileSync(join(dirname(launcher), "messages-lint-lsp.wasm")));

let failures = 0;
const fail = (what) => {
  failures += 1;
  console.error(`FAIL: ${what}`);
};
const run = (command, args, input) => {
  const r = spawnSync(command, args, { input, maxBuffer: 1 << 28, timeout: 120_000 });
  return { stdout: r.stdout, stderr: r.stderr.toString(), status: r.status };
};

// The module fed `input` in pieces of `size` bytes: what it gives the client, and the log.
async function inPieces(input, size) {
  let log = "";
  const server = await startServer(module, { now: 0n, log: (text) => (log += text) });
  const out = [];
  for (let at = 0; at < input.length && !server.ended(); at += size) out.push(server.feed(input.subarray(at, at + size)));
  if (!server.ended()) out.push(server.finish());
  const status = server.exitStatus();
  server.stop();
  return { stdout: Buffer.concat(out), stderr: log, status };
}

const names = readdirSync(folder).filter((n) => n.endsWith(".in")).sort();
if (names.length === 0) fail(`no streams in ${folder}`);
for (const name of names) {
  const input = readFileSync(join(folder, name));
  const native = run(lint, ["--lsp", "--now=0"], input);
  const results = [["the launcher", run(process.execPath, [launcher, "--now=0"], input)]];
  for (const size of input.length > 100_000 ? [7] : [7, 1]) results.push([`pieces of ${size}`, await inPieces(input, size)]);
  for (const [how, r] of results) {
    if (!native.stdout.equals(r.stdout)) fail(`${name} (${how}): other messages\n  native: ${native.stdout.subarray(0, 300)}\n  module: ${r.stdout.subarray(0, 300)}`);
    if (native.stderr !== r.stderr) fail(`${name} (${how}): another log\n  native: ${native.stderr}\n  module: ${r.stderr}`);
    if (native.status !== r.status) fail(`${name} (${how}): exit status ${r.status}, native ${native.status}`);
  }
}
{
  const server = await startServer(module, { now: 0n });
  const text = readFileSync(largeFeed, "utf8");
  const send = (message) => server.feed(frame(JSON.stringify({ jsonrpc: "2.0", ...message })));
  send({ id: 1, method: "initialize", params: {} });
  const before = server.memoryBytes();
  for (let i = 0; i < 20; i++)
    send({ method: "textDocument/didOpen", params: { textDocument: { uri: `file:///feed-${i}/messages.json`, languageId: "json", version: 1, text } } });
  const mib = (bytes) => (bytes / 1048576).toFixed(1);
  console.log(`figures: the module's memory ${mib(before)} MiB after initialize, ${mib(server.memoryBytes())} MiB with ${text.length}-character feeds open 20 times`);
  server.stop();
}

if (failures) {
  console.error(`${failures} failures`);
  process.exit(1);
}
console.log(`replay: ${names.length} streams, the same messages, log and exit status from the module as from messages-lint --lsp`);
