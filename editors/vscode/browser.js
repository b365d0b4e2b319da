// The VS Code extension of messages-lint in VS Code for the Web (vscode.dev, github.dev): the
// language server runs in a Web Worker (dist/lsp-worker.js, the WebAssembly module inside),
// its options given as the worker's first message, with the browser's language client; it is
// restarted, in a new worker, when a messagesLint setting changes. Bundled into dist/browser.js.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/browser");
const choice = require("./server_choice.js");
const { activateWith } = require("./activation.js");

let client = null;
let worker = null;

async function stop() {
  const running = client;
  const thread = worker;
  client = null;
  worker = null;
  if (running) await running.dispose().catch(() => {});
  if (thread) thread.terminate();
}

async function start(context, output) {
  // Not looked for first: the extension's own files may have a scheme that workspace.fs does
  // not read (https, when installed from an address). A worker whose script is missing fails to
  // start, and the client says so below.
  const script = vscode.Uri.joinPath(context.extensionUri, choice.WORKER);
  worker = new Worker(script.toString(true));
  worker.postMessage(choice.workerOptions(vscode.workspace.getConfiguration(choice.SECTION)));
  client = new LanguageClient("messagesLint", "messages-lint", choice.clientOptions(output, vscode.workspace.getConfiguration(choice.SECTION)), worker);
  try {
    await client.start();
  } catch (error) {
    vscode.window.showErrorMessage(choice.startFailureText("WebAssembly", error));
  }
}

async function activate(context) {
  await activateWith(vscode, context, { start: (output) => start(context, output), stop });
}

module.exports = { activate, deactivate: stop };
