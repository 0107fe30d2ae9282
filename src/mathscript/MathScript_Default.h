#pragma once
// The node kinds of expression scripts and their registration.
#include "mathscript/BinaryFunction.h"
#include "mathscript/Constant.h"
#include "mathscript/Functions.h"
#include "mathscript/MathScript.h"
#include "mathscript/Parameter.h"
#include "mathscript/Sum.h"
#include "mathscript/UnaryFunction.h"
#include "mathscript/Zero.h"

namespace MathScript_Default {

// Registers the 23 node factories with MathScript::instance(), once at start-up; a name that is
// already registered keeps its first factory.
void registerFactories();

} // namespace MathScript_Default
