// The VS Code grammar through the engine VS Code uses (vscode-textmate with
// vscode-oniguruma, pinned in package-lock.json here): the scopes of mnemonics,
// register names, numbers, a comment and the ORIGIN directive in the example.
// Usage: node grammar.js GRAMMAR EXAMPLE; exits with 77 before `npm ci` here.
const fs = require("fs");
const path = require("path");

let textmate;
let oniguruma;
try {
  textmate = require("vscode-textmate");
  oniguruma = require("vscode-oniguruma");
} catch {
  console.log("skipped: no node_modules (run npm ci in tests/editors)");
  process.exit(77);
}
const [grammarPath, examplePath] = process.argv.slice(2);
const expected = {
  WRREG8: "keyword.other.mnemonic.ep",
  REGRD16BI: "keyword.other.mnemonic.ep",
  END: "keyword.other.mnemonic.ep",
  AREG7_0: "variable.language.register.ep",
  AREG15_0: "variable.language.register.ep",
  "0x12": "constant.numeric.ep",
  " Demo program": "comment.line.double-slash.ep",
  ORIGIN: "keyword.control.directive.origin.ep",
  "0x4000": "constant.numeric.hex.ep",
};

(async () => {
  const onigPath = path.join(path.dirname(require.resolve("vscode-oniguruma")), "onig.wasm");
  await oniguruma.loadWASM(fs.readFileSync(onigPath).buffer);
  const registry = new textmate.Registry({
    onigLib: Promise.resolve({
      createOnigScanner: (patterns) => new oniguruma.OnigScanner(patterns),
      createOnigString: (text) => new oniguruma.OnigString(text),
    }),
    loadGrammar: async () => textmate.parseRawGrammar(fs.readFileSync(grammarPath, "utf8"), grammarPath),
  });
  const grammar = await registry.loadGrammar("source.ep");
  const scopes = {}; // each token's text and its innermost scope
  let state = textmate.INITIAL;
  for (const line of fs.readFileSync(examplePath, "utf8").split(/\r?\n/)) {
    const result = grammar.tokenizeLine(line, state);
    for (const token of result.tokens) {
      scopes[line.slice(token.startIndex, token.endIndex)] = token.scopes[token.scopes.length - 1];
    }
    state = result.ruleStack;
  }
  const wrong = Object.keys(expected).filter((text) => scopes[text] !== expected[text]);
  for (const text of wrong) {
    console.log(`'${text}': ${scopes[text]}, not ${expected[text]}`);
  }
  console.log(wrong.length === 0 ? "grammar: every scope as expected" : "grammar: FAILED");
  process.exit(wrong.length === 0 ? 0 : 1);
})();
