#include "mathscript/MathScript_Default.h"

#include <functional>

namespace MathScript_Default {

namespace {

void registerFactory(mvk::util::FactoryManager<MathScript>::Factory* factory) {
    if (!MathScript::instance()->add(factory))
        factory->destroy();
}

} // namespace

void registerFactories() {
    registerFactory(new Zero::Factory());
    registerFactory(new Constant::Factory());
    registerFactory(new BinaryFunction<std::plus<double>>::Factory());
    registerFactory(new BinaryFunction<std::minus<double>>::Factory());
    registerFactory(new BinaryFunction<std::multiplies<double>>::Factory());
    registerFactory(new BinaryFunction<std::divides<double>>::Factory());
    registerFactory(new BinaryFunction<std::greater<double>>::Factory());
    registerFactory(new BinaryFunction<std::greater_equal<double>>::Factory());
    registerFactory(new BinaryFunction<std::less<double>>::Factory());
    registerFactory(new BinaryFunction<std::less_equal<double>>::Factory());
    registerFactory(new BinaryFunction<std::equal_to<double>>::Factory());
    registerFactory(new BinaryFunction<std::not_equal_to<double>>::Factory());
    registerFactory(new BinaryFunction<Fmod>::Factory());
    registerFactory(new BinaryFunction<Pow>::Factory());
    registerFactory(new BinaryFunction<Atan2>::Factory());
    registerFactory(new UnaryFunction<Atan>::Factory());
    registerFactory(new UnaryFunction<Tan>::Factory());
    registerFactory(new UnaryFunction<Sin>::Factory());
    registerFactory(new UnaryFunction<Cos>::Factory());
    registerFactory(new UnaryFunction<Invert>::Factory());
    registerFactory(new UnaryFunction<std::negate<double>>::Factory());
    registerFactory(new Sum::Factory());
    registerFactory(new Parameter::Factory());
}

} // namespace MathScript_Default
