// The page of the language server's web worker test (lsp_worker_browser.py): a client of
// vscode-jsonrpc's browser transport, the one VS Code for the Web's language client uses, over
// lsp-worker.js. The test drives it through window.lsp:
//   await lsp.start(OPTIONS)      a new worker; OPTIONS (null or undefined: none) posted first, then
//                                 initialize, initialized and didOpen are sent without waiting,
//                                 so they reach the worker while its module is being made
//   await lsp.diagnostics()       the next publishDiagnostics of the open document
//   await lsp.request(M, PARAMS)  a request's result
//   lsp.logs                      the window/logMessage notifications received: [type, message]
//   lsp.firstDiagnosticsMs        from the worker made to its first publishDiagnostics received
import { BrowserMessageReader, BrowserMessageWriter, createMessageConnection } from "vscode-jsonrpc/browser";

export const URI = "file:///feeds/messages.json";

let connection = null;
let worker = null;
let published = [];
let waiting = [];

let madeAt = 0;

function deliver(params) {
  if (params.uri !== URI) return;
  if (window.lsp.firstDiagnosticsMs === null) window.lsp.firstDiagnosticsMs = performance.now() - madeAt;
  if (waiting.length) waiting.shift()(params.diagnostics);
  else published.push(params.diagnostics);
}

window.lsp = {
  logs: [],
  errors: [],
  firstDiagnosticsMs: null,
  async start(options, text) {
    if (connection) connection.dispose();
    if (worker) worker.terminate();
    published = [];
    waiting = [];
    this.logs = [];
    this.errors = [];
    this.firstDiagnosticsMs = null;
    madeAt = performance.now();
    worker = new Worker("lsp-worker.js");
    worker.addEventListener("error", (event) => this.errors.push(event.message));
    if (options !== undefined && options !== null) worker.postMessage(options);
    connection = createMessageConnection(new BrowserMessageReader(worker), new BrowserMessageWriter(worker));
    connection.onNotification("textDocument/publishDiagnostics", deliver);
    connection.onNotification("window/logMessage", (p) => this.logs.push([p.type, p.message]));
    connection.listen();
    const initialized = connection.sendRequest("initialize", { processId: null, rootUri: null, capabilities: {} });
    connection.sendNotification("initialized", {});
    connection.sendNotification("textDocument/didOpen", { textDocument: { uri: URI, languageId: "json", version: 1, text } });
    return await initialized;
  },
  diagnostics() {
    if (published.length) return Promise.resolve(published.shift());
    return new Promise((resolve) => waiting.push(resolve));
  },
  request(method, params) {
    return connection.sendRequest(method, params);
  },
  notify(method, params) {
    return connection.sendNotification(method, params);
  },
};
document.body.dataset.ready = "1";
