#include "view3d/objects/Lines.h"

#include <GL/glu.h>

#include <vector>

#include "view3d/objects/ChangeProperty.h"
#include "view3d/objects/LineSampling.h"
#include "view3d/opengl/GLFunctions.h"

TGLLines::TGLLines(TGLNotifyObject* owner) : TGLNodedLines(owner) {}

void TGLLines::SetDivision(int value)
{
    ChangeProperty(*this, DivisionValue, std::max(value, 1));
}

void TGLLines::SetSplineMode(TLineSplineMode value)
{
    ChangeProperty(*this, Mode, value);
}

void TGLLines::SetOption(TLinesOption option, bool on)
{
    const std::uint8_t options = on ? Options | std::uint8_t(option) : Options & ~std::uint8_t(option);
    if (options == Options)
        return;
    Options = options;
    StructureChanged();
}

void TGLLines::SetNURBSOrder(int value)
{
    ChangeProperty(*this, Order, value);
}

void TGLLines::SetNURBSTolerance(float value)
{
    ChangeProperty(*this, Tolerance, value);
}

void TGLLines::BuildList(TRenderContextInfo& rci)
{
    if (Nodes().Count() < 2)
        return;
    SetupLineStyle();
    // A curve mode whose settings cannot make a curve draws the nodes joined straight.
    switch (Mode) {
    case TLineSplineMode::lsmCubicSpline:
        if (DivisionValue > 1)
            DrawCubicSpline();
        else
            DrawStraight(GL_LINE_STRIP);
        break;
    case TLineSplineMode::lsmBezierSpline:
        DrawBezier();
        break;
    case TLineSplineMode::lsmNURBSCurve:
        if (DivisionValue > 1 && Order > 0 && Knots.Count() > 0)
            DrawNURBS();
        else
            DrawStraight(GL_LINE_STRIP);
        break;
    case TLineSplineMode::lsmSegments:
        DrawStraight(GL_LINES);
        break;
    case TLineSplineMode::lsmLines:
        DrawStraight(GL_LINE_STRIP);
        break;
    }
    RestoreLineStyle();
    DrawNodes(rci);
}

void TGLLines::DrawStraight(GLenum mode) const
{
    const TGLFunctions& gl = GL();
    const int count = Nodes().Count();
    gl.Begin(mode);
    if (NodeColors()) {
        for (int i = 0; i < count; ++i) {
            const TGLLinesNode& node = Node(i);
            gl.Color4fv(node.Color().AsAddress());
            gl.Vertex3fv(&node.AsVector().X);
        }
    } else {
        for (int i = 0; i < count; ++i)
            gl.Vertex3fv(&Nodes()[i].AsVector().X);
    }
    gl.End();
}

void TGLLines::DrawCubicSpline() const
{
    std::vector<Vector3f> points;
    std::vector<Vector4f> colours;
    for (int i = 0; i < Nodes().Count(); ++i) {
        points.push_back(Node(i).AsAffineVector());
        if (NodeColors())
            colours.push_back(Node(i).Color().Color());
    }
    const TGLFunctions& gl = GL();
    gl.Begin(GL_LINE_STRIP);
    for (const TLineSample& sample : SampleCubicSpline(points, colours, DivisionValue)) {
        if (NodeColors())
            gl.Color4fv(&sample.Color.X);
        gl.Vertex3f(sample.Position.X, sample.Position.Y, sample.Position.Z);
    }
    gl.End();
}

void TGLLines::DrawBezier() const
{
    const int count = Nodes().Count();
    // The evaluator takes at most the driver's order in control points (30
    // on Mesa); more would be refused with an error every frame.
    GLint maxOrder = 0;
    GL().GetIntegerv(GL_MAX_EVAL_ORDER, &maxOrder);
    if (count > maxOrder) {
        DrawStraight(GL_LINE_STRIP);
        return;
    }
    std::vector<float> points;
    std::vector<float> colours;
    for (int i = 0; i < count; ++i) {
        const Vector4f& p = Node(i).AsVector();
        points.insert(points.end(), {p.X, p.Y, p.Z});
        const Vector4f& c = Node(i).Color().Color();
        colours.insert(colours.end(), {c.X, c.Y, c.Z, c.W});
    }
    const TGLFunctions& gl = GL();
    gl.Map1f(GL_MAP1_VERTEX_3, 0, 1, 3, count, points.data());
    gl.Enable(GL_MAP1_VERTEX_3);
    if (NodeColors()) {
        gl.Map1f(GL_MAP1_COLOR_4, 0, 1, 4, count, colours.data());
        gl.Enable(GL_MAP1_COLOR_4);
    }
    gl.Begin(GL_LINE_STRIP);
    for (int i = 0; i <= DivisionValue; ++i)
        gl.EvalCoord1f(float(i) / float(DivisionValue));
    gl.End();
}

void TGLLines::DrawNURBS() const
{
    std::vector<float> points;
    for (int i = 0; i < Nodes().Count(); ++i) {
        const Vector4f& p = Node(i).AsVector();
        points.insert(points.end(), {p.X, p.Y, p.Z});
    }
    std::vector<float> knots(Knots.Items().begin(), Knots.Items().end());
    const TGLFunctions& gl = GL();
    GLUnurbs* nurbs = gl.GluNewNurbsRenderer();
    gl.GluNurbsProperty(nurbs, GLU_SAMPLING_TOLERANCE, Tolerance);
    gl.GluBeginCurve(nurbs);
    gl.GluNurbsCurve(nurbs, GLint(knots.size()), knots.data(), 3, points.data(), Order, GL_MAP1_VERTEX_3);
    gl.GluEndCurve(nurbs);
    gl.GluDeleteNurbsRenderer(nurbs);
}

std::unique_ptr<TGLBaseSceneObject> TGLLines::CreateNew() const
{
    return std::make_unique<TGLLines>();
}

void TGLLines::Assign(const TGLBaseSceneObject& source)
{
    const auto* other = dynamic_cast<const TGLLines*>(&source);
    if (other && other != this) {
        DivisionValue = other->DivisionValue;
        Mode = other->Mode;
        Options = other->Options;
        Knots.Assign(other->Knots);
        Order = other->Order;
        Tolerance = other->Tolerance;
        StructureChanged();
    }
    TGLNodedLines::Assign(source);
}
