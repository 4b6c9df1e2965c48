#pragma once
// The program-wide symbol store: constants, variables, vectors and functions, the records compiled
// expressions are made of, and the WorkStack shared by the compiler and the evaluator.
//
// Records live in shared ownership: the store holds them, and every compiled list that refers to a
// record holds it too, so a compiled list stays safe to evaluate after the store has dropped the
// record (reset, redefinition, unlinking). Raw pointers handed out by the lookups stay valid until
// the record leaves the store.

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct Constant {
    double value = 0.0;
    std::int32_t isInteger = 0; // 1 when the number's text held no "."
};

struct Variable {
    std::string name;
    double value = 0.0;
    // Set only for a user call's parameter bound to a value with the flag, as f(3) binds x in
    // x^2: a variable of the store always counts as real.
    std::int32_t isInteger = 0;
};

// Every vector has room for three components; `count` (0..3) is how many the listing shows.
struct VectorVariable {
    std::string name;
    std::int32_t count = 3;
    std::array<double, 3> components{};
};

// The built-in function a FunctionEntry stands for, chosen by its name at registration. The
// order is the registration order, which the function list, its rows and documents depend on:
// new built-ins go at the end. builtinTable (builtin_table.h) holds one row for each.
enum class Builtin : std::uint8_t {
    none, // a user function, or a registered name without a rule
    sin,
    cos,
    sqrt,
    sum,
    prod,
    factorial,
    mod,
    inv,
    gamma,
    acos,
    asin,
    atan,
    ceil,
    cosh,
    floor,
    log,
    sinh,
    tan,
    tanh,
    diff,
    diffn,
    sec,
    cosec,
    cot,
    integral,
    abs,
    exp,
    ln,
    log10,
    min,
    max,
    sign,
};
inline constexpr std::size_t builtinCount = static_cast<std::size_t>(Builtin::sign);

struct ParameterNode {
    std::string name;
};

struct FunctionEntry {
    std::string name;
    std::int32_t isBuiltin = 0;
    std::int32_t arity = 0;
    std::vector<ParameterNode> parameters; // user functions only
    std::string bodyText;                  // user functions only: the text after "="
    Builtin builtin = Builtin::none;
};

enum NodeKind : std::uint8_t {
    kindVariable = 0,
    kindNumber = 1,
    kindSign = 2,
    kindOperator = 3,
    kindOpen = 4,
    kindClose = 5,
    kindCall = 6,
    kindVector = 7,
};

// What the evaluator does with an evaluation-order node; set by toPostfix.
enum class Opcode : std::uint8_t {
    pushNumber,
    pushVariable,
    pushVector,
    plusSign,
    minusSign,
    add,
    subtract,
    multiply,
    divide,
    power,
    dot,
    cross,
    assign,
    callBuiltin,
    callUser,
    callUnary,   // a one-argument built-in whose argument was evaluated just before it
    refusedCall, // a call the compiler would not expand: evaluates to an error
    none,        // a token that is never evaluated (brackets)
};

// Why the compiler left a call unexpanded; the evaluator answers with the matching error.
enum class Refusal : std::uint8_t {
    none,
    recursive,  // the function is already being expanded: the expansion would never end
    tooLarge,   // the expression outgrew the compiler's ceilings
};

struct ExpList;
using ExpListPtr = std::shared_ptr<ExpList>;

// One compiled argument of a call. The argument of a user call that binds a parameter by value
// names the record its value goes to before the body runs; an argument that is a plain name binds
// the parameter to that name's own record and needs neither.
struct ArgumentNode {
    ExpListPtr list;
    Variable* parameter = nullptr;
    VectorVariable* vectorParameter = nullptr;
};

// One token of the text, or one instruction of the evaluation order. Pointers refer to records
// that the owning ExpList keeps alive.
struct ExpListNode {
    NodeKind kind = kindNumber;
    char op = 0;
    Opcode code = Opcode::none;
    Builtin builtin = Builtin::none;         // kindCall of a built-in
    Refusal refusal = Refusal::none;         // kindCall left unexpanded
    Constant constant;                       // kindNumber
    Variable* variable = nullptr;            // kindVariable
    VectorVariable* vector = nullptr;        // kindVector
    const FunctionEntry* function = nullptr; // kindCall
    std::uint32_t arguments = 0;             // kindCall: first index in ExpList::arguments
    std::uint32_t argumentCount = 0;
    ExpList* body = nullptr; // kindCall of a user function: the compiled body
};

// The scalar path: when no vector can appear and nothing can change a variable while the list
// runs, evaluateToNumber runs this shorter program on plain doubles instead of the evaluation
// order. Operands are read when pushed (nothing in between could change them), constant
// sub-sequences are folded, an operand that follows its operator's left side is taken directly
// (addNumber: top + number), and user-function bodies run in place.
enum class ScalarCode : std::uint8_t {
    pushNumber,
    pushVariable,
    pushSquare,     // the variable squared: x^2
    pushPower,      // the variable to a constant power: x^1.5
    pushSquareRoot, // x^0.5
    pushWholePower, // x^3 to x^5, the exponent in number
    bindParameter,  // the top becomes the value of a user call's parameter, and is popped
    negate,
    square,
    squareRoot,
    wholePower,
    function, // a one-argument built-in
    sine,
    cosine,
    sineOfPair, // sin and cos of one program share one computation of both
    cosineOfPair,
    pushSineOfPair, // of a variable
    pushCosineOfPair,
    add,
    subtract,
    multiply,
    divide,
    power,
    addNumber,
    subtractNumber,
    multiplyNumber,
    divideNumber,
    powerNumber,
    addVariable,
    subtractVariable,
    multiplyVariable,
    divideVariable,
    powerVariable,
    end,
};

struct ScalarStep {
    ScalarCode code = ScalarCode::end;
    double number = 0.0;
    union {
        const double* variable = nullptr; // the value of a Variable the owning ExpList keeps alive
        double* parameter;                // bindParameter
        double (*function)(double);
    };
};

struct ExpList {
    std::vector<ExpListNode> tokens;                  // in the order of the text
    std::vector<ExpListNode> postfix;                 // evaluation order, no brackets
    std::vector<ArgumentNode> arguments;              // of the built-in calls, in text order
    std::vector<ExpListPtr> bodies;                   // of the user calls, in text order
    std::vector<std::shared_ptr<const void>> records; // store records and texts the nodes refer to
    // Filled by toPostfix: the most entries the evaluation order adds to the WorkStack, how
    // many it leaves, and whether every operator finds its operands within this list.
    std::int32_t maxDepth = 0;
    std::int32_t resultCount = 0; // entries left when the evaluation order has run
    bool wellFormed = true;
    bool resultIsVector = false; // whether the result is a vector, known from the nodes alone
    // Set when the compiler could not read the whole text: the list then evaluates to this error
    // alone, never to what was read before it.
    std::string refusal;
    // Filled by toPostfix; empty when the list needs the evaluation order. scalarDepth is the
    // most WorkStack entries the evaluation order would use, user-function bodies included.
    std::vector<ScalarStep> scalarSteps;
    std::int32_t scalarDepth = 0;
};

// An evaluation result, or an entry of the WorkStack: a scalar (components[0]) with its integer
// flag, a vector of three components, or a variable read only when an operator takes it.
struct Value {
    NodeKind kind = kindNumber; // kindNumber, kindVector or kindVariable
    std::int32_t isInteger = 0;
    std::array<double, 3> components{};
    Variable* variable = nullptr;     // kindVariable
    VectorVariable* vector = nullptr; // kindVector naming a stored vector, read when taken
};

inline constexpr int workStackLimit = 1000;

struct WorkStack {
    std::array<Value, workStackLimit> entries;
    std::int32_t count = 0;
};

// Name comparisons the store's lookups have made since start-up. A lookup makes about one
// whatever the number of names, so a document of many records loads in linear time.
extern std::uint64_t& storeNameComparisons;

// Hashes and compares names as texts, so a lookup by string_view makes no copy.
struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const { return std::hash<std::string_view>{}(name); }
};
struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const {
        ++storeNameComparisons;
        return a == b;
    }
};
template <typename Target> using NameIndex = std::unordered_map<std::string, Target, NameHash, NameEqual>;

// The lists keep their order, which listings, documents and function rows depend on; the
// indexes beside them answer name lookups. Only the operations below change either.
struct SymbolStore {
    std::deque<Constant> constants;                        // newest first, at most 1024
    std::deque<std::shared_ptr<Variable>> variables;       // newest first
    std::deque<std::shared_ptr<VectorVariable>> vectors;   // newest first
    std::vector<std::shared_ptr<FunctionEntry>> functions; // list order
    NameIndex<std::shared_ptr<Variable>> variableIndex;
    NameIndex<std::shared_ptr<VectorVariable>> vectorIndex;
    NameIndex<std::size_t> functionIndex; // position in functions
};

inline constexpr std::size_t constantsKept = 1024;
inline constexpr int functionRowCount = 10;

// Parts of the expression state (expr/expression_state.h).
extern SymbolStore& symbolStore;
extern WorkStack& workStack;
// Display flags of function rows 0-9; user functions beyond the tenth have none.
extern std::int32_t (&displayFlags)[functionRowCount];
extern std::int32_t& userFunctionCount;

Variable* findOrCreateVariable(std::string_view name);
// pi and e, the variables that stand for constants: documents and the variables list leave them out.
bool isStandardConstant(const Variable& variable);
// Inline: the plotters set their variables once per sample.
inline void setVariableValue(Variable* variable, double value) {
    if (variable != nullptr) variable->value = value;
}
Constant addConstant(std::string_view text);
void registerBuiltin(std::string_view name, int arity);
VectorVariable* findOrCreateVector(std::string_view name, int count, double x, double y, double z);
VectorVariable* findVector(std::string_view name);
// Empties the vector list, i, j and k included.
void clearVectors();
FunctionEntry* findFunction(std::string_view name);
// Appends a new user function (and shows its row), or replaces the entry of that name in place.
void defineUserFunction(std::string name, int count, std::vector<std::string> parameterNames,
                        std::string bodyText);
// The k-th user function of the function list, built-ins skipped; nullptr when there is none.
FunctionEntry* userFunctionAt(int row);
// A user function as name(parameters, then separator, which closes the bracket, then the body.
std::string functionText(const FunctionEntry& function, std::string_view separator);
// The separator of a definition as typed and as documents keep it: f(x)=1+x.
inline constexpr std::string_view definitionSeparator = ")=";
// Unlinks the first entry of that exact name; userFunctionCount and the flags stay.
bool unlinkFunction(std::string_view name);

// The same lookups in the shared form that compiled lists hold on to.
std::shared_ptr<Variable> findOrCreateVariableRecord(std::string_view name);
std::shared_ptr<VectorVariable> findVectorRecord(std::string_view name);
std::shared_ptr<FunctionEntry> findFunctionRecord(std::string_view name);

void initSymbolStore();
void registerStandardSymbols();
// The store's part of starting a new document: empties variables, constants and functions,
// clears the counter and flags, registers the standard symbols again; vectors are kept.
void resetSymbolStore();
