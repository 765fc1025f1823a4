#pragma once

// Segment clipping against a box, and the hit tests of segments, polylines
// and polygons that the objects' picks are built on.

#include "cad/geometry/CADBaseTypes.h"

// Returns the CLIP_* flags; the box must be normalised.
int ClipSegmentToBox2D(const TRect2D& box, TPoint2D& first, TPoint2D& second);
int ClipSegmentToBoxX2D(const TRect2D& box, TPoint2D& first, TPoint2D& second);
int ClipSegmentToBoxY2D(const TRect2D& box, TPoint2D& first, TPoint2D& second);

bool SegmentDistance2D(TPoint2D point, TPoint2D a, TPoint2D b, float& distance);
bool PointNearPoint2D(TPoint2D reference, TPoint2D point, float& distance, float aperture);
int PickPolyline2D(const TPoint2D* points, int count, TPoint2D worldPoint, bool closed, const TTransform2D& t,
                   float aperture, float& distance);
int PickPolygon2D(const TPoint2D* points, int count, TPoint2D worldPoint, const TTransform2D& t, float aperture,
                  float& distance);
bool CrossesRightOf2D(TPoint2D point, TPoint2D a, TPoint2D b);
