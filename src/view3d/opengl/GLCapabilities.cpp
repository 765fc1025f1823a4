#include "view3d/opengl/GLCapabilities.h"

#include <charconv>
#include <iterator>

#include <GL/glu.h>

#include "view3d/opengl/GLFunctions.h"

namespace {

constexpr std::string_view kExtensionNames[] = {
    "GL_3DFX_multisample",
    "GL_3DFX_tbuffer",
    "GL_3DFX_texture_compression_FXT1",
    "GL_ARB_imaging",
    " GL_ARB_multisample",
    "GL_ARB_multitexture",
    "GL_ARB_depth_texture",
    "GL_ARB_shadow",
    "GL_ARB_texture_border_clamp",
    "GL_ARB_texture_compression",
    "GL_ARB_texture_cube_map",
    "GL_ARB_transpose_matrix",
    "GL_ARB_vertex_blend",
    "GL_ARB_point_parameters",
    "GL_ARB_texture_env_combine",
    "GL_ARB_texture_env_crossbar",
    "GL_ARB_texture_env_dot3",
    "GL_ARB_vertex_program",
    "GL_ARB_vertex_buffer_object",
    "GL_ARB_shader_objects",
    "GL_ARB_vertex_shader",
    "GL_ARB_fragment_shader",
    "GL_ARB_fragment_program",
    "GL_EXT_abgr",
    "GL_EXT_bgra",
    "GL_EXT_blend_color",
    "GL_EXT_blend_func_separate",
    "GL_EXT_blend_logic_op",
    "GL_EXT_blend_minmax",
    "GL_EXT_blend_subtract",
    "GL_EXT_Cg_shader",
    "GL_EXT_compiled_vertex_array",
    "GL_EXT_copy_texture",
    "GL_EXT_draw_range_elements",
    "GL_EXT_fog_coord",
    "GL_EXT_multi_draw_arrays",
    "GL_EXT_multisample",
    "GL_EXT_packed_pixels",
    "GL_EXT_paletted_texture",
    "GL_EXT_polygon_offset",
    "GL_EXT_rescale_normal",
    "GL_EXT_secondary_color",
    "GL_EXT_separate_specular_color",
    "GL_EXT_shared_texture_palette",
    "GL_EXT_stencil_wrap",
    "EXT_stencil_two_side",
    "GL_EXT_texture_compression_s3tc",
    "GL_EXT_texture_cube_map",
    "GL_EXT_texture_edge_clamp",
    "GL_EXT_texture_env_add",
    "GL_EXT_texture_env_combine",
    "GL_EXT_texture_filter_anisotropic",
    "GL_EXT_texture_lod_bias",
    "GL_EXT_texture_object",
    "GL_EXT_texture3D",
    "GL_EXT_clip_volume_hint",
    "GL_HP_occlusion_test",
    "GL_IBM_rasterpos_clip",
    "GL_KTX_buffer_region",
    "GL_MESA_resize_buffers",
    "GL_NV_blend_square",
    "GL_NV_fog_distance",
    "GL_NV_light_max_exponent",
    "GL_NV_register_combiners",
    "GL_NV_texgen_reflection",
    "GL_NV_texture_env_combine4",
    "GL_NV_vertex_array_range",
    "GL_NV_multisample_filter_hint",
    "GL_NV_vertex_program",
    "GL_NV_fence",
    "GL_NV_occlusion_query",
    "GL_NV_texture_rectangle",
    "GL_ATI_texture_float",
    "GL_ATI_draw_buffers",
    "GL_SGI_color_matrix",
    "GL_SGIS_generate_mipmap",
    "GL_SGIS_multisample",
    "GL_SGIS_texture_border_clamp",
    "GL_SGIS_texture_color_mask",
    "GL_SGIS_texture_edge_clamp",
    "GL_SGIS_texture_lod",
    "GL_SGIX_depth_texture",
    "GL_SGIX_shadow",
    "GL_SGIX_shadow_ambient",
    "GL_WIN_swap_hint",
    "WGL_ARB_multisample",
    "WGL_EXT_swap_control",
    "WGL_ARB_buffer_region",
    "WGL_ARB_extensions_string",
    "WGL_ARB_pbuffer ",
    "WGL_ARB_pixel_format",
    "WGL_ATI_pixel_format_float",
    "GLU_EXT_TEXTURE",
    "GLU_EXT_object_space_tess",
    "GLU_EXT_nurbs_tessellator",};
static_assert(std::size(kExtensionNames) == kGLExtensionCount);

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string_view DriverString(const GLubyte* text)
{
    return text != nullptr ? std::string_view(reinterpret_cast<const char*>(text)) : std::string_view();
}

TGLCapabilities& Table()
{
    static TGLCapabilities table;
    return table;
}

void SetWindowSystemFlags(TGLCapabilities& flags, std::string_view extensions)
{
    // A plain substring test here: these names are not checked for a following blank.
    for (int flag = kWGL_ARB_multisample; flag <= kWGL_ATI_pixel_format_float; ++flag)
        flags.Extensions[static_cast<std::size_t>(flag)] =
            extensions.find(kExtensionNames[flag]) != std::string_view::npos;
}

} // namespace

std::string_view GLExtensionName(TGLExtension extension)
{
    return kExtensionNames[extension];
}

TGLVersion ParseVersionString(std::string_view text)
{
    const std::size_t point = text.find('.');
    if (point == std::string_view::npos || point < 1 || point + 1 >= text.size() || !IsDigit(text[point - 1]) ||
        !IsDigit(text[point + 1]))
        return {};
    std::size_t first = point;
    while (first > 0 && IsDigit(text[first - 1]))
        --first;
    std::size_t last = point + 1;
    while (last < text.size() && IsDigit(text[last]))
        ++last;
    TGLVersion version;
    const char* begin = text.data();
    const auto major = std::from_chars(begin + first, begin + point, version.Major);
    const auto minor = std::from_chars(begin + point + 1, begin + last, version.Minor);
    if (major.ec != std::errc() || minor.ec != std::errc())
        return {};
    return version;
}

bool HasExtension(std::string_view name, std::string_view extensions)
{
    const std::size_t at = extensions.find(name);
    if (at == std::string_view::npos)
        return false;
    const std::size_t end = at + name.size();
    return end == extensions.size() || extensions[end] == ' ';
}

TGLCapabilities ReadCapabilitiesFrom(const TGLDriverStrings& strings)
{
    TGLCapabilities flags;
    const TGLVersion gl = ParseVersionString(strings.Version);
    const auto atLeast = [](TGLVersion version, int minor) { return version.Minor >= minor || version.Major > 1; };
    flags.OpenGL10 = true;
    flags.OpenGL11 = atLeast(gl, 1);
    flags.OpenGL12 = atLeast(gl, 2);
    flags.OpenGL13 = atLeast(gl, 3);
    flags.OpenGL14 = atLeast(gl, 4);
    flags.OpenGL15 = atLeast(gl, 5);
    const TGLVersion glu = ParseVersionString(strings.GluVersion);
    flags.GLU11 = true;
    flags.GLU12 = atLeast(glu, 2);
    flags.GLU13 = atLeast(glu, 3);
    for (int flag = 0; flag < kWGL_ARB_multisample; ++flag)
        flags.Extensions[static_cast<std::size_t>(flag)] = HasExtension(kExtensionNames[flag], strings.Extensions);
    for (int flag = kGLU_EXT_TEXTURE; flag < kGLExtensionCount; ++flag)
        flags.Extensions[static_cast<std::size_t>(flag)] = HasExtension(kExtensionNames[flag], strings.GluExtensions);
    SetWindowSystemFlags(flags, strings.WindowSystemExtensions);
    return flags;
}

const TGLCapabilities& GLCapabilities()
{
    return Table();
}

void ReadGLCapabilities()
{
    const TGLFunctions& gl = GL();
    Table() = ReadCapabilitiesFrom({DriverString(gl.GetString(GL_VERSION)), DriverString(gl.GluGetString(GLU_VERSION)),
                                    DriverString(gl.GetString(GL_EXTENSIONS)),
                                    DriverString(gl.GluGetString(GLU_EXTENSIONS)), {}});
}

void ReadWGLCapabilities()
{
    SetWindowSystemFlags(Table(), {});
}
