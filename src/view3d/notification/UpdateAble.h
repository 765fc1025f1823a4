#pragma once

// The change-notification chain of the scene: a nested property object (a
// colour inside a face inside a material inside a scene object) tells its
// owner that it changed, and the owner passes it on, so that a change made
// anywhere reaches the scene object, and through it the viewer, before the
// setter returns.

#include <functional>

// The common base of every sender and owner in the chain.
class TGLNotifyObject {
public:
    TGLNotifyObject() = default;
    virtual ~TGLNotifyObject() = default;
    TGLNotifyObject(const TGLNotifyObject&) = delete;
    TGLNotifyObject& operator=(const TGLNotifyObject&) = delete;
};

// A property object owned by another object of the chain (or by none).
class TGLUpdateAbleObject : public TGLNotifyObject {
public:
    explicit TGLUpdateAbleObject(TGLNotifyObject* owner);

    TGLNotifyObject* GetOwner() const { return Owner; }

    // Without an owner nothing happens, not even OnNotifyChange: a free
    // object changes silently.
    virtual void NotifyChange(TGLNotifyObject* sender);

    std::function<void(TGLNotifyObject& sender)> OnNotifyChange;

private:
    TGLNotifyObject* Owner;
};

struct TProgressTimes {
    double DeltaTime = 0.0;
    double NewTime = 0.0;
};

class TGLCadenceAbleComponent : public TGLNotifyObject {
public:
    explicit TGLCadenceAbleComponent(TGLNotifyObject* owner = nullptr) : Owner(owner) {}

    TGLNotifyObject* GetOwner() const { return Owner; }
    virtual void DoProgress(const TProgressTimes&) {}

private:
    TGLNotifyObject* Owner;
};

class TGLUpdateAbleComponent : public TGLCadenceAbleComponent {
public:
    using TGLCadenceAbleComponent::TGLCadenceAbleComponent;

    // Passes the change to an owning component; scene objects tell their scene instead.
    virtual void NotifyChange(TGLNotifyObject* sender);
    // What the component draws must be built again. Only scene objects draw;
    // for other components nothing needs rebuilding.
    virtual void StructureChanged() {}
};

class TGLCoordinates;

// A component that owns coordinates and reacts to their changes itself.
class TGLCoordinatesUpdateAbleComponent : public TGLUpdateAbleComponent {
public:
    using TGLUpdateAbleComponent::TGLUpdateAbleComponent;

    virtual void CoordinateChanged(TGLCoordinates& coordinates) = 0;
};
