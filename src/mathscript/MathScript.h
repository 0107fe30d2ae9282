#pragma once
// A node of an expression script: a small arithmetic tree built from XML, evaluated on demand
// and written back. The node kinds live in MathScript_Default.
#include "util/Composite_Dynamic.h"
#include "util/DynamicObject.h"
#include "util/FactoryManager.h"
#include "util/xml/Element.h"

#include <cstddef>
#include <cstdint>
#include <vector>

// The registry of node factories is the singleton MathScript::instance(). Every node also
// inherits an (always empty) registry of its own; never build through a node's create().
class MathScript : public mvk::util::DynamicObject,
                   public mvk::util::Composite_Dynamic<MathScript>,
                   public mvk::util::FactoryManager<MathScript> {
public:
    using Parameters = std::vector<double>;

    // Scripts nested deeper than this are refused when built (the factory answers null as a
    // whole), so building, evaluating and destroying a built tree stay far from the end of the
    // stack. Width costs no stack: a sum builds, evaluates, writes and lets go of its operands
    // in loops. Trees assembled by hand are not checked.
    static constexpr int MaxDepth = 10000;

    MathScript(const MathScript&) = delete;
    MathScript& operator=(const MathScript&) = delete;

    void destroy() override;
    ~MathScript() override;
    // The subtree in XML form, assembled without recursion from ownXML() and writtenOperands()
    // of every node.
    virtual mvk::util::xml::Element toXML() const;
    // The subtree's value, read with the parameters of the tree's root.
    virtual double evaluate() const;

    // Sets a parameter of the tree's root, growing the sequence with zeros; a negative index is
    // ignored. Callers set every parameter before each evaluation, hence the inline fast path.
    void setParameter(int index, double value) {
        Parameters& values = root().parameters;
        if (index >= 0 && static_cast<std::size_t>(index) < values.size())
            values[static_cast<std::size_t>(index)] = value;
        else
            growParameters(index, value);
    }
    // The root's parameter, or 0 out of range.
    double parameter(int index) const;
    int parameterCount() const;

    // The value of this subtree given the root's parameters; the recursion behind evaluate().
    virtual double evaluateWith(const Parameters& parameters) const = 0;

    void destroyComposite() override { destroy(); }
    void onChildInserted(MathScript* child, int index) override;
    void onChildRemoved(MathScript* child, int index) override;

protected:
    MathScript() = default;

    // Builds `element` through the registry and appends it as the next operand; false (and
    // nothing appended) when it is not a tag or names no known node kind.
    bool appendOperand(const mvk::util::xml::Element& element);
    // How evaluation reaches an operand: an inner node through its evaluateWith(); a parameter
    // or a fixed number (a constant, zero, a missing operand) in place, which spares most of
    // the calls of a typical script.
    struct Operand {
        const MathScript* node = nullptr;
        int32_t parameterIndex = -1;
        double number = 0.0;

        double value(const Parameters& parameters) const {
            if (node != nullptr)
                return node->evaluateWith(parameters);
            if (parameterIndex < 0)
                return number;
            const auto index = static_cast<std::size_t>(parameterIndex);
            return index < parameters.size() ? parameters[index] : 0.0;
        }
    };

    // How a parent reaches this node as its operand. Leaves whose value needs no call override
    // it; they must not change afterwards, since parents keep the answer.
    virtual Operand asOperand() const { return Operand{this, -1, 0.0}; }

    // The value of the first or second operand, 0 when that operand is missing.
    double firstOperandValue(const Parameters& parameters) const {
        return firstOperand.value(parameters);
    }
    double secondOperandValue(const Parameters& parameters) const {
        return secondOperand.value(parameters);
    }
    // This node's own element, without its operands.
    virtual mvk::util::xml::Element ownXML() const = 0;
    // The operand positions written below ownXML(); a position without a child is written as an
    // empty "zero" tag.
    virtual int writtenOperands() const { return 0; }

private:
    const MathScript& root() const {
        const MathScript* node = this;
        while (node->parent() != nullptr)
            node = node->parent();
        return *node;
    }
    MathScript& root() {
        MathScript* node = this;
        while (node->parent() != nullptr)
            node = node->parent();
        return *node;
    }
    void growParameters(int index, double value);
    void updateOperands();

    Parameters parameters;
    // The first two children, kept in step by the child hooks so that evaluation reaches the
    // operands of a function directly. Every change of the children passes through
    // insertChild() or removeChild(), the destructor included, so they never go stale.
    Operand firstOperand;
    Operand secondOperand;
};
