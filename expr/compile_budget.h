#pragma once
// What one top-level compilation has used so far; part of the expression state, read and written
// only by the compiler.

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "expr/symbol_store.h"

// A parameter of the body being compiled and the record that stands for it there.
struct Binding {
    std::string name;
    Variable* variable = nullptr;
    VectorVariable* vector = nullptr;
    std::shared_ptr<const void> record;
};

struct CompileBudget {
    int nesting = 0;                          // compileText calls in progress
    int scanDepth = 0;                        // scanInto calls in progress
    std::size_t tokens = 0;                   // tokens made since the outermost compileText began
    std::vector<const FunctionEntry*> bodies; // user functions being expanded, outermost first
    std::vector<std::vector<Binding>> frames; // the parameters of each body being compiled
    std::string failure;                      // why the text cannot be read; empty while it can
};
