#include "edit/commands/CommandStates.h"

#include "cad/engine/EditPrimitive.h"
#include "cad/engine/TransformSelectedObjects.h"
#include "edit/commands/EditStates.h"
#include "edit/entities/EntityInfo.h"
#include "edit/commands/OffsetCommand.h"
#include "edit/commands/SelectionState.h"

namespace {

struct TNamedState {
    std::string_view Name;
    TCADStateClass Class;
};

// One line a state; the name is the class's own ClassName.
template <class T>
TNamedState Named()
{
    return {T::ClassName, TCADStateClass::Of<T>()};
}

} // namespace

TCADStateClass CommandStateClass(std::string_view name)
{
    static const TNamedState states[] = {
        Named<TCAD2DEditSelectedPrimitive>(),
        Named<TSCTraslaSelectedObjects>(),
        Named<TSCRuotaSelectedObjects>(),
        Named<TSCScalaSelectedObjects>(),
        Named<TSCSpecchiaSelectedObjects>(),
        Named<TMySelezione>(),
        Named<TMySelOffset>(),
        Named<TMySelInfo>(),
        Named<TMyRaccordo>(),
        Named<TMyDivide>(),
        Named<TMyBreak>(),
        Named<TMyExtend>(),
        Named<TMyJoin>(),
        Named<TMyLineaTan2A>(),
        Named<TMyLineaTanAngle>(),
        Named<TMyLineaPer>(),
        Named<TMyArcoTan1>(),
        Named<TMyArcoTan2>(),
    };
    for (const TNamedState& state : states)
        if (state.Name == name)
            return state.Class;
    return {};
}
