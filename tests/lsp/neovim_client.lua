-- messages-lint --lsp under Neovim's built-in client (vim.lsp.start_client, as Debian's Neovim
-- 0.7 has it), headless. Opens the draft named by MT_DRAFT, waits for the server's diagnostics
-- and compares them with `messages-lint --format=json` of the same file (line, byte column,
-- severity, rule and text). Then what omnifunc would offer (Neovim 0.7 completes through it, with
-- the same conversion of the server's items) inside the last message and past it, and the inlay
-- hints, which 0.7 does not show, through a raw request. With MT_FIX_ALL=1 it then asks for the source.fixAll.messages-lint
-- action, applies it, writes the file and quits; the runner checks the written file.
-- Exits 0 when every check holds, 1 with the reason on standard error otherwise.
local lint = os.getenv("MT_LINT")
local draft = os.getenv("MT_DRAFT")
local now = os.getenv("MT_NOW")
local fix_all = os.getenv("MT_FIX_ALL") == "1"
-- A cross build's emulator and its arguments, separated by "|", put before the program.
local function command(...)
  local words = vim.split(os.getenv("MT_EMULATOR") or "", "|", true)
  local out = {}
  for _, w in ipairs(words) do if w ~= "" then table.insert(out, w) end end
  table.insert(out, lint)
  for _, a in ipairs({ ... }) do table.insert(out, a) end
  return out
end

local function fail(text)
  io.stderr:write("neovim client: " .. text .. "\n")
  vim.cmd("cquit 1")
end

vim.cmd("edit " .. vim.fn.fnameescape(draft))
local buffer = vim.api.nvim_get_current_buf()
-- The server: `LINT --lsp`, or the words of MT_SERVER (node and the WebAssembly module's launcher).
local function server_command()
  local words = vim.split(os.getenv("MT_SERVER") or "", "|", true)
  local out = {}
  for _, w in ipairs(words) do if w ~= "" then table.insert(out, w) end end
  if #out == 0 then return command("--lsp", "--now=" .. now) end
  table.insert(out, "--now=" .. now)
  return out
end

local client = vim.lsp.start_client({
  name = "messages-lint",
  cmd = server_command(),
  root_dir = vim.fn.fnamemodify(draft, ":h"),
})
if not client then return fail("the server did not start") end
vim.lsp.buf_attach_client(buffer, client)

-- The report of the command line, one object per line.
local report = {}
for _, line in ipairs(vim.fn.systemlist(command("--format=json", "--now=" .. now, draft))) do
  table.insert(report, vim.fn.json_decode(line))
end
if #report == 0 then return fail("the draft has no problem to show") end

if not vim.wait(10000, function() return #vim.diagnostic.get(buffer) >= #report end, 20) then
  return fail("no diagnostics within 10 s")
end
local shown = vim.diagnostic.get(buffer)
table.sort(shown, function(a, b) return a.lnum < b.lnum or (a.lnum == b.lnum and a.col < b.col) end)
if #shown ~= #report then return fail(#shown .. " diagnostics, the report has " .. #report) end
for i, p in ipairs(report) do
  local d = shown[i]
  local line = vim.api.nvim_buf_get_lines(buffer, p.line - 1, p.line, true)[1]
  local column = vim.str_byteindex(line, p.column - 1) -- the report counts characters
  local message = (p.after_first_error and "после первой ошибки: " or "") .. p.text
  for _, note in ipairs(p.notes) do message = message .. "\nпримечание: " .. note end
  local severity = p.severity == "error" and vim.diagnostic.severity.ERROR or vim.diagnostic.severity.WARN
  local code = d.user_data and d.user_data.lsp and d.user_data.lsp.code or d.code
  if d.lnum ~= p.line - 1 or d.col ~= column or d.severity ~= severity or d.message ~= message or code ~= p.rule
      or d.source ~= "messages-lint" then
    return fail("diagnostic " .. i .. " is " .. vim.inspect(d) .. " for " .. vim.inspect(p))
  end
end
io.stdout:write("neovim client: " .. #shown .. " diagnostics as the report has them\n")

-- The words omnifunc would complete at a place (line and byte column, 0-based), through 0.7's own
-- conversion of a completion list.
local function completion_words(line, column)
  vim.api.nvim_win_set_cursor(0, { line + 1, column })
  local answers = vim.lsp.buf_request_sync(buffer, "textDocument/completion", vim.lsp.util.make_position_params(), 5000)
  local words = {}
  for _, answer in pairs(answers or {}) do
    for _, item in ipairs(vim.lsp.util.text_document_completion_list_to_complete_items(answer.result, "")) do
      table.insert(words, item.word)
    end
  end
  return words
end

if not fix_all then
  local lines = vim.api.nvim_buf_get_lines(buffer, 0, -1, true)
  -- The last message's brace, and the line that closes it.
  local open, close
  for i, text in ipairs(lines) do
    if text:match("^    {$") then open = i - 1 end
    if text:match("^    },?$") then close = i - 1 end
  end
  -- At the start of the line after its brace (a normal-mode cursor cannot stand past a line's end).
  local inside = completion_words(open + 1, 0)
  if vim.inspect(inside) ~= vim.inspect({ '"minVersion": ', '"maxVersion": ' }) then
    return fail("omnifunc would offer " .. vim.inspect(inside) .. " inside the last message")
  end
  local after = completion_words(close, 5)
  if #after ~= 1 or not after[1]:match('^,?%s*{\n%s*"id": "message%-5",') then
    return fail("omnifunc would offer " .. vim.inspect(after) .. " past the last message")
  end
  io.stdout:write("neovim client: omnifunc would offer the keys a message lacks and a new message\n")

  local params = { textDocument = vim.lsp.util.make_text_document_params(),
                   range = { start = { line = 0, character = 0 }, ["end"] = { line = #lines, character = 0 } } }
  local answers = vim.lsp.buf_request_sync(buffer, "textDocument/inlayHint", params, 5000)
  local labels, wanted = {}, {}
  for _, answer in pairs(answers or {}) do
    for _, hint in ipairs(answer.result or {}) do table.insert(labels, hint.label) end
  end
  for _, text in ipairs(lines) do
    local seconds = text:match('"start_at": (%d+)') or text:match('"end_at": (%d+)')
    if seconds then table.insert(wanted, os.date("!%Y-%m-%d %H:%M", tonumber(seconds)) .. " UTC") end
  end
  if vim.inspect(labels) ~= vim.inspect(wanted) then
    return fail("the hints are " .. vim.inspect(labels) .. ", not " .. vim.inspect(wanted))
  end
  io.stdout:write("neovim client: " .. #labels .. " hints, the dates of the windows\n")
end

if fix_all then
  local params = vim.lsp.util.make_range_params()
  params.range = { start = { line = 0, character = 0 }, ["end"] = { line = vim.api.nvim_buf_line_count(buffer), character = 0 } }
  params.context = { diagnostics = {}, only = { "source.fixAll.messages-lint" } }
  local answers = vim.lsp.buf_request_sync(buffer, "textDocument/codeAction", params, 5000)
  local action
  for _, answer in pairs(answers or {}) do
    for _, a in ipairs(answer.result or {}) do
      if a.kind == "source.fixAll.messages-lint" then action = a end
    end
  end
  if not action then return fail("no source.fixAll.messages-lint action offered") end
  vim.lsp.util.apply_workspace_edit(action.edit, "utf-16")
  vim.cmd("write")
  io.stdout:write("neovim client: applied \"" .. action.title .. "\" and wrote the file\n")
end

vim.lsp.stop_client(client)
vim.cmd("qall!")
