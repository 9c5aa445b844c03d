// zolvek-lsp: a language server for Event Processor sources over standard
// input and output (LSP 3.17). It translates each open document in process
// through the translator library, publishes the messages about its lines, and
// answers hover, completion and document symbol requests from the layout.
#include "inst_table.h"
#include "lsp_document.h"
#include "lsp_transport.h"

#include <nlohmann/json.hpp>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

using json = nlohmann::json;

namespace {

// The error codes of JSON-RPC and the protocol.
constexpr int PARSE_ERROR = -32700;
constexpr int INVALID_REQUEST = -32600;
constexpr int METHOD_NOT_FOUND = -32601;
constexpr int INVALID_PARAMS = -32602;
constexpr int SERVER_NOT_INITIALIZED = -32002;

struct server {
    bool initialized;
    bool shut_down;
    std::map<std::string, std::string> documents; // text by URI
};

void send(const json& message) {
    if (write_message(stdout, message.dump(-1, ' ', false, json::error_handler_t::replace))) {
        std::exit(1); // the client is gone
    }
}

void send_error(const json& id, int code, const std::string& text) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", text}}}});
}

void send_result(const json& id, const json& result) {
    send({{"jsonrpc", "2.0"}, {"id", id}, {"result", result}});
}

json position(uint32_t line, unsigned character) {
    return {{"line", line}, {"character", character}};
}

// The range of bytes [first_column - 1, last_column) of a line (from 1), or
// the whole line when first_column is 0.
json line_range(const std::string& text, uint32_t line, unsigned first_column,
                unsigned last_column) {
    const std::string content = line_text(text, line - 1);
    const unsigned start = first_column == 0 ? 0 : utf16_units(content, first_column - 1);
    const unsigned end = utf16_units(content, first_column == 0 ? content.size() : last_column);
    return {{"start", position(line - 1, start)}, {"end", position(line - 1, end)}};
}

void publish_diagnostics(const std::string& uri, const std::string& text) {
    json diagnostics = json::array();
    for (const document_message& message : analyse(text).messages) {
        diagnostics.push_back(
            {{"range", line_range(text, message.line, message.first_column, message.last_column)},
             {"severity", message.level == SEVERITY_ERROR ? 1 : 2},
             {"source", "zolvek"},
             {"message", message.text}});
    }
    send({{"jsonrpc", "2.0"},
          {"method", "textDocument/publishDiagnostics"},
          {"params", {{"uri", uri}, {"diagnostics", diagnostics}}}});
}

std::string hex(uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
    return text;
}

bool is_word_char(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// The word of letters, digits and '_' around byte `at` of the line.
std::string word_at(const std::string& line, size_t at) {
    size_t first = at;
    while (first > 0 && is_word_char(line[first - 1])) {
        --first;
    }
    size_t end = at;
    while (end < line.size() && is_word_char(line[end])) {
        ++end;
    }
    return line.substr(first, end - first);
}

std::string describe_instruction(const inst_def& entry) {
    std::string text = std::string(entry.name) + ": " + std::to_string(entry.nparams) +
                       (entry.nparams == 1 ? " parameter, " : " parameters, ") +
                       std::to_string(entry.size) + (entry.size == 1 ? " byte" : " bytes");
    if (entry.params != nullptr) {
        text += "\n\nfirst parameter:";
        for (const char* const* name = entry.params; *name != nullptr; ++name) {
            text += std::string(" ") + *name;
        }
    }
    return text;
}

// AREG15_8: bits 15 to 8 of register A. Empty for any other word.
std::string describe_register(const std::string& word) {
    unsigned high = 0;
    unsigned low = 0;
    char tail = '\0';
    if (word.size() < 7 || (word[0] != 'A' && word[0] != 'B') || word.compare(1, 3, "REG") != 0 ||
        std::sscanf(word.c_str() + 4, "%u_%u%c", &high, &low, &tail) != 2 || high < low ||
        high > 31) {
        return "";
    }
    return word + ": bits " + std::to_string(high) + " to " + std::to_string(low) +
           " of register " + word[0];
}

json hover(const std::string& text, uint32_t line, unsigned character) {
    const document_analysis analysis = analyse(text);
    const std::string content = line_text(text, line);
    const size_t at = byte_offset(content, character);
    const unsigned column = static_cast<unsigned>(at) + 1;
    std::string value;
    for (size_t i = 0; i < analysis.rows.size(); ++i) {
        const document_row& row = analysis.rows[i];
        if (row.kind == ROW_LABEL && row.line == line + 1 && value.empty()) {
            value = "label " + row.text + ": offset " + std::to_string(row.address) + ", address " +
                    hex(analysis.origin + row.address);
        }
        if (row.kind != ROW_STATEMENT || row.line != line + 1 || column < row.first_column ||
            column > row.last_column) {
            continue;
        }
        value = hex(row.address) + ", " + std::to_string(row.size) + " bytes";
        for (size_t j = i + 1; j < analysis.rows.size() && analysis.rows[j].kind == ROW_EXPANSION;
             ++j) {
            value += "\n    " + hex(analysis.rows[j].address) + "  " + analysis.rows[j].text;
        }
    }
    if (analysis.origin_found && analysis.origin_line == line + 1 && value.empty()) {
        value = "origin " + hex(analysis.origin) + ", end " +
                hex(analysis.origin + analysis.code_size) + ", code size " +
                std::to_string(analysis.code_size) + " bytes, array size " +
                std::to_string(analysis.array_size) + " bytes";
    }
    const std::string word = word_at(content, at);
    const inst_def* entry = find_instruction(word.c_str(), word.size());
    const std::string about =
        entry != nullptr ? describe_instruction(*entry) : describe_register(word);
    value += value.empty() || about.empty() ? about : "\n\n" + about;
    if (value.empty()) {
        return nullptr;
    }
    return {{"contents", {{"kind", "plaintext"}, {"value", value}}}};
}

// Mnemonics where a statement may begin; after "MNEMONIC(" the names its first
// parameter allows.
json completion(const std::string& text, uint32_t line, unsigned character) {
    const std::string content = line_text(text, line);
    const std::string before = content.substr(0, byte_offset(content, character));
    const size_t statement =
        before.find_last_of(';') == std::string::npos ? 0 : before.find_last_of(';') + 1;
    const std::string current = before.substr(statement);
    json items = json::array();
    if (current.find("//") != std::string::npos) {
        return items;
    }
    const size_t open = current.find('(');
    if (open == std::string::npos) {
        for (size_t i = 0; i < INST_COUNT; ++i) {
            items.push_back({{"label", instruction(i).name}, {"kind", 3}});
        }
        return items;
    }
    std::string mnemonic = current.substr(0, open);
    mnemonic.erase(0, mnemonic.find_first_not_of(" \t"));
    mnemonic.erase(mnemonic.find_last_not_of(" \t") + 1);
    const inst_def* entry = find_instruction(mnemonic.c_str(), mnemonic.size());
    if (entry == nullptr || entry->params == nullptr ||
        current.find(',', open) != std::string::npos) {
        return items;
    }
    for (const char* const* name = entry->params; *name != nullptr; ++name) {
        items.push_back({{"label", *name}, {"kind", 21}});
    }
    return items;
}

json document_symbols(const std::string& text) {
    const document_analysis analysis = analyse(text);
    json symbols = json::array();
    if (analysis.origin_found) {
        const json range = line_range(text, analysis.origin_line, 0, 0);
        symbols.push_back({{"name", "ORIGIN " + hex(analysis.origin)},
                           {"detail", std::to_string(analysis.code_size) + " bytes of code"},
                           {"kind", 14},
                           {"range", range},
                           {"selectionRange", range}});
    }
    for (const document_row& row : analysis.rows) {
        if (row.kind != ROW_STATEMENT && row.kind != ROW_LABEL) {
            continue;
        }
        const bool label = row.kind == ROW_LABEL;
        const json range = line_range(text, row.line, row.first_column, row.last_column);
        symbols.push_back(
            {{"name", label ? "LABEL " + row.text : row.text},
             {"detail", label ? "offset " + std::to_string(row.address)
                              : hex(row.address) + ", " + std::to_string(row.size) + " bytes"},
             {"kind", label ? 13 : 12},
             {"range", range},
             {"selectionRange", range}});
    }
    return symbols;
}

json capabilities() {
    return {{"capabilities",
             {{"textDocumentSync", {{"openClose", true}, {"change", 1}}},
              {"hoverProvider", true},
              {"completionProvider", {{"triggerCharacters", {"("}}}},
              {"documentSymbolProvider", true}}},
            {"serverInfo", {{"name", "zolvek-lsp"}}}};
}

// The text of the open document a request names, or null (answered with an error).
const std::string* requested_document(const server& state, const json& id, const json& params) {
    const json* uri = params.is_object() && params.contains("textDocument") &&
                              params["textDocument"].is_object() &&
                              params["textDocument"].contains("uri")
                          ? &params["textDocument"]["uri"]
                          : nullptr;
    const auto found =
        uri != nullptr && uri->is_string() ? state.documents.find(*uri) : state.documents.end();
    if (found == state.documents.end()) {
        send_error(id, INVALID_PARAMS, "no such open document");
        return nullptr;
    }
    return &found->second;
}

void answer_request(server* state, const std::string& method, const json& id, const json& params) {
    if (method == "initialize") {
        state->initialized = true;
        send_result(id, capabilities());
        return;
    }
    if (!state->initialized) {
        send_error(id, SERVER_NOT_INITIALIZED, "the server is not initialized");
        return;
    }
    if (state->shut_down) {
        send_error(id, INVALID_REQUEST, "the server is shut down");
        return;
    }
    if (method == "shutdown") {
        state->shut_down = true;
        send_result(id, nullptr);
        return;
    }
    const bool known = method == "textDocument/hover" || method == "textDocument/completion" ||
                       method == "textDocument/documentSymbol";
    if (!known) {
        send_error(id, METHOD_NOT_FOUND, "unknown method " + method);
        return;
    }
    const std::string* text = requested_document(*state, id, params);
    if (text == nullptr) {
        return;
    }
    if (method == "textDocument/documentSymbol") {
        send_result(id, document_symbols(*text));
        return;
    }
    static const json nowhere = json::object();
    const json& where = params.contains("position") ? params["position"] : nowhere;
    const uint32_t line = where.value("line", 0u);
    const unsigned character = where.value("character", 0u);
    send_result(id, method == "textDocument/hover" ? hover(*text, line, character)
                                                   : completion(*text, line, character));
}

void take_notification(server* state, const std::string& method, const json& params) {
    if (!state->initialized || !params.is_object() || !params.contains("textDocument")) {
        return;
    }
    const json& document = params["textDocument"];
    const std::string uri = document.value("uri", "");
    if (method == "textDocument/didOpen") {
        state->documents[uri] = document.value("text", "");
    } else if (method == "textDocument/didChange" && state->documents.count(uri) != 0) {
        static const json no_changes = json::array();
        const json& changes =
            params.contains("contentChanges") ? params["contentChanges"] : no_changes;
        if (changes.is_array() && !changes.empty() && changes.back().is_object()) {
            state->documents[uri] = changes.back().value("text", "");
        }
    } else if (method == "textDocument/didClose") {
        state->documents.erase(uri);
        send({{"jsonrpc", "2.0"},
              {"method", "textDocument/publishDiagnostics"},
              {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
        return;
    } else {
        return;
    }
    if (state->documents.count(uri) != 0) {
        publish_diagnostics(uri, state->documents[uri]);
    }
}

// Handles one message; true after "exit", with *status the process's.
bool handle(server* state, const std::string& body, int* status) {
    const json message = json::parse(body, nullptr, false);
    if (message.is_discarded() || !message.is_object()) {
        send_error(nullptr, message.is_discarded() ? PARSE_ERROR : INVALID_REQUEST,
                   message.is_discarded() ? "not JSON" : "not a JSON-RPC message");
        return false;
    }
    // Parts of the message are read where they stand: a copy of a deeply nested
    // value would recurse as deep as it nests.
    static const json no_params = json::object();
    const json& params = message.contains("params") ? message["params"] : no_params;
    const bool request = message.contains("id");
    const json& id = request ? message["id"] : no_params;
    if (request && !id.is_string() && !id.is_number() && !id.is_null()) {
        send_error(nullptr, INVALID_REQUEST, "an id that is no string or number");
        return false;
    }
    if (!message.contains("method") || !message["method"].is_string()) {
        if (request) {
            send_error(id, INVALID_REQUEST, "no method");
        }
        return false;
    }
    const std::string method = message["method"];
    if (method == "exit") {
        *status = state->shut_down ? 0 : 1;
        return true;
    }
    try {
        if (request) {
            answer_request(state, method, id, params);
        } else {
            take_notification(state, method, params);
        }
    } catch (const json::exception& fault) {
        if (request) {
            send_error(id, INVALID_PARAMS, fault.what());
        }
    }
    return false;
}

} // namespace

int main() {
#ifdef SIGPIPE
    std::signal(SIGPIPE, SIG_IGN); // a client that is gone ends the server through a failed write
#endif
#ifdef _WIN32
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    server state = {};
    std::string body;
    for (;;) {
        const read_status status = read_message(stdin, &body);
        if (status == INPUT_ENDED) {
            return 1; // the client went away without "exit"
        }
        if (status != MESSAGE_READ) {
            // The stream cannot be followed any further.
            send_error(nullptr, PARSE_ERROR,
                       status == NO_LENGTH ? "a header without Content-Length"
                                           : "a Content-Length over 64 MiB");
            return 1;
        }
        int exit_status = 0;
        if (handle(&state, body, &exit_status)) {
            return exit_status;
        }
    }
}
