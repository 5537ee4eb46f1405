#include "tools/font_face.h"

#include <cairo-ft.h>
#include <fontconfig/fontconfig.h>

namespace fruvana::tools {

cairo_font_face_t* liberationSansFace(int weight, int slant, std::string& family) {
    FcPattern* want = FcPatternCreate();
    FcPatternAddString(want, FC_FAMILY, reinterpret_cast<const FcChar8*>("Liberation Sans"));
    FcPatternAddInteger(want, FC_WEIGHT, weight);
    FcPatternAddInteger(want, FC_SLANT, slant);
    FcConfigSubstitute(nullptr, want, FcMatchPattern);
    FcDefaultSubstitute(want);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, want, &result);
    FcPatternDestroy(want);
    FcChar8* found = nullptr;
    FcChar8* file = nullptr;
    if (match == nullptr || FcPatternGetString(match, FC_FAMILY, 0, &found) != FcResultMatch ||
        FcPatternGetString(match, FC_FILE, 0, &file) != FcResultMatch) {
        if (match != nullptr) FcPatternDestroy(match);
        return nullptr;
    }
    family = reinterpret_cast<const char*>(found);
    int index = 0;
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    FcPattern* exact = FcPatternCreate();
    FcPatternAddString(exact, FC_FILE, file);
    FcPatternAddInteger(exact, FC_INDEX, index);
    FcPatternDestroy(match);
    cairo_font_face_t* face = cairo_ft_font_face_create_for_pattern(exact);
    FcPatternDestroy(exact);
    if (cairo_font_face_status(face) != CAIRO_STATUS_SUCCESS) {
        cairo_font_face_destroy(face);
        return nullptr;
    }
    return face;
}

}  // namespace fruvana::tools
