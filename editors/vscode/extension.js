// The VS Code extension of messages-lint on the desktop: for the files named messages.json it
// starts the language server that server_choice.js picks from the settings (the launcher of the
// WebAssembly module under VS Code's own runtime, or the native program messagesLint.path names)
// and restarts it when a messagesLint setting changes; the rest is VS Code's language client.
// Bundled with its client into dist/extension.js by esbuild, so the .vsix needs no node_modules.
const fs = require("node:fs");
const vscode = require("vscode");
const { LanguageClient, TransportKind } = require("vscode-languageclient/node");
const choice = require("./server_choice.js");
const { activateWith } = require("./activation.js");

let client = null;

async function stop() {
  const running = client;
  client = null;
  if (running) await running.dispose().catch(() => {});
}

async function start(context, output) {
  const chosen = choice.chooseServer(vscode.workspace.getConfiguration(choice.SECTION), {
    asAbsolutePath: (file) => context.asAbsolutePath(file),
    exists: fs.existsSync,
    stdio: TransportKind.stdio,
  });
  if (chosen.error) {
    vscode.window.showErrorMessage(chosen.error);
    return;
  }
  client = new LanguageClient("messagesLint", "messages-lint", chosen.server, choice.clientOptions(output, vscode.workspace.getConfiguration(choice.SECTION)));
  try {
    await client.start();
  } catch (error) {
    vscode.window.showErrorMessage(choice.startFailureText(chosen.label, error));
  }
}

async function activate(context) {
  await activateWith(vscode, context, { start: (output) => start(context, output), stop });
}

module.exports = { activate, deactivate: stop };
