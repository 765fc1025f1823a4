#pragma once

// The main window's 3D scene: the NC toolpath as one line coloured by its
// moves, the origin with the world axes, the box of the program's extents,
// and an orthogonal camera looking at a target that panning moves, with a
// light riding on the camera. The read-back appends the moves; the mouse
// orbits, pans and zooms; the Z-depth window's views and the zoom commands
// place the camera.

#include "cad/base/Settings.h"
#include "cam/simulation/NcToolpath3D.h"
#include "view3d/maths/CameraPresets.h"
#include "view3d/scene/GLScene.h"
#include "view3d/scene/GLSceneBuffer.h"

class TGLCamera;
class TGLCube;
class TGLDummyCube;
class TGLLightSource;
class TGLLines;
class TGLPoints;
struct TNcExtents;

// The box the read-back's moves reach: the X/Y extents and the lowest rapid
// and work Z (9999 while none was read).
struct TNcSceneExtents {
    const TNcExtents& Plane;
    float ZMinRapid = 9999.0f;
    float ZMinWork = 9999.0f;
};

// What the mouse holds while it moves over the view.
struct TMouse3DState {
    bool LeftButton = false;
    bool Shift = false;
    bool Ctrl = false;
    // The pan command runs: a plain drag pans.
    bool PanCommand = false;
};

class TNcScene3D final : public TNcToolpath3D {
public:
    TNcScene3D();
    ~TNcScene3D() override;
    TNcScene3D(const TNcScene3D&) = delete;
    TNcScene3D& operator=(const TNcScene3D&) = delete;

    // --- the toolpath
    void BeginUpdate() override;
    void EndUpdate() override;
    void AddNode(float x, float y, float z, std::optional<TNcNodeColor> color) override;
    // The NC section closed: no toolpath left.
    void ClearToolpath();

    // --- the mouse, in the view's pixels
    void MouseDown(int x, int y);
    // Pans with the left button and Shift (or during the pan command), zooms
    // with Ctrl and the left button, orbits with the left button alone.
    void MouseMove(const TMouse3DState& held, int x, int y);

    // --- the camera
    void Preset(TViewPreset preset);
    // The zoom commands: the scene scale times the factor, held (as the
    // mouse's zoom is) between the smallest and largest scales.
    void ScaleCamera(float factor);
    // Frames the extents' box; nothing while it has no size.
    void Autozoom(const TNcSceneExtents& extents);

    // The extents box while the limits button is held; never before a move.
    void ShowExtents(bool show, const TNcSceneExtents& extents);

    void SetBackgroundColor(TColor color);

    TGLScene GLScene1;
    TGLDummyCube& GLDummyCube1;
    TGLCube& GLCube1;
    TGLPoints& GLOrigine;
    TGLLines& GLCncMov;
    TGLCube& GLEstensioneCnc;
    TGLCamera& GLCamera1;
    TGLLightSource& GLLuce1;
    TGLSceneBuffer Buffer;

    int Mouse3DLastX = 0;
    int Mouse3DLastY = 0;

private:
    // The camera and the target moved, or the camera's lens changed: the
    // camera looks at the target again and the view repaints.
    void CameraChanged();
};
