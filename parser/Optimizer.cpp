// SPDX-License-Identifier: GPL-3.0-or-later

#include "parser/Parser.h"

#include <memory>
#include <unordered_map>

namespace korvo {

namespace {

[[noreturn]] void InvalidScript() {
    RaiseParseError(SInvalidScript);
}

// The number a one-number script holds, with its term's sign.
double ConstantValue(const TByteDynArray& Script) {
    const double v = GetDouble(Script, 32);
    return GetInt32(Script, ScriptHeaderSize + TermNegativeOffset) != 0 ? -v : v;
}

TByteDynArray NewTerm(const TByteDynArray& Bytes, std::size_t Term) {
    TByteDynArray out(TermHeaderSize, 0);
    SetInt32(out, TermNegativeOffset, GetInt32(Bytes, Term + TermNegativeOffset));
    SetInt32(out, TermTypeIndexOffset, GetInt32(Bytes, Term + TermTypeIndexOffset));
    return out;
}

} // namespace

struct TParser::TOptimizeMemo {
    std::unordered_map<std::size_t, TByteDynArray> Scripts;
    std::unordered_map<std::size_t, std::pair<TByteDynArray, bool>> Lists;
};

// Installs a memo for a protected optimizer step called on its own.
class TParser::MemoScope {
public:
    explicit MemoScope(TParser& Parser) : FParser(Parser) {
        if (FParser.FMemo == nullptr) {
            FOwn = std::make_unique<TOptimizeMemo>();
            FParser.FMemo = FOwn.get();
        }
    }
    ~MemoScope() {
        if (FOwn)
            FParser.FMemo = nullptr;
    }
    MemoScope(const MemoScope&) = delete;
    MemoScope& operator=(const MemoScope&) = delete;

private:
    TParser& FParser;
    std::unique_ptr<TOptimizeMemo> FOwn;
};

// The work record of one script: the output terms and the value of the
// current term so far when it is a known constant not yet written.
struct TParser::TOptimizeScriptData {
    TScripts Terms;
    bool Pending = false;
    double PendingValue = 0.0;
};

void TParser::OptimizeScript(const TByteDynArray& Script, TByteDynArray& Optimized) {
    TByteDynArray work = Script;
    // Positions in the memo belong to this copy; an optimization started by
    // an OnFunction handler while folding gets its own memo.
    TOptimizeMemo memo;
    TOptimizeMemo* const outer = FMemo;
    FMemo = &memo;
    struct Restore {
        TOptimizeMemo*& Memo;
        TOptimizeMemo* Outer;
        ~Restore() { Memo = Outer; }
    } restore{FMemo, outer};
    if (work.empty()) {
        Optimized.clear();
        return;
    }
    Optimized = OptimizeScriptAt(work, CheckScript(work, 0, work.size()));
}

void TParser::GetOptimized(const TByteDynArray& Script, TByteDynArray& Optimized) {
    OptimizeScript(Script, Optimized);
}

void TParser::Optimize(TByteDynArray& Script) {
    TByteDynArray optimized;
    OptimizeScript(Script, optimized);
    Script = std::move(optimized);
}

TByteDynArray TParser::OptimizeScriptAt(TByteDynArray& Bytes, const TScriptBounds& Script) {
    MemoScope memoScope(*this);
    const auto known = FMemo->Scripts.find(Script.Start);
    if (known != FMemo->Scripts.end())
        return known->second;
    DepthGuard level(FOptimizeDepth, MaxOptimizeDepth);
    TOptimizeScriptData data;
    ForEachItem(Bytes, Script, [&](std::size_t& p, std::size_t term, std::size_t termEnd) {
        if (p == term + TermHeaderSize) {
            data.Terms.push_back(NewTerm(Bytes, term));
            data.Pending = false;
        }
        TByteDynArray& out = data.Terms.back();
        const std::int32_t typeIndex = GetInt32(Bytes, term + TermTypeIndexOffset);
        const std::size_t length = ItemLength(Bytes, p, termEnd);
        switch (GetInt32(Bytes, p)) {
        case icNumber:
            data.PendingValue = GetDouble(Bytes, p + 4);
            data.Pending = true;
            p += length;
            break;
        case icSubExpression: {
            const TByteDynArray sub = OptimizeScriptAt(Bytes, CheckScript(Bytes, p + 4, p + length));
            if (IsConstantScript(sub)) {
                data.PendingValue = ConstantValue(sub);
                data.Pending = true;
            } else {
                data.Pending = false;
                std::size_t unused = 0;
                EmitSubExpression(out, sub, false, unused);
            }
            p += length;
            break;
        }
        case icCall: {
            const std::size_t start = p;
            if (TryFoldCall(Bytes, p, termEnd, data.Pending)) {
                std::size_t at = start;
                data.PendingValue = ExecuteCall(Bytes, at, termEnd, typeIndex, data.PendingValue);
                data.Pending = true;
            } else {
                if (data.Pending)
                    EmitNumber(out, data.PendingValue);
                data.Pending = false;
                p = start;
                WriteCall(Bytes, p, termEnd, typeIndex, data.PendingValue, out);
            }
            break;
        }
        case icString:
            // A text in a term carries no value and changes nothing pending;
            // it is kept so that the optimized script runs like the source.
            AppendBytes(out, Bytes.data() + p, length);
            p += length;
            break;
        default: // a loose parameter list has no place here
            InvalidScript();
        }
        if (p >= termEnd) {
            if (data.Pending)
                EmitNumber(out, data.PendingValue);
            SetInt32(out, 0, static_cast<std::int32_t>(out.size()));
        }
    });
    TByteDynArray optimized;
    LinkScript(data.Terms, optimized, DoubleTypeIndex(), true);
    FMemo->Scripts.emplace(Script.Start, optimized);
    return optimized;
}

bool TParser::OptimizeParameters(TByteDynArray& Bytes, std::size_t ListStart, std::size_t Limit,
                                 TByteDynArray& Optimized) {
    MemoScope memoScope(*this);
    const auto known = FMemo->Lists.find(ListStart);
    if (known != FMemo->Lists.end()) {
        Optimized = known->second.first;
        return known->second.second;
    }
    DepthGuard level(FOptimizeDepth, MaxOptimizeDepth);
    const TScriptBounds list = CheckScript(Bytes, ListStart, Limit);
    TScripts terms;
    bool allConstant = true;
    ForEachItem(Bytes, list, [&](std::size_t& p, std::size_t term, std::size_t termEnd) {
        if (p == term + TermHeaderSize)
            terms.push_back(NewTerm(Bytes, term));
        TByteDynArray& out = terms.back();
        const std::int32_t typeIndex = GetInt32(Bytes, term + TermTypeIndexOffset);
        const std::size_t length = ItemLength(Bytes, p, termEnd);
        switch (GetInt32(Bytes, p)) {
        case icNumber:
        case icString:
            AppendBytes(out, Bytes.data() + p, length);
            p += length;
            break;
        case icSubExpression:
            if (!WriteOptimizedGroup(Bytes, p, length, out))
                allConstant = false;
            p += length;
            break;
        case icCall: {
            const std::size_t start = p;
            if (TryFoldCall(Bytes, p, termEnd, false)) {
                std::size_t at = start;
                EmitNumber(out, ExecuteCall(Bytes, at, termEnd, typeIndex, 0.0));
            } else {
                p = start;
                WriteCall(Bytes, p, termEnd, typeIndex, 0.0, out);
                allConstant = false;
            }
            break;
        }
        default:
            InvalidScript();
        }
        if (p >= termEnd)
            SetInt32(out, 0, static_cast<std::int32_t>(out.size()));
    });
    LinkScript(terms, Optimized, DoubleTypeIndex(), false);
    FMemo->Lists.emplace(ListStart, std::make_pair(Optimized, allConstant));
    return allConstant;
}

bool TParser::WriteOptimizedGroup(TByteDynArray& Bytes, std::size_t P, std::size_t Length,
                                  TByteDynArray& Out) {
    const TByteDynArray sub = OptimizeScriptAt(Bytes, CheckScript(Bytes, P + 4, P + Length));
    if (IsConstantScript(sub)) {
        EmitNumber(Out, ConstantValue(sub));
        return true;
    }
    // Not registered here: the linker lists the group when the script is built.
    std::size_t unused = 0;
    EmitSubExpression(Out, sub, false, unused);
    return false;
}

bool TParser::TryFoldCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, bool LeftPending) {
    MemoScope memoScope(*this);
    DepthGuard level(FOptimizeDepth, MaxOptimizeDepth);
    int index = -1;
    std::size_t p = P;
    if (!ReadCall(Bytes, p, TermEnd, index))
        InvalidScript();
    // An index outside the table is a function nobody here knows: never folded.
    if (index < 0 || index >= static_cast<int>(Functions().size()))
        return false;
    const TFunctionEntry& entry = Functions()[static_cast<std::size_t>(index)];
    if (entry.ParamCount > 0) {
        if (p >= TermEnd || ItemLength(Bytes, p, TermEnd) == 0 || GetInt32(Bytes, p) != icParameterList)
            InvalidScript();
        const std::size_t length = ItemLength(Bytes, p, TermEnd);
        TByteDynArray list;
        const bool constant = OptimizeParameters(Bytes, p + 4, p + length, list);
        if (!constant || !entry.Foldable)
            return false;
        P = p + length;
        return true;
    }
    if (!entry.Foldable || entry.LeftOperand != LeftPending)
        return false;
    if (!entry.RightOperand) {
        P = p;
        return true;
    }
    if (p >= TermEnd)
        InvalidScript();
    const std::size_t length = ItemLength(Bytes, p, TermEnd);
    switch (GetInt32(Bytes, p)) {
    case icNumber:
        P = p + length;
        return true;
    case icCall:
        if (!TryFoldCall(Bytes, p, TermEnd, false))
            return false;
        P = p;
        return true;
    case icSubExpression: {
        const TByteDynArray sub = OptimizeScriptAt(Bytes, CheckScript(Bytes, p + 4, p + length));
        if (!IsConstantScript(sub))
            return false;
        // Executing the call on the source reads the group's cached value.
        SetDouble(Bytes, p + 4 + CachedValueOffset, ConstantValue(sub));
        P = p + length;
        return true;
    }
    default:
        InvalidScript();
    }
}

void TParser::WriteCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, int TypeIndex,
                        double LValue, TByteDynArray& Out) {
    MemoScope memoScope(*this);
    DepthGuard level(FOptimizeDepth, MaxOptimizeDepth);
    int index = -1;
    const std::size_t start = P;
    if (!ReadCall(Bytes, P, TermEnd, index))
        InvalidScript();
    AppendBytes(Out, Bytes.data() + start, 8);
    if (index < 0 || index >= static_cast<int>(Functions().size()))
        return;
    const TFunctionEntry& entry = Functions()[static_cast<std::size_t>(index)];
    if (entry.ParamCount > 0) {
        if (P >= TermEnd || ItemLength(Bytes, P, TermEnd) == 0 || GetInt32(Bytes, P) != icParameterList)
            InvalidScript();
        const std::size_t length = ItemLength(Bytes, P, TermEnd);
        TByteDynArray list;
        OptimizeParameters(Bytes, P + 4, P + length, list);
        EmitParameterList(Out, list);
        P += length;
        return;
    }
    if (!entry.RightOperand)
        return;
    if (P >= TermEnd)
        InvalidScript();
    const std::size_t length = ItemLength(Bytes, P, TermEnd);
    switch (GetInt32(Bytes, P)) {
    case icNumber:
        AppendBytes(Out, Bytes.data() + P, length);
        P += length;
        break;
    case icSubExpression:
        WriteOptimizedGroup(Bytes, P, length, Out);
        P += length;
        break;
    case icCall: {
        const std::size_t inner = P;
        if (TryFoldCall(Bytes, P, TermEnd, false)) {
            std::size_t at = inner;
            EmitNumber(Out, ExecuteCall(Bytes, at, TermEnd, TypeIndex, LValue));
        } else {
            P = inner;
            WriteCall(Bytes, P, TermEnd, TypeIndex, LValue, Out);
        }
        break;
    }
    default:
        InvalidScript();
    }
}

} // namespace korvo
