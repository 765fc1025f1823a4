// The render pass of the scene tree: culling, transform, pick names, axes,
// display lists or direct drawing, and the order of the children.

#include <vector>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/material/RenderContextInfo.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/GLStateCache.h"
#include "view3d/scene/BaseSceneObject.h"
#include "view3d/scene/BehavioursAndEffects.h"
#include "view3d/scene/RenderOrder.h"
#include "view3d/scene/SceneLink.h"

namespace {

constexpr GLushort kAxesStipple = 0xCCCC;

// Restores what the render context says about a subtree when it is left,
// also when a drawing throws.
class TSubtreeModes {
public:
    explicit TSubtreeModes(TRenderContextInfo& rci)
        : Rci(rci), Sorting(rci.ObjectsSorting), Culling(rci.VisibilityCulling)
    {
    }
    ~TSubtreeModes()
    {
        Rci.ObjectsSorting = Sorting;
        Rci.VisibilityCulling = Culling;
    }
    TSubtreeModes(const TSubtreeModes&) = delete;
    TSubtreeModes& operator=(const TSubtreeModes&) = delete;

private:
    TRenderContextInfo& Rci;
    TGLObjectsSorting Sorting;
    TGLVisibilityCulling Culling;
};

// The model-view matrix saved and restored around one object.
class TMatrixScope {
public:
    TMatrixScope() { GL().PushMatrix(); }
    ~TMatrixScope() { GL().PopMatrix(); }
    TMatrixScope(const TMatrixScope&) = delete;
    TMatrixScope& operator=(const TMatrixScope&) = delete;
};

bool IsPicking(const TRenderContextInfo& rci)
{
    return rci.DrawState == TDrawState::dsPicking;
}

} // namespace

bool TGLBaseSceneObject::PassesCulling(const TRenderContextInfo& rci) const
{
    if (HasObjectStyle(TGLObjectStyle::osNoVisibilityCulling))
        return true;
    switch (rci.VisibilityCulling) {
    case TGLVisibilityCulling::vcObjectBased:
        return !IsVolumeClipped(AffineOf(AbsolutePosition()), BoundingSphereRadius(), rci.ViewFrustum);
    case TGLVisibilityCulling::vcHierarchical: {
        // The absolute matrix holds the object's scale.
        TAABB box = AxisAlignedBoundingBoxUnscaled();
        BBTransform(box, AbsoluteMatrix());
        return !IsBoxClipped(box.Min, box.Max, rci.ViewFrustum);
    }
    case TGLVisibilityCulling::vcInherited:
    case TGLVisibilityCulling::vcNone:
        break;
    }
    return true;
}

void TGLBaseSceneObject::RenderObject(TRenderContextInfo& rci)
{
    const bool renderSelf = PassesCulling(rci);
    if (!renderSelf && Count() == 0)
        return;
    TMatrixScope matrix;
    GL().MultMatrixf(&LocalMatrix().M[0][0]);
    const bool picking = IsPicking(rci);
    if (picking) {
        // A proxy draws its master inside its own name.
        if (rci.ProxySubObject)
            GL().PushName(PickName());
        else
            GL().LoadName(PickName());
    }
    if (renderSelf && AxesShown)
        RenderAxes(rci);
    if (EffectList)
        EffectList->RenderPreEffects(rci);
    const bool depthOff = HasObjectStyle(TGLObjectStyle::osIgnoreDepthBuffer) && rci.BufferDepthTest;
    if (depthOff)
        rci.GLStates->Disable(TGLState::stDepthTest);
    RenderSelfAndChildren(rci, renderSelf, true);
    if (depthOff)
        rci.GLStates->Enable(TGLState::stDepthTest);
    if (EffectList)
        EffectList->RenderPostEffects(rci);
    if (picking && rci.ProxySubObject)
        GL().PopName();
}

void TGLBaseSceneObject::RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren)
{
    if (renderSelf)
        RenderSelf(rci);
    if (renderChildren && Count() > 0)
        RenderChildren(0, Count() - 1, rci);
}

void TGLBaseSceneObject::RenderSelf(TRenderContextInfo& rci)
{
    RenderListOrDirect(rci);
}

bool TGLBaseSceneObject::IsDirectDrawn(const TRenderContextInfo& rci) const
{
    return HasObjectStyle(TGLObjectStyle::osDirectDraw) || rci.Amalgamating;
}

void TGLBaseSceneObject::RenderListOrDirect(TRenderContextInfo& rci)
{
    if (IsDirectDrawn(rci))
        BuildList(rci);
    else
        GL().CallList(GetHandle(rci));
}

void TGLBaseSceneObject::BuildList(TRenderContextInfo& /*rci*/) {}

std::uint32_t TGLBaseSceneObject::GetHandle(TRenderContextInfo& rci)
{
    if (!ListHandle)
        ListHandle = std::make_unique<TGLListHandle>();
    if (ListHandle->Handle() == 0) {
        ListHandle->AllocateHandle();
        SetChange(TGLObjectChange::ocStructure);
    }
    const std::uint32_t handle = ListHandle->Handle();
    if (handle != 0 && HasChange(TGLObjectChange::ocStructure)) {
        GL().NewList(handle, GL_COMPILE);
        try {
            BuildList(rci);
        } catch (...) {
            GL().EndList();
            throw;
        }
        GL().EndList();
        ClearChange(TGLObjectChange::ocStructure);
    }
    return handle;
}

void TGLBaseSceneObject::DestroyList()
{
    if (ListHandle)
        ListHandle->DestroyHandle();
    SetChange(TGLObjectChange::ocStructure);
}

void TGLBaseSceneObject::DestroyHandles()
{
    for (const auto& child : ChildList)
        child->DestroyHandles();
    DestroyList();
}

void TGLBaseSceneObject::RenderChildren(int firstIndex, int lastIndex, TRenderContextInfo& rci)
{
    if (firstIndex > lastIndex || ChildList.empty())
        return;
    const TSubtreeModes saved(rci);
    if (Culling != TGLVisibilityCulling::vcInherited)
        rci.VisibilityCulling = Culling;
    if (Sorting != TGLObjectsSorting::osInherited)
        rci.ObjectsSorting = Sorting;
    const TGLObjectsSorting sorting = rci.ObjectsSorting;
    if (sorting == TGLObjectsSorting::osNone || sorting == TGLObjectsSorting::osInherited) {
        for (int i = firstIndex; i <= lastIndex; ++i)
            if (Children(i).Visible())
                Children(i).RenderObject(rci);
        return;
    }
    RenderSortedChildren(firstIndex, lastIndex, rci);
}

void TGLBaseSceneObject::RenderSortedChildren(int firstIndex, int lastIndex, TRenderContextInfo& rci)
{
    const Vector3f camera = AffineOf(rci.CameraPosition);
    const bool allNeedDistance = rci.ObjectsSorting != TGLObjectsSorting::osRenderBlendedLast;
    std::vector<TRenderCandidate> candidates;
    candidates.reserve(static_cast<std::size_t>(lastIndex - firstIndex + 1));
    for (int i = firstIndex; i <= lastIndex; ++i) {
        const TGLBaseSceneObject& child = Children(i);
        if (!child.Visible())
            continue;
        TRenderCandidate candidate{i, child.Blended(), 0.0f};
        if (allNeedDistance || candidate.Blended)
            candidate.SquaredDistance = Vector3SquaredDistance(AffineOf(child.AbsolutePosition()), camera);
        candidates.push_back(candidate);
    }
    for (const int index : ChildRenderOrder(rci.ObjectsSorting, candidates))
        Children(index).RenderObject(rci);
}

void TGLBaseSceneObject::RenderAxes(TRenderContextInfo& rci)
{
    if (!SceneObject)
        return;
    const float length = SceneObject->CurrentCameraDepthOfView();
    // Every state the axes change comes back with the attributes, so the
    // state cache stays true.
    GL().PushAttrib(GL_ENABLE_BIT | GL_LIGHTING_BIT | GL_LINE_BIT | GL_COLOR_BUFFER_BIT | GL_CURRENT_BIT);
    GL().Disable(GL_LIGHTING);
    if (!rci.IgnoreBlendingRequests) {
        GL().Enable(GL_BLEND);
        GL().BlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    }
    GL().Enable(GL_LINE_STIPPLE);
    GL().LineWidth(1.0f);
    GL().LineStipple(1, kAxesStipple);
    GL().Begin(GL_LINES);
    for (int axis = 0; axis < 3; ++axis) {
        float end[3] = {0.0f, 0.0f, 0.0f};
        float colour[3] = {0.0f, 0.0f, 0.0f};
        // The negative half dimmed, the positive half full.
        for (const float sign : {-1.0f, 1.0f}) {
            colour[axis] = sign < 0.0f ? 0.5f : 1.0f;
            end[axis] = sign * length;
            GL().Color3f(colour[0], colour[1], colour[2]);
            GL().Vertex3f(0.0f, 0.0f, 0.0f);
            GL().Vertex3f(end[0], end[1], end[2]);
        }
    }
    GL().End();
    GL().PopAttrib();
}
