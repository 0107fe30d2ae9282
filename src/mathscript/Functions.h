#pragma once
// The operations of the function nodes that the standard library has no function object for,
// and the tag each operation is registered under.
#include <cmath>
#include <functional>

namespace MathScript_Default {

struct Fmod {
    double operator()(double a, double b) const { return std::fmod(a, b); }
};

struct Pow {
    double operator()(double a, double b) const { return std::pow(a, b); }
};

// a is the y argument, b the x argument.
struct Atan2 {
    double operator()(double a, double b) const { return std::atan2(a, b); }
};

struct Atan {
    double operator()(double a) const { return std::atan(a); }
};

struct Tan {
    double operator()(double a) const { return std::tan(a); }
};

struct Sin {
    double operator()(double a) const { return std::sin(a); }
};

struct Cos {
    double operator()(double a) const { return std::cos(a); }
};

struct Invert {
    double operator()(double a) const { return 1.0 / a; }
};

// The tag each operation is registered and written under.
constexpr const char* functionTag(std::plus<double>) {
    return "add";
}
constexpr const char* functionTag(std::minus<double>) {
    return "sub";
}
constexpr const char* functionTag(std::multiplies<double>) {
    return "mul";
}
constexpr const char* functionTag(std::divides<double>) {
    return "div";
}
constexpr const char* functionTag(std::greater<double>) {
    return "greater";
}
constexpr const char* functionTag(std::greater_equal<double>) {
    return "greater_equal";
}
constexpr const char* functionTag(std::less<double>) {
    return "less";
}
constexpr const char* functionTag(std::less_equal<double>) {
    return "less_equal";
}
constexpr const char* functionTag(std::equal_to<double>) {
    return "equals";
}
constexpr const char* functionTag(std::not_equal_to<double>) {
    return "notequals";
}
constexpr const char* functionTag(Fmod) {
    return "mod";
}
constexpr const char* functionTag(Pow) {
    return "pow";
}
constexpr const char* functionTag(Atan2) {
    return "atan2";
}
constexpr const char* functionTag(Atan) {
    return "atan";
}
constexpr const char* functionTag(Tan) {
    return "tan";
}
constexpr const char* functionTag(Sin) {
    return "sin";
}
constexpr const char* functionTag(Cos) {
    return "cos";
}
constexpr const char* functionTag(Invert) {
    return "inv";
}
constexpr const char* functionTag(std::negate<double>) {
    return "neg";
}

} // namespace MathScript_Default
