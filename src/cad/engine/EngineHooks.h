#pragma once

// What the stock states need from the main window, behind small interfaces so
// that they run without one: the prompt texts, the transform input panel and
// the calls into the entity copier, the curve and frame converters and the
// distance read-out. Until the shell sets them, prompts are empty, the panel
// reads as "pointer in the view, nothing typed", and the calls do nothing.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "cad/geometry/CADBaseTypes.h"

class TCurve2D;
class TFrame2D;
class TObject2D;
class TPolyline2D;

// The fields of the transform input panel.
enum class TTransformField { Dx, Dy, RotateAngle, ScaleX, ScaleY };

// The item of the mirror-axis choice: through two picked points, or about an axis.
enum class TMirrorAxis { TwoPoints = 0, XAxis = 1, YAxis = 2, XYAxis = 3 };

class TTransformPanel {
public:
    virtual ~TTransformPanel() = default;
    // The number typed into the field; none when it holds no number.
    virtual std::optional<double> FieldValue(TTransformField field) const = 0;
    // Shows a live value while the user drags.
    virtual void ShowFieldText(TTransformField field, const std::string& text) = 0;
    virtual bool ScaleUniform() const = 0;
    virtual TMirrorAxis MirrorAxis() const = 0;
    // Set while the pointer is over the view: typed values are then ignored.
    virtual bool MouseInView() const = 0;
    // The code of the command that started the running task.
    virtual int CommandCode() const = 0;
};

// The command codes the transform task tells apart.
inline constexpr int COMMAND_ROTATE = 26;
inline constexpr int COMMAND_MIRROR = 27;

struct TEngineHooks {
    // The text of a language-file message, for the task prompts.
    std::function<std::string(int message)> PromptText;
    // Adds a copy of the object, with its current transform applied, to the drawing.
    std::function<void(TObject2D& object)> CopiaOggetto;
    // A new polyline through the curve's profile, its transform applied.
    std::function<std::unique_ptr<TPolyline2D>(TCurve2D& curve)> CurveToPolyline;
    // A new closed polyline through the frame's corners, its transform applied.
    std::function<std::unique_ptr<TPolyline2D>(TFrame2D& frame)> FrameToPolyline;
    // Shows the two points, their differences, distance and angle.
    std::function<void(TPoint2D first, TPoint2D second)> InfoDistanza;
    // Borrowed; none reads as the panel's defaults.
    TTransformPanel* Panel = nullptr;
};

TEngineHooks& EngineHooks();
// The panel the shell set, or one that reads its defaults.
TTransformPanel& TransformPanel();
std::string PromptText(int message);
