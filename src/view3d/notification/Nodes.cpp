#include "view3d/notification/Nodes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <deque>

#include <GL/glu.h>

#include "view3d/lists/CubicSpline.h"
#include "view3d/maths/PlaneGeometry.h"
#include "view3d/opengl/GLFunctions.h"
#include "view3d/opengl/TextureCoordinateDispatch.h"

TGLNode::TGLNode(TGLNodes& collection) : Owner(&collection) {}

void TGLNode::SetCoordinate(int index, float value)
{
    switch (index) {
    case 0: Coords.X = value; break;
    case 1: Coords.Y = value; break;
    case 2: Coords.Z = value; break;
    default: return;
    }
    Changed();
}

void TGLNode::Assign(const TGLNode& source)
{
    Coords = source.Coords;
}

void TGLNode::Changed()
{
    if (Owner->UpdateCount() == 0)
        Owner->Update(this);
}

TGLNodes::TGLNodes(TGLUpdateAbleComponent* owner, TGLNodeFactory itemClass)
    : Owner(owner), ItemClass(std::move(itemClass))
{
}

TGLNodes::~TGLNodes() = default;

TGLNode& TGLNodes::AddNode()
{
    Items.push_back(ItemClass ? ItemClass(*this) : std::make_unique<TGLNode>(*this));
    if (PendingUpdates == 0)
        Update(nullptr);
    return *Items.back();
}

void TGLNodes::Clear()
{
    if (Items.empty())
        return;
    BeginUpdate();
    Items.clear();
    EndUpdate();
}

void TGLNodes::BeginUpdate()
{
    ++PendingUpdates;
}

void TGLNodes::EndUpdate()
{
    if (PendingUpdates == 0)
        return;
    if (--PendingUpdates == 0)
        Update(nullptr);
}

void TGLNodes::Update(TGLNode* /*item*/)
{
    NotifyChange();
}

void TGLNodes::NotifyChange()
{
    if (PendingUpdates == 0 && Owner)
        Owner->NotifyChange(this);
}

void TGLNodes::AddArcNodes(bool reverse, int segments, float xRadius, float yRadius, float start, float stop,
                           const Vector3f& centre)
{
    // Zero segments would divide the span by zero and put NaN nodes into the line.
    segments = std::max(segments, 1);
    constexpr float kTwoPi = 6.2831855f;
    const float span = start >= stop ? (kTwoPi - start) + stop : stop - start;
    const float step = span / static_cast<float>(segments);

    struct TBracket {
        TGLNodes& Nodes;
        explicit TBracket(TGLNodes& nodes) : Nodes(nodes) { Nodes.BeginUpdate(); }
        ~TBracket() { Nodes.EndUpdate(); }
    } bracket(*this);
    for (int k = 0; k <= segments; ++k) {
        const int i = reverse ? segments - k : k;
        const double angle = start + step * static_cast<float>(i);
        TGLNode& node = AddNode();
        node.Coords = {static_cast<float>(centre.X + xRadius * std::cos(angle)),
                       static_cast<float>(centre.Y + yRadius * std::sin(angle)), centre.Z, 1.0f};
    }
}

Vector3f TGLNodes::Normal() const
{
    if (Items.size() < 3)
        return {};
    return CalcPlaneNormal(Items[0]->AsAffineVector(), Items[1]->AsAffineVector(), Items[2]->AsAffineVector());
}

std::unique_ptr<TCubicSpline> TGLNodes::CreateNewCubicSpline() const
{
    std::vector<float> x, y, z;
    x.reserve(Items.size());
    y.reserve(Items.size());
    z.reserve(Items.size());
    for (const auto& node : Items) {
        x.push_back(node->X());
        y.push_back(node->Y());
        z.push_back(node->Z());
    }
    return std::make_unique<TCubicSpline>(x, y, z, std::vector<float>{});
}

namespace {

using TVertex = std::array<GLfloat, 3>;

// What the tessellator's callbacks share while one polygon is drawn.
struct TTessellation {
    // Vertices made where edges cross; their addresses must hold until the polygon ends.
    std::deque<TVertex> Scratch;
};

void TessBegin(GLenum mode)
{
    GL().Begin(mode);
}

void TessEnd()
{
    GL().End();
}

void TessVertex(void* vertex)
{
    GL().Vertex3fv(static_cast<const GLfloat*>(vertex));
}

// The vertex's X and Y are its texture coordinates.
void TessTexturedVertex(void* vertex)
{
    XGL().TexCoord2fv(static_cast<const GLfloat*>(vertex));
    GL().Vertex3fv(static_cast<const GLfloat*>(vertex));
}

// A polygon the tessellator cannot take is drawn as far as it goes.
void TessError(GLenum) {}

void TessCombine(GLdouble coords[3], void* /*neighbours*/[4], GLfloat /*weights*/[4], void** out, void* polygon)
{
    auto& scratch = static_cast<TTessellation*>(polygon)->Scratch;
    scratch.push_back({static_cast<GLfloat>(coords[0]), static_cast<GLfloat>(coords[1]),
                       static_cast<GLfloat>(coords[2])});
    *out = scratch.back().data();
}

template <typename TCallback>
_GLUfuncptr Callback(TCallback* callback)
{
    return reinterpret_cast<_GLUfuncptr>(callback);
}

} // namespace

void TGLNodes::RenderTesselatedPolygon(bool textured, const Vector3f* normal, int splineSegments, bool reverse) const
{
    if (Items.size() < 3)
        return;
    std::vector<TVertex> outline;
    if (splineSegments <= 1) {
        for (const auto& node : Items)
            outline.push_back({node->X(), node->Y(), node->Z()});
    } else {
        const auto spline = CreateNewCubicSpline();
        const int samples = static_cast<int>(Items.size() - 1) * splineSegments;
        const float step = 1.0f / static_cast<float>(splineSegments);
        for (int i = 0; i <= samples; ++i) {
            const Vector3f p = spline->SplineVector(static_cast<float>(i) * step);
            outline.push_back({p.X, p.Y, p.Z});
        }
    }
    if (reverse)
        std::reverse(outline.begin(), outline.end());
    std::vector<std::array<GLdouble, 3>> locations;
    locations.reserve(outline.size());
    for (const TVertex& v : outline)
        locations.push_back({v[0], v[1], v[2]});

    const auto deleteTess = [](GLUtesselator* tess) { GL().GluDeleteTess(tess); };
    const std::unique_ptr<GLUtesselator, decltype(deleteTess)> tess(GL().GluNewTess(), deleteTess);
    if (!tess)
        return;
    GL().GluTessCallback(tess.get(), GLU_TESS_BEGIN, Callback(&TessBegin));
    GL().GluTessCallback(tess.get(), GLU_TESS_VERTEX, textured ? Callback(&TessTexturedVertex) : Callback(&TessVertex));
    GL().GluTessCallback(tess.get(), GLU_TESS_END, Callback(&TessEnd));
    GL().GluTessCallback(tess.get(), GLU_TESS_ERROR, Callback(&TessError));
    GL().GluTessCallback(tess.get(), GLU_TESS_COMBINE_DATA, Callback(&TessCombine));
    if (normal) {
        GL().Normal3fv(&normal->X);
        GL().GluTessNormal(tess.get(), normal->X, normal->Y, normal->Z);
    }
    TTessellation tessellation;
    GL().GluTessBeginPolygon(tess.get(), &tessellation);
    GL().GluTessBeginContour(tess.get());
    for (std::size_t i = 0; i < outline.size(); ++i)
        GL().GluTessVertex(tess.get(), locations[i].data(), outline[i].data());
    GL().GluTessEndContour(tess.get());
    GL().GluTessEndPolygon(tess.get());
}
