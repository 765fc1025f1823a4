#pragma once

// A drawing, a 100 x 100 pixel view of the world rectangle (0, 0)-(100, 100)
// and the engine bound to it, driven by mouse events at world points as the
// view's window would send them; a transform panel whose fields the test
// fills; and engine hooks that add copies and polylines to the drawing.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cad/base/Settings.h"
#include "cad/drawing/CADClassRegistration.h"
#include "cad/drawing/CADCmp2D.h"
#include "cad/engine/CADPrg2D.h"
#include "cad/engine/EngineGlobals.h"
#include "cad/engine/EngineHooks.h"
#include "cad/geometry/Geometry2D.h"
#include "cad/model/ClassRegistry.h"
#include "cad/shapes/Curve2D.h"
#include "cad/shapes/Polyline2D.h"
#include "support/ImageTestSupport.h"
#include "support/PointExpectations.h"
#include "support/ViewportTestSupport.h"

namespace statetest {

inline void ExpectPoint(TPoint2D actual, TPoint2D expected, float tolerance = 1e-3f)
{
    cadtest::ExpectPointNear(actual, expected.X, expected.Y, tolerance);
}

inline void ExpectBox(const TRect2D& actual, const TRect2D& expected, float tolerance = 1e-3f)
{
    ExpectPoint(actual.FirstEdge, expected.FirstEdge, tolerance);
    ExpectPoint(actual.SecondEdge, expected.SecondEdge, tolerance);
}

class TFakePanel : public TTransformPanel {
public:
    std::optional<double> FieldValue(TTransformField field) const override
    {
        const auto found = Typed.find(field);
        return found == Typed.end() ? std::nullopt : std::optional<double>(found->second);
    }
    void ShowFieldText(TTransformField field, const std::string& text) override { Shown[field] = text; }
    bool ScaleUniform() const override { return Uniform; }
    TMirrorAxis MirrorAxis() const override { return Axis; }
    bool MouseInView() const override { return InView; }
    int CommandCode() const override { return Command; }

    std::map<TTransformField, double> Typed;
    std::map<TTransformField, std::string> Shown;
    bool Uniform = true;
    TMirrorAxis Axis = TMirrorAxis::TwoPoints;
    bool InView = true;
    int Command = 0;
};

class StateTest : public testing::Test {
protected:
    void SetUp() override
    {
        RegisterCADClasses();
        View = viewtest::MakeView(100, 100, MakeRect2D(0, 0, 100, 100));
        View->SetBackGroundColor(clWhite);
        View->SetCADCmp2D(&Drawing);
        Engine = std::make_unique<TCADPrg2D>();
        Engine->SetViewport2D(View.get());
        Engine->OnDescriptionChanged = [this](TCADState& state) { Prompts.push_back(state.Description()); };
        TEngineHooks& hooks = EngineHooks();
        hooks = {};
        hooks.Panel = &Panel;
        hooks.PromptText = [](int message) { return std::to_string(message); };
        hooks.CopiaOggetto = [this](TObject2D& object) { AddCopy(object); };
        hooks.CurveToPolyline = [](TCurve2D& curve) { return ProfilePolyline(curve); };
        TransformCopyMode = false;
        TransformRepeat = 1;
        ObjectSnapActive = false;
        SavedDisplayFormat = DisplayFormat;
        DisplayFormat = "%0.3f";
    }

    void TearDown() override
    {
        Engine.reset();
        EngineHooks() = {};
        CADCoreClearRegistry();
        DisplayFormat = SavedDisplayFormat;
    }

    // The pointer at the world point, as typed-point entry puts it there.
    void Move(float x, float y)
    {
        Engine->SetCurrentPoint(MakePoint2D(x, y));
        Engine->SendEventToState(TCADPrgEvent::MouseMove, CADPRG_NO_BUTTON, 0, 0);
    }
    void Down(float x, float y)
    {
        Move(x, y);
        Engine->SendEventToState(TCADPrgEvent::MouseDown, CADPRG_LEFT, 0, ssLeft);
    }
    void Up(float x, float y)
    {
        Engine->SetCurrentPoint(MakePoint2D(x, y));
        Engine->SendEventToState(TCADPrgEvent::MouseUp, CADPRG_LEFT, 0, 0);
    }
    void Click(float x, float y)
    {
        Down(x, y);
        Up(x, y);
    }
    void User(int code) { Engine->SendUserEvent(code); }

    bool Idle() const { return !Engine->IsBusy() && dynamic_cast<TCADIdleState*>(Engine->CurrentState()); }
    template <class TState>
    bool In() const
    {
        return dynamic_cast<TState*>(Engine->CurrentState()) != nullptr;
    }

    TObject2D& Add(std::unique_ptr<TObject2D> object) { return *Drawing.AddObject(-1, std::move(object)); }

    std::vector<TObject2D*> Objects()
    {
        std::vector<TObject2D*> objects;
        std::unique_ptr<TGraphicObjIterator> iterator = Drawing.ObjectsIterator();
        for (TGraphicObject* object = iterator->First(); object; object = iterator->Next())
            objects.push_back(static_cast<TObject2D*>(object));
        return objects;
    }

    // World points of an object's control points through its transform.
    static std::vector<TPoint2D> WorldPoints(const TObject2D& object)
    {
        std::vector<TPoint2D> points;
        const auto* primitive = dynamic_cast<const TPrimitive2D*>(&object);
        for (int i = 0; primitive && i < primitive->PointCount(); ++i)
            points.push_back(CartesianPoint2D(ApplyTransform2D(primitive->Points()->Get(i), object.GetTransform())));
        return points;
    }

    // The window shows the bitmap plus exactly one copy of every transient
    // drawing: copying the bitmap again lets the states draw each once, and
    // that must give the same picture.
    bool TransientDrawingsDrawnOnce()
    {
        const QImage shown = View->WindowImage().copy();
        View->InvalidateView();
        return imagetest::SamePixels(shown, View->WindowImage());
    }

    TCADCmp2D Drawing;
    std::unique_ptr<TCADViewport2DCore> View;
    std::unique_ptr<TCADPrg2D> Engine;
    TFakePanel Panel;
    std::vector<std::string> Prompts;

private:
    std::string SavedDisplayFormat;

    void AddCopy(TObject2D& object)
    {
        std::unique_ptr<TGraphicObject> made = CADCoreFindClassByName(object.ClassName()).Create();
        auto* copy = static_cast<TObject2D*>(made.get());
        // The copy takes the object's whole transform as its own.
        copy->Assign(object);
        made.release();
        Drawing.AddObject(-1, std::unique_ptr<TObject2D>(copy));
    }

    static std::unique_ptr<TPolyline2D> ProfilePolyline(TCurve2D& curve)
    {
        std::vector<TPoint2D> points;
        TProfileUse use(curve);
        const TPointsSet2D& profile = curve.ProfilePoints();
        for (int i = 0; i < curve.ProfilePointCount(); ++i)
            points.push_back(CartesianPoint2D(ApplyTransform2D(profile[i], curve.GetTransform())));
        return std::make_unique<TPolyline2D>(-1, points);
    }
};

} // namespace statetest
