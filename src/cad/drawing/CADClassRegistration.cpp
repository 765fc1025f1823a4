#include "cad/drawing/CADClassRegistration.h"

#include <memory>

#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Block2D.h"
#include "cad/shapes/Container2D.h"
#include "cad/shapes/JustifiedVectText2D.h"
#include "cad/shapes/ShapeRegistration.h"
#include "cad/shapes/SourceBlock2D.h"

namespace {

template <typename TClass>
void RegisterClass(int code, const char* name)
{
    CADCoreRegisterClass(code, {name, [] { return std::make_unique<TClass>(); }});
}

} // namespace

void RegisterBlockClasses()
{
    RegisterClass<TContainer2D>(0, "TContainer2D");
    RegisterClass<TSourceBlock2D>(1, "TSourceBlock2D");
    RegisterClass<TBlock2D>(2, "TBlock2D");
}

void RegisterCADClasses()
{
    CADCoreClearRegistry();
    RegisterBlockClasses();
    RegisterShapeClasses();
    RegisterJustifiedVectText2DClass();
}
