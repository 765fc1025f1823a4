#pragma once

// The base of every shape whose geometry is a list of control points: points,
// lines, outlines, curves, texts and pictures. The control points live in an
// owned TPointsSet2D whose changes recompute the object's box.

#include <memory>
#include <span>
#include <string>

#include "cad/model/GraphicObject.h"
#include "cad/model/PointsSet2D.h"

class TPrimitive2D : public TObject2D {
public:
    // No control-point set: the stream reader creates it with NewPointsSet.
    TPrimitive2D();
    // A growable, empty set of that capacity; the shared control-point handler.
    TPrimitive2D(std::int32_t id, int capacity);

    std::string ClassName() const override { return "TPrimitive2D"; }
    // The control points' extent through GetTransform; (0, 0)-(0, 0) without points.
    void ComputeExtension() override;
    // The TObject2D part, then the control points are emptied (a growable set
    // is created when there is none); the classes copy their points after it.
    void Assign(const TGraphicObject& other) override;
    // Control points through the handler; the classes add their outline test.
    int HitTest(TPoint2D point, float& distance, float aperture) const override;
    // Point count (Word), the points, GrowingEnabled. The stream cannot count
    // more than 65535 points: such an object raises ECADOutOfBound before any
    // of its record is written.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // Replaces the control-point set by an empty, growable one whose changes
    // run UpdateExtension. Put stores points without notifying, so a reader
    // can fill the set and then call UpdateExtension once.
    void NewPointsSet(int capacity);
    TPointsSet2D* Points() { return PointsSet.get(); }
    const TPointsSet2D* Points() const { return PointsSet.get(); }
    int PointCount() const { return PointsSet ? PointsSet->Count() : 0; }

    // The fewest control points the class can draw and pick with; an object
    // read with fewer must be refused by the reader (and draws nothing).
    virtual int MinimumPointCount() const { return 0; }
    bool HasRequiredPoints() const { return PointCount() >= MinimumPointCount(); }
    std::string LoadedObjectFault() const override;

protected:
    // Constructors: stores the points without notifications, fixes whether the
    // set may grow, then runs UpdateExtension once.
    void InitPoints(std::span<const TPoint2D> points, bool growable);
    // Copies points first..last of the source (those it holds) and fixes growth.
    void CopyPointsFrom(const TPrimitive2D& source, int first, int last, bool growable);

private:
    std::unique_ptr<TPointsSet2D> PointsSet;
};

// The outline rule every shape applies after its own pick: the code is the
// better of "inside the box" and the pick's code, the distance the smaller of
// the aperture and the pick's distance.
int MergeOutlinePick(int pickCode, float pickDistance, float aperture, float& distance);
