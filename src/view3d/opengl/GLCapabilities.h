#pragma once

// What the driver of the current context offers: the OpenGL and GLU versions
// and one flag per extension name, read from the driver's strings. One table
// serves the whole process; it describes the context that was current when
// it was last read.

#include <array>
#include <cstddef>
#include <string_view>

struct TGLVersion {
    int Major = 0;
    int Minor = 0;
};

// The OpenGL extension flags, then the window-system ones, then GLU's, in the
// order of their names (GLExtensionName).
enum TGLExtension : int {
    k3DFX_multisample,
    k3DFX_tbuffer,
    k3DFX_texture_compression_FXT1,
    kARB_imaging,
    kARB_multisample,
    kARB_multitexture,
    kARB_depth_texture,
    kARB_shadow,
    kARB_texture_border_clamp,
    kARB_texture_compression,
    kARB_texture_cube_map,
    kARB_transpose_matrix,
    kARB_vertex_blend,
    kARB_point_parameters,
    kARB_texture_env_combine,
    kARB_texture_env_crossbar,
    kARB_texture_env_dot3,
    kARB_vertex_program,
    kARB_vertex_buffer_object,
    kARB_shader_objects,
    kARB_vertex_shader,
    kARB_fragment_shader,
    kARB_fragment_program,
    kEXT_abgr,
    kEXT_bgra,
    kEXT_blend_color,
    kEXT_blend_func_separate,
    kEXT_blend_logic_op,
    kEXT_blend_minmax,
    kEXT_blend_subtract,
    kEXT_Cg_shader,
    kEXT_compiled_vertex_array,
    kEXT_copy_texture,
    kEXT_draw_range_elements,
    kEXT_fog_coord,
    kEXT_multi_draw_arrays,
    kEXT_multisample,
    kEXT_packed_pixels,
    kEXT_paletted_texture,
    kEXT_polygon_offset,
    kEXT_rescale_normal,
    kEXT_secondary_color,
    kEXT_separate_specular_color,
    kEXT_shared_texture_palette,
    kEXT_stencil_wrap,
    kEXT_stencil_two_side,
    kEXT_texture_compression_s3tc,
    kEXT_texture_cube_map,
    kEXT_texture_edge_clamp,
    kEXT_texture_env_add,
    kEXT_texture_env_combine,
    kEXT_texture_filter_anisotropic,
    kEXT_texture_lod_bias,
    kEXT_texture_object,
    kEXT_texture3D,
    kEXT_clip_volume_hint,
    kHP_occlusion_test,
    kIBM_rasterpos_clip,
    kKTX_buffer_region,
    kMESA_resize_buffers,
    kNV_blend_square,
    kNV_fog_distance,
    kNV_light_max_exponent,
    kNV_register_combiners,
    kNV_texgen_reflection,
    kNV_texture_env_combine4,
    kNV_vertex_array_range,
    kNV_multisample_filter_hint,
    kNV_vertex_program,
    kNV_fence,
    kNV_occlusion_query,
    kNV_texture_rectangle,
    kATI_texture_float,
    kATI_draw_buffers,
    kSGI_color_matrix,
    kSGIS_generate_mipmap,
    kSGIS_multisample,
    kSGIS_texture_border_clamp,
    kSGIS_texture_color_mask,
    kSGIS_texture_edge_clamp,
    kSGIS_texture_lod,
    kSGIX_depth_texture,
    kSGIX_shadow,
    kSGIX_shadow_ambient,
    kWIN_swap_hint,
    kWGL_ARB_multisample,
    kWGL_EXT_swap_control,
    kWGL_ARB_buffer_region,
    kWGL_ARB_extensions_string,
    kWGL_ARB_pbuffer,
    kWGL_ARB_pixel_format,
    kWGL_ATI_pixel_format_float,
    kGLU_EXT_TEXTURE,
    kGLU_EXT_object_space_tess,
    kGLU_EXT_nurbs_tessellator,
    kGLExtensionCount
};

struct TGLCapabilities {
    bool OpenGL10 = false;
    bool OpenGL11 = false;
    bool OpenGL12 = false;
    bool OpenGL13 = false;
    bool OpenGL14 = false;
    bool OpenGL15 = false;
    bool GLU11 = false;
    bool GLU12 = false;
    bool GLU13 = false;
    std::array<bool, kGLExtensionCount> Extensions{};

    bool Has(TGLExtension extension) const { return Extensions[static_cast<std::size_t>(extension)]; }
};

// The driver's strings that the flags are read from.
struct TGLDriverStrings {
    std::string_view Version;
    std::string_view GluVersion;
    std::string_view Extensions;
    std::string_view GluExtensions;
    // The window system's extensions; empty where there is no such string.
    std::string_view WindowSystemExtensions;
};

// The name searched for, exactly as drivers of old spelt it in their tables,
// including " GL_ARB_multisample" with its blank and "WGL_ARB_pbuffer " with its.
std::string_view GLExtensionName(TGLExtension extension);

// The number around the first point of the text, or 0.0 when there is none
// ("1.5.0 Vendor" gives 1.5, "Vendor 4.0" gives 4.0).
TGLVersion ParseVersionString(std::string_view text);

// The first occurrence of the name ends the string or is followed by a blank.
// What stands before it is not looked at.
bool HasExtension(std::string_view name, std::string_view extensions);

// The flags that the strings give.
TGLCapabilities ReadCapabilitiesFrom(const TGLDriverStrings& strings);

// The process's table.
const TGLCapabilities& GLCapabilities();
// Sets every flag from the current context's strings (the window-system
// flags are all false: that string does not exist here).
void ReadGLCapabilities();
// The window-system flags alone; the rest of the table is kept.
void ReadWGLCapabilities();
