#include "expr/symbol_store.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

SymbolStore symbolStore;
WorkStack workStack;
std::uint64_t storeNameComparisons = 0;
std::int32_t displayFlags[functionRowCount] = {};
std::int32_t userFunctionCount = 0;

namespace {

struct BuiltinName {
    const char* name;
    int arity;
    Builtin builtin;
};

// Registration order is the order of the function list and of the ":listf" answer.
constexpr BuiltinName standardBuiltins[] = {
    {"sin", 1, Builtin::sin},      {"cos", 1, Builtin::cos},     {"sqrt", 1, Builtin::sqrt},
    {"sum", 4, Builtin::sum},      {"prod", 4, Builtin::prod},   {"!", 1, Builtin::factorial},
    {"mod", 1, Builtin::mod},      {"inv", 1, Builtin::inv},     {"gamma", 1, Builtin::gamma},
    {"acos", 1, Builtin::acos},    {"asin", 1, Builtin::asin},   {"atan", 1, Builtin::atan},
    {"ceil", 1, Builtin::ceil},    {"cosh", 1, Builtin::cosh},   {"floor", 1, Builtin::floor},
    {"log", 1, Builtin::log},      {"sinh", 1, Builtin::sinh},   {"tan", 1, Builtin::tan},
    {"tanh", 1, Builtin::tanh},    {"diff", 2, Builtin::diff},   {"diffn", 3, Builtin::diffn},
    {"sec", 1, Builtin::sec},      {"cosec", 1, Builtin::cosec}, {"cot", 1, Builtin::cot},
    {"int", 3, Builtin::integral},
};

Builtin builtinNamed(std::string_view name) {
    for (const BuiltinName& b : standardBuiltins) {
        if (name == b.name) return b.builtin;
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
    constant.isInteger = text.find('.') == std::string_view::npos ? 1 : 0;
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

void pushNode(const Value& value) {
    if (workStack.count < workStackLimit)
        workStack.entries[static_cast<std::size_t>(workStack.count++)] = value;
}

std::optional<Value> popNode() {
    if (workStack.count <= 0) return std::nullopt;
    return workStack.entries[static_cast<std::size_t>(--workStack.count)];
}

void registerStandardSymbols() {
    // This value of pi, not the nearest double, is what the program has always used.
    setVariableValue(findOrCreateVariable("pi"), 3.141592653523879);
    setVariableValue(findOrCreateVariable("e"), 2.718281828459045);
    setVariableValue(findOrCreateVariable("x"), 0.0);
    for (const BuiltinName& b : standardBuiltins)
        registerBuiltin(b.name, b.arity);
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
