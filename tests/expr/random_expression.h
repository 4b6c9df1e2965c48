// Random expression texts for tests: numbers, the given variables, the four operations and
// powers, built-ins and the user functions f and g (of one argument, defined by the test).
#pragma once

#include <random>
#include <string>
#include <utility>

class RandomExpression {
  public:
    // The variables are drawn from `variables`, a letter each (repeat one to draw it more often).
    RandomExpression(unsigned seed, std::string variables) : random(seed), variables(std::move(variables)) {}

    std::string next(int depth) {
        if (depth == 0 || pick(4) == 0) return leaf();
        static const char* const functions[] = {"sin",  "cos",   "tan",  "sqrt", "log",   "sinh",
                                                "cosh", "tanh",  "atan", "inv",  "gamma", "mod",
                                                "!",    "floor", "f",    "g",    "-"};
        if (pick(2) == 0) {
            return std::string("(") + functions[pick(std::size(functions))] + "(" + next(depth - 1) + "))";
        }
        return "(" + next(depth - 1) + "+-*/^"[pick(5)] + next(depth - 1) + ")";
    }

  private:
    std::mt19937 random;
    std::string variables;

    std::size_t pick(std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); }

    std::string leaf() {
        static const char* const numbers[] = {"2", "0.5", "3", "4", "5", "0", "1.5", "e"};
        if (pick(2) == 0) return std::string(1, variables[pick(variables.size())]);
        return numbers[pick(std::size(numbers))];
    }
};
