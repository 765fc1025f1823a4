#pragma once

// The source blocks by name while a file is read, and the bounds every
// reader holds block references to: each reference is resolved in one
// look-up, and each block measured once.

#include <cstdint>
#include <string>
#include <unordered_map>

#include "cad/shapes/SourceBlock2D.h"

class TGraphicObjIterator;
class TObject2D;

// How far drawing an object reaches through block references: the deepest
// chain of references (0 for an object without any) and the number of
// objects drawn, each container and reference counted with what it shows.
struct TBlockExpansion {
    int Depth = 0;
    std::uint64_t Objects = 0;
};

// A block whose references nest deeper, or expand to more objects, is
// refused: a few bytes of references to references would otherwise ask for
// billions of objects to be drawn, or for recursion past the stack.
inline constexpr int MaxReferenceDepth = 32;
inline constexpr std::uint64_t MaxExpandedObjects = std::uint64_t{1} << 16;

class TSourceBlockIndex {
public:
    TSourceBlockIndex() = default;
    // Indexes the blocks already in the drawing, the first of each name.
    explicit TSourceBlockIndex(TGraphicObjIterator& sourceBlocks);

    // A later block of a name already taken is never found: references take the first.
    void Add(TSourceBlock2D& block);
    TSourceBlock2D* Find(const TBlockName& name) const;

    TBlockExpansion Measure(TObject2D& object);
    // Empty when the object may be kept; otherwise what its references ask for.
    std::string Refusal(TObject2D& object);

private:
    TBlockExpansion MeasureBlock(TSourceBlock2D& block);

    std::unordered_map<std::string, TSourceBlock2D*> ByName;
    std::unordered_map<const TSourceBlock2D*, TBlockExpansion> Measured;
};
