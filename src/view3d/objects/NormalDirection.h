#pragma once

// Which way the normals of a closed shape point: out of it (seen from
// outside, the usual case) or into it (seen from within).
enum class TNormalDirection { ndInside, ndOutside };
