#include "cad/CADClassRegistration.h"

#include <memory>

#include "cad/Block2D.h"
#include "cad/ClassRegistry.h"
#include "cad/Container2D.h"
#include "cad/JustifiedVectText2D.h"
#include "cad/ShapeRegistration.h"
#include "cad/SourceBlock2D.h"

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
