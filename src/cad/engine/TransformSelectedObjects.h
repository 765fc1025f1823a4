#pragma once

// The steps a selection command names as its after-state: each takes the
// finished selection, makes the transform task's parameter from the picked
// objects and runs the transform task (or ends when nothing was picked).

#include "cad/engine/CAD2DState.h"

class TSCTransformObjectsParam;
class TGraphicObjList;

class TSCTransformSelectedObjects : public TCAD2DState {
protected:
    using TMakeParam = std::unique_ptr<TSCTransformObjectsParam> (*)(TGraphicObjList& objects);
    TSCTransformSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState,
                                const char* invalidText, const TCADStateClass& self, TMakeParam makeParam);
};

class TSCTraslaSelectedObjects : public TSCTransformSelectedObjects {
public:
    static constexpr const char* ClassName = "TSCTraslaSelectedObjects";
    TSCTraslaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TSCRuotaSelectedObjects : public TSCTransformSelectedObjects {
public:
    static constexpr const char* ClassName = "TSCRuotaSelectedObjects";
    TSCRuotaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TSCScalaSelectedObjects : public TSCTransformSelectedObjects {
public:
    static constexpr const char* ClassName = "TSCScalaSelectedObjects";
    TSCScalaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TSCSpecchiaSelectedObjects : public TSCTransformSelectedObjects {
public:
    static constexpr const char* ClassName = "TSCSpecchiaSelectedObjects";
    TSCSpecchiaSelectedObjects(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};
