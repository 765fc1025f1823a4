#pragma once

// Shapes that have an outline made of points (the "profile"): polylines use
// their control points, curves compute theirs from the control points.

#include "cad/shapes/Primitive2D.h"

class TOutline2D : public TPrimitive2D {
public:
    using TPrimitive2D::TPrimitive2D;

    std::string ClassName() const override { return "TOutline2D"; }

    // The points of the outline; only valid between BeginUseProfilePoints and
    // ReleaseProfilePoints for curves that do not keep their profile.
    virtual const TPointsSet2D& ProfilePoints() const = 0;
    virtual int ProfilePointCount() const = 0;
    // At least three profile points and the last equal to the first.
    virtual bool IsClosed() const;

    virtual void BeginUseProfilePoints() {}
    virtual void ReleaseProfilePoints() {}
};

// Holds the profile of an outline in use for one scope. Reading the outline of
// a const object may still have to build its transient profile; the objects
// themselves are never const.
class TProfileUse {
public:
    explicit TProfileUse(const TOutline2D& outline) : Outline(const_cast<TOutline2D&>(outline))
    {
        Outline.BeginUseProfilePoints();
    }
    ~TProfileUse() { Outline.ReleaseProfilePoints(); }
    TProfileUse(const TProfileUse&) = delete;
    TProfileUse& operator=(const TProfileUse&) = delete;

private:
    TOutline2D& Outline;
};
