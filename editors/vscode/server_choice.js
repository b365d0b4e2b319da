// What the extension starts, decided from its settings and its own files alone, so the decisions
// can be tested without VS Code: extension.js reads the settings, calls these, and hands the
// results to vscode-languageclient. No `vscode` import here.
//   settings: what vscode.workspace.getConfiguration("messagesLint") gives (get(name, default))
//   files:    { asAbsolutePath (the ExtensionContext's), exists(path), stdio (vscode-languageclient's
//             TransportKind.stdio) }
// Loaded by both bundles, the desktop's and the web's, so it needs nothing of Node either.

const SECTION = "messagesLint";
// The servers' files as the .vsix holds them: the launcher and the module it reads beside
// itself (desktop), and the worker with the module inside (web).
const LAUNCHER = "server/messages-lint-lsp.mjs";
const MODULE = "server/messages-lint-lsp.wasm";
const WORKER = "dist/lsp-worker.js";

// The language client's options: the files named messages.json of any scheme (file on the
// desktop, vscode-vfs on github.dev), the log in the one output channel the extension keeps
// across restarts, and the zone the hints write times in (messagesLint.hintZone: the author's,
// or UTC), which the server takes at initialize.
function clientOptions(outputChannel, settings) {
  const hintZone = settings?.get("hintZone", "author") === "UTC" ? "UTC" : "author";
  return { documentSelector: [{ pattern: "**/messages.json" }], outputChannel, initializationOptions: { "messages-lint": { hintZone } } };
}

// The options of the command line that the settings give, for either server.
function serverArgs(settings) {
  return settings.get("warnings", true) === false ? ["--no-warnings"] : [];
}

// The desktop's server: the launcher over the WebAssembly module when messagesLint.path is empty
// (VS Code's own runtime runs it, with the stdio transport), else the program it names, with
// --lsp. Returns { server, label } for the language client, or { error } when a file the
// launcher needs is missing from the extension.
function chooseServer(settings, { asAbsolutePath, exists, stdio }) {
  const program = String(settings.get("path", "") ?? "").trim();
  const args = serverArgs(settings);
  if (program !== "") return { server: { command: program, args: ["--lsp", ...args] }, label: program };
  const launcher = asAbsolutePath(LAUNCHER);
  for (const file of [launcher, asAbsolutePath(MODULE)]) {
    if (!exists(file)) return { error: missingModuleText(file) };
  }
  return { server: { module: launcher, transport: stdio, args }, label: "WebAssembly" };
}

// The first message of the web worker (lsp_worker.mjs): its options.
function workerOptions(settings) {
  return { warnings: settings.get("warnings", true) !== false };
}

function missingModuleText(file) {
  return `В расширении messages-lint нет файла ${file}: переустановите расширение или укажите программу messages-lint в настройке messagesLint.path.`;
}

function startFailureText(label, error) {
  return `Сервер messages-lint не запускается (${label}): ${error?.message ?? error}. Укажите программу в настройке messagesLint.path.`;
}

// Restarts on a change of a messagesLint setting, one at a time: a change that comes while a
// restart runs makes one more restart after it, however many such changes come, so the client
// ends with the latest settings. Any other setting changes nothing. `restart` returns a promise.
// Returns the handler of onDidChangeConfiguration; `handler.idle()` resolves when no restart is left.
function restartOnChange(restart) {
  let running = null;
  let again = false;
  async function run() {
    do {
      again = false;
      try {
        await restart();
      } catch {
        // The restart itself says what went wrong; the next change tries again.
      }
    } while (again);
    running = null;
  }
  const handler = (event) => {
    if (!event.affectsConfiguration(SECTION)) return;
    if (running) again = true;
    else running = run();
  };
  handler.idle = () => running ?? Promise.resolve();
  return handler;
}

module.exports = { SECTION, WORKER, clientOptions, chooseServer, workerOptions, missingModuleText, startFailureText, restartOnChange };
