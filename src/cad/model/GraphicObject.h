#pragma once

// The root classes of everything a drawing holds: identity, layer and flags
// (TGraphicObject) and the 2D part with transforms, box and hit test (TObject2D).

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "cad/geometry/CADBaseTypes.h"

class TCADCmp;
class TCADStreamReader;
class TCADStreamWriter;
class TDecorativeCanvas;
class TObject2D;

class TGraphicObject {
public:
    TGraphicObject() = default;
    virtual ~TGraphicObject() = default;
    TGraphicObject(const TGraphicObject&) = delete;
    TGraphicObject& operator=(const TGraphicObject&) = delete;

    // The class name the registry and the stream know the object by.
    virtual std::string ClassName() const = 0;
    // Recomputes the bounding box.
    virtual void ComputeExtension() = 0;
    // Copies Visible, Enabled and ToBeSaved; nothing when given itself.
    virtual void Assign(const TGraphicObject& other);
    // The object's stream record, the parent's part first. Reading stores the
    // fields only: whoever adds the object updates its extension.
    virtual void LoadFromStream(TCADStreamReader& stream, std::string_view version);
    virtual void SaveToStream(TCADStreamWriter& stream);
    // Why an object whose record was read whole still cannot be used (too few
    // control points for its class, say); empty when it can.
    virtual std::string LoadedObjectFault() const { return {}; }
    // Once the record is read and accepted: work the object will ask for
    // beyond its own bytes is paid from the file's budgets.
    virtual void TakeFromFileBudgets(TCADStreamReader&) {}

    void UpdateExtension();

    std::int32_t ID = 0;
    std::uint8_t Layer = 0;
    bool Visible = true;
    bool Enabled = true;
    bool ToBeSaved = true;
    std::function<void(TGraphicObject&)> OnChange;
    TCADCmp* OwnerCAD = nullptr;
};

// Draws and hit-tests the control points of a family of shapes; shared by
// every object of that family.
class TObject2DHandler {
public:
    virtual ~TObject2DHandler() = default;
    virtual void DrawControlPoints(const TObject2D& object, const TTransform2D& viewTransform,
                                   TDecorativeCanvas& canvas, int markerSize) const = 0;
    virtual int OnMe(const TObject2D& object, TPoint2D point, float aperture, float& distance) const = 0;
};

// An object's box as everyone reads it. Only TObject2D::SetBox writes it, so
// that every change is counted and an index over boxes knows when it is stale.
class TObjectBox : public TRect2D {
public:
    TObjectBox() : TRect2D{TPoint2D{0, 0, 1}, TPoint2D{0, 0, 1}} {}
    TObjectBox(const TObjectBox&) = default;

private:
    friend class TObject2D;
    TObjectBox& operator=(const TObjectBox&) = default;
};

class TObject2D : public TGraphicObject {
public:
    // Counts every change of any object's box, for caches built from boxes.
    static std::uint64_t BoxChanges();

    void Assign(const TGraphicObject& other) override;

    // ModelTransform then CurrentTransform; the identity when neither is set.
    virtual TTransform2D GetTransform() const;
    virtual void SetCurrentTransform(const TTransform2D& t);
    virtual bool HasTransform() const;
    virtual void Draw(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, const TRect2D& clipBox,
                      int drawMode) = 0;
    virtual bool IsVisible(const TRect2D& box) const;
    // The model transform; the identity when there is none.
    void LoadFromStream(TCADStreamReader& stream, std::string_view version) override;
    // Bakes the current transform into the model transform first.
    void SaveToStream(TCADStreamWriter& stream) override;

    void ComposeTransform(const TTransform2D& t);
    void BakeTransform();
    // Virtual so that containers and block references mark their own control points.
    virtual void PaintControlPoints(const TTransform2D& viewTransform, TDecorativeCanvas& canvas, int markerSize,
                                    const TRect2D& clipBox);
    virtual int HitTest(TPoint2D point, float& distance, float aperture) const;

    void SetModelTransform(const TTransform2D& t);
    void ResetTransform();
    void SetHandler(std::shared_ptr<TObject2DHandler> handler);
    const std::shared_ptr<TObject2DHandler>& GetHandler() const { return Handler; }
    TPoint2D WorldToObject(TPoint2D point) const;
    void TranslateBy(TPoint2D to, TPoint2D from);

    const std::optional<TTransform2D>& ModelTransform() const { return Model; }
    const std::optional<TTransform2D>& CurrentTransform() const { return Current; }

    TObjectBox Box;
    bool ShowBox = false;

protected:
    void SetBox(const TRect2D& box);

private:
    std::optional<TTransform2D> Model;
    std::optional<TTransform2D> Current;
    std::shared_ptr<TObject2DHandler> Handler;
};
