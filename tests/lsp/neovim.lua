-- Neovim (0.7 on) as a client of zolvek-lsp: the diagnostics of a faulty
-- source are the command line's, and hover and completion answer at known
-- positions. Run: ZOLVEK_LSP=... ZOLVEK=... ZOLVEK_EP=... nvim --headless -u NONE
-- -i NONE -n -c "luafile neovim.lua"; the exit status is the number of failures.
local server, zolvek, file = os.getenv("ZOLVEK_LSP"), os.getenv("ZOLVEK"), os.getenv("ZOLVEK_EP")
local failures = 0
local function check(what, ok, detail)
  if not ok then
    failures = failures + 1
    io.stderr:write(what .. ": " .. vim.inspect(detail) .. "\n")
  end
end

vim.cmd("edit " .. file)
local buffer = vim.api.nvim_get_current_buf()
local client = vim.lsp.start_client({ name = "zolvek", cmd = { server }, root_dir = vim.fn.getcwd() })
vim.lsp.buf_attach_client(buffer, client)
vim.wait(5000, function() return #vim.diagnostic.get(buffer) > 0 end)

local got = {}
for _, d in ipairs(vim.diagnostic.get(buffer)) do
  table.insert(got, string.format("%d:%s:%s", d.lnum + 1, d.severity == 1 and "error" or "warning", d.message))
end
table.sort(got)
local expected = {}
local command = string.format("%s -q --diagnostics=gnu %s 2>&1 >/dev/null", zolvek, file)
for _, line in ipairs(vim.fn.systemlist({ "sh", "-c", command })) do
  local number, kind, text = line:match(":(%d+): (%a+): (.*)$")
  if number then table.insert(expected, number .. ":" .. kind .. ":" .. text) end
end
table.sort(expected)
check("diagnostics", vim.deep_equal(got, expected) and #got == 3, { got = got, expected = expected })

local function ask(method, line, character)
  local params = { textDocument = { uri = vim.uri_from_bufnr(buffer) }, position = { line = line, character = character } }
  local answers = vim.lsp.buf_request_sync(buffer, method, params, 5000) or {}
  return (answers[client] or {}).result
end
local hover = ask("textDocument/hover", 3, 2)
check("hover on an indirect statement", hover and hover.contents.value:match("^0x00004004, 30 bytes"), hover)
local register = ask("textDocument/hover", 4, 9)
check("hover on a register name", register and register.contents.value:match("AREG7_0: bits 7 to 0 of register A"), register)
local mnemonics = ask("textDocument/completion", 5, 0)
check("mnemonics", mnemonics and #mnemonics == 37, mnemonics)
local names = ask("textDocument/completion", 4, 7)
check("first parameters", names and names[1].label == "AREG7_0", names)

vim.lsp.stop_client(client)
print(failures == 0 and "Neovim: diagnostics as the command line's, hover and completion answer" or "")
vim.cmd(failures == 0 and "qall!" or ("cquit " .. failures))
