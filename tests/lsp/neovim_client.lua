-- messages-lint --lsp under Neovim's built-in client (vim.lsp.start_client, as Debian's Neovim
-- 0.7 has it), headless. Opens the draft named by MT_DRAFT, waits for the server's diagnostics
-- and compares them with `messages-lint --format=json` of the same file (line, byte column,
-- severity, rule and text). With MT_FIX_ALL=1 it then asks for the source.fixAll.messages-lint
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
