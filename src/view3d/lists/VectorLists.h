#pragma once

// The typed lists: vectors, texture points, integers, singles and bytes. Each
// grows by 16 items at a time; the vector lists add bulk vector operations.

#include <cstring>

#include "view3d/lists/BaseList.h"
#include "view3d/maths/VectorTypes.h"
#include "view3d/persistence/PersistenceErrors.h"

// A list of items of type T over the base `Base`.
template <class T, class Base = TBaseList>
class TTypedList : public Base {
public:
    // Returns the index of the new item.
    int Add(const T& item) { return this->AddItems(&item, 1); }
    // EListError "Invalid list index" outside 0 .. Count - 1.
    T Get(int index) const
    {
        this->CheckIndex(index);
        T item;
        std::memcpy(&item, this->ItemAddress(index), sizeof(T));
        return item;
    }
    void Put(int index, const T& item)
    {
        this->CheckIndex(index);
        std::memcpy(this->ItemAddress(index), &item, sizeof(T));
    }
    // The items in place; valid until the list changes size.
    std::span<T> Items() { return {reinterpret_cast<T*>(this->ItemAddress(0)), static_cast<std::size_t>(this->Count())}; }
    std::span<const T> Items() const
    {
        return {reinterpret_cast<const T*>(this->ItemAddress(0)), static_cast<std::size_t>(this->Count())};
    }

protected:
    TTypedList() : Base(static_cast<int>(sizeof(T))) {}
};

// The operations both vector lists share; they act on X, Y and Z.
class TBaseVectorList : public TBaseList {
public:
    // Component-wise minimum and maximum; an empty list gives +inf and -inf.
    void GetExtents(Vector3f& minimum, Vector3f& maximum) const;
    Vector3f Sum() const;
    void Normalize();
    // The largest Manhattan spacing between items of the same index.
    float MaxSpacing(const TBaseVectorList& other) const;
    void Translate(const Vector3f& delta);
    // Item by item with another list of the same count.
    void AddList(const TBaseVectorList& other);
    void SubtractList(const TBaseVectorList& other);
    // item := item + f * other item.
    void CombineList(const TBaseVectorList& other, float f);

    void WriteToFiler(TVirtualWriter& writer) const override;
    void ReadFromFiler(TVirtualReader& reader) override;

protected:
    using TBaseList::TBaseList;
    Vector3f VectorAt(int index) const;
    void SetVectorAt(int index, const Vector3f& v);

private:
    void CheckSameCount(const TBaseVectorList& other) const;
};

class TAffineVectorList : public TTypedList<Vector3f, TBaseVectorList> {
public:
    static constexpr const char* StaticClassName = "TAffineVectorList";
    std::string ClassName() const override;
    using TTypedList::Add;
    int Add(float x, float y, float z);
    // Exact equality; -1 when absent.
    int IndexOf(const Vector3f& item) const;
    int FindOrAdd(const Vector3f& item);
    // This list := a + t * (b - a), item by item over lists of one count.
    void Lerp(const TAffineVectorList& a, const TAffineVectorList& b, float t);
};

class TVectorList : public TTypedList<Vector4f, TBaseVectorList> {
public:
    static constexpr const char* StaticClassName = "TVectorList";
    std::string ClassName() const override;
    using TTypedList::Add;
    int Add(const Vector3f& item, float w);
    // W = 1.
    int AddPoint(const Vector3f& item);
    int AddPoint(float x, float y, float z);
    void Lerp(const TVectorList& a, const TVectorList& b, float t);
};

struct TTexPoint {
    float S = 0.0f;
    float T = 0.0f;
};

class TTexPointList : public TTypedList<TTexPoint> {
public:
    static constexpr const char* StaticClassName = "TTexPointList";
    std::string ClassName() const override;
};

class TIntegerList : public TTypedList<std::int32_t> {
public:
    static constexpr const char* StaticClassName = "TIntegerList";
    std::string ClassName() const override;
    using TTypedList::Add;
    int Add(std::int32_t first, std::int32_t second);
    int Add(std::int32_t first, std::int32_t second, std::int32_t third);
};

class TSingleList : public TTypedList<float> {
public:
    static constexpr const char* StaticClassName = "TSingleList";
    std::string ClassName() const override;
};

class TByteList : public TTypedList<std::uint8_t> {
public:
    static constexpr const char* StaticClassName = "TByteList";
    std::string ClassName() const override;
};
