#pragma once

// The after-states of the editing commands' selections. Each does its work
// in its constructor on the objects just picked, asks for a full repaint and
// ends the operation; the one-entity tangent and perpendicular commands go on
// to a point pick first.

#include <array>
#include <optional>
#include <vector>

#include "cad/engine/CAD2DState.h"
#include "cad/geometry/CADBaseTypes.h"

class TCADCmp2D;
class TObject2D;

class TEditState : public TCAD2DState {
protected:
    TEditState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);

    // The picked objects in the order picked.
    std::vector<TObject2D*> Picked() const;
    TCADCmp2D& Drawing() const;
    // The runner's snapped point.
    TVect PickPoint() const;
    // The world points of the two picks, first pick first.
    static std::array<TVect, 2> TwoPicks();
    void Mark(TVect point) const;
    // Full repaint; the parameter is freed and the operation ends.
    void End(TCADStateClass& nextState);
    // Keeps the picked primitive and goes on to a point pick that ends in the
    // given state; anything but a primitive is refused.
    void KeepEntityForPoint(TCADStateClass pointState, TCADStateClass& nextState);
    // The point of the kept line, arc or circle nearest to the given point;
    // none when there is no such entity or the point lies on it.
    std::optional<TVect> KeptEntityFoot(TVect point) const;
};

// Fillet (with an arc of the fillet radius) or trim of two picked entities.
class TMyRaccordo : public TEditState {
public:
    static constexpr const char* ClassName = "TMyRaccordo";
    TMyRaccordo(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// An arc of the given radius tangent to two entities.
class TMyArcoTan2 : public TEditState {
public:
    static constexpr const char* ClassName = "TMyArcoTan2";
    TMyArcoTan2(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Keeps the picked entity and asks for the centre of a tangent circle.
class TMyArcoTan1 : public TEditState {
public:
    static constexpr const char* ClassName = "TMyArcoTan1";
    TMyArcoTan1(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TMyArcoTan1Punto : public TEditState {
public:
    static constexpr const char* ClassName = "TMyArcoTan1Punto";
    TMyArcoTan1Punto(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// The line tangent to two arcs or circles nearest the picks.
class TMyLineaTan2A : public TEditState {
public:
    static constexpr const char* ClassName = "TMyLineaTan2A";
    TMyLineaTan2A(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// A tangent of the typed length at the typed angle to an arc or circle.
class TMyLineaTanAngle : public TEditState {
public:
    static constexpr const char* ClassName = "TMyLineaTanAngle";
    TMyLineaTanAngle(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Keeps the picked entity and asks for the point to draw the perpendicular from.
class TMyLineaPer : public TEditState {
public:
    static constexpr const char* ClassName = "TMyLineaPer";
    TMyLineaPer(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

class TMyLineaPerPunto : public TEditState {
public:
    static constexpr const char* ClassName = "TMyLineaPerPunto";
    TMyLineaPerPunto(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Lengthens every picked line, arc and open polyline by the typed length.
class TMyExtend : public TEditState {
public:
    static constexpr const char* ClassName = "TMyExtend";
    TMyExtend(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Cuts a line, arc or circle into two halves.
class TMyDivide : public TEditState {
public:
    static constexpr const char* ClassName = "TMyDivide";
    TMyDivide(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Cuts two entities where they cross.
class TMyBreak : public TEditState {
public:
    static constexpr const char* ClassName = "TMyBreak";
    TMyBreak(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};

// Merges two lines on one straight line or two arcs of one circle.
class TMyJoin : public TEditState {
public:
    static constexpr const char* ClassName = "TMyJoin";
    TMyJoin(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState);
};
