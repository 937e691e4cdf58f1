#pragma once

// Owners for the C handles of cairo, Pango and fontconfig. The handle types are only declared
// here, so the canvas headers do not pull the C libraries' headers into their users.

#include <memory>

typedef struct _cairo_surface cairo_surface_t;
typedef struct _cairo cairo_t;
typedef struct _PangoContext PangoContext;
typedef struct _PangoFontMap PangoFontMap;
typedef struct _PangoFontDescription PangoFontDescription;
typedef struct _FcConfig FcConfig;

namespace vexmor::platform::detail {

struct SurfaceDeleter {
  void operator()(cairo_surface_t* surface) const;
};
struct CairoDeleter {
  void operator()(cairo_t* context) const;
};
struct PangoContextDeleter {
  void operator()(PangoContext* context) const;
};
struct FontMapDeleter {
  void operator()(PangoFontMap* map) const;
};
struct FontDescriptionDeleter {
  void operator()(PangoFontDescription* description) const;
};
struct FcConfigDeleter {
  void operator()(FcConfig* config) const;
};

using SurfacePtr = std::unique_ptr<cairo_surface_t, SurfaceDeleter>;
using CairoPtr = std::unique_ptr<cairo_t, CairoDeleter>;
using PangoContextPtr = std::unique_ptr<PangoContext, PangoContextDeleter>;
using FontMapPtr = std::unique_ptr<PangoFontMap, FontMapDeleter>;
using FontDescriptionPtr = std::unique_ptr<PangoFontDescription, FontDescriptionDeleter>;
using FcConfigPtr = std::unique_ptr<FcConfig, FcConfigDeleter>;

}  // namespace vexmor::platform::detail
