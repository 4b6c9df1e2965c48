#pragma once
// What the program knows of each built-in function, in one row: the store registers the names,
// the evaluator applies the rules.

#include <array>

#include "expr/symbol_store.h"

struct BuiltinRow {
    const char* name;
    int arity;
    Builtin builtin;
    const char* vectorMessage = nullptr;        // the error of a vector argument, for the rules below
    double (*rule)(double) = nullptr;           // a built-in of one argument
    double (*pairRule)(double, double) = nullptr; // a built-in of two arguments
};

// In registration order: row i is Builtin i + 1.
extern const std::array<BuiltinRow, builtinCount> builtinTable;

inline const BuiltinRow* builtinRow(Builtin builtin) {
    const auto index = static_cast<std::size_t>(builtin);
    return index >= 1 && index <= builtinCount ? &builtinTable[index - 1] : nullptr;
}
