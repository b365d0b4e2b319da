// What the desktop's and the web's entry points (extension.js, browser.js) share once they know
// how to start and stop their server: one output channel kept across restarts, a restart on a
// change of a messagesLint setting (server_choice.js's restartOnChange), and the server stopped
// when the extension is. `vscode` is passed in, so this file imports nothing of VS Code.
const choice = require("./server_choice.js");

// start(output) starts a client whose log is `output`; stop() stops it, if there is one.
async function activateWith(vscode, context, { start, stop }) {
  const output = vscode.window.createOutputChannel("messages-lint");
  context.subscriptions.push(output, { dispose: stop });
  const restart = choice.restartOnChange(async () => {
    await stop();
    await start(output);
  });
  context.subscriptions.push(vscode.workspace.onDidChangeConfiguration(restart));
  await start(output);
}

module.exports = { activateWith };
