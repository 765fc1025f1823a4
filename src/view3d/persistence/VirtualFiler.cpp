#include "view3d/persistence/VirtualFiler.h"

#include "view3d/persistence/PersistenceErrors.h"

namespace {

// Far deeper than any object tree the scene builds.
constexpr int MaximumNesting = 200;

} // namespace

void TVirtualReader::RaiseReadError() const
{
    throw EReadError(ClassName() + ", read type error");
}

TVirtualReader::TNesting::TNesting(TVirtualReader& reader) : Reader(reader)
{
    if (Reader.Depth >= MaximumNesting)
        Reader.RaiseReadError();
    ++Reader.Depth;
}

TVirtualReader::TNesting::~TNesting()
{
    --Reader.Depth;
}

void RaiseUnknownArchiveVersion(const std::string& className, int version)
{
    throw EFilerError(className + " : unknown archive version " + std::to_string(version));
}
