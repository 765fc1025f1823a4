#pragma once

// The node of the scene graph. Every object of the 3D view (cube, points,
// lines, camera, light, dummy cube) is one: it owns its children, keeps a
// local transform made of Position, Direction, Up and Scale, computes its
// absolute matrix only when asked after a change, tells its scene when
// something changed so that the viewers repaint, and draws itself and its
// children, directly or through a display list.
//
// How it meets the scene above it: an object holds the scene as a
// TGLSceneLink (SceneLink.h), which TGLScene implements. The scene's two
// roots are TGLSceneRootObject (SceneRootObject.h) made with that link; an
// object added under a root, or under any object of the scene, takes the
// scene from its parent. The render pass receives the frame's
// TRenderContextInfo (material/RenderContextInfo.h).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "view3d/maths/VectorTypes.h"
#include "view3d/notification/Coordinates.h"
#include "view3d/notification/SortingAndCulling.h"
#include "view3d/notification/UpdateAble.h"
#include "view3d/utility/GeometryBB.h"
#include "view3d/utility/Silhouette.h"

class TGLBehaviours;
class TGLListHandle;
class TGLObjectEffects;
class TGLSceneLink;
struct TRenderContextInfo;

// What must be computed again before the object is used.
enum class TGLObjectChange : std::uint8_t {
    // The local matrix, from the coordinates.
    ocTransformation = 1,
    ocAbsoluteMatrix = 2,
    ocInvAbsoluteMatrix = 4,
    // The display list.
    ocStructure = 8,
};

// Set by the classes themselves.
enum class TGLObjectStyle : std::uint8_t {
    // Never compiled into a display list.
    osDirectDraw = 1,
    osIgnoreDepthBuffer = 2,
    osNoVisibilityCulling = 4,
};

class TGLBaseSceneObject : public TGLCoordinatesUpdateAbleComponent {
public:
    using TProgressEvent = std::function<void(TGLBaseSceneObject& sender, double deltaTime, double newTime)>;

    explicit TGLBaseSceneObject(TGLNotifyObject* owner = nullptr);
    ~TGLBaseSceneObject() override;

    // The class's name, for the name path of behaviours and effects.
    std::string Name;
    std::int32_t Tag = 0;
    float TagFloat = 0.0f;
    TProgressEvent OnProgress;

    // A new object of the same class, for cloning a subtree.
    virtual std::unique_ptr<TGLBaseSceneObject> CreateNew() const;
    // Copies the other's state and clones its children in place of its own.
    virtual void Assign(const TGLBaseSceneObject& source);

    // --- the tree
    TGLBaseSceneObject* Parent() const { return ParentObject; }
    TGLSceneLink* Scene() const { return SceneObject; }
    int Count() const { return static_cast<int>(ChildList.size()); }
    TGLBaseSceneObject& Children(int index) const { return *ChildList.at(static_cast<std::size_t>(index)); }
    // -1 without a parent.
    int Index() const;
    // Moves the object to another place in its parent's list; the index is
    // clamped to the list.
    void SetIndex(int newIndex);

    TGLBaseSceneObject& AddChild(std::unique_ptr<TGLBaseSceneObject> child);
    void Insert(int index, std::unique_ptr<TGLBaseSceneObject> child);
    template <class T, class... Args>
    T& AddNewChild(Args&&... args)
    {
        auto child = std::make_unique<T>(std::forward<Args>(args)...);
        T& result = *child;
        AddChild(std::move(child));
        return result;
    }
    // Takes the child out of the tree and hands it to the caller (freed when
    // dropped). With keepChildren its own children move up to this object.
    std::unique_ptr<TGLBaseSceneObject> Remove(TGLBaseSceneObject& child, bool keepChildren);
    // Cameras first (they may look at the others), then the rest from the end.
    void DeleteChildren();
    // Moves a child object under another parent, at the end of its list.
    // Refused for an object without a parent (its caller owns it) and for a
    // parent inside the object's own subtree.
    void MoveTo(TGLBaseSceneObject& newParent);

    // An object that holds this one (a camera its target, a proxy its
    // master) is told through Notification when this one is freed.
    void FreeNotification(TGLBaseSceneObject& holder);
    void RemoveFreeNotification(TGLBaseSceneObject& holder);

    // Answered by the camera: DeleteChildren frees cameras before the rest.
    virtual bool IsCamera() const { return false; }

    // --- the transform
    TGLCoordinates& Position() { return *PositionCoordinates; }
    TGLCoordinates& Direction() { return *DirectionCoordinates; }
    TGLCoordinates& Up() { return *UpCoordinates; }
    TGLCoordinates& Scale() { return *ScaleCoordinates; }
    // PitchAngle, TurnAngle and RollAngle in degrees.
    TGLCoordinates& Rotation() { return *RotationCoordinates; }
    const TGLCoordinates& Position() const { return *PositionCoordinates; }
    const TGLCoordinates& Direction() const { return *DirectionCoordinates; }
    const TGLCoordinates& Up() const { return *UpCoordinates; }
    const TGLCoordinates& Scale() const { return *ScaleCoordinates; }
    const TGLCoordinates& Rotation() const { return *RotationCoordinates; }
    // Each assigns and notifies; a null Direction is refused.
    void SetPosition(const Vector4f& value);
    void SetDirection(const Vector4f& value);
    void SetUp(const Vector4f& value);
    void SetScale(const Vector4f& value);

    float PitchAngle() const;
    float TurnAngle() const;
    float RollAngle() const;
    // Turn Direction and Up about the right, up or direction axis.
    void SetPitchAngle(float degrees);
    void SetTurnAngle(float degrees);
    void SetRollAngle(float degrees);
    // Direction (0, 0, 1), Up (0, 1, 0), no rotation; Scale and Position stay.
    void ResetRotations();

    const Matrix4f& LocalMatrix() const;
    // Takes Direction, Up, Scale and Position from the rows.
    void SetLocalMatrix(const Matrix4f& matrix);
    const Matrix4f& AbsoluteMatrix() const;
    const Matrix4f& InvAbsoluteMatrix() const;
    Vector4f AbsolutePosition() const;
    Vector4f AbsoluteDirection() const;
    Vector4f AbsoluteUp() const;
    Vector4f AbsoluteToLocal(const Vector4f& v) const;
    Vector4f LocalToAbsolute(const Vector4f& v) const;
    // Direction x Up, and Up x Direction.
    Vector3f Right() const;
    Vector3f LeftVector() const;

    void TranslatePosition(float x, float y, float z);
    // Orbits round the target by the angles in degrees; pitch stops short of
    // the up axis at both poles.
    void OrbitAround(const TGLBaseSceneObject* target, float pitchDelta, float turnDelta);

    // --- change notification
    bool HasChange(TGLObjectChange change) const;
    void MarkTransformChanged();
    void NotifyChange(TGLNotifyObject* sender) override;
    void StructureChanged() override;
    void CoordinateChanged(TGLCoordinates& coordinates) override;
    virtual void BeginUpdate();
    virtual void EndUpdate();
    std::int32_t UpdateCount() const { return UpdateCounter; }
    void DoProgress(const TProgressTimes& times) override;

    // --- appearance
    bool Visible() const { return IsVisible; }
    virtual void SetVisible(bool value);
    bool ShowAxes() const { return AxesShown; }
    void SetShowAxes(bool value);
    TGLObjectsSorting ObjectsSorting() const { return Sorting; }
    void SetObjectsSorting(TGLObjectsSorting value);
    TGLVisibilityCulling VisibilityCulling() const { return Culling; }
    void SetVisibilityCulling(TGLVisibilityCulling value);
    bool HasObjectStyle(TGLObjectStyle style) const;
    // Drawn with the blended objects, after the opaque ones.
    virtual bool Blended() const { return false; }
    // The name the object is known by in picking mode.
    std::uint32_t PickName() const { return PickIdentity; }

    // --- bounds
    Vector3f AxisAlignedDimensions() const;
    virtual Vector3f AxisAlignedDimensionsUnscaled() const;
    // The object and all its descendants, in the object's own coordinates,
    // with and without its own scale.
    TAABB AxisAlignedBoundingBox() const;
    TAABB AxisAlignedBoundingBoxUnscaled() const;
    float BoundingSphereRadius() const;
    virtual bool PointInObject(const Vector3f& point) const;
    // A hit of the bounding sphere; the hit point and normal are optional.
    virtual bool RayCastIntersect(const Vector4f& rayStart, const Vector4f& rayVector,
                                  Vector4f* intersectPoint = nullptr, Vector4f* intersectNormal = nullptr) const;
    // Into the silhouette, emptied first: here the outline of the bounding
    // sphere, in local coordinates.
    virtual void GenerateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette) const;

    // Created on first access.
    TGLBehaviours& Behaviours();
    TGLObjectEffects& Effects();
    // Copy the other's items and notify.
    void SetBehaviours(const TGLBehaviours& value);
    void SetEffects(const TGLObjectEffects& value);
    bool HasBehaviours() const { return BehaviourList != nullptr; }
    bool HasEffects() const { return EffectList != nullptr; }

    // --- drawing
    void RenderObject(TRenderContextInfo& rci);
    // Draws the object (its display list, or directly), then its children.
    virtual void RenderSelfAndChildren(TRenderContextInfo& rci, bool renderSelf, bool renderChildren);
    void RenderChildren(int firstIndex, int lastIndex, TRenderContextInfo& rci);
    void RenderAxes(TRenderContextInfo& rci);
    // The object's own drawing, in its local coordinates.
    virtual void BuildList(TRenderContextInfo& rci);
    // Compiles the list when the structure changed or there is none yet.
    std::uint32_t GetHandle(TRenderContextInfo& rci);
    void DestroyList();
    // This object's and its descendants' lists.
    void DestroyHandles();

protected:
    // An object this one holds is being freed: drop it.
    virtual void Notification(TGLBaseSceneObject& /*freed*/) {}
    void SetObjectStyle(TGLObjectStyle style, bool on);
    // Draws the object itself, without children: material or not, list or not.
    virtual void RenderSelf(TRenderContextInfo& rci);
    // The display list, or build geometry when the object is drawn directly.
    void RenderListOrDirect(TRenderContextInfo& rci);
    // Sets the change flag; true when it was set already.
    bool SetChange(TGLObjectChange change);
    void ClearChange(TGLObjectChange change);
    bool IsDirectDrawn(const TRenderContextInfo& rci) const;

    // Only the scene's roots are given their scene; the others take it from their parent.
    void SetScene(TGLSceneLink* scene);

private:
    void AddLightsOf(TGLBaseSceneObject& object);
    void RemoveLightsOf(TGLBaseSceneObject& object);
    // Sets the absolute and inverse flags down the subtree.
    void InvalidateAbsoluteMatrices();
    void RebuildLocalMatrix() const;
    void DirectionChanged();
    void UpChanged();
    void RotationChanged();
    void DeleteChildCameras();
    void TurnAbout(const Vector3f& axis, float degrees);
    // Index 0, 1, 2: pitch, turn, roll.
    void SetAngle(int index, float degrees, const Vector3f& axis);
    std::unique_ptr<TGLBaseSceneObject> TakeChild(TGLBaseSceneObject& child);
    bool PassesCulling(const TRenderContextInfo& rci) const;
    void RenderWithEffects(TRenderContextInfo& rci);
    void RenderSortedChildren(int firstIndex, int lastIndex, TRenderContextInfo& rci);

    std::unique_ptr<TGLCoordinates> PositionCoordinates;
    std::unique_ptr<TGLCoordinates> DirectionCoordinates;
    std::unique_ptr<TGLCoordinates> UpCoordinates;
    std::unique_ptr<TGLCoordinates> ScaleCoordinates;
    std::unique_ptr<TGLCoordinates> RotationCoordinates;

    mutable Matrix4f Local;
    mutable Matrix4f Absolute;
    mutable Matrix4f InvAbsolute;
    mutable std::uint8_t Changes = 0;

    TGLBaseSceneObject* ParentObject = nullptr;
    TGLSceneLink* SceneObject = nullptr;
    std::vector<std::unique_ptr<TGLBaseSceneObject>> ChildList;
    std::unique_ptr<TGLListHandle> ListHandle;
    // Told when this object goes; and those this object is told about.
    std::vector<TGLBaseSceneObject*> Holders;
    std::vector<TGLBaseSceneObject*> Held;
    std::unique_ptr<TGLBehaviours> BehaviourList;
    std::unique_ptr<TGLObjectEffects> EffectList;

    bool IsVisible = true;
    bool AxesShown = false;
    bool IsCalculating = false;
    TGLObjectsSorting Sorting = TGLObjectsSorting::osInherited;
    TGLVisibilityCulling Culling = TGLVisibilityCulling::vcInherited;
    std::uint8_t Style = 0;
    std::int32_t UpdateCounter = 0;
    std::uint32_t PickIdentity;
};
