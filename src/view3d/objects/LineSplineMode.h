#pragma once

// How an object drawn through nodes joins them: straight (one strip, or
// separate pairs of nodes) or along a curve that the nodes define.
enum class TLineSplineMode { lsmLines, lsmCubicSpline, lsmBezierSpline, lsmNURBSCurve, lsmSegments };
