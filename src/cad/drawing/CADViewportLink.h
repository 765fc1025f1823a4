#pragma once

// What a drawing asks of the views that show it. The 2D view widget
// implements it; the drawing only keeps the list of its views.

class TObject2D;

class TCADViewportLink {
public:
    virtual ~TCADViewportLink() = default;
    // Redraws everything into the off-screen picture and shows it.
    virtual void RepaintView() = 0;
    // Copies the off-screen picture to the screen without redrawing.
    virtual void RefreshView() = 0;
    // Draws one object on the off-screen picture, then shows the picture.
    virtual void DrawObjectInView(TObject2D& object) = 0;
    // The drawing is going away; the view must forget it.
    virtual void DrawingDestroyed() = 0;
};
