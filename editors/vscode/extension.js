// The VS Code extension of messages-lint: starts `messages-lint --lsp` (from PATH, or the
// program the messagesLint.path setting names) for the files named messages.json and leaves
// the rest to VS Code's language client. Bundled with its client into one file by esbuild, so
// the .vsix needs no node_modules.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

async function activate(context) {
  const settings = vscode.workspace.getConfiguration("messagesLint");
  const command = settings.get("path") || "messages-lint";
  const args = ["--lsp"];
  if (!settings.get("warnings", true)) args.push("--no-warnings");
  client = new LanguageClient(
    "messagesLint",
    "messages-lint",
    { command, args },
    {
      documentSelector: [{ scheme: "file", pattern: "**/messages.json" }],
      outputChannelName: "messages-lint",
    },
  );
  context.subscriptions.push(client);
  try {
    await client.start();
  } catch (error) {
    vscode.window.showErrorMessage(
      `messages-lint --lsp не запускается (${command}): ${error.message}. Укажите программу в настройке messagesLint.path.`,
    );
  }
}

async function deactivate() {
  if (client) await client.stop();
}

module.exports = { activate, deactivate };
