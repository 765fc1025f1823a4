#pragma once

// A reference to a class of drawing objects, as the pick filters hold it: it
// matches objects of that class and of every class derived from it.

#include "cad/model/GraphicObject.h"

class TObject2DClass {
public:
    // Every 2D object.
    TObject2DClass() : Test(&IsA<TObject2D>) {}

    template <class T>
    static TObject2DClass Of()
    {
        return TObject2DClass(&IsA<T>);
    }

    bool Matches(const TGraphicObject& object) const { return Test(object); }
    friend bool operator==(const TObject2DClass& a, const TObject2DClass& b) { return a.Test == b.Test; }

private:
    using TTest = bool (*)(const TGraphicObject&);

    explicit TObject2DClass(TTest test) : Test(test) {}

    template <class T>
    static bool IsA(const TGraphicObject& object)
    {
        return dynamic_cast<const T*>(&object) != nullptr;
    }

    TTest Test;
};
