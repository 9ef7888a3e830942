// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once
// The formula evaluator's core: the registry (TCustomParser) and the
// compiler and executor with eight operators and nine type names (TParser).
//
//   korvo::TParser p;
//   korvo::TByteDynArray script;
//   p.CompileScript("2*(3+4)", script);   // raises EParseError on bad text
//   double v = p.ExecuteScript(script);   // 14
//
// A term is evaluated strictly left to right ("2*3 shl 1" is 12); terms are
// separated by "+" and "-". Names ignore case. Numbers use the process-wide
// DecimalSeparator(). Texts or scripts nested deeper than MaxNesting bracket
// levels and chained prefix calls raise "Expression is nested too deeply";
// a script whose sizes or offsets do not fit its bytes raises "Invalid
// script" and is never read outside its array.

#include "parser/ParseConsts.h"
#include "parser/ParseErrors.h"
#include "parser/ParseTypes.h"
#include "parser/ParseUtils.h"

#include <cstdint>
#include <functional>
#include <string>

namespace korvo {

// Bracket levels plus chained prefix calls that a text may nest. Each level
// costs a few stack frames in the compiler and the executor; 256 stays far
// inside the main thread's stack, sanitizer builds included.
inline constexpr int MaxNesting = 256;

enum TTokenKind { tokUnknown = 0, tokNumber = 1, tokFunction = 2, tokString = 3, tokBracket = 4 };

struct TTokenInfo {
    TTokenKind Kind = tokUnknown;
    long double Number = 0; // for tokNumber
    std::string Literal;    // for tokString, at most 255 bytes
};

enum TSyntaxKind {
    skStart = 0,
    skEnd = 1,
    skNumber = 2,
    skFunction = 3,
    skSubExpression = 4,
    skParameterList = 5
};

// The shape of the term being compiled so far.
struct TSyntaxState {
    TSyntaxKind Last = skStart;
    TFunctionEntry LastFunction;
};

// Called before the built-in code of every call; a handler that computes
// the call sets Value and Done. Value holds RValue on entry.
using TFunctionEvent = std::function<void(int FunctionIndex, int TypeIndex, double& Value, double LValue,
                                          double RValue, const TParameters& Parameters, bool& Done)>;

class TCustomParser {
public:
    // Masks the floating-point exceptions of the thread (division by zero
    // gives an infinity, an invalid operation a NaN); the destructor restores
    // the mask found here.
    TCustomParser();
    virtual ~TCustomParser();
    TCustomParser(const TCustomParser&) = delete;
    TCustomParser& operator=(const TCustomParser&) = delete;

    // Registers Name (lowercased, cut to 255 bytes) and sets IndexVar to its
    // position, kept current from then on. A name already present ignoring
    // case, or an empty name, sets IndexVar to -1 and adds nothing.
    virtual void AddFunction(int& IndexVar, const std::string& Name, bool LeftOperand, bool RightOperand,
                             bool Foldable, int ParamCount);
    // Removes the entry; the entries after it move down and their variables
    // follow. False for an index outside the table.
    virtual bool DeleteFunction(int Index);
    // First position whose name equals Name ignoring case, or -1.
    virtual int FindFunction(const std::string& Name) const;
    // Longest name first, equal lengths in their previous order; every
    // IndexVar follows its entry.
    virtual void SortFunctions();
    virtual void AddType(int& IndexVar, const std::string& Name);
    virtual bool DeleteType(int Index);
    virtual int FindType(const std::string& Name) const;
    virtual void SortTypes();

    const TFunctions& Functions() const { return FFunctions; }
    const TTypes& Types() const { return FTypes; }
    bool FunctionsSorted() const { return FFunctionsSorted; }
    bool TypesSorted() const { return FTypesSorted; }
    TBracketPair Brackets() const { return FBrackets; }
    TBracketPair ParameterBrackets() const { return FParameterBrackets; }

    TFunctionEvent OnFunction;

protected:
    void RemoveFunctionEntry(int Index);
    // Changes whenever an entry of the function table is added, removed or
    // moved.
    std::uint64_t FunctionsVersion() const { return FFunctionsVersion; }
    void RemoveTypeEntry(int Index);
    void ClassifyToken(const std::string& S, TTokenInfo& Info) const;
    // Accepts the token Kind (Func for a function token) after State or raises
    // the EParseError that names what the term lacks.
    void CheckSyntax(TSyntaxState& State, TSyntaxKind Kind, const TFunctionEntry* Func = nullptr) const;

private:
    TFunctions FFunctions;
    std::uint64_t FFunctionsVersion = 0;
    TTypes FTypes;
    bool FFunctionsSorted = true;
    bool FTypesSorted = true;
    TBracketPair FBrackets = ExpressionBrackets;
    TBracketPair FParameterBrackets = ListBrackets;
    int FSavedExceptionMask = 0;
};

class TParser : public TCustomParser {
public:
    TParser();

    // Compiles a whole user text: trimmed, lowercased, tables sorted when
    // needed. On an error Script holds the fragment built so far with a
    // recorded Size of 0.
    virtual void CompileScript(const std::string& Text, TByteDynArray& Script);
    // Compiles one expression, or one parameter list with AsParameters.
    virtual void CompileExpression(std::string Text, TByteDynArray& Script, bool AsParameters,
                                   TScripts& SubScripts);
    // Runs the script: bracket groups first (their values cached in the
    // script), then the terms. An empty array has the value 0.
    virtual double ExecuteScript(TByteDynArray& Script);
    // The script is one number: Size 40, first item of code 0.
    virtual bool IsConstantScript(const TByteDynArray& Script) const;

    // An equivalent script with everything computed that can be known in
    // advance: constant runs and calls of Foldable functions inside a term,
    // constant groups and parameter lists, and all constant terms summed into
    // one last term of type "double". Folded calls run once, here (OnFunction
    // included); their errors come out of these calls. Script is not changed.
    //   "2*3+4" gives the 40-byte script of 10; "random 10 * 2" keeps both calls.
    virtual void OptimizeScript(const TByteDynArray& Script, TByteDynArray& Optimized);
    virtual void GetOptimized(const TByteDynArray& Script, TByteDynArray& Optimized);
    // Replaces Script by its optimized form; on an error Script is unchanged.
    virtual void Optimize(TByteDynArray& Script);

    // Positions of the names this class registers.
    int SubScriptIndex() const { return FSubScript; }
    int ByteTypeIndex() const { return FByte; }
    int DoubleTypeIndex() const { return FDouble; }

protected:
    // The built-in computation: the eight operators. Leaves Call.Done
    // unchanged for any other index.
    virtual void CallFunction(TFunctionCall& Call);

    // The type name that begins S (removed with the blanks after it), or
    // the position of "byte" with S unchanged.
    int ParseTypePrefix(std::string& S) const;
    void CompileBracket(std::string& Text, const std::string& Inner, bool AsList, std::size_t First,
                        std::size_t LastClose, TScripts& SubScripts);

    // The executor works on scripts nested in one byte array; positions are
    // offsets into Bytes.
    double ExecuteScriptAt(TByteDynArray& Bytes, const TScriptBounds& Script);
    void EvaluateSubExpressions(TByteDynArray& Bytes, const TScriptBounds& Script);
    // Executes the call at P with its operands (ending by TermEnd) and moves
    // P past them.
    double ExecuteCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, int TypeIndex,
                       double LValue);
    bool ReadCall(const TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, int& FunctionIndex) const;
    void BuildParameters(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, TParameters& Parameters);

    // The optimizer works on a private copy of the source (folding writes
    // cached values into it); positions are offsets into that copy.
    struct TOptimizeScriptData;
    TByteDynArray OptimizeScriptAt(TByteDynArray& Bytes, const TScriptBounds& Script);
    // The optimized list, and whether every parameter came out constant.
    bool OptimizeParameters(TByteDynArray& Bytes, std::size_t ListStart, std::size_t Limit,
                            TByteDynArray& Optimized);
    // Whether the call at P folds (with a value pending before it when
    // LeftPending); when it does, P moves past the call and its operands.
    bool TryFoldCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, bool LeftPending);
    // Writes the group item at P (Length bytes) optimized to Out: as a number
    // when constant (then true), else as an unlisted sub-expression.
    bool WriteOptimizedGroup(TByteDynArray& Bytes, std::size_t P, std::size_t Length, TByteDynArray& Out);
    // Writes the call at P with its operand (optimized) to Out; P moves past both.
    void WriteCall(TByteDynArray& Bytes, std::size_t& P, std::size_t TermEnd, int TypeIndex, double LValue,
                   TByteDynArray& Out);

    // Executor levels: a bracket level costs at most two (a parameter list's
    // call and its sub-expression), a chained call one.
    static constexpr int MaxExecutionDepth = 2 * MaxNesting + 8;
    // Optimizer levels: a parameter list costs three (the call, the list and
    // the group of an item), a chained call two (tried, then written out).
    static constexpr int MaxOptimizeDepth = 3 * MaxNesting + 16;
    // Counts one nesting level for as long as it lives.
    class DepthGuard {
    public:
        DepthGuard(int& Depth, int Limit) : FDepth(Depth) {
            if (++FDepth > Limit) {
                --FDepth;
                RaiseParseError(SNestedTooDeeply);
            }
        }
        ~DepthGuard() { --FDepth; }
        DepthGuard(const DepthGuard&) = delete;
        DepthGuard& operator=(const DepthGuard&) = delete;

    private:
        int& FDepth;
    };

private:
    // Optimized groups and lists of the current optimization, by position,
    // so that a chain of calls does not optimize its operand again per link.
    struct TOptimizeMemo;
    class MemoScope;
    TOptimizeMemo* FMemo = nullptr;
    int FOptimizeDepth = 0;
    int FCompileDepth = 0; // bracket groups being compiled
    int FExecuteDepth = 0; // nested scripts and calls being executed
    // The function names indexed by first byte, rebuilt when the table
    // has changed since.
    const TDelimiterIndex& FunctionNames();
    TDelimiterIndex FNames;
    std::uint64_t FNamesVersion = 0;
    bool FNamesBuilt = false;
    int FSubScript = -1;
    int FMultiply = -1, FDivide = -1, FNot = -1, FAnd = -1, FOr = -1, FXor = -1, FShl = -1, FShr = -1;
    int FShortint = -1, FByte = -1, FSmallint = -1, FWord = -1, FInteger = -1, FLongword = -1, FInt64 = -1,
        FSingle = -1, FDouble = -1;
};

} // namespace korvo
