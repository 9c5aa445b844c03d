// Starts zolvek-lsp for Event Processor sources (.ep) and connects it to VS Code.
const vscode = require("vscode");
const { LanguageClient } = require("vscode-languageclient/node");

let client;

function activate(context) {
  const command = vscode.workspace.getConfiguration("zolvek").get("server.path", "zolvek-lsp");
  client = new LanguageClient(
    "zolvek",
    "Zolvek",
    { command },
    { documentSelector: [{ scheme: "file", language: "eventprocessor" }] }
  );
  context.subscriptions.push(client);
  return client.start();
}

function deactivate() {
  return client ? client.stop() : undefined;
}

module.exports = { activate, deactivate };
