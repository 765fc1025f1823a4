#pragma once

// A named block definition: a container kept in the drawing's source-block
// list, shown by block references (TBlock2D) through their own transforms.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "cad/shapes/Container2D.h"

class TExclusiveGraphicObjIterator;

// Block names are 13 bytes, zero-padded, and compare as all 13 bytes; a name
// of 13 characters has no terminating zero.
inline constexpr std::size_t BlockNameLength = 13;
using TBlockName = std::array<char, BlockNameLength>;

// The first 13 characters of the text, zero-filled to 13.
TBlockName BlockNameFromText(std::string_view text);
// The name's characters up to the first zero, at most 13.
std::string BlockNameToText(const TBlockName& name);

class TSourceBlock2D : public TContainer2D {
public:
    // An unnamed, empty block, as the stream reader fills it.
    TSourceBlock2D() = default;
    TSourceBlock2D(std::int32_t id, std::vector<std::unique_ptr<TObject2D>> objects, const TBlockName& name);
    // Only reached with references left when the block was freed by hand
    // outside the drawing's operations, which all refuse that; it is reported.
    ~TSourceBlock2D() override;

    std::string ClassName() const override { return "TSourceBlock2D"; }
    // The container record, then ToBeSaved, IsLibraryBlock and the 13-byte Name.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    void SaveToStream(TCADStreamWriter& stream) override;

    // The block references (nested ones included) that show this block. The
    // count is not stored and never wraps: a reference past the largest
    // count is refused with ECADOutOfBound.
    std::uint32_t References() const { return ReferenceCount; }
    bool IsReferenced() const { return ReferenceCount > 0; }
    void AddReference();
    // Never below 0.
    void ReleaseReference();

    TBlockName Name{};
    bool IsLibraryBlock = false;

private:
    std::uint32_t ReferenceCount = 0;
};

// Frees the list's objects in passes until a pass frees nothing: a source
// block still referenced is skipped, and freeing the others releases the
// references their children held. True when the list ended empty.
bool FreeUnreferencedInPasses(TExclusiveGraphicObjIterator& iterator);
