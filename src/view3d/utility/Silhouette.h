#pragma once

// Silhouette edges of a mesh seen from a point or along a direction: the
// edges between a face turned towards the viewer and one turned away.

#include <array>
#include <cstdint>
#include <map>
#include <utility>
#include <vector>

#include "view3d/lists/VectorLists.h"

struct TGLSilhouette {
    TVectorList Vertices;
    // Pairs of vertex indices.
    TIntegerList Indices;
    // Triples of vertex indices closing the shadow volume, when asked for.
    TIntegerList CapIndices;
    void Flush();
};

enum class TSilhouetteStyle { Omnidirectional, Parallel };

struct TGLSilhouetteParameters {
    // A point for the omnidirectional style, a direction towards the viewer for the parallel one.
    Vector3f SeenFrom;
    TSilhouetteStyle Style = TSilhouetteStyle::Omnidirectional;
    bool CappingRequired = false;
};

class TBaseConnectivity {
public:
    virtual ~TBaseConnectivity() = default;
    virtual int EdgeCount() const = 0;
    virtual int FaceCount() const = 0;
    // Into the given silhouette (flushed unless `add`).
    virtual void CreateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette,
                                  bool add) const = 0;
};

class TConnectivity : public TBaseConnectivity {
public:
    explicit TConnectivity(bool precomputeFaceNormal = true);

    int EdgeCount() const override;
    int FaceCount() const override;
    // Equal vertices are merged; returns the index of the face.
    int AddFace(const Vector3f& a, const Vector3f& b, const Vector3f& c);
    // The two triangles a b d and d c a.
    int AddQuad(const Vector3f& a, const Vector3f& b, const Vector3f& c, const Vector3f& d);
    void CreateSilhouette(const TGLSilhouetteParameters& parameters, TGLSilhouette& silhouette,
                          bool add) const override;

private:
    struct TFace {
        int Vertex[3];
        Vector3f Normal;
    };
    struct TEdge {
        int Vertex[2];
        int Face[2];
    };

    int AddVertex(const Vector3f& v);
    void AddEdge(int a, int b, int face);
    Vector3f FaceNormal(const TFace& face) const;
    bool FaceVisible(const TFace& face, const TGLSilhouetteParameters& parameters) const;

    bool PrecomputeFaceNormal;
    std::vector<Vector3f> VertexList;
    // Vertices by the bit patterns of their components: equal means identical.
    std::map<std::array<std::uint32_t, 3>, int> VertexIndex;
    std::vector<TFace> Faces;
    std::vector<TEdge> Edges;
    // Edges by their two vertices, the lower index first.
    std::map<std::pair<int, int>, int> EdgeIndex;
};
