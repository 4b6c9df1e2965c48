#include "expr/symbol_store.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

#include "expr/builtin_table.h"

namespace {

Builtin builtinNamed(std::string_view name) {
    for (const BuiltinRow& row : builtinTable) {
        if (name == row.name) return row.builtin;
    }
    return Builtin::none;
}

// The indexed entry of that name, or an empty one.
template <typename Index>
auto findIndexed(const Index& index, std::string_view name) -> typename Index::mapped_type {
    const auto found = index.find(name);
    return found == index.end() ? typename Index::mapped_type{} : found->second;
}

// The position of the function of that name in the function list, or none.
std::optional<std::size_t> functionPosition(std::string_view name) {
    const auto found = symbolStore.functionIndex.find(name);
    if (found == symbolStore.functionIndex.end()) return std::nullopt;
    return found->second;
}

void appendFunction(std::shared_ptr<FunctionEntry> entry) {
    symbolStore.functionIndex.try_emplace(entry->name, symbolStore.functions.size());
    symbolStore.functions.push_back(std::move(entry));
}

} // namespace

std::shared_ptr<Variable> findOrCreateVariableRecord(std::string_view name) {
    if (auto found = findIndexed(symbolStore.variableIndex, name)) return found;
    auto created = std::make_shared<Variable>();
    created->name = std::string(name);
    symbolStore.variables.push_front(created);
    symbolStore.variableIndex.emplace(created->name, created);
    return created;
}

Variable* findOrCreateVariable(std::string_view name) {
    return findOrCreateVariableRecord(name).get();
}

bool isStandardConstant(const Variable& variable) {
    return variable.name == "pi" || variable.name == "e";
}

Constant addConstant(std::string_view text) {
    Constant constant;
    // strtod needs a terminated text; numbers are short, so the copy is cheap.
    const std::string terminated(text);
    constant.value = std::strtod(terminated.c_str(), nullptr);
    // An exponent can make a number without a point a fraction: 1e-3.
    constant.isInteger = text.find('.') == std::string_view::npos && std::trunc(constant.value) == constant.value;
    // Only the listing reads the constants, and it shows fewer than this many.
    symbolStore.constants.push_front(constant);
    if (symbolStore.constants.size() > constantsKept) symbolStore.constants.pop_back();
    return constant;
}

void registerBuiltin(std::string_view name, int arity) {
    auto entry = std::make_shared<FunctionEntry>();
    entry->name = std::string(name);
    entry->isBuiltin = 1;
    entry->arity = arity;
    entry->builtin = builtinNamed(name);
    appendFunction(std::move(entry));
}

VectorVariable* findOrCreateVector(std::string_view name, int count, double x, double y, double z) {
    if (VectorVariable* found = findVector(name)) return found;
    auto created = std::make_shared<VectorVariable>();
    created->name = std::string(name);
    created->count = std::clamp(count, 0, 3);
    created->components = {x, y, z};
    symbolStore.vectors.push_front(created);
    symbolStore.vectorIndex.emplace(created->name, created);
    return created.get();
}

std::shared_ptr<VectorVariable> findVectorRecord(std::string_view name) {
    return findIndexed(symbolStore.vectorIndex, name);
}

VectorVariable* findVector(std::string_view name) {
    return findVectorRecord(name).get();
}

std::shared_ptr<FunctionEntry> findFunctionRecord(std::string_view name) {
    const std::optional<std::size_t> position = functionPosition(name);
    return position ? symbolStore.functions[*position] : nullptr;
}

FunctionEntry* findFunction(std::string_view name) {
    return findFunctionRecord(name).get();
}

void defineUserFunction(std::string name, int count, std::vector<std::string> parameterNames,
                        std::string bodyText) {
    auto entry = std::make_shared<FunctionEntry>();
    entry->isBuiltin = 0;
    entry->arity = count;
    for (std::string& parameter : parameterNames)
        entry->parameters.push_back(ParameterNode{std::move(parameter)});
    entry->bodyText = std::move(bodyText);
    entry->name = std::move(name);
    if (const std::optional<std::size_t> old = functionPosition(entry->name)) {
        // A redefinition keeps the place, and so the row, of the old entry.
        symbolStore.functions[*old] = std::move(entry);
        return;
    }
    appendFunction(std::move(entry));
    if (userFunctionCount >= 0 && userFunctionCount < functionRowCount) displayFlags[userFunctionCount] = 1;
    ++userFunctionCount;
}

FunctionEntry* userFunctionAt(int row) {
    if (row < 0) return nullptr;
    for (const auto& entry : symbolStore.functions) {
        if (entry->isBuiltin == 0 && row-- == 0) return entry.get();
    }
    return nullptr;
}

std::string functionText(const FunctionEntry& function, std::string_view separator) {
    std::string text = function.name + "(";
    for (std::size_t i = 0; i < function.parameters.size(); ++i) {
        if (i > 0) text += ',';
        text += function.parameters[i].name;
    }
    text += separator;
    return text + function.bodyText;
}

bool unlinkFunction(std::string_view name) {
    const std::optional<std::size_t> found = functionPosition(name);
    if (!found) return false;
    auto& functions = symbolStore.functions;
    functions.erase(functions.begin() + static_cast<std::ptrdiff_t>(*found));
    // The entries after it moved up one place; removals are rare, so the index is rebuilt.
    symbolStore.functionIndex.clear();
    for (std::size_t i = 0; i < functions.size(); ++i)
        symbolStore.functionIndex.try_emplace(functions[i]->name, i);
    return true;
}

void registerStandardSymbols() {
    setVariableValue(findOrCreateVariable("pi"), 3.141592653589793);
    setVariableValue(findOrCreateVariable("e"), 2.718281828459045);
    setVariableValue(findOrCreateVariable("x"), 0.0);
    for (const BuiltinRow& row : builtinTable)
        registerBuiltin(row.name, row.arity);
}

namespace {
void emptyListsExceptVectors() {
    symbolStore.constants.clear();
    symbolStore.variables.clear();
    symbolStore.functions.clear();
    symbolStore.variableIndex.clear();
    symbolStore.functionIndex.clear();
}
} // namespace

void clearVectors() {
    symbolStore.vectors.clear();
    symbolStore.vectorIndex.clear();
}

void initSymbolStore() {
    emptyListsExceptVectors();
    clearVectors();
    registerStandardSymbols();
    findOrCreateVector("i", 3, 1.0, 0.0, 0.0);
    findOrCreateVector("j", 3, 0.0, 1.0, 0.0);
    findOrCreateVector("k", 3, 0.0, 0.0, 1.0);
}

void resetSymbolStore() {
    emptyListsExceptVectors();
    userFunctionCount = 0;
    std::fill(std::begin(displayFlags), std::end(displayFlags), 0);
    registerStandardSymbols();
}
