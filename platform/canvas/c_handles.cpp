#include "platform/canvas/c_handles.h"

#include <cairo.h>
#include <fontconfig/fontconfig.h>
#include <pango/pango.h>

namespace vexmor::platform::detail {

void SurfaceDeleter::operator()(cairo_surface_t* surface) const { cairo_surface_destroy(surface); }
void CairoDeleter::operator()(cairo_t* context) const { cairo_destroy(context); }
void PangoContextDeleter::operator()(PangoContext* context) const { g_object_unref(context); }
void FontMapDeleter::operator()(PangoFontMap* map) const { g_object_unref(map); }
void FontDescriptionDeleter::operator()(PangoFontDescription* description) const {
  pango_font_description_free(description);
}
void FcConfigDeleter::operator()(FcConfig* config) const { FcConfigDestroy(config); }

}  // namespace vexmor::platform::detail
