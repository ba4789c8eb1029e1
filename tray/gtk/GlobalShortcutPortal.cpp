#define G_LOG_DOMAIN "vocabra-tray"

#include "tray/gtk/GlobalShortcutPortal.h"

#include <gio/gio.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "foundation/glib/CallbackGuard.h"
#include "foundation/glib/DesktopPortal.h"
#include "foundation/glib/GLibOwnership.h"
#include "tray/gtk/PortalRequestPath.h"

namespace tray::gtk {
namespace {

using glib::kPortalBusName;
using glib::kPortalObjectPath;
constexpr char kShortcutsInterface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequestInterface[] = "org.freedesktop.portal.Request";
constexpr char kSessionInterface[] = "org.freedesktop.portal.Session";
constexpr guint32 kResponseSuccess = 0;

using glib::GObjectPtr;
using ErrorPtr = glib::GErrorPtr;
using VariantPtr = glib::GVariantPtr;

// One signal subscription, ended when this goes. GDBus drops deliveries that are already queued
// for an ended subscription, so no handler runs after Reset().
class SignalSubscription {
public:
    SignalSubscription() = default;
    SignalSubscription(GDBusConnection* connection, guint id)
        : m_connection(G_DBUS_CONNECTION(g_object_ref(connection))), m_id(id)
    {
    }
    SignalSubscription(SignalSubscription&& other) noexcept
        : m_connection(std::move(other.m_connection)), m_id(std::exchange(other.m_id, 0))
    {
    }
    SignalSubscription& operator=(SignalSubscription&& other) noexcept
    {
        if (this != &other) {
            Reset();
            m_connection = std::move(other.m_connection);
            m_id = std::exchange(other.m_id, 0);
        }
        return *this;
    }
    ~SignalSubscription() { Reset(); }

    void Reset()
    {
        if (m_id != 0)
            g_dbus_connection_signal_unsubscribe(m_connection.get(), m_id);
        m_id = 0;
        m_connection.reset();
    }

private:
    GObjectPtr<GDBusConnection> m_connection;
    guint m_id = 0;
};

std::string NextHandleToken()
{
    // Main thread only, like the whole client.
    static std::uint32_t sequence = 0;
    return MakeHandleToken(++sequence, g_random_int());
}

// The trigger description of shortcut `id` in a portal's list of shortcuts (a(sa{sv})), empty when
// the desktop gives none; nothing when the list lacks the shortcut.
std::optional<std::string> FindTriggerDescription(GVariant* shortcuts, const char* id)
{
    if (shortcuts == nullptr || !g_variant_is_of_type(shortcuts, G_VARIANT_TYPE("a(sa{sv})")))
        return std::nullopt;
    GVariantIter iter;
    g_variant_iter_init(&iter, shortcuts);
    const gchar* shortcutId = nullptr;
    GVariant* rawProperties = nullptr;
    while (g_variant_iter_next(&iter, "(&s@a{sv})", &shortcutId, &rawProperties)) {
        VariantPtr properties(rawProperties);
        if (g_strcmp0(shortcutId, id) != 0)
            continue;
        const gchar* trigger = nullptr;
        if (!g_variant_lookup(properties.get(), "trigger_description", "&s", &trigger))
            return std::string();
        return std::string(trigger);
    }
    return std::nullopt;
}

}  // namespace

class GlobalShortcutPortal::Client {
public:
    explicit Client(ActivatedCallback activated) : m_activated(std::move(activated)), m_cancellable(g_cancellable_new())
    {
    }

    ~Client()
    {
        // Pending calls finish as cancelled, and their callbacks then leave this object alone.
        g_cancellable_cancel(m_cancellable.get());
        if (m_connection) {
            ReleasePortalObjects();
            // The Close calls are queued; the flush holds the connection until they are sent.
            g_dbus_connection_flush(m_connection.get(), nullptr, nullptr, nullptr);
        }
    }

    void SetChangedCallback(std::function<void()> changed) { m_changed = std::move(changed); }

    void Start(const std::string& description, const std::string& preferredTrigger)
    {
        if (m_step != Step::NotStarted)
            return;
        m_description = description;
        m_preferredTrigger = preferredTrigger;
        m_step = Step::ConnectingToBus;
        g_bus_get(G_BUS_TYPE_SESSION, m_cancellable.get(), &Client::OnBusReady, this);
        NotifyChanged();
    }

    PortalShortcutState State() const
    {
        switch (m_step) {
            case Step::NotStarted:
            case Step::Failed:
                return PortalShortcutState::Unavailable;
            case Step::Bound:
                return PortalShortcutState::Bound;
            default:
                return PortalShortcutState::Pending;
        }
    }

    const std::string& TriggerDescription() const { return m_triggerDescription; }

private:
    enum class Step {
        NotStarted,
        ConnectingToBus,
        CheckingVersion,
        FindingPortal,
        CreatingSession,
        BindingShortcuts,
        Bound,
        Failed,
    };

    static bool WasCancelled(const GError* error) { return g_error_matches(error, G_IO_ERROR, G_IO_ERROR_CANCELLED); }

    static void OnBusReady(GObject*, GAsyncResult* result, gpointer self)
    {
        glib::GuardCallback("global shortcut portal: the session bus", [&] {
            GError* rawError = nullptr;
            GObjectPtr<GDBusConnection> connection(g_bus_get_finish(result, &rawError));
            ErrorPtr error(rawError);
            if (WasCancelled(error.get()))
                return;
            auto* client = static_cast<Client*>(self);
            if (!connection) {
                client->Fail("no session bus", error.get());
                return;
            }
            client->m_connection = std::move(connection);
            client->CheckVersion();
        });
    }

    // The callback of every method call. A cancelled call belongs to a client that is gone.
    template <void (Client::*Handler)(GVariant* reply, const GError* error)>
    static void OnCallFinished(GObject* source, GAsyncResult* result, gpointer self)
    {
        glib::GuardCallback("global shortcut portal: a call's answer", [&] {
            GError* rawError = nullptr;
            VariantPtr reply(g_dbus_connection_call_finish(G_DBUS_CONNECTION(source), result, &rawError));
            ErrorPtr error(rawError);
            if (WasCancelled(error.get()))
                return;
            (static_cast<Client*>(self)->*Handler)(reply.get(), error.get());
        });
    }

    template <void (Client::*Handler)(GVariant* reply, const GError* error)>
    void Call(const char* destination,
              const char* path,
              const char* interface,
              const char* method,
              GVariant* parameters,
              const char* replyType)
    {
        g_dbus_connection_call(m_connection.get(), destination, path, interface, method, parameters,
                               G_VARIANT_TYPE(replyType), G_DBUS_CALL_FLAGS_NONE, -1, m_cancellable.get(),
                               &Client::OnCallFinished<Handler>, this);
    }

    // Fire and forget: nothing comes back that could reach this object.
    void CallPortalWithoutReply(const std::string& path, const char* interface, const char* method)
    {
        g_dbus_connection_call(m_connection.get(), kPortalBusName, path.c_str(), interface, method, nullptr, nullptr,
                               G_DBUS_CALL_FLAGS_NO_AUTO_START, -1, nullptr, nullptr, nullptr);
    }

    template <void (Client::*Handler)(GVariant* parameters)>
    static void OnSignal(GDBusConnection*,
                         const gchar*,
                         const gchar*,
                         const gchar*,
                         const gchar*,
                         GVariant* parameters,
                         gpointer self)
    {
        glib::GuardCallback("global shortcut portal: a signal",
                            [&] { (static_cast<Client*>(self)->*Handler)(parameters); });
    }

    // Listens to the portal's own connection only, so that no other program can answer for it or
    // press the shortcut. By its unique name: GLib before 2.80 (unless patched) lets any sender's
    // signals through when a subscription names a well-known sender.
    template <void (Client::*Handler)(GVariant* parameters)>
    SignalSubscription Subscribe(const char* interface, const char* member, const std::string& path)
    {
        const guint id = g_dbus_connection_signal_subscribe(m_connection.get(), m_portalOwner.c_str(), interface,
                                                            member, path.c_str(), nullptr, G_DBUS_SIGNAL_FLAGS_NONE,
                                                            &Client::OnSignal<Handler>, this, nullptr);
        return SignalSubscription(m_connection.get(), id);
    }

    void CheckVersion()
    {
        m_step = Step::CheckingVersion;
        Call<&Client::OnVersion>(kPortalBusName, kPortalObjectPath, "org.freedesktop.DBus.Properties", "Get",
                                 g_variant_new("(ss)", kShortcutsInterface, "version"), "(v)");
    }

    void OnVersion(GVariant* reply, const GError* error)
    {
        if (error != nullptr) {
            Fail("no desktop portal with global shortcuts", error);
            return;
        }
        GVariant* rawVersion = nullptr;
        g_variant_get(reply, "(v)", &rawVersion);
        VariantPtr version(rawVersion);
        if (!g_variant_is_of_type(version.get(), G_VARIANT_TYPE_UINT32) || g_variant_get_uint32(version.get()) < 1) {
            Fail("the desktop portal's global shortcuts have no usable version");
            return;
        }
        // The version call started the portal if it was not running; now it has an owner.
        m_step = Step::FindingPortal;
        Call<&Client::OnPortalFound>("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
                                     "GetNameOwner", g_variant_new("(s)", kPortalBusName), "(s)");
    }

    void OnPortalFound(GVariant* reply, const GError* error)
    {
        if (error != nullptr) {
            Fail("the desktop portal went away", error);
            return;
        }
        const gchar* owner = nullptr;
        g_variant_get(reply, "(&s)", &owner);
        m_portalOwner = owner;
        CreateSession();
    }

    // Subscribes before the call that the response answers, so that not even a quick portal
    // answers before anyone listens.
    std::string ListenForResponse()
    {
        std::string token = NextHandleToken();
        m_requestPath = RequestPath(g_dbus_connection_get_unique_name(m_connection.get()), token);
        m_response = Subscribe<&Client::OnResponse>(kRequestInterface, "Response", m_requestPath);
        return token;
    }

    void CreateSession()
    {
        const std::string requestToken = ListenForResponse();
        const std::string sessionToken = NextHandleToken();
        // Known now, so that a client destroyed before the answer still closes the session.
        m_sessionPath = SessionPath(g_dbus_connection_get_unique_name(m_connection.get()), sessionToken);

        GVariantBuilder options;
        g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(requestToken.c_str()));
        g_variant_builder_add(&options, "{sv}", "session_handle_token", g_variant_new_string(sessionToken.c_str()));
        m_step = Step::CreatingSession;
        Call<&Client::OnRequestSent<Step::CreatingSession>>(kPortalBusName, kPortalObjectPath, kShortcutsInterface,
                                                            "CreateSession", g_variant_new("(a{sv})", &options), "(o)");
    }

    void BindShortcuts()
    {
        const std::string requestToken = ListenForResponse();

        GVariantBuilder properties;
        g_variant_builder_init(&properties, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&properties, "{sv}", "description", g_variant_new_string(m_description.c_str()));
        if (!m_preferredTrigger.empty()) {
            g_variant_builder_add(&properties, "{sv}", "preferred_trigger",
                                  g_variant_new_string(m_preferredTrigger.c_str()));
        }
        GVariantBuilder shortcuts;
        g_variant_builder_init(&shortcuts, G_VARIANT_TYPE("a(sa{sv})"));
        g_variant_builder_add(&shortcuts, "(sa{sv})", kTranslateClipboardShortcutId, &properties);

        GVariantBuilder options;
        g_variant_builder_init(&options, G_VARIANT_TYPE_VARDICT);
        g_variant_builder_add(&options, "{sv}", "handle_token", g_variant_new_string(requestToken.c_str()));

        m_step = Step::BindingShortcuts;
        // No parent window: the program has none that the desktop could identify under Wayland.
        Call<&Client::OnRequestSent<Step::BindingShortcuts>>(
            kPortalBusName, kPortalObjectPath, kShortcutsInterface, "BindShortcuts",
            g_variant_new("(oa(sa{sv})sa{sv})", m_sessionPath.c_str(), &shortcuts, "", &options), "(o)");
    }

    // The call's reply: the request handle. Portals older than the path rule choose another
    // handle; follow it then. A reply that comes after its response has nothing left to do.
    template <Step kStep>
    void OnRequestSent(GVariant* reply, const GError* error)
    {
        if (m_step != kStep)
            return;
        if (error != nullptr) {
            Fail("the desktop portal refused the call", error);
            return;
        }
        const gchar* handle = nullptr;
        g_variant_get(reply, "(&o)", &handle);
        if (m_requestPath != handle) {
            m_requestPath = handle;
            m_response = Subscribe<&Client::OnResponse>(kRequestInterface, "Response", m_requestPath);
        }
    }

    void OnResponse(GVariant* parameters)
    {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(ua{sv})")))
            return;
        guint32 response = 0;
        GVariant* rawResults = nullptr;
        g_variant_get(parameters, "(u@a{sv})", &response, &rawResults);
        VariantPtr results(rawResults);
        m_response.Reset();
        m_requestPath.clear();
        if (response != kResponseSuccess) {
            // 1: the user cancelled; 2: the interaction ended some other way.
            g_debug("global shortcut portal: response %u", response);
            Fail(m_step == Step::CreatingSession ? "the desktop made no session" : "the desktop bound no shortcut");
            return;
        }
        if (m_step == Step::CreatingSession)
            OnSessionCreated(results.get());
        else if (m_step == Step::BindingShortcuts)
            OnShortcutsBound(results.get());
    }

    void OnSessionCreated(GVariant* results)
    {
        // Documented as an object path, sent as a string by the portals; take either.
        VariantPtr handle(g_variant_lookup_value(results, "session_handle", nullptr));
        if (!handle ||
            !(g_variant_is_of_type(handle.get(), G_VARIANT_TYPE_STRING) ||
              g_variant_is_of_type(handle.get(), G_VARIANT_TYPE_OBJECT_PATH)) ||
            !g_variant_is_object_path(g_variant_get_string(handle.get(), nullptr))) {
            Fail("the desktop portal named no session");
            return;
        }
        m_sessionPath = g_variant_get_string(handle.get(), nullptr);
        m_activatedSignal = Subscribe<&Client::OnActivated>(kShortcutsInterface, "Activated", kPortalObjectPath);
        m_shortcutsChangedSignal =
            Subscribe<&Client::OnShortcutsChanged>(kShortcutsInterface, "ShortcutsChanged", kPortalObjectPath);
        m_sessionClosedSignal = Subscribe<&Client::OnSessionClosed>(kSessionInterface, "Closed", m_sessionPath);
        BindShortcuts();
    }

    void OnShortcutsBound(GVariant* results)
    {
        VariantPtr shortcuts(g_variant_lookup_value(results, "shortcuts", G_VARIANT_TYPE("a(sa{sv})")));
        const std::optional<std::string> trigger =
            FindTriggerDescription(shortcuts.get(), kTranslateClipboardShortcutId);
        if (!trigger) {
            Fail("the desktop left the shortcut out");
            return;
        }
        m_triggerDescription = *trigger;
        m_step = Step::Bound;
        NotifyChanged();
    }

    // Whether a session signal (its first argument is the session) is about ours.
    bool IsOurBoundSession(GVariant* parameters) const
    {
        if (m_step != Step::Bound)
            return false;
        const gchar* session = nullptr;
        g_variant_get_child(parameters, 0, "&o", &session);
        return m_sessionPath == session;
    }

    void OnActivated(GVariant* parameters)
    {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(osta{sv})")) || !IsOurBoundSession(parameters))
            return;
        const gchar* shortcutId = nullptr;
        g_variant_get_child(parameters, 1, "&s", &shortcutId);
        if (g_strcmp0(shortcutId, kTranslateClipboardShortcutId) != 0)
            return;
        VariantPtr options(g_variant_get_child_value(parameters, 3));
        const gchar* token = nullptr;
        g_variant_lookup(options.get(), "activation_token", "&s", &token);
        // A copy: the callback may destroy this object and with it m_activated.
        const ActivatedCallback activated = m_activated;
        if (activated)
            activated(token ? token : "");
    }

    void OnShortcutsChanged(GVariant* parameters)
    {
        if (!g_variant_is_of_type(parameters, G_VARIANT_TYPE("(oa(sa{sv}))")) || !IsOurBoundSession(parameters))
            return;
        VariantPtr shortcuts(g_variant_get_child_value(parameters, 1));
        const std::optional<std::string> trigger =
            FindTriggerDescription(shortcuts.get(), kTranslateClipboardShortcutId);
        if (!trigger || *trigger == m_triggerDescription)
            return;
        m_triggerDescription = *trigger;
        NotifyChanged();
    }

    void OnSessionClosed(GVariant*)
    {
        m_sessionPath.clear();  // nothing left to close
        Fail("the desktop closed the session");
    }

    // Ends what this client holds at the portal: the pending request (a dialog the user may still
    // see) and the session, and stops listening.
    void ReleasePortalObjects()
    {
        m_response.Reset();
        m_activatedSignal.Reset();
        m_shortcutsChangedSignal.Reset();
        m_sessionClosedSignal.Reset();
        if (!m_requestPath.empty())
            CallPortalWithoutReply(m_requestPath, kRequestInterface, "Close");
        if (!m_sessionPath.empty())
            CallPortalWithoutReply(m_sessionPath, kSessionInterface, "Close");
        m_requestPath.clear();
        m_sessionPath.clear();
    }

    void Fail(const char* reason, const GError* error = nullptr)
    {
        g_debug("global shortcut portal unavailable: %s%s%s", reason, error ? ": " : "", error ? error->message : "");
        if (m_connection)
            ReleasePortalObjects();
        m_triggerDescription.clear();
        m_step = Step::Failed;
        NotifyChanged();
    }

    void NotifyChanged()
    {
        // A copy: the callback may destroy this object and with it m_changed.
        const std::function<void()> changed = m_changed;
        if (changed)
            changed();
    }

    ActivatedCallback m_activated;
    std::function<void()> m_changed;
    GObjectPtr<GCancellable> m_cancellable;
    GObjectPtr<GDBusConnection> m_connection;
    Step m_step = Step::NotStarted;
    std::string m_description;
    std::string m_preferredTrigger;
    std::string m_triggerDescription;
    std::string m_portalOwner;
    std::string m_requestPath;  // the request whose response is awaited
    std::string m_sessionPath;  // the session to close
    SignalSubscription m_response;
    SignalSubscription m_activatedSignal;
    SignalSubscription m_shortcutsChangedSignal;
    SignalSubscription m_sessionClosedSignal;
};

GlobalShortcutPortal::GlobalShortcutPortal(ActivatedCallback activated)
    : m_client(std::make_unique<Client>(std::move(activated)))
{
}

GlobalShortcutPortal::~GlobalShortcutPortal() = default;

void GlobalShortcutPortal::SetChangedCallback(std::function<void()> changed)
{
    m_client->SetChangedCallback(std::move(changed));
}

void GlobalShortcutPortal::Start(const std::string& description, const std::string& preferredTrigger)
{
    m_client->Start(description, preferredTrigger);
}

PortalShortcutState GlobalShortcutPortal::State() const
{
    return m_client->State();
}

const std::string& GlobalShortcutPortal::TriggerDescription() const
{
    return m_client->TriggerDescription();
}

}  // namespace tray::gtk
