// The launcher's command line (messages-lint-lsp.mjs), as editors start it. Each row: the
// arguments, then the exit status and what the launcher writes: for a served row the answer to
// initialize and status 0 after shutdown and exit; for a refused one status 2 and its line.
//   node launcher_arguments.mjs LAUNCHER
import { spawnSync } from "node:child_process";

const launcher = process.argv[2];
const frame = (message) => {
  const body = JSON.stringify(message);
  return `Content-Length: ${Buffer.byteLength(body)}\r\n\r\n${body}`;
};
const SESSION = [
  frame({ jsonrpc: "2.0", id: 1, method: "initialize", params: { processId: null, rootUri: null, capabilities: {} } }),
  frame({ jsonrpc: "2.0", id: 2, method: "shutdown" }),
  frame({ jsonrpc: "2.0", method: "exit" }),
].join("");
const SERVED = { status: 0, stdout: /^Content-Length: \d+\r\n\r\n\{"id":1,"jsonrpc":"2.0","result":\{"capabilities"/, stderr: "" };
const refused = (line) => ({ status: 2, stdout: /^$/, stderr: `[messages-lint] ${line}\n` });

const ROWS = [
  [[], SERVED],
  [["--lsp"], SERVED],
  // What vscode-languageclient adds to a Node module's arguments with the stdio transport.
  [["--stdio", "--clientProcessId=4242"], SERVED],
  [["--no-warnings", "--now=0", "--stdio", "--clientProcessId=1"], SERVED],
  [["--clientProcessId=x"], refused("неизвестный флаг --clientProcessId=x")],
  [["--clientProcessId"], refused("неизвестный флаг --clientProcessId")],
  [["--stdio=1"], refused("неизвестный флаг --stdio=1")],
  [["--now=soon"], refused("--now ждёт целое число секунд Unix, а не soon")],
  [["--now"], refused("флагу --now нужно значение")],
  [["messages.json"], refused("--lsp не принимает файлов: документы присылает редактор")],
];

let failures = 0;
for (const [args, want] of ROWS) {
  const run = spawnSync(process.execPath, [launcher, ...args], { input: SESSION, timeout: 30000 });
  const stderr = run.stderr.toString();
  const firstLine = want.status === 2 ? stderr.split("\n")[0] + "\n" : stderr;
  if (run.status !== want.status || !want.stdout.test(run.stdout.toString()) || firstLine !== want.stderr) {
    failures += 1;
    console.error(`FAIL: ${JSON.stringify(args)}: status ${run.status}, stdout ${JSON.stringify(run.stdout.toString().slice(0, 120))}, stderr ${JSON.stringify(stderr)}`);
  }
}
console.log(`launcher_arguments: ${ROWS.length - failures} of ${ROWS.length} rows passed`);
process.exit(failures ? 1 : 0);
