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

// A number GLib hands out for something it keeps (a main loop source, a name watch), given back
// through `Release` when the owner goes. Move-only; 0 is none.
template <void (*Release)(guint)>
class OwnedId {
public:
    OwnedId() = default;
    explicit OwnedId(guint id) : m_id(id) {}
    OwnedId(OwnedId&& other) noexcept : m_id(other.m_id) { other.m_id = 0; }
    OwnedId& operator=(OwnedId&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_id = other.m_id;
            other.m_id = 0;
        }
        return *this;
    }
    ~OwnedId() { Reset(); }

    void Reset() noexcept
    {
        if (m_id != 0)
            Release(m_id);
        m_id = 0;
    }
    // The thing is gone already (a source that returned G_SOURCE_REMOVE): nothing to give back.
    void Forget() noexcept { m_id = 0; }
    explicit operator bool() const { return m_id != 0; }

private:
    guint m_id = 0;
};

inline void RemoveSource(guint id)
{
    g_source_remove(id);
}
using SourceId = OwnedId<RemoveSource>;

}  // namespace glib
