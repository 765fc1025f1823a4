#pragma once

// Chains are what the user picks before any toolpath is computed: a click on
// one drawing object grows a chain through every visible object connected
// end to end. In drilling mode the same list holds drill points instead.

#include <optional>
#include <span>
#include <vector>

#include "cam/chains/ChainElement.h"

class TCADCmp2D;
class TObject2D;

// The picked chains (each stored counter-clockwise when closed) or, in
// drilling mode, the drill points, with what the chain page keeps beside them.
struct TChainList {
    std::vector<TChain> Chains;
    std::vector<TVect> DrillPoints;
    // The drill points' order before the last sort, for putting it back.
    std::optional<std::vector<TVect>> SavedDrillPoints;
    // Consumers reverse copies of the chains; the stored chains keep their direction.
    bool Reverse = false;
    // The start-element scroll bar's last position, for the last chain.
    int LastScrollPosition = 0;
};

extern TChainList ChainList;

// What the CNC pages machine: ChainList holds drill points while drilling.
enum class TMachiningType { Contour = 1, Drill = 2, Pocket = 3 };
extern TMachiningType MachiningType;

// Appends the elements of an object of a class that can be chained (line,
// frame, arc, circle, polyline, any other curve); false, and nothing
// appended, for any other class.
bool ObjectToElements(const TObject2D& object, TChain& list);

// The elements of every object a chain may run through: visible, on a
// visible layer, and not a point, picture, container or block.
TChain ChainablePool(TCADCmp2D& drawing);

// The element that continues `current` at its end: a pool element starting
// there within ChainTol, else one ending there (reversed in place); the
// chosen start or end is snapped onto the point. Of several, the one turning
// furthest to the left. False when there is none.
bool FindNextChainElement(const TChainElement& current, TChain& pool, TChainElement& next);

// Grows a chain from the start element through the pool (consumed). When the
// start's forward end is free, it is turned round and grown from its other end.
void ChainFromElement(const TChainElement& start, TChain pool, TChain& chain);

// The chain the pick of the object gives: grown from its first element
// through the drawing, counter-clockwise when closed. Empty when the object
// gives no element. `chainable` is false for a class that cannot be chained.
TChain PickChain(const TObject2D& picked, TCADCmp2D& drawing, bool& chainable);

// The exact continuation of `current` among the list's elements starting at
// its end: of several, the one turning most to the left for d > 0, most to
// the right otherwise, one running straight back only when there is no
// other. With `remove`, every candidate leaves the list except
// one running straight back along `current`; the taken one comes back in
// `next`. False when there is no candidate.
bool NextElementAtPoint(const TChainElement& current, TChain& list, bool remove, TChainElement& next, double d);

// Of the candidates continuing `current` (in list order), the index of the
// one taken and of the one that stays in the list when the others are
// removed (the candidates' count when none stays): see NextElementAtPoint.
void ChooseContinuation(const TChainElement& current, std::span<const TChainElement* const> candidates, double d,
                        std::size_t& taken, std::size_t& kept);

bool IsChainClosed(const TChain& chain);
// Even-odd test over the chain's outline, arcs by their tessellation.
bool PointInChain(const TChain& chain, TVect point);

// Makes the element n places further on (back, for n < 0) the first one.
void RotateChainStart(TChain& chain, int n);

// The point of a point object, or the centre of a circle or arc; false for
// anything else.
bool DrillPointOf(const TObject2D& object, TVect& point);
// Appends the point unless the list holds it already; true when added. The
// order kept for undoing a sort is forgotten, so that undoing it later
// cannot drop the new point.
bool AddDrillPoint(TChainList& list, TVect point);

// The start corners of the four drill sort buttons.
TVect DrillSortCorner(int button);
// Nearest neighbour order from the reference point; of equal distances the
// later point goes first.
void SortPointsByNearest(std::vector<TVect>& points, TVect reference);
// A sort button changed: the order from before any sort comes back, then,
// while the button is down, the points are sorted from its corner.
void SortDrillPoints(TChainList& list, int button, bool down);
