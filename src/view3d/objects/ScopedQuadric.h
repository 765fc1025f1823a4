#pragma once

// The GLU quadric a shape draws with: made for one drawing and deleted
// after it.

#include <GL/glu.h>

#include "view3d/opengl/GLFunctions.h"

class TScopedQuadric {
public:
    TScopedQuadric() : Quadric(GL().GluNewQuadric()) {}
    ~TScopedQuadric()
    {
        if (Quadric)
            GL().GluDeleteQuadric(Quadric);
    }
    TScopedQuadric(const TScopedQuadric&) = delete;
    TScopedQuadric& operator=(const TScopedQuadric&) = delete;

    // None when GLU is out of memory: nothing can be drawn then.
    GLUquadric* Get() const { return Quadric; }

private:
    GLUquadric* Quadric;
};
