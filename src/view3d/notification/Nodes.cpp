#include "view3d/notification/Nodes.h"

#include <algorithm>
#include <cmath>

#include "view3d/lists/CubicSpline.h"
#include "view3d/maths/PlaneGeometry.h"

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
