// messages-lint's language server in a browser's Web Worker (VS Code for the Web): the module of
// messages-lint-lsp.wasm, embedded in this script by the bundler, run by its host (lsp_host.mjs).
// The worker speaks as vscode-jsonrpc's browser transport does: each message a JSON-RPC object
// through postMessage, in both directions. What the session writes to its log comes to the client
// as window/logMessage notifications (type Log), so it shows in the client's output.
//
// Options: the first message the worker receives may be an options object instead of a JSON-RPC
// message, told apart by having no "jsonrpc" member:
//   { "warnings": false, "now": 1796000000 }
// `warnings` (default true) false as --no-warnings; `now` as --now, Unix seconds as a number,
// BigInt or decimal text (default null: the clock at each check). When the first message is a
// JSON-RPC message, the defaults apply and that message is the first the server reads. An options
// object that is wrong in any way is refused with an error message to the log, and the defaults
// apply. Messages that arrive while the module is being instantiated wait in order.
//
// After the client's exit notification the worker closes itself. A fault of the module (a trap)
// is reported to the log as an error, and then thrown, so that the client sees the worker's error
// event; the worker reads nothing more after it.

// The module's bytes: the bundler's alias names this build's messages-lint-lsp.wasm.
import moduleBytes from "messages-lint-lsp.wasm";
import { bodies, frame, startServer } from "./lsp_host.mjs";

const LOG = 4;
const ERROR = 1;

const log = (type, message) => postMessage({ jsonrpc: "2.0", method: "window/logMessage", params: { type, message } });

// The options of a first message, or the text that says why they are wrong.
function readOptions(message) {
  if (message === null || typeof message !== "object" || Array.isArray(message)) return { error: "параметры не объект" };
  const options = { warnings: true, now: null };
  for (const [key, value] of Object.entries(message)) {
    if (key === "warnings") {
      if (typeof value !== "boolean") return { error: "warnings ждёт true или false" };
      options.warnings = value;
    } else if (key === "now") {
      if (value === null) continue;
      let seconds;
      if (typeof value === "bigint") seconds = value;
      else if (typeof value === "number" && Number.isSafeInteger(value)) seconds = BigInt(value);
      else if (typeof value === "string" && /^[+-]?\d+$/.test(value)) seconds = BigInt(value);
      if (seconds === undefined || seconds > 2n ** 63n - 1n || seconds < -(2n ** 63n))
        return { error: "now ждёт целое число секунд Unix" };
      options.now = seconds;
    } else {
      return { error: `неизвестный параметр ${key}` };
    }
  }
  return { options };
}

let server = null;
let failed = false;
const waiting = [];
let first = true;

// Reported to the log, then thrown outside any promise, so the client gets the worker's error event.
function fail(text, error) {
  failed = true;
  log(ERROR, `[messages-lint] ${text}: ${error.message}`);
  setTimeout(() => {
    throw error;
  });
}

function serve(message) {
  if (failed || server.ended()) return;
  let text;
  try {
    text = JSON.stringify(message);
    if (typeof text !== "string") throw new Error(`${typeof message}`);
  } catch (error) {
    log(ERROR, `[messages-lint] сообщение клиента не записывается в JSON: ${error.message}`);
    return;
  }
  let answers;
  try {
    answers = bodies(server.feed(frame(text)));
  } catch (error) {
    return fail("сервер остановился", error);
  }
  for (const body of answers) postMessage(JSON.parse(body));
  if (server.ended()) {
    server.stop();
    close();
  }
}

async function start(options) {
  try {
    server = await startServer(moduleBytes, { ...options, log: (text) => log(LOG, text.replace(/\n$/, "")) });
  } catch (error) {
    return fail("модуль сервера не запускается", error);
  }
  while (waiting.length && !failed) serve(waiting.shift());
}

self.onmessage = (event) => {
  const message = event.data;
  if (first) {
    first = false;
    const isOptions = message === null || typeof message !== "object" || !("jsonrpc" in message);
    if (isOptions) {
      const read = readOptions(message);
      if (read.error) log(ERROR, `[messages-lint] параметры воркера не приняты: ${read.error}`);
      start(read.options ?? { warnings: true, now: null });
      return;
    }
    start({ warnings: true, now: null });
  }
  if (failed) return;
  if (server === null) waiting.push(message);
  else serve(message);
};
