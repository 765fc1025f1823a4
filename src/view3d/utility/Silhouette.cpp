#include "view3d/utility/Silhouette.h"

#include <algorithm>
#include <cstring>

#include "view3d/maths/PlaneGeometry.h"
#include "view3d/maths/VectorGeometry.h"

void TGLSilhouette::Flush()
{
    Vertices.Flush();
    Indices.Flush();
    CapIndices.Flush();
}

TConnectivity::TConnectivity(bool precomputeFaceNormal) : PrecomputeFaceNormal(precomputeFaceNormal) {}

int TConnectivity::EdgeCount() const
{
    return static_cast<int>(Edges.size());
}

int TConnectivity::FaceCount() const
{
    return static_cast<int>(Faces.size());
}

int TConnectivity::AddFace(const Vector3f& a, const Vector3f& b, const Vector3f& c)
{
    const int face = FaceCount();
    TFace added{{AddVertex(a), AddVertex(b), AddVertex(c)}, {}};
    if (PrecomputeFaceNormal)
        added.Normal = FaceNormal(added);
    Faces.push_back(added);
    AddEdge(added.Vertex[0], added.Vertex[1], face);
    AddEdge(added.Vertex[1], added.Vertex[2], face);
    AddEdge(added.Vertex[2], added.Vertex[0], face);
    return face;
}

int TConnectivity::AddQuad(const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& d)
{
    const int first = AddFace(a, b, d);
    AddFace(d, c, a);
    return first;
}

void TConnectivity::CreateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette,
                                     bool add) const
{
    if (!add)
        silhouette.Flush();
    const int offset = silhouette.Vertices.Count();
    for (const Vector3f& v : VertexList)
        silhouette.Vertices.AddPoint(v);
    std::vector<bool> visible(Faces.size());
    for (std::size_t i = 0; i < Faces.size(); ++i) {
        visible[i] = FaceVisible(Faces[i], parameters);
        if (!visible[i] && parameters.CappingRequired)
            silhouette.CapIndices.Add(Faces[i].Vertex[2] + offset, Faces[i].Vertex[1] + offset,
                                      Faces[i].Vertex[0] + offset);
    }
    for (const TEdge& edge : Edges) {
        const bool firstVisible = visible[static_cast<std::size_t>(edge.Face[0])];
        if (edge.Face[1] < 0) {
            if (!firstVisible)
                silhouette.Indices.Add(edge.Vertex[0] + offset, edge.Vertex[1] + offset);
        } else if (firstVisible != visible[static_cast<std::size_t>(edge.Face[1])]) {
            if (firstVisible)
                silhouette.Indices.Add(edge.Vertex[1] + offset, edge.Vertex[0] + offset);
            else
                silhouette.Indices.Add(edge.Vertex[0] + offset, edge.Vertex[1] + offset);
        }
    }
}

int TConnectivity::AddVertex(const Vector3f& v)
{
    std::array<std::uint32_t, 3> key{};
    std::memcpy(key.data(), &v, sizeof v);
    const auto [found, added] = VertexIndex.try_emplace(key, static_cast<int>(VertexList.size()));
    if (added)
        VertexList.push_back(v);
    return found->second;
}

void TConnectivity::AddEdge(int a, int b, int face)
{
    const std::pair<int, int> key{std::min(a, b), std::max(a, b)};
    const auto found = EdgeIndex.find(key);
    // An edge already shared by two faces stays as it is: a third face makes a new one.
    if (found != EdgeIndex.end() && Edges[static_cast<std::size_t>(found->second)].Face[1] < 0) {
        Edges[static_cast<std::size_t>(found->second)].Face[1] = face;
        return;
    }
    EdgeIndex[key] = EdgeCount();
    Edges.push_back({{a, b}, {face, -1}});
}

Vector3f TConnectivity::FaceNormal(const TFace& face) const
{
    return CalcPlaneNormal(VertexList[static_cast<std::size_t>(face.Vertex[0])],
                           VertexList[static_cast<std::size_t>(face.Vertex[1])],
                           VertexList[static_cast<std::size_t>(face.Vertex[2])]);
}

bool TConnectivity::FaceVisible(const TFace& face, const TGLSilhouetteParameters& parameters) const
{
    const Vector3f normal = PrecomputeFaceNormal ? face.Normal : FaceNormal(face);
    if (parameters.Style == TSilhouetteStyle::Parallel)
        return Vector3Dot(normal, parameters.SeenFrom) >= 0.0f;
    const Vector3f onFace = VertexList[static_cast<std::size_t>(face.Vertex[0])];
    const Vector4f plane = VectorMake(normal, -Vector3Dot(normal, onFace));
    return PlaneEvaluatePoint(plane, parameters.SeenFrom) >= 0.0f;
}
