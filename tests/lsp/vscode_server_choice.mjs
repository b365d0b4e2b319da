// The VS Code extension's decisions without VS Code: server_choice.js over rows of settings and
// of the extension's files, then extension.js itself activated against a stub of what it calls
// from `vscode` and vscode-languageclient, with configuration changes fired at it.
//   node vscode_server_choice.mjs EDITORS_VSCODE_DIR
import Module, { createRequire } from "node:module";
import { isDeepStrictEqual } from "node:util";
import { join, resolve } from "node:path";

const folder = resolve(process.argv[2]);
const require = createRequire(join(folder, "extension.js"));
const choice = require("./server_choice.js");

let failures = 0;
function check(name, got, want) {
  if (isDeepStrictEqual(got, want)) return;
  failures += 1;
  console.error(`FAIL: ${name}\n  got  ${JSON.stringify(got)}\n  want ${JSON.stringify(want)}`);
}

// What getConfiguration("messagesLint") gives: the values set, else the default asked for.
const settingsOf = (values) => ({ get: (name, fallback) => (name in values ? values[name] : fallback) });
const EXT = "/ext";
const LAUNCHER = "/ext/server/messages-lint-lsp.mjs";
const WASM = "/ext/server/messages-lint-lsp.wasm";
const STDIO = "stdio-transport";
const START_FAILURE = "spawn messages-lint ENOENT";
const BOTH = [LAUNCHER, WASM];
const files = (present) => ({ asAbsolutePath: (p) => `${EXT}/${p}`, exists: (p) => present.includes(p), stdio: STDIO });
const module_ = (args) => ({ server: { module: LAUNCHER, transport: STDIO, args }, label: "WebAssembly" });
const program = (command, args) => ({ server: { command, args: ["--lsp", ...args] }, label: command });

// Settings, the extension's files present, the choice.
const CHOICES = [
  [{}, BOTH, module_([])],
  [{ path: "" }, BOTH, module_([])],
  [{ path: "  " }, BOTH, module_([])],
  [{ path: "", warnings: false }, BOTH, module_(["--no-warnings"])],
  [{ path: "", warnings: true }, BOTH, module_([])],
  [{ path: "messages-lint" }, BOTH, program("messages-lint", [])],
  [{ path: " /opt/mt/bin/messages-lint " }, BOTH, program("/opt/mt/bin/messages-lint", [])],
  [{ path: "C:\\Program Files\\mt\\messages-lint.exe", warnings: false }, BOTH,
   program("C:\\Program Files\\mt\\messages-lint.exe", ["--no-warnings"])],
  // The native program needs nothing of the extension's server.
  [{ path: "messages-lint" }, [], program("messages-lint", [])],
  [{}, [WASM], { error: choice.missingModuleText(LAUNCHER) }],
  [{}, [LAUNCHER], { error: choice.missingModuleText(WASM) }],
  [{ warnings: false }, [], { error: choice.missingModuleText(LAUNCHER) }],
];
for (const [values, present, want] of CHOICES)
  check(`chooseServer ${JSON.stringify(values)} with ${JSON.stringify(present)}`, choice.chooseServer(settingsOf(values), files(present)), want);
check("the missing file's text", choice.missingModuleText(WASM),
  `В расширении messages-lint нет файла ${WASM}: переустановите расширение или укажите программу messages-lint в настройке messagesLint.path.`);

// Settings, the web worker's first message.
for (const [values, want] of [[{}, { warnings: true }], [{ warnings: false }, { warnings: false }], [{ warnings: true }, { warnings: true }]])
  check(`workerOptions ${JSON.stringify(values)}`, choice.workerOptions(settingsOf(values)), want);

// Settings, the zone the server is asked to write the hints' times in.
for (const [values, want] of [[{}, "author"], [{ hintZone: "UTC" }, "UTC"], [{ hintZone: "author" }, "author"], [{ hintZone: "Mars" }, "author"]])
  check(`clientOptions ${JSON.stringify(values)}`, choice.clientOptions({ name: "o" }, settingsOf(values)).initializationOptions,
    { "messages-lint": { hintZone: want } });

// A configuration change as VS Code describes it: the settings it touched.
const change = (...keys) => ({ affectsConfiguration: (section) => keys.some((k) => k === section || k.startsWith(`${section}.`)) });
const tick = () => new Promise((done) => setTimeout(done, 5));

// Changes, fired while the restart before still runs when "during" (else one after another), the
// restarts made; a restart that fails does not stop the next.
const RESTARTS = [
  [[["messagesLint.path"]], false, 1],
  [[["editor.fontSize"]], false, 0],
  [[["messagesLint.path", "messagesLint.warnings"]], false, 1],
  [[["editor.fontSize", "messagesLint.warnings"]], false, 1],
  [[["messagesLint.warnings"], ["files.autoSave"], ["messagesLint.path"]], false, 2],
  [[["messagesLint.warnings"], ["messagesLint.path"]], true, 2],
  [[["messagesLint.warnings"], ["messagesLint.path"], ["messagesLint.warnings"], ["messagesLint.path"]], true, 2],
  [[["messagesLint.warnings"], ["editor.fontSize"]], true, 1],
];
for (const [changes, during, want] of RESTARTS) {
  let made = 0;
  const handler = choice.restartOnChange(async () => {
    made += 1;
    await tick();
    if (made === 1) throw new Error("the first restart fails");
  });
  for (const keys of changes) {
    handler(change(...keys));
    if (!during) await handler.idle();
  }
  await handler.idle();
  check(`restarts for ${JSON.stringify(changes)}${during ? " during a restart" : ""}`, made, want);
}

// extension.js with stubs: what it shows, the clients it makes and what becomes of them.
function loadExtension({ settings, present, startFails = false, entry = "extension.js" }) {
  const seen = { errors: [], clients: [], listeners: [], workers: [] };
  const vscode = {
    workspace: {
      getConfiguration: (section) => (section === "messagesLint" ? settingsOf(settings) : settingsOf({})),
      onDidChangeConfiguration: (listener) => {
        seen.listeners.push(listener);
        return { dispose: () => seen.listeners.splice(seen.listeners.indexOf(listener), 1) };
      },
    },
    window: {
      showErrorMessage: (text) => seen.errors.push(text),
      createOutputChannel: (name) => ({ name, dispose() {} }),
    },
    Uri: { joinPath: (base, ...parts) => ({ path: [base.path, ...parts].join("/"), toString: () => `https://ext${[base.path, ...parts].join("/")}` }) },
  };
  // The web's worker: its script, the messages posted to it, terminated or not.
  class Worker {
    constructor(url) {
      this.url = url;
      this.posted = [];
      this.terminated = false;
      seen.workers.push(this);
    }
    postMessage(message) {
      this.posted.push(message);
    }
    terminate() {
      this.terminated = true;
    }
  }
  class LanguageClient {
    constructor(id, name, ...rest) {
      // The desktop's client takes the server before the options, the web's the worker after them.
      const [server, options] = entry === "browser.js" ? [rest[1], rest[0]] : rest;
      this.made = { id, name, server, selector: options.documentSelector, output: options.outputChannel.name };
      this.state = "made";
      seen.clients.push(this);
    }
    async start() {
      this.state = "started";
      if (startFails) throw new Error(START_FAILURE);
    }
    async dispose() {
      this.state = "disposed";
    }
  }
  const stubs = {
    vscode,
    "vscode-languageclient/node": { LanguageClient, TransportKind: { stdio: STDIO } },
    "vscode-languageclient/browser": { LanguageClient },
    "node:fs": { existsSync: (p) => present.includes(p) },
  };
  const load = Module._load;
  Module._load = function (request, ...rest) {
    return request in stubs ? stubs[request] : load.call(this, request, ...rest);
  };
  const extensionPath = join(folder, entry);
  const global = globalThis.Worker;
  globalThis.Worker = Worker;
  delete require.cache[extensionPath];
  delete require.cache[join(folder, "server_choice.js")];
  try {
    const extension = require(extensionPath);
    const context = { subscriptions: [], asAbsolutePath: (p) => `${EXT}/${p}`, extensionUri: { path: EXT } };
    return { extension, context, seen, restore: () => (globalThis.Worker = global) };
  } finally {
    Module._load = load;
  }
}
const made = (seen) => seen.clients.map((c) => [c.made.server, c.state]);
const SELECTOR = [{ pattern: "**/messages.json" }];

// Settings at activation, files present, then settings after a change of the keys given: the
// clients made with their fate, and the error texts shown.
const ACTIVATIONS = [
  [{ path: "" }, BOTH, null, [[module_([]).server, "started"]], []],
  [{ path: "" }, BOTH, [{ path: "", warnings: false }, "messagesLint.warnings"],
   [[module_([]).server, "disposed"], [module_(["--no-warnings"]).server, "started"]], []],
  [{ path: "" }, BOTH, [{ path: "/usr/bin/messages-lint" }, "messagesLint.path"],
   [[module_([]).server, "disposed"], [program("/usr/bin/messages-lint", []).server, "started"]], []],
  [{ path: "" }, BOTH, [{ path: "", warnings: false }, "editor.fontSize"], [[module_([]).server, "started"]], []],
  [{}, [WASM], null, [], [choice.missingModuleText(LAUNCHER)]],
  // The module missing, then a program named: the program starts.
  [{}, [], [{ path: "messages-lint" }, "messagesLint.path"], [[program("messages-lint", []).server, "started"]],
   [choice.missingModuleText(LAUNCHER)]],
];
for (const [settings, present, then, wantClients, wantErrors] of ACTIVATIONS) {
  const { extension, context, seen } = loadExtension({ settings, present });
  await extension.activate(context);
  if (then) {
    Object.assign(settings, then[0]);
    for (const key of Object.keys(settings)) if (!(key in then[0])) delete settings[key];
    for (const listener of seen.listeners) listener(change(then[1]));
    await tick();
    await tick();
  }
  const name = `activate ${JSON.stringify(settings)} with ${JSON.stringify(present)}${then ? ` then ${then[1]}` : ""}`;
  check(`${name}: clients`, made(seen), wantClients);
  check(`${name}: errors`, seen.errors, wantErrors);
  for (const c of seen.clients) check(`${name}: selector and output`, [c.made.selector, c.made.output], [SELECTOR, "messages-lint"]);
  for (const d of context.subscriptions) await d.dispose();
  check(`${name}: deactivated`, seen.clients.every((c) => c.state === "disposed") && seen.listeners.length === 0, true);
}

// browser.js, VS Code for the Web: settings at activation, the worker's script present or not
// (when not, the client's start fails),
// then settings after a change of the key given: each worker with its first message and fate,
// the clients' workers with their fate, the error texts shown.
const WORKER = `${EXT}/dist/lsp-worker.js`;
const WORKER_URL = `https://ext${WORKER}`;
const WEB = [
  [{}, [WORKER], null, [[WORKER_URL, [{ warnings: true }], false]], [[0, "started"]], []],
  [{ warnings: false, path: "/usr/bin/messages-lint" }, [WORKER], null, [[WORKER_URL, [{ warnings: false }], false]],
   [[0, "started"]], []],
  [{}, [WORKER], [{ warnings: false }, "messagesLint.warnings"],
   [[WORKER_URL, [{ warnings: true }], true], [WORKER_URL, [{ warnings: false }], false]],
   [[0, "disposed"], [1, "started"]], []],
  [{}, [WORKER], [{ warnings: false }, "editor.fontSize"], [[WORKER_URL, [{ warnings: true }], false]], [[0, "started"]], []],
  // A worker that does not start: the client's start fails, and its text says so.
  [{}, [], null, [[WORKER_URL, [{ warnings: true }], false]], [[0, "started"]],
   [choice.startFailureText("WebAssembly", new Error(START_FAILURE))]],
];
for (const [settings, present, then, wantWorkers, wantClients, wantErrors] of WEB) {
  const startFails = !present.includes(WORKER);
  const { extension, context, seen, restore } = loadExtension({ settings, present, startFails, entry: "browser.js" });
  try {
    await extension.activate(context);
    if (then) {
      Object.assign(settings, then[0]);
      for (const listener of seen.listeners) listener(change(then[1]));
      await tick();
      await tick();
    }
    const name = `web: activate ${JSON.stringify(settings)} with ${JSON.stringify(present)}${then ? ` then ${then[1]}` : ""}`;
    check(`${name}: workers`, seen.workers.map((w) => [w.url, w.posted, w.terminated]), wantWorkers);
    check(`${name}: clients`, seen.clients.map((c) => [seen.workers.indexOf(c.made.server), c.state]), wantClients);
    check(`${name}: errors`, seen.errors, wantErrors);
    for (const c of seen.clients) check(`${name}: selector`, c.made.selector, SELECTOR);
    for (const d of context.subscriptions) await d.dispose();
    check(`${name}: deactivated`, seen.workers.every((w) => w.terminated) && seen.listeners.length === 0, true);
  } finally {
    restore();
  }
}

// A program that does not start: its text, naming the program.
{
  const { extension, context, seen } = loadExtension({ settings: { path: "/nowhere/messages-lint" }, present: BOTH, startFails: true });
  await extension.activate(context);
  check("a program that does not start", seen.errors, [choice.startFailureText("/nowhere/messages-lint", new Error(START_FAILURE))]);
  check("its text", seen.errors[0],
    "Сервер messages-lint не запускается (/nowhere/messages-lint): spawn messages-lint ENOENT. Укажите программу в настройке messagesLint.path.");
}

console.log(failures ? `vscode_server_choice: ${failures} failures` : "vscode_server_choice: passed");
process.exit(failures ? 1 : 0);
