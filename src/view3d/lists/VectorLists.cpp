#include "view3d/lists/VectorLists.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "view3d/maths/VectorGeometry.h"
#include "view3d/persistence/PersistentClassRegistry.h"

namespace {

const bool Registered = RegisterPersistentClass<TAffineVectorList>() && RegisterPersistentClass<TVectorList>() &&
                        RegisterPersistentClass<TTexPointList>() && RegisterPersistentClass<TSingleList>();

// out := a + t * (b - a), item by item.
template <class TList>
void LerpLists(TList& out, const TList& a, const TList& b, float t)
{
    if (a.Count() != b.Count())
        throw EListError(InvalidListIndexText);
    out.SetCount(a.Count());
    LerpEach(a.Items(), b.Items(), t, out.Items());
}

} // namespace

void TBaseVectorList::GetExtents(Vector3f& minimum, Vector3f& maximum) const
{
    constexpr float inf = std::numeric_limits<float>::infinity();
    minimum = {inf, inf, inf};
    maximum = {-inf, -inf, -inf};
    for (int i = 0; i < Count(); ++i) {
        const Vector3f v = VectorAt(i);
        minimum = {std::min(minimum.X, v.X), std::min(minimum.Y, v.Y), std::min(minimum.Z, v.Z)};
        maximum = {std::max(maximum.X, v.X), std::max(maximum.Y, v.Y), std::max(maximum.Z, v.Z)};
    }
}

Vector3f TBaseVectorList::Sum() const
{
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
    for (int i = 0; i < Count(); ++i) {
        const Vector3f v = VectorAt(i);
        x += v.X;
        y += v.Y;
        z += v.Z;
    }
    return {static_cast<float>(x), static_cast<float>(y), static_cast<float>(z)};
}

void TBaseVectorList::Normalize()
{
    for (int i = 0; i < Count(); ++i)
        SetVectorAt(i, Vector3Normalize(VectorAt(i)));
}

float TBaseVectorList::MaxSpacing(const TBaseVectorList& other) const
{
    CheckSameCount(other);
    float result = 0.0f;
    for (int i = 0; i < Count(); ++i)
        result = std::max(result, Vector3Spacing(VectorAt(i), other.VectorAt(i)));
    return result;
}

void TBaseVectorList::Translate(const Vector3f& delta)
{
    for (int i = 0; i < Count(); ++i)
        SetVectorAt(i, Vector3Add(VectorAt(i), delta));
}

void TBaseVectorList::AddList(const TBaseVectorList& other)
{
    CombineList(other, 1.0f);
}

void TBaseVectorList::SubtractList(const TBaseVectorList& other)
{
    CheckSameCount(other);
    for (int i = 0; i < Count(); ++i)
        SetVectorAt(i, Vector3Subtract(VectorAt(i), other.VectorAt(i)));
}

void TBaseVectorList::CombineList(const TBaseVectorList& other, float f)
{
    CheckSameCount(other);
    for (int i = 0; i < Count(); ++i)
        SetVectorAt(i, Vector3Combine(VectorAt(i), other.VectorAt(i), f));
}

void TBaseVectorList::WriteToFiler(TVirtualWriter& writer) const
{
    TBaseList::WriteToFiler(writer);
    writer.WriteInteger(0);
}

void TBaseVectorList::ReadFromFiler(TVirtualReader& reader)
{
    TBaseList::ReadFromFiler(reader);
    const int version = reader.ReadInteger();
    if (version != 0)
        RaiseUnknownArchiveVersion(ClassName(), version);
}

Vector3f TBaseVectorList::VectorAt(int index) const
{
    Vector3f v;
    std::memcpy(&v, ItemAddress(index), sizeof(Vector3f));
    return v;
}

void TBaseVectorList::SetVectorAt(int index, const Vector3f& v)
{
    std::memcpy(ItemAddress(index), &v, sizeof(Vector3f));
}

void TBaseVectorList::CheckSameCount(const TBaseVectorList& other) const
{
    if (other.Count() != Count())
        throw EListError(InvalidListIndexText);
}

std::string TAffineVectorList::ClassName() const
{
    return StaticClassName;
}

int TAffineVectorList::Add(float x, float y, float z)
{
    return Add(Vector3f{x, y, z});
}

int TAffineVectorList::IndexOf(const Vector3f& item) const
{
    const auto items = Items();
    const auto found = std::find_if(items.begin(), items.end(), [&](const Vector3f& v) { return Vector3Equals(v, item); });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

int TAffineVectorList::FindOrAdd(const Vector3f& item)
{
    const int index = IndexOf(item);
    return index >= 0 ? index : Add(item);
}

void TAffineVectorList::Lerp(const TAffineVectorList& a, const TAffineVectorList& b, float t)
{
    LerpLists(*this, a, b, t);
}

std::string TVectorList::ClassName() const
{
    return StaticClassName;
}

int TVectorList::Add(const Vector3f& item, float w)
{
    return Add(VectorMake(item, w));
}

int TVectorList::AddPoint(const Vector3f& item)
{
    return Add(PointMake(item));
}

int TVectorList::AddPoint(float x, float y, float z)
{
    return Add(PointMake(x, y, z));
}

void TVectorList::Lerp(const TVectorList& a, const TVectorList& b, float t)
{
    LerpLists(*this, a, b, t);
}

std::string TTexPointList::ClassName() const
{
    return StaticClassName;
}

std::string TIntegerList::ClassName() const
{
    return StaticClassName;
}

int TIntegerList::Add(std::int32_t first, std::int32_t second)
{
    const std::int32_t items[] = {first, second};
    return AddItems(items, 2);
}

int TIntegerList::Add(std::int32_t first, std::int32_t second, std::int32_t third)
{
    const std::int32_t items[] = {first, second, third};
    return AddItems(items, 3);
}

std::string TSingleList::ClassName() const
{
    return StaticClassName;
}

std::string TByteList::ClassName() const
{
    return StaticClassName;
}
