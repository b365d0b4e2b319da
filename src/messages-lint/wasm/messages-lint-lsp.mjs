// messages-lint's language server for any editor, with Node alone: the WebAssembly module
// beside this file (messages-lint-lsp.wasm) run by its host (lsp_host.mjs), over standard input
// and output, exactly as `messages-lint --lsp` runs natively.
//
//   node messages-lint-lsp.mjs [--lsp] [--now=SECONDS] [--no-warnings]
//
// The options are those of `messages-lint --lsp` (--lsp itself may be given or left out, so an
// editor's command line for the native program works with `node messages-lint-lsp.mjs` in its
// place). --stdio and --clientProcessId=PID, which vscode-languageclient adds to a Node module's
// arguments, are taken and change nothing: the transport is standard input and output anyway, and
// the conversation ends when the client's end of it closes. The exit status: 0 after shutdown and
// exit, else 1; 2 for wrong arguments.
import { readFileSync } from "node:fs";
import { startServer } from "./lsp_host.mjs";

const USAGE = "использование: node messages-lint-lsp.mjs [--lsp] [--now=SECONDS] [--no-warnings]\n";

// The options, or the line that says why they are wrong.
function parse(args) {
  const options = { warnings: true, now: null };
  for (let i = 0; i < args.length; i++) {
    const arg = args[i];
    if (arg === "--lsp" || arg === "--stdio" || /^--clientProcessId=\d+$/.test(arg)) continue;
    if (arg === "--no-warnings") {
      options.warnings = false;
    } else if (arg === "-h" || arg === "--help") {
      return { help: true };
    } else if (arg === "--now" || arg.startsWith("--now=")) {
      const value = arg === "--now" ? args[++i] : arg.slice(6);
      if (value === undefined) return { error: "флагу --now нужно значение" };
      if (!/^[+-]?\d+$/.test(value) || BigInt(value) > 2n ** 63n - 1n || BigInt(value) < -(2n ** 63n))
        return { error: `--now ждёт целое число секунд Unix, а не ${value}` };
      options.now = BigInt(value);
    } else {
      return { error: arg.startsWith("-") ? `неизвестный флаг ${arg}` : "--lsp не принимает файлов: документы присылает редактор" };
    }
  }
  return { options };
}

const parsed = parse(process.argv.slice(2));
if (parsed.help) {
  process.stdout.write(USAGE);
  process.exit(0);
}
if (parsed.error) {
  process.stderr.write(`[messages-lint] ${parsed.error}\n${USAGE}`);
  process.exit(2);
}

let module;
try {
  module = readFileSync(new URL("./messages-lint-lsp.wasm", import.meta.url));
} catch (error) {
  process.stderr.write(`[messages-lint] модуль сервера не читается: ${error.message}\n`);
  process.exit(1);
}
const log = (text) => process.stderr.write(text);
const server = await startServer(module, { ...parsed.options, log });

// A client that goes away ends the conversation: the answers that cannot be written are lost.
process.stdout.on("error", () => {
  log("[messages-lint] клиент больше не читает ответы\n");
  process.exit(1);
});
function answer(bytes) {
  if (bytes.length) process.stdout.write(bytes);
  if (server.ended()) {
    process.exitCode = server.exitStatus();
    process.stdin.destroy();
  }
}
process.stdin.on("data", (chunk) => {
  if (!server.ended()) answer(server.feed(chunk));
});
process.stdin.on("end", () => {
  if (!server.ended()) answer(server.finish());
});
process.stdin.on("error", () => {
  log("[messages-lint] стандартный ввод не читается\n");
  process.exit(1);
});
