// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// Finds in the program's sources every text it can show in a message box: the
// texts thrown as exceptions (every failure reaches the user through the one
// error report) and the texts handed to ShowMessage and ReportError.
//
// A message statement runs from "throw", "ShowMessage(", "ReportError(",
// "RaiseParseError(" or "RaiseMessage(" to its ";". Its string literals count,
// and so do the named text constants it uses (kName = "..." anywhere in the
// sources) and, for RaiseMessage(number, ...), the text the export's message
// table returns for that number ("case 34023: return ..."). Constants named
// S and a capital (SNoData, SUnknownIdentifier) are the evaluator's message
// texts: they count wherever they are defined, whoever raises them.
//
// A text with a placeholder is known by its fixed parts: each literal is cut at
// %s and %d and at the places where a value is joined to it, and only pieces
// with at least three letters are kept, so "'" + text + "' is not a valid
// floating point value" gives the piece "' is not a valid floating point value".
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace korvo::test {

struct FoundMessage {
    std::string where; // file:line
    std::string piece; // one fixed part, blanks collapsed
};

// Collapses every run of white space to one blank and trims the ends.
inline std::string CollapseBlanks(const std::string& text) {
    std::string out;
    bool blank = false;
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

class MessageScanner {
public:
    // Reads one source file; call Collect() after every file has been added.
    void AddSource(const std::string& name, const std::string& text) {
        sources_.push_back({name, StripComments(text)});
        const std::string& code = sources_.back().code;
        static const std::regex constant(R"re(\b([kS][A-Z]\w*)\s*=\s*((?:"(?:[^"\\]|\\.)*"\s*)+)[;,])re");
        for (auto it = std::sregex_iterator(code.begin(), code.end(), constant); it != std::sregex_iterator();
             ++it) {
            constants_[(*it)[1]] = Literals((*it)[2]);
            if ((*it)[1].str().front() == 'S')
                for (const std::string& text : constants_[(*it)[1]])
                    messageConstants_.push_back(
                        {name + ":" + std::to_string(LineOf(code, it->position())), text});
        }
        static const std::regex entry(R"re(case\s+(\d+)\s*:\s*return\s*((?:"(?:[^"\\]|\\.)*"\s*)+);)re");
        for (auto it = std::sregex_iterator(code.begin(), code.end(), entry); it != std::sregex_iterator();
             ++it)
            numbered_[std::stoi((*it)[1])] = Literals((*it)[2]);
    }

    void AddTree(const std::filesystem::path& root, const std::set<std::string>& skippedFolders,
                 const std::set<std::string>& skippedFiles) {
        for (auto it = std::filesystem::recursive_directory_iterator(root);
             it != std::filesystem::recursive_directory_iterator(); ++it) {
            const std::string name = it->path().filename().string();
            if (it->is_directory()) {
                if (skippedFolders.count(name) || name.front() == '.')
                    it.disable_recursion_pending();
                continue;
            }
            const std::string ext = it->path().extension().string();
            if ((ext != ".cpp" && ext != ".h") || skippedFiles.count(name))
                continue;
            std::ifstream in(it->path(), std::ios::binary);
            std::ostringstream text;
            text << in.rdbuf();
            AddSource(std::filesystem::relative(it->path(), root).string(), text.str());
        }
    }

    std::vector<FoundMessage> Collect() const {
        std::vector<FoundMessage> found;
        for (const auto& [where, text] : messageConstants_)
            for (const std::string& piece : Pieces(text))
                found.push_back({where, piece});
        static const std::regex start(
            R"re(\bthrow\b|\bShowMessage\s*\(|\bReportError\s*\(|\bRaiseParseError\s*\(|\bRaiseMessage\s*\()re");
        for (const Source& source : sources_) {
            const std::string& code = source.code;
            for (auto it = std::sregex_iterator(code.begin(), code.end(), start);
                 it != std::sregex_iterator(); ++it) {
                const std::size_t begin = static_cast<std::size_t>(it->position());
                const std::string statement = code.substr(begin, StatementEnd(code, begin) - begin);
                const std::string where = source.name + ":" + std::to_string(LineOf(code, begin));
                for (const std::string& text : Texts(statement))
                    for (const std::string& piece : Pieces(text))
                        found.push_back({where, piece});
            }
        }
        return found;
    }

private:
    struct Source {
        std::string name;
        std::string code;
    };

    static long LineOf(const std::string& code, std::ptrdiff_t at) {
        return 1 + std::count(code.begin(), code.begin() + at, '\n');
    }

    // Comments become blanks (line breaks kept); strings and characters stay.
    static std::string StripComments(const std::string& text) {
        std::string out = text;
        for (std::size_t i = 0; i < out.size(); ++i) {
            if (out[i] == '"' || out[i] == '\'') {
                const char quote = out[i];
                for (++i; i < out.size() && out[i] != quote; ++i)
                    if (out[i] == '\\')
                        ++i;
            } else if (out.compare(i, 2, "//") == 0) {
                for (; i < out.size() && out[i] != '\n'; ++i)
                    out[i] = ' ';
            } else if (out.compare(i, 2, "/*") == 0) {
                for (; i < out.size() && out.compare(i, 2, "*/") != 0; ++i)
                    if (out[i] != '\n')
                        out[i] = ' ';
                if (i < out.size())
                    out[i] = out[i + 1] = ' ';
            }
        }
        return out;
    }

    static std::size_t StatementEnd(const std::string& code, std::size_t i) {
        for (; i < code.size() && code[i] != ';'; ++i)
            if (code[i] == '"' || code[i] == '\'') {
                const char quote = code[i];
                for (++i; i < code.size() && code[i] != quote; ++i)
                    if (code[i] == '\\')
                        ++i;
            }
        return i;
    }

    // The texts of adjacent literals, each literal one text, escapes resolved.
    static std::vector<std::string> Literals(const std::string& code) {
        std::vector<std::string> texts;
        for (std::size_t i = 0; i < code.size(); ++i) {
            if (code[i] == '\'') { // a character literal such as '"'
                for (++i; i < code.size() && code[i] != '\''; ++i)
                    if (code[i] == '\\')
                        ++i;
                continue;
            }
            if (code[i] != '"')
                continue;
            std::string text;
            for (++i; i < code.size() && code[i] != '"'; ++i) {
                if (code[i] == '\\' && i + 1 < code.size()) {
                    ++i;
                    text += code[i] == 'n' ? '\n' : code[i] == 't' ? '\t' : code[i];
                } else {
                    text += code[i];
                }
            }
            texts.push_back(text);
        }
        return texts;
    }

    std::vector<std::string> Texts(const std::string& statement) const {
        std::vector<std::string> texts = Literals(statement);
        static const std::regex word(R"re(\b[A-Za-z_]\w*\b)re");
        const std::string code =
            std::regex_replace(statement, std::regex(R"re("(?:[^"\\]|\\.)*")re"), "\"\"");
        for (auto it = std::sregex_iterator(code.begin(), code.end(), word); it != std::sregex_iterator();
             ++it) {
            const auto constant = constants_.find(it->str());
            if (constant != constants_.end())
                texts.insert(texts.end(), constant->second.begin(), constant->second.end());
        }
        static const std::regex numbered(R"re(RaiseMessage\s*\(\s*(\d+))re");
        std::smatch match;
        if (std::regex_search(code, match, numbered)) {
            const auto entry = numbered_.find(std::stoi(match[1]));
            if (entry != numbered_.end())
                texts.insert(texts.end(), entry->second.begin(), entry->second.end());
        }
        return texts;
    }

    static std::vector<std::string> Pieces(const std::string& text) {
        std::vector<std::string> pieces;
        std::size_t from = 0;
        for (std::size_t i = 0; i <= text.size(); ++i) {
            const bool cut = i == text.size() || (text[i] == '%' && i + 1 < text.size() &&
                                                  (text[i + 1] == 's' || text[i + 1] == 'd'));
            if (!cut)
                continue;
            const std::string piece = CollapseBlanks(text.substr(from, i - from));
            const auto letters = std::count_if(piece.begin(), piece.end(),
                                               [](unsigned char c) { return std::isalpha(c) || c >= 0x80; });
            if (letters >= 3)
                pieces.push_back(piece);
            from = i + 2;
        }
        return pieces;
    }

    std::vector<Source> sources_;
    std::map<std::string, std::vector<std::string>> constants_;
    std::map<int, std::vector<std::string>> numbered_;
    std::vector<std::pair<std::string, std::string>> messageConstants_;
};

} // namespace korvo::test
