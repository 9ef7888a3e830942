// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/Parser.h"

#include <algorithm>
#include <cfenv>
#include <charconv>

namespace korvo {

namespace {

[[noreturn]] void InvalidScript() {
    RaiseParseError(SInvalidScript);
}

std::string CutName(const std::string& Name) {
    return LowerCase(Name.substr(0, std::min(Name.size(), MaxShortString)));
}

// The index of the longest name, the first such in table order.
template <typename Entry> std::size_t LongestEntry(const std::vector<Entry>& Table) {
    std::size_t best = 0;
    for (std::size_t i = 1; i < Table.size(); ++i)
        if (Table[i].Name.size() > Table[best].Name.size())
            best = i;
    return best;
}

// Moves the entry with the longest name (the first such) into a new table,
// one at a time, until the old one is empty: longest first, equal lengths in
// their previous order. Remove takes an entry out of the old table.
template <typename Entry, typename RemoveEntry>
void SortByNameLength(std::vector<Entry>& Table, RemoveEntry Remove) {
    std::vector<Entry> sorted;
    sorted.reserve(Table.size());
    while (!Table.empty()) {
        const std::size_t pick = LongestEntry(Table);
        sorted.push_back(Table[pick]);
        *sorted.back().IndexVar = static_cast<int>(sorted.size() - 1);
        Remove(pick);
    }
    Table = std::move(sorted);
}

// Sets the variables of the entries from From on to their positions.
template <typename Entry> void Renumber(std::vector<Entry>& Table, std::size_t From) {
    for (std::size_t i = From; i < Table.size(); ++i)
        *Table[i].IndexVar = static_cast<int>(i);
}

// The text that stands for compiled group n: "{n}", or "{#n}" for a
// parameter list.
std::string Reference(int N, bool AsList) {
    std::string text;
    text.push_back(ScriptBrackets.Open);
    if (AsList)
        text.push_back(ListReferenceMark);
    text.append(std::to_string(N));
    text.push_back(ScriptBrackets.Close);
    return text;
}

// The separators of terms and of parameters, longest first, indexed once.
TDelimiterIndex SortedIndex(std::vector<std::string> Delimiters) {
    SortByLength(Delimiters);
    return TDelimiterIndex(std::move(Delimiters));
}

const TDelimiterIndex& TermSeparatorIndex() {
    static const TDelimiterIndex index = SortedIndex(TermSeparators);
    return index;
}

const TDelimiterIndex& ParameterSeparatorIndex() {
    static const TDelimiterIndex index = SortedIndex(ParameterSeparators);
    return index;
}

} // namespace

TCustomParser::TCustomParser() {
    FSavedExceptionMask = fegetexcept();
    fedisableexcept(FE_ALL_EXCEPT);
}

TCustomParser::~TCustomParser() {
    fedisableexcept(FE_ALL_EXCEPT);
    if (FSavedExceptionMask != 0)
        feenableexcept(FSavedExceptionMask);
}

void TCustomParser::AddFunction(int& IndexVar, const std::string& Name, bool LeftOperand, bool RightOperand,
                                bool Foldable, int ParamCount) {
    if (Name.empty() || FindFunction(Name) >= 0) {
        IndexVar = -1;
        return;
    }
    FFunctions.push_back(
        TFunctionEntry{&IndexVar, CutName(Name), LeftOperand, RightOperand, Foldable, ParamCount});
    IndexVar = static_cast<int>(FFunctions.size() - 1);
    ++FFunctionsVersion;
    FFunctionsSorted = false;
}

void TCustomParser::AddType(int& IndexVar, const std::string& Name) {
    if (Name.empty() || FindType(Name) >= 0) {
        IndexVar = -1;
        return;
    }
    FTypes.push_back(TTypeEntry{&IndexVar, CutName(Name)});
    IndexVar = static_cast<int>(FTypes.size() - 1);
    FTypesSorted = false;
}

int TCustomParser::FindFunction(const std::string& Name) const {
    // Registered names are never empty; the compiler asks this for every
    // token that is not a number, often an empty one.
    if (Name.empty())
        return -1;
    for (std::size_t i = 0; i < FFunctions.size(); ++i)
        if (SameText(FFunctions[i].Name, Name))
            return static_cast<int>(i);
    return -1;
}

int TCustomParser::FindType(const std::string& Name) const {
    for (std::size_t i = 0; i < FTypes.size(); ++i)
        if (SameText(FTypes[i].Name, Name))
            return static_cast<int>(i);
    return -1;
}

void TCustomParser::RemoveFunctionEntry(int Index) {
    FFunctions.erase(FFunctions.begin() + Index);
    ++FFunctionsVersion;
}

void TCustomParser::RemoveTypeEntry(int Index) {
    FTypes.erase(FTypes.begin() + Index);
}

void TCustomParser::SortFunctions() {
    SortByNameLength(FFunctions, [this](std::size_t i) { RemoveFunctionEntry(static_cast<int>(i)); });
    ++FFunctionsVersion;
    FFunctionsSorted = true;
}

void TCustomParser::SortTypes() {
    SortByNameLength(FTypes, [this](std::size_t i) { RemoveTypeEntry(static_cast<int>(i)); });
    FTypesSorted = true;
}

bool TCustomParser::DeleteFunction(int Index) {
    if (Index < 0 || Index >= static_cast<int>(FFunctions.size()))
        return false;
    RemoveFunctionEntry(Index);
    Renumber(FFunctions, static_cast<std::size_t>(Index));
    return true;
}

bool TCustomParser::DeleteType(int Index) {
    if (Index < 0 || Index >= static_cast<int>(FTypes.size()))
        return false;
    RemoveTypeEntry(Index);
    Renumber(FTypes, static_cast<std::size_t>(Index));
    return true;
}

void TCustomParser::ClassifyToken(const std::string& S, TTokenInfo& Info) const {
    Info = TTokenInfo{};
    const std::size_t n = S.size();
    if (n > 1 && S.front() == FBrackets.Open && S.back() == FBrackets.Close) {
        Info.Kind = tokBracket;
        return;
    }
    if (n > 1 && S.front() == QuoteChar && S.back() == QuoteChar) {
        Info.Kind = tokString;
        std::string text;
        for (std::size_t i = 1; i < n; ++i) {
            if (S[i] != QuoteChar) {
                text.push_back(S[i]);
            } else if (i + 1 < n && S[i + 1] == QuoteChar) {
                text.push_back(QuoteChar);
                ++i;
            } else {
                break;
            }
        }
        if (text.empty())
            text = S;
        Info.Literal = text.substr(0, std::min(text.size(), MaxShortString));
        return;
    }
    long double number = 0;
    if (ReadNumber(S, number)) {
        Info.Kind = tokNumber;
        Info.Number = number;
        return;
    }
    if (FindFunction(S) >= 0)
        Info.Kind = tokFunction;
}

void TCustomParser::CheckSyntax(TSyntaxState& State, TSyntaxKind Kind, const TFunctionEntry* Func) const {
    const TFunctionEntry& g = State.LastFunction;
    auto fail = [](const char* pattern, const TFunctionEntry& f) { RaiseParseError(pattern, f.Name); };
    const bool lastIsValue =
        State.Last == skNumber || State.Last == skSubExpression || State.Last == skParameterList;
    switch (Kind) {
    case skEnd:
        if (State.Last == skFunction) {
            if (g.ParamCount > 0)
                fail(SRequiresParameters, g);
            if (g.RightOperand)
                fail(SRequiresOperand, g);
        }
        break;
    case skNumber:
    case skSubExpression:
        if (lastIsValue)
            RaiseParseError(SExpressionExpected);
        if (State.Last == skFunction) {
            if (g.ParamCount > 0)
                fail(SRequiresParameters, g);
            if (!g.RightOperand)
                fail(SNoOperand, g);
        }
        break;
    case skFunction: {
        const TFunctionEntry& f = *Func;
        if (State.Last == skStart && f.LeftOperand)
            RaiseParseError(SExpressionExpected);
        if (lastIsValue && (f.ParamCount > 0 || !f.LeftOperand))
            fail(SNoOperand, f);
        if (State.Last == skFunction) {
            if (g.ParamCount > 0)
                fail(SRequiresParameters, g);
            if (g.RightOperand && f.LeftOperand)
                RaiseParseError(SExpressionExpected);
            if (!g.RightOperand && !f.LeftOperand)
                fail(SNoOperand, g);
        }
        State.LastFunction = f;
        break;
    }
    case skParameterList:
        if (State.Last == skStart || lastIsValue)
            RaiseParseError(SExpressionExpected);
        if (State.Last == skFunction && g.ParamCount == 0)
            fail(SNoParameters, g);
        break;
    case skStart:
        break;
    }
    State.Last = Kind;
}

TParser::TParser() {
    AddFunction(FSubScript, std::string(1, ScriptBrackets.Open), false, false, false, 0);
    AddFunction(FMultiply, "*", true, true, true, 0);
    AddFunction(FDivide, "/", true, true, true, 0);
    AddFunction(FNot, "not", false, true, true, 0);
    AddFunction(FAnd, "and", true, true, true, 0);
    AddFunction(FOr, "or", true, true, true, 0);
    AddFunction(FXor, "xor", true, true, true, 0);
    AddFunction(FShl, "shl", true, true, true, 0);
    AddFunction(FShr, "shr", true, true, true, 0);
    AddType(FShortint, "shortint");
    AddType(FByte, "byte");
    AddType(FSmallint, "smallint");
    AddType(FWord, "word");
    AddType(FInteger, "integer");
    AddType(FLongword, "longword");
    AddType(FInt64, "int64");
    AddType(FSingle, "single");
    AddType(FDouble, "double");
}

int TParser::ParseTypePrefix(std::string& S) const {
    for (std::size_t i = 0; i < Types().size(); ++i)
        if (StripPrefix(Types()[i].Name, S, true))
            return static_cast<int>(i);
    return FByte;
}

bool TParser::IsConstantScript(const TByteDynArray& Script) const {
    return Script.size() >= 40 && GetInt32(Script, ScriptSizeOffset) == 40 &&
           GetInt32(Script, 28) == icNumber;
}

// What the compiler reads, informally (names ignore case):
//   text      = term { ("+" | "-") term }
//   term      = [sign] [type name] token { token }    applied strictly left to right
//   token     = number | 'string' | function name | "(" text ")" | "[" list "]"
//   list      = parameter { ("," | ";") parameter }
// It rewrites and cuts text rather than descending a grammar: bracket groups are
// compiled first, innermost first, and replaced in the text by the references
// «{n}» and «{#n}»; the flat text left is cut into terms at "+" and "-", each
// term into tokens at every function name, and a small state machine
// (CheckSyntax) checks the order of values and functions within a term.
void TParser::CompileScript(const std::string& Text, TByteDynArray& Script) {
    Script.clear();
    const std::string s = LowerCase(Trim(Text));
    if (s.empty())
        RaiseParseError(SNoData);
    for (const std::string& reserved : ReservedChars)
        if (s.find(reserved) != std::string::npos)
            RaiseParseError(SInvalidChars, s);
    if (!FunctionsSorted())
        SortFunctions();
    if (!TypesSorted())
        SortTypes();
    TScripts subScripts;
    CompileExpression(s, Script, false, subScripts);
}

void TParser::CompileBracket(std::string& Text, const std::string& Inner, bool AsList, std::size_t First,
                             std::size_t LastClose, TScripts& SubScripts) {
    DepthGuard level(FCompileDepth, MaxNesting);
    TByteDynArray sub;
    CompileExpression(Inner, sub, AsList, SubScripts);
    const int n = AddScript(SubScripts, sub);
    Text.replace(First, LastClose - First + 1, Reference(n, AsList));
}

void TParser::CompileExpression(std::string Text, TByteDynArray& Script, bool AsParameters,
                                TScripts& SubScripts) {
    Script.assign(ScriptHeaderSize, 0);
    ProcessBrackets(Text, Brackets().Open, Brackets().Close,
                    [&](std::string& s, const std::string& inner, std::size_t first, std::size_t last) {
                        CompileBracket(s, inner, false, first, last, SubScripts);
                    });
    ProcessBrackets(Text, ParameterBrackets().Open, ParameterBrackets().Close,
                    [&](std::string& s, const std::string& inner, std::size_t first, std::size_t last) {
                        CompileBracket(s, inner, true, first, last, SubScripts);
                    });
    std::vector<std::string> items =
        SplitText(Text, AsParameters ? ParameterSeparatorIndex() : TermSeparatorIndex());
    const TDelimiterIndex& names = FunctionNames();

    for (std::string& item : items) {
        std::size_t termStart = Script.size();
        Script.resize(termStart + TermHeaderSize, 0);
        if (AsParameters)
            StripSeparators(item);
        SetInt32(Script, termStart + TermNegativeOffset, ParseSign(item) ? -1 : 0);
        SetInt32(Script, termStart + TermTypeIndexOffset, ParseTypePrefix(item));
        if (AsParameters) {
            TTokenInfo info;
            ClassifyToken(item, info);
            if (info.Kind == tokUnknown) {
                TByteDynArray sub;
                CompileExpression(item, sub, false, SubScripts);
                const int n = AddScript(SubScripts, sub);
                item = Reference(n, false);
            }
        }
        if (item.empty())
            RaiseParseError(SExpressionExpected);

        TSyntaxState state;
        // Calls that are each the right operand of the one before: the
        // executor recurses once per link.
        int chain = 0;
        for (std::string& token : SplitText(item, names)) {
            // The first name in table order that begins the token; the token
            // loses it and the blanks after it.
            const int idx = names.FindPrefix(token);
            if (idx >= 0)
                token = TrimLeft(token.substr(names.Delimiters()[static_cast<std::size_t>(idx)].size()));
            if (idx >= 0 && idx == FSubScript) {
                const bool isList = StripPrefix(std::string(1, ListReferenceMark), token, true);
                CheckSyntax(state, isList ? skParameterList : skSubExpression);
                chain = 0;
                const std::size_t close = token.find(ScriptBrackets.Close);
                std::size_t n = SubScripts.size();
                if (close != std::string::npos)
                    std::from_chars(token.data(), token.data() + close, n);
                // References are written only by this compiler; anything else is a fault of ours.
                if (close == std::string::npos || n >= SubScripts.size())
                    InvalidScript();
                token.erase(0, close + 1);
                if (isList)
                    EmitParameterList(Script, SubScripts[n]);
                else
                    EmitSubExpression(Script, SubScripts[n], true, termStart);
            } else if (idx >= 0) {
                const bool operandOfLast = state.Last == skFunction && state.LastFunction.RightOperand;
                CheckSyntax(state, skFunction, &Functions()[static_cast<std::size_t>(idx)]);
                chain = operandOfLast ? chain + 1 : 1;
                if (chain + FCompileDepth > MaxNesting)
                    RaiseParseError(SNestedTooDeeply);
                EmitCall(Script, idx);
            }
            TTokenInfo info;
            ClassifyToken(token, info);
            if (info.Kind == tokNumber) {
                CheckSyntax(state, skNumber);
                chain = 0;
                EmitNumber(Script, static_cast<double>(info.Number));
            } else if (info.Kind == tokString) {
                EmitString(Script, info.Literal);
            } else if (!token.empty()) {
                RaiseParseError(SUnknownIdentifier, token);
            }
        }
        CheckSyntax(state, skEnd);
        SetInt32(Script, termStart, static_cast<std::int32_t>(Script.size() - termStart));
    }
    SetInt32(Script, ScriptSizeOffset, static_cast<std::int32_t>(Script.size()));
}

const TDelimiterIndex& TParser::FunctionNames() {
    if (!FNamesBuilt || FNamesVersion != FunctionsVersion()) {
        std::vector<std::string> names;
        names.reserve(Functions().size());
        for (const TFunctionEntry& f : Functions())
            names.push_back(f.Name);
        FNames = TDelimiterIndex(std::move(names));
        FNamesVersion = FunctionsVersion();
        FNamesBuilt = true;
    }
    return FNames;
}

double TParser::ExecuteScript(TByteDynArray& Script) {
    if (Script.empty())
        return 0.0;
    return ExecuteScriptAt(Script, CheckScript(Script, 0, Script.size(), true));
}

void TParser::EvaluateSubExpressions(TByteDynArray& Bytes, const TScriptBounds& Script) {
    for (std::size_t i = 0; i < Script.Count; ++i) {
        const std::int32_t offset = GetInt32(Bytes, Script.Start + ScriptHeaderSize + 4 * i);
        // A nested script lies after the table, inside its parent; so it is
        // always smaller than the parent and never the parent itself.
        if (offset < 0 || Script.Start + static_cast<std::size_t>(offset) < Script.FirstTerm ||
            static_cast<std::size_t>(offset) >= Script.End - Script.Start)
            InvalidScript();
        const std::size_t start = Script.Start + static_cast<std::size_t>(offset);
        const TScriptBounds nested = CheckScript(Bytes, start, Script.End);
        SetDouble(Bytes, start + CachedValueOffset, ExecuteScriptAt(Bytes, nested));
    }
}

double TParser::ExecuteScriptAt(TByteDynArray& Bytes, const TScriptBounds& Script) {
    DepthGuard level(FExecuteDepth, MaxExecutionDepth);
    EvaluateSubExpressions(Bytes, Script);
    double total = 0.0, current = 0.0;
    ForEachItem(Bytes, Script, [&](std::size_t& p, std::size_t term, std::size_t termEnd) {
        const std::size_t length = ItemLength(Bytes, p, termEnd);
        switch (GetInt32(Bytes, p)) {
        case icNumber:
            current = GetDouble(Bytes, p + 4);
            p += length;
            break;
        case icCall:
            current = ExecuteCall(Bytes, p, termEnd, GetInt32(Bytes, term + TermTypeIndexOffset), current);
            break;
        case icSubExpression:
            current = GetDouble(Bytes, p + 4 + CachedValueOffset);
            p += length;
            break;
        default: // strings and parameter lists standing alone carry no value
            p += length;
            break;
        }
        if (p >= termEnd)
            total = GetInt32(Bytes, term + TermNegativeOffset) != 0 ? total - current : total + current;
    });
    return total;
}

bool TParser::ReadCall(const TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd,
                       int& FunctionIndex) const {
    if (P >= TermEnd || ItemLength(Bytes, P, TermEnd) == 0 || GetInt32(Bytes, P) != icCall)
        return false;
    FunctionIndex = GetInt32(Bytes, P + 4);
    P += 8;
    return true;
}

double TParser::ExecuteCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, int TypeIndex,
                            double LValue) {
    DepthGuard level(FExecuteDepth, MaxExecutionDepth);
    int index = -1;
    if (!ReadCall(Bytes, P, TermEnd, index))
        InvalidScript();
    TParameters parameters;
    double rValue = 0.0;
    // A call whose index is not in the table has no operands; nobody but an
    // OnFunction handler can compute it.
    if (index >= 0 && index < static_cast<int>(Functions().size())) {
        const TFunctionEntry& entry = Functions()[static_cast<std::size_t>(index)];
        if (entry.ParamCount > 0) {
            if (P >= TermEnd || ItemLength(Bytes, P, TermEnd) == 0 || GetInt32(Bytes, P) != icParameterList)
                InvalidScript();
            P += 4;
            BuildParameters(Bytes, P, TermEnd, parameters);
        } else if (entry.RightOperand) {
            if (P >= TermEnd)
                InvalidScript();
            const std::size_t length = ItemLength(Bytes, P, TermEnd);
            switch (GetInt32(Bytes, P)) {
            case icNumber:
                rValue = GetDouble(Bytes, P + 4);
                P += length;
                break;
            case icCall:
                rValue = ExecuteCall(Bytes, P, TermEnd, TypeIndex, LValue);
                break;
            case icSubExpression:
                rValue = GetDouble(Bytes, P + 4 + CachedValueOffset);
                P += length;
                break;
            default:
                InvalidScript();
            }
        }
    }
    TFunctionCall call{index, rValue, LValue, rValue, parameters, false};
    if (OnFunction)
        OnFunction(index, TypeIndex, call.Value, LValue, rValue, parameters, call.Done);
    if (!call.Done)
        CallFunction(call);
    if (!call.Done)
        throw EParseError(FormatMessage(SUnknownFunction, index));
    return call.Value;
}

void TParser::BuildParameters(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd,
                              TParameters& Parameters) {
    Parameters.clear();
    const TScriptBounds list = CheckScript(Bytes, P, TermEnd);
    EvaluateSubExpressions(Bytes, list);
    ForEachItem(Bytes, list, [&](std::size_t& p, std::size_t term, std::size_t termEnd) {
        const std::int32_t typeIndex = GetInt32(Bytes, term + TermTypeIndexOffset);
        const std::size_t length = ItemLength(Bytes, p, termEnd);
        switch (GetInt32(Bytes, p)) {
        case icNumber:
            AddParameter(Parameters, typeIndex, GetDouble(Bytes, p + 4));
            p += length;
            break;
        case icCall:
            AddParameter(Parameters, typeIndex, ExecuteCall(Bytes, p, termEnd, 0, 0.0));
            break;
        case icString:
            AddStringParameter(Parameters, typeIndex,
                               std::string(reinterpret_cast<const char*>(Bytes.data() + p + 8), length - 8));
            p += length;
            // A sign never changes a text.
            return;
        case icSubExpression:
            AddParameter(Parameters, typeIndex, GetDouble(Bytes, p + 4 + CachedValueOffset));
            p += length;
            break;
        default:
            InvalidScript();
        }
        if (GetInt32(Bytes, term + TermNegativeOffset) != 0)
            Parameters.back().Value = -Parameters.back().Value;
    });
    P = list.End;
}

void TParser::CallFunction(TFunctionCall& Call) {
    const int i = Call.FunctionIndex;
    if (i < 0)
        return;
    const auto bits = [](std::int64_t v) { return static_cast<std::uint64_t>(v); };
    const auto toDouble = [](std::uint64_t v) { return static_cast<double>(static_cast<std::int64_t>(v)); };
    // Shift counts: the low 8 bits of the right operand; 64 to 127 clear
    // every bit, 128 to 255 shift by the count modulo 32.
    const auto shift = [&](bool left) {
        const std::uint64_t value = bits(Round64(Call.LValue));
        const unsigned n = static_cast<unsigned>(bits(Round64(Call.RValue)) & 0xFF);
        if (n >= 64 && n < 128)
            return 0.0;
        const unsigned count = n < 64 ? n : n % 32;
        return toDouble(left ? value << count : value >> count);
    };
    if (i == FMultiply)
        Call.Value = Call.LValue * Call.RValue;
    else if (i == FDivide)
        Call.Value = Call.LValue / Call.RValue;
    else if (i == FNot)
        Call.Value = toDouble(~bits(Round64(Call.Value)));
    else if (i == FAnd)
        Call.Value = toDouble(bits(Round64(Call.LValue)) & bits(Round64(Call.RValue)));
    else if (i == FOr)
        Call.Value = toDouble(bits(Round64(Call.LValue)) | bits(Round64(Call.RValue)));
    else if (i == FXor)
        Call.Value = toDouble(bits(Round64(Call.LValue)) ^ bits(Round64(Call.RValue)));
    else if (i == FShl)
        Call.Value = shift(true);
    else if (i == FShr)
        Call.Value = shift(false);
    else
        return;
    Call.Done = true;
}

} // namespace korvo
