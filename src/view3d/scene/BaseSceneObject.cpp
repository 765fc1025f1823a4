#include "view3d/scene/BaseSceneObject.h"

#include <algorithm>
#include <cmath>

#include "view3d/maths/MatrixGeometry.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/ScalarMaths.h"
#include "view3d/maths/VectorGeometry.h"
#include "view3d/opengl/GLContextHandle.h"
#include "view3d/scene/BehavioursAndEffects.h"
#include "view3d/scene/SceneLink.h"
#include "view3d/scene/SceneRootObject.h"

namespace {

constexpr std::uint8_t kAllChanges = 15;
constexpr std::uint8_t kAbsoluteFlags = std::uint8_t(TGLObjectChange::ocAbsoluteMatrix) |
                                        std::uint8_t(TGLObjectChange::ocInvAbsoluteMatrix);
constexpr float kParallelLimit = 1e-5f;

std::uint32_t NextPickName()
{
    // Unique for the run: picking names an object by it.
    static std::uint32_t last = 0;
    return ++last;
}

// Direction x Up; when the two are parallel, the Z axis or else the X axis
// takes the direction's place.
Vector3f RightAxis(const Vector3f& direction, const Vector3f& up)
{
    Vector3f right = Vector3Cross(direction, up);
    if (Vector3Length(right) < kParallelLimit) {
        right = Vector3Cross({0, 0, 1}, up);
        if (Vector3Length(right) < kParallelLimit)
            right = Vector3Cross({1, 0, 0}, up);
    }
    return right;
}

Vector3f MatrixRow(const Matrix4f& m, int row)
{
    return {m.M[row][0], m.M[row][1], m.M[row][2]};
}

void SetMatrixRow(Matrix4f& m, int row, const Vector3f& v, float w)
{
    m.M[row][0] = v.X;
    m.M[row][1] = v.Y;
    m.M[row][2] = v.Z;
    m.M[row][3] = w;
}

} // namespace

TGLBaseSceneObject::TGLBaseSceneObject(TGLNotifyObject* owner)
    : TGLCoordinatesUpdateAbleComponent(owner),
      PositionCoordinates(std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csPoint, Vector4f{0, 0, 0, 1})),
      DirectionCoordinates(std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csVector, Vector4f{0, 0, 1, 0})),
      UpCoordinates(std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csVector, Vector4f{0, 1, 0, 0})),
      ScaleCoordinates(std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csVector, Vector4f{1, 1, 1, 0})),
      RotationCoordinates(std::make_unique<TGLCoordinates>(this, TGLCoordinatesStyle::csVector, Vector4f{})),
      Changes(kAllChanges),
      PickIdentity(NextPickName())
{
}

TGLBaseSceneObject::~TGLBaseSceneObject()
{
    // A holder may drop other references while it is told.
    const std::vector<TGLBaseSceneObject*> holders = std::move(Holders);
    Holders.clear();
    for (TGLBaseSceneObject* holder : holders) {
        std::erase(holder->Held, this);
        holder->Notification(*this);
    }
    for (TGLBaseSceneObject* held : Held)
        std::erase(held->Holders, this);
    // Freed by its parent or by its owner, after it left the scene: nothing
    // is told, the scene may be going away itself.
    while (!ChildList.empty()) {
        std::unique_ptr<TGLBaseSceneObject> child = std::move(ChildList.back());
        ChildList.pop_back();
        child->ParentObject = nullptr;
        child->SceneObject = nullptr;
    }
}

std::unique_ptr<TGLBaseSceneObject> TGLBaseSceneObject::CreateNew() const
{
    return std::make_unique<TGLBaseSceneObject>();
}

void TGLBaseSceneObject::Assign(const TGLBaseSceneObject& source)
{
    if (&source == this)
        return;
    DeleteChildren();
    IsVisible = source.IsVisible;
    SetLocalMatrix(source.LocalMatrix());
    AxesShown = source.AxesShown;
    Sorting = source.Sorting;
    Culling = source.Culling;
    RotationCoordinates->Assign(*source.RotationCoordinates);
    for (const auto& child : source.ChildList) {
        std::unique_ptr<TGLBaseSceneObject> copy = child->CreateNew();
        copy->Assign(*child);
        AddChild(std::move(copy));
    }
    OnProgress = source.OnProgress;
    if (source.BehaviourList)
        Behaviours().Assign(*source.BehaviourList);
    else
        BehaviourList.reset();
    if (source.EffectList)
        Effects().Assign(*source.EffectList);
    else
        EffectList.reset();
    Tag = source.Tag;
    TagFloat = source.TagFloat;
    NotifyChange(this);
}

// ---------------------------------------------------------------- the tree

int TGLBaseSceneObject::Index() const
{
    if (!ParentObject)
        return -1;
    const auto& siblings = ParentObject->ChildList;
    for (std::size_t i = 0; i < siblings.size(); ++i)
        if (siblings[i].get() == this)
            return static_cast<int>(i);
    return -1;
}

void TGLBaseSceneObject::SetIndex(int newIndex)
{
    if (!ParentObject)
        return;
    auto& siblings = ParentObject->ChildList;
    const int last = static_cast<int>(siblings.size()) - 1;
    newIndex = std::clamp(newIndex, 0, last);
    const int oldIndex = Index();
    if (newIndex == oldIndex)
        return;
    TGLSceneLink* scene = SceneObject;
    if (scene)
        scene->BeginUpdate();
    std::unique_ptr<TGLBaseSceneObject> self = std::move(siblings[static_cast<std::size_t>(oldIndex)]);
    siblings.erase(siblings.begin() + oldIndex);
    siblings.insert(siblings.begin() + newIndex, std::move(self));
    if (scene)
        scene->EndUpdate();
}

TGLBaseSceneObject& TGLBaseSceneObject::AddChild(std::unique_ptr<TGLBaseSceneObject> child)
{
    TGLBaseSceneObject& added = *child;
    Insert(Count(), std::move(child));
    return added;
}

void TGLBaseSceneObject::Insert(int index, std::unique_ptr<TGLBaseSceneObject> child)
{
    if (!child)
        return;
    index = std::clamp(index, 0, Count());
    TGLBaseSceneObject& added = *child;
    ChildList.insert(ChildList.begin() + index, std::move(child));
    added.ParentObject = this;
    added.SetScene(SceneObject);
    if (SceneObject)
        AddLightsOf(added);
    MarkTransformChanged();
    added.MarkTransformChanged();
}

std::unique_ptr<TGLBaseSceneObject> TGLBaseSceneObject::TakeChild(TGLBaseSceneObject& child)
{
    const auto found = std::find_if(ChildList.begin(), ChildList.end(),
                                    [&child](const auto& item) { return item.get() == &child; });
    if (found == ChildList.end())
        return nullptr;
    if (SceneObject)
        RemoveLightsOf(child);
    std::unique_ptr<TGLBaseSceneObject> taken = std::move(*found);
    ChildList.erase(found);
    taken->ParentObject = nullptr;
    return taken;
}

std::unique_ptr<TGLBaseSceneObject> TGLBaseSceneObject::Remove(TGLBaseSceneObject& child, bool keepChildren)
{
    std::unique_ptr<TGLBaseSceneObject> taken = TakeChild(child);
    if (!taken)
        return nullptr;
    if (keepChildren) {
        BeginUpdate();
        while (taken->Count() > 0)
            taken->Children(0).MoveTo(*this);
        EndUpdate();
    } else {
        NotifyChange(this);
    }
    taken->SetScene(nullptr);
    return taken;
}

void TGLBaseSceneObject::DeleteChildCameras()
{
    for (int i = Count() - 1; i >= 0; --i) {
        if (i >= Count())
            continue;
        TGLBaseSceneObject& child = Children(i);
        child.DeleteChildCameras();
        if (child.IsCamera())
            Remove(child, true);
    }
}

void TGLBaseSceneObject::DeleteChildren()
{
    // Cameras go first, wherever they are in the subtree: the objects they
    // look at must outlive them. Their own children stay in the tree.
    DeleteChildCameras();
    if (ChildList.empty())
        return;
    if (SceneObject)
        for (const auto& child : ChildList)
            RemoveLightsOf(*child);
    while (!ChildList.empty()) {
        std::unique_ptr<TGLBaseSceneObject> child = std::move(ChildList.back());
        ChildList.pop_back();
        child->ParentObject = nullptr;
        child->SceneObject = nullptr;
    }
    NotifyChange(this);
}

void TGLBaseSceneObject::MoveTo(TGLBaseSceneObject& newParent)
{
    if (!ParentObject || ParentObject == &newParent)
        return;
    for (const TGLBaseSceneObject* p = &newParent; p; p = p->ParentObject)
        if (p == this)
            return;
    TGLBaseSceneObject& oldParent = *ParentObject;
    std::unique_ptr<TGLBaseSceneObject> self = oldParent.TakeChild(*this);
    oldParent.NotifyChange(&oldParent);
    newParent.AddChild(std::move(self));
}

void TGLBaseSceneObject::FreeNotification(TGLBaseSceneObject& holder)
{
    if (&holder == this || std::find(Holders.begin(), Holders.end(), &holder) != Holders.end())
        return;
    Holders.push_back(&holder);
    holder.Held.push_back(this);
}

void TGLBaseSceneObject::RemoveFreeNotification(TGLBaseSceneObject& holder)
{
    std::erase(Holders, &holder);
    std::erase(holder.Held, this);
}

void TGLBaseSceneObject::SetScene(TGLSceneLink* scene)
{
    if (scene == SceneObject)
        return;
    // The new scene may draw in a context that does not share our lists.
    if (SceneObject)
        DestroyHandles();
    SceneObject = scene;
    for (const auto& child : ChildList)
        child->SetScene(scene);
}

void TGLBaseSceneObject::AddLightsOf(TGLBaseSceneObject& object)
{
    SceneObject->AddLight(object);
    for (const auto& child : object.ChildList)
        AddLightsOf(*child);
}

void TGLBaseSceneObject::RemoveLightsOf(TGLBaseSceneObject& object)
{
    SceneObject->RemoveLight(object);
    for (const auto& child : object.ChildList)
        RemoveLightsOf(*child);
}

// ---------------------------------------------------------------- the transform

void TGLBaseSceneObject::SetPosition(const Vector4f& value)
{
    PositionCoordinates->SetAsVector(value);
}

void TGLBaseSceneObject::SetDirection(const Vector4f& value)
{
    if (Vector3IsNull(AffineOf(value)))
        return;
    DirectionCoordinates->SetAsVector(value);
}

void TGLBaseSceneObject::SetUp(const Vector4f& value)
{
    UpCoordinates->SetAsVector(value);
}

void TGLBaseSceneObject::SetScale(const Vector4f& value)
{
    ScaleCoordinates->SetAsVector(value);
}

float TGLBaseSceneObject::PitchAngle() const
{
    return RotationCoordinates->X();
}

float TGLBaseSceneObject::TurnAngle() const
{
    return RotationCoordinates->Y();
}

float TGLBaseSceneObject::RollAngle() const
{
    return RotationCoordinates->Z();
}

void TGLBaseSceneObject::TurnAbout(const Vector3f& axis, float degrees)
{
    const Matrix4f rotation = CreateRotationMatrix(axis, DegToRadSingle(degrees));
    UpCoordinates->Initialize(Vector4Normalize(VectorTransform(UpCoordinates->AsVector(), rotation)));
    DirectionCoordinates->Initialize(Vector4Normalize(VectorTransform(DirectionCoordinates->AsVector(), rotation)));
    MarkTransformChanged();
}

void TGLBaseSceneObject::SetAngle(int index, float degrees, const Vector3f& axis)
{
    Vector4f angles = RotationCoordinates->AsVector();
    float& angle = index == 0 ? angles.X : index == 1 ? angles.Y : angles.Z;
    if (degrees == angle)
        return;
    TurnAbout(axis, angle - degrees);
    angle = NormalizeDegAngle(degrees);
    RotationCoordinates->Initialize(angles);
}

void TGLBaseSceneObject::SetPitchAngle(float degrees)
{
    SetAngle(0, degrees, Right());
}

void TGLBaseSceneObject::SetTurnAngle(float degrees)
{
    SetAngle(1, degrees, UpCoordinates->ToAffineVector());
}

void TGLBaseSceneObject::SetRollAngle(float degrees)
{
    SetAngle(2, degrees, DirectionCoordinates->ToAffineVector());
}

void TGLBaseSceneObject::ResetRotations()
{
    DirectionCoordinates->Initialize({0, 0, 1, 0});
    UpCoordinates->Initialize({0, 1, 0, 0});
    RotationCoordinates->Initialize({});
    Local = CreateScaleAndTranslationMatrix(ScaleCoordinates->ToAffineVector(), PositionCoordinates->ToAffineVector());
    // The coordinates now say what the matrix says; the absolute ones are stale.
    Changes = std::uint8_t(Changes & ~std::uint8_t(TGLObjectChange::ocTransformation));
    InvalidateAbsoluteMatrices();
    NotifyChange(this);
}

void TGLBaseSceneObject::RebuildLocalMatrix() const
{
    if (!HasChange(TGLObjectChange::ocTransformation))
        return;
    const Vector3f direction = DirectionCoordinates->ToAffineVector();
    const Vector3f up = UpCoordinates->ToAffineVector();
    const Vector4f& scale = ScaleCoordinates->AsVector();
    SetMatrixRow(Local, 0, Vector3Scale(Vector3Cross(up, direction), scale.X), 0);
    SetMatrixRow(Local, 1, Vector3Scale(up, scale.Y), 0);
    SetMatrixRow(Local, 2, Vector3Scale(direction, scale.Z), 0);
    SetMatrixRow(Local, 3, PositionCoordinates->ToAffineVector(), 1);
    Changes = std::uint8_t((Changes & ~std::uint8_t(TGLObjectChange::ocTransformation)) | kAbsoluteFlags);
}

const Matrix4f& TGLBaseSceneObject::LocalMatrix() const
{
    RebuildLocalMatrix();
    return Local;
}

void TGLBaseSceneObject::SetLocalMatrix(const Matrix4f& matrix)
{
    const Vector3f row0 = MatrixRow(matrix, 0);
    const Vector3f row1 = MatrixRow(matrix, 1);
    const Vector3f row2 = MatrixRow(matrix, 2);
    IsCalculating = true;
    if (!Vector3IsNull(row2))
        DirectionCoordinates->Initialize(DirectionMake(Vector3Normalize(row2)));
    if (!Vector3IsNull(row1))
        UpCoordinates->Initialize(DirectionMake(Vector3Normalize(row1)));
    ScaleCoordinates->Initialize({Vector3Length(row0), Vector3Length(row1), Vector3Length(row2), 0});
    PositionCoordinates->Initialize({matrix.M[3][0], matrix.M[3][1], matrix.M[3][2], matrix.M[3][3]});
    IsCalculating = false;
    MarkTransformChanged();
}

const Matrix4f& TGLBaseSceneObject::AbsoluteMatrix() const
{
    if (HasChange(TGLObjectChange::ocAbsoluteMatrix)) {
        RebuildLocalMatrix();
        if (!ParentObject || dynamic_cast<const TGLSceneRootObject*>(ParentObject))
            Absolute = Local;
        else
            Absolute = MatrixMultiply(Local, ParentObject->AbsoluteMatrix());
        Changes = std::uint8_t((Changes & ~std::uint8_t(TGLObjectChange::ocAbsoluteMatrix)) |
                               std::uint8_t(TGLObjectChange::ocInvAbsoluteMatrix));
    }
    return Absolute;
}

const Matrix4f& TGLBaseSceneObject::InvAbsoluteMatrix() const
{
    if (!HasChange(TGLObjectChange::ocInvAbsoluteMatrix))
        return InvAbsolute;
    const Vector4f& scale = ScaleCoordinates->AsVector();
    if (scale.X == 1.0f && scale.Y == 1.0f && scale.Z == 1.0f) {
        // A rigid body: its inverse needs no general inversion.
        RebuildLocalMatrix();
        InvAbsolute = AnglePreservingMatrixInvert(Local);
        if (ParentObject && !dynamic_cast<const TGLSceneRootObject*>(ParentObject))
            InvAbsolute = MatrixMultiply(ParentObject->InvAbsoluteMatrix(), InvAbsolute);
    } else {
        InvAbsolute = InvertMatrix(AbsoluteMatrix());
    }
    Changes = std::uint8_t(Changes & ~std::uint8_t(TGLObjectChange::ocInvAbsoluteMatrix));
    return InvAbsolute;
}

Vector4f TGLBaseSceneObject::AbsolutePosition() const
{
    const Matrix4f& m = AbsoluteMatrix();
    return {m.M[3][0], m.M[3][1], m.M[3][2], m.M[3][3]};
}

Vector4f TGLBaseSceneObject::AbsoluteDirection() const
{
    return DirectionMake(Vector3Normalize(MatrixRow(AbsoluteMatrix(), 2)));
}

Vector4f TGLBaseSceneObject::AbsoluteUp() const
{
    return DirectionMake(Vector3Normalize(MatrixRow(AbsoluteMatrix(), 1)));
}

Vector4f TGLBaseSceneObject::AbsoluteToLocal(const Vector4f& v) const
{
    return VectorTransform(v, InvAbsoluteMatrix());
}

Vector4f TGLBaseSceneObject::LocalToAbsolute(const Vector4f& v) const
{
    return VectorTransform(v, AbsoluteMatrix());
}

Vector3f TGLBaseSceneObject::Right() const
{
    return Vector3Cross(DirectionCoordinates->ToAffineVector(), UpCoordinates->ToAffineVector());
}

Vector3f TGLBaseSceneObject::LeftVector() const
{
    return Vector3Cross(UpCoordinates->ToAffineVector(), DirectionCoordinates->ToAffineVector());
}

void TGLBaseSceneObject::TranslatePosition(float x, float y, float z)
{
    PositionCoordinates->TranslateBy(x, y, z);
}

void TGLBaseSceneObject::OrbitAround(const TGLBaseSceneObject* target, float pitchDelta, float turnDelta)
{
    if (!target)
        return;
    const Vector3f targetPosition = AffineOf(target->AbsolutePosition());
    const Vector3f offset = Vector3Subtract(AffineOf(AbsolutePosition()), targetPosition);
    const float distance = Vector3Length(offset);
    // On the target there is no direction to turn: leave the object where it is.
    if (distance == 0.0f)
        return;
    const Vector3f toObject = Vector3Scale(offset, 1.0f / distance);
    const Vector3f up = AffineOf(AbsoluteUp());
    Vector3f right = Vector3Cross(up, toObject);
    if (Vector3Length(right) < 0.001f)
        right = {1, 0, 0};
    else
        right = Vector3Normalize(right);
    constexpr float kPoleMargin = 0.025f;
    const float pitch = ClampValue(ArcCosine(Vector3Dot(up, toObject)) + DegToRadSingle(pitchDelta), kPoleMargin,
                                   3.1165927f);
    Vector4f turned = VectorRotateAroundAxis(DirectionMake(up), right, -pitch);
    turned = VectorRotateAroundAxis(turned, up, -DegToRadSingle(turnDelta));
    Vector4f newPosition = PointMake(Vector3Combine(targetPosition, AffineOf(turned), distance));
    if (ParentObject)
        newPosition = ParentObject->AbsoluteToLocal(newPosition);
    PositionCoordinates->SetAsVector(newPosition);
}

// ---------------------------------------------------------------- change notification

bool TGLBaseSceneObject::HasChange(TGLObjectChange change) const
{
    return (Changes & std::uint8_t(change)) != 0;
}

bool TGLBaseSceneObject::SetChange(TGLObjectChange change)
{
    const bool was = HasChange(change);
    Changes = std::uint8_t(Changes | std::uint8_t(change));
    return was;
}

void TGLBaseSceneObject::ClearChange(TGLObjectChange change)
{
    Changes = std::uint8_t(Changes & ~std::uint8_t(change));
}

void TGLBaseSceneObject::InvalidateAbsoluteMatrices()
{
    // A subtree whose root is stale already has had nothing computed since.
    if ((Changes & kAbsoluteFlags) == kAbsoluteFlags)
        return;
    Changes = std::uint8_t(Changes | kAbsoluteFlags);
    for (const auto& child : ChildList)
        child->InvalidateAbsoluteMatrices();
}

void TGLBaseSceneObject::MarkTransformChanged()
{
    if (SetChange(TGLObjectChange::ocTransformation))
        return;
    // Walk the subtree even when this object's flags are set: they may have
    // been set by the local matrix alone.
    Changes = std::uint8_t(Changes | kAbsoluteFlags);
    for (const auto& child : ChildList)
        child->InvalidateAbsoluteMatrices();
    NotifyChange(this);
}

void TGLBaseSceneObject::NotifyChange(TGLNotifyObject* /*sender*/)
{
    if (SceneObject && UpdateCounter == 0)
        SceneObject->NotifyChange(this);
}

void TGLBaseSceneObject::StructureChanged()
{
    if (SetChange(TGLObjectChange::ocStructure) && !HasObjectStyle(TGLObjectStyle::osDirectDraw))
        return;
    NotifyChange(this);
}

void TGLBaseSceneObject::CoordinateChanged(TGLCoordinates& coordinates)
{
    if (IsCalculating)
        return;
    if (&coordinates == RotationCoordinates.get()) {
        RotationChanged();
        return;
    }
    IsCalculating = true;
    if (&coordinates == DirectionCoordinates.get())
        DirectionChanged();
    else if (&coordinates == UpCoordinates.get())
        UpChanged();
    IsCalculating = false;
    MarkTransformChanged();
}

void TGLBaseSceneObject::RotationChanged()
{
    // The same turns as the angle setters make from a reset object, so that
    // Rotation.X = a and SetPitchAngle(a) agree; the repaint is asked once.
    const Vector4f angles = RotationCoordinates->AsVector();
    IsCalculating = true;
    BeginUpdate();
    ResetRotations();
    SetPitchAngle(angles.X);
    SetTurnAngle(angles.Y);
    SetRollAngle(angles.Z);
    MarkTransformChanged();
    EndUpdate();
    IsCalculating = false;
}

void TGLBaseSceneObject::DirectionChanged()
{
    Vector3f direction = DirectionCoordinates->ToAffineVector();
    if (Vector3IsNull(direction))
        direction = {0, 0, 1};
    direction = Vector3Normalize(direction);
    const Vector3f right = RightAxis(direction, UpCoordinates->ToAffineVector());
    DirectionCoordinates->Initialize(DirectionMake(direction));
    UpCoordinates->Initialize(DirectionMake(Vector3Normalize(Vector3Cross(right, direction))));
}

void TGLBaseSceneObject::UpChanged()
{
    Vector3f up = UpCoordinates->ToAffineVector();
    if (Vector3IsNull(up))
        up = {0, 1, 0};
    up = Vector3Normalize(up);
    const Vector3f right = RightAxis(DirectionCoordinates->ToAffineVector(), up);
    UpCoordinates->Initialize(DirectionMake(up));
    DirectionCoordinates->Initialize(DirectionMake(Vector3Normalize(Vector3Cross(up, right))));
}

void TGLBaseSceneObject::BeginUpdate()
{
    ++UpdateCounter;
}

void TGLBaseSceneObject::EndUpdate()
{
    if (UpdateCounter == 0)
        return;
    if (--UpdateCounter == 0)
        NotifyChange(this);
}

void TGLBaseSceneObject::DoProgress(const TProgressTimes& times)
{
    for (int i = Count() - 1; i >= 0; --i)
        Children(i).DoProgress(times);
    if (BehaviourList)
        BehaviourList->DoProgress(times);
    if (EffectList)
        EffectList->DoProgress(times);
    if (OnProgress)
        OnProgress(*this, times.DeltaTime, times.NewTime);
}

// ---------------------------------------------------------------- appearance

void TGLBaseSceneObject::SetVisible(bool value)
{
    if (IsVisible == value)
        return;
    IsVisible = value;
    NotifyChange(this);
}

void TGLBaseSceneObject::SetShowAxes(bool value)
{
    if (AxesShown == value)
        return;
    AxesShown = value;
    NotifyChange(this);
}

void TGLBaseSceneObject::SetObjectsSorting(TGLObjectsSorting value)
{
    if (Sorting == value)
        return;
    Sorting = value;
    NotifyChange(this);
}

void TGLBaseSceneObject::SetVisibilityCulling(TGLVisibilityCulling value)
{
    if (Culling == value)
        return;
    Culling = value;
    NotifyChange(this);
}

bool TGLBaseSceneObject::HasObjectStyle(TGLObjectStyle style) const
{
    return (Style & std::uint8_t(style)) != 0;
}

void TGLBaseSceneObject::SetObjectStyle(TGLObjectStyle style, bool on)
{
    Style = on ? std::uint8_t(Style | std::uint8_t(style)) : std::uint8_t(Style & ~std::uint8_t(style));
}

TGLBehaviours& TGLBaseSceneObject::Behaviours()
{
    if (!BehaviourList)
        BehaviourList = std::make_unique<TGLBehaviours>(*this);
    return *BehaviourList;
}

TGLObjectEffects& TGLBaseSceneObject::Effects()
{
    if (!EffectList)
        EffectList = std::make_unique<TGLObjectEffects>(*this);
    return *EffectList;
}

void TGLBaseSceneObject::SetBehaviours(const TGLBehaviours& value)
{
    Behaviours().Assign(value);
    NotifyChange(this);
}

void TGLBaseSceneObject::SetEffects(const TGLObjectEffects& value)
{
    Effects().Assign(value);
    NotifyChange(this);
}
