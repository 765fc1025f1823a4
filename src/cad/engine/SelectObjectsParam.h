#pragma once

// The parameter of the object selections and what their states share: the
// pick aperture that follows the pointer, the pick itself, and the callback
// that marks each object as it is selected or let go.

#include <functional>
#include <memory>

#include "cad/engine/CAD2DState.h"
#include "cad/engine/RubberDrawing.h"
#include "cad/model/GraphicObjList.h"
#include "cad/model/ObjectClassRef.h"

class TObject2D;
class TCAD2DSelectObjectsParam;

// Object none with code -200: the whole list changed (after an area selection)
// or, after a repaint, every listed object is marked again.
using TSelectionCallback =
    std::function<void(TCAD2DSelectObjectsParam& param, TObject2D* object, bool selected, int code)>;

class TCAD2DSelectObjectsParam : public TCAD2DCommonParam {
public:
    TCAD2DSelectObjectsParam(int aperture, TCADStateClass afterState, TSelectionCallback callback = {});

    // The aperture's square on the view's window, around CurrentPoint.
    virtual void DrawAperture(TCADViewport2DCore& view, TPoint2D point);

    std::int16_t Aperture;
    bool PickOnMouseDown = false;
    std::int32_t LastPickCode = PICK_NOOBJECT;
    TPoint2D CurrentPoint;
    // The picked objects; the drawing keeps owning them.
    TGraphicObjList SelectedObjects;
    TSelectionCallback OnSelected;
    TObject2DClass PickClass;
};

// 0: objects wholly inside the area; 1: objects overlapping it.
class TCAD2DSelectObjectsInAreaParam : public TCAD2DSelectObjectsParam {
public:
    TCAD2DSelectObjectsInAreaParam(int areaMode, TCADStateClass afterState, TSelectionCallback callback = {});

    std::uint8_t AreaMode;
    TRect2D Area;
};

// A state that shows the aperture at the pointer and picks under it.
class TCAD2DPickingState : public TCAD2DState {
protected:
    // Refuses any parameter but a selection's with the text.
    TCAD2DPickingState(TCADPrg& engine, std::unique_ptr<TCADPrgParam> param, TCADStateClass& nextState,
                       const char* invalidText);

    TCAD2DSelectObjectsParam& Selection() const { return static_cast<TCAD2DSelectObjectsParam&>(*Param()); }
    void ShowAperture();
    void HideAperture();
    // The aperture follows the pointer.
    void MoveAperture();
    // The object of the pick class under the raw point, or none; the code is
    // kept in the parameter. Hits only inside an object's box do not count.
    TObject2D* PickAtPointer();
    // The callback, when there is one, with events blocked.
    void Notify(TObject2D* object, bool selected, int code);
    // After a repaint every listed object is marked again.
    void MarkSelectedAgain();
    // Adds or removes the object by its ID; true when it is now selected.
    bool ToggleSelected(TObject2D& object);
    // Pointer moves and repaints as the picking states read them (after a
    // repaint the listed objects are marked again when asked); true when the
    // event was one of them.
    bool FollowPointer(TCADPrgEvent kind, bool markAgain);
    // The marks are wiped, with events blocked, and the list goes on.
    bool AcceptSelection(TCADStateClass& nextState, bool refresh);

private:
    TXorMark ApertureMark;
};
