#pragma once
// Ownership of GLib's objects, strings, errors and variants, released once by whoever holds them
// last. Header-only: the GTK program, its answer window library and the portal client share it.

#include <glib-object.h>

#include <memory>

namespace glib {

struct GObjectUnref {
    void operator()(gpointer object) const noexcept { g_object_unref(object); }
};
template <class T>
using GObjectPtr = std::unique_ptr<T, GObjectUnref>;

struct GFree {
    void operator()(gpointer memory) const noexcept { g_free(memory); }
};
using GCharPtr = std::unique_ptr<gchar, GFree>;

struct GErrorFree {
    void operator()(GError* error) const noexcept { g_error_free(error); }
};
using GErrorPtr = std::unique_ptr<GError, GErrorFree>;

struct GVariantUnref {
    void operator()(GVariant* variant) const noexcept { g_variant_unref(variant); }
};
using GVariantPtr = std::unique_ptr<GVariant, GVariantUnref>;

}  // namespace glib
