#pragma once

// Framing of object records in streams: a record is the object's Int16
// class code followed by what its class writes. Readers of sections and of
// containers construct objects through here, so that every damaged record is
// refused the same way.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "cad/base/CADExceptions.h"

class TCADStreamReader;
class TCADStreamWriter;
class TGraphicObject;
struct TGraphicObjectClass;

// A class code the registry does not know: the record's length is unknown,
// so nothing after it can be read. The message is the notice the user sees.
class ECADStreamClassNotFound : public ECADObjClassNotFound {
public:
    ECADStreamClassNotFound() : ECADObjClassNotFound("Object class not found. Object not load") {}
};

// A record read whole whose values cannot make a usable object (too few
// control points, a spline of order 0, a picture that does not decode). The
// stream is still in step: the reader drops the object and goes on.
class ECADRecordRejected : public ECADCoreException {
public:
    using ECADCoreException::ECADCoreException;
};

// Class codes are Int16 in the stream: -1 ends an object section early.
inline constexpr std::int16_t EndOfSectionCode = -1;

// The registered class of a code; ECADStreamClassNotFound otherwise.
const TGraphicObjectClass& FindStreamClass(int classCode);

// Constructs an object of the class and reads its record. Raises
// ECADStreamClassNotFound for an unknown code (also of a nested child),
// ECADRecordRejected for a record that was read whole but is not usable, and
// ECADFileNotValid for data that is short or damaged.
std::unique_ptr<TGraphicObject> CreateObjectFromStream(int classCode, TCADStreamReader& stream,
                                                       std::string_view version);

// The object's class code and record. The record is assembled apart first,
// so an object that refuses to be written leaves nothing of itself behind.
void WriteObjectRecord(TCADStreamWriter& stream, TGraphicObject& object);
