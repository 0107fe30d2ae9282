#pragma once
// An input property as plug-in code sees it: the shaped value of whatever control the user bound
// to it (0 while nothing is bound).
#include <string>

namespace mvk::qvn {

class CProperty {
public:
    virtual double value() const = 0;
    virtual const std::string& getName() const = 0;

protected:
    ~CProperty() = default;
};

} // namespace mvk::qvn
