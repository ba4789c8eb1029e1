#!/usr/bin/python3
"""The desktop portal's global shortcut client (GlobalShortcutPortal) against a fake portal.

Run on a private session bus:
    dbus-run-session -- /usr/bin/python3 portal_test.py PORTAL_DRIVER

This process owns org.freedesktop.portal.Desktop and plays the portal; PORTAL_DRIVER runs the
client in a main loop and prints what it reports (see PortalDriver.cpp). D-Bus keeps the order of
the messages between two connections, so a Sync signal sent to the driver after some portal
signals comes back as "sync N" only after the client has seen all of them: the tests wait for
that instead of sleeping.
"""

import os
import sys
import time
import unittest

import gi

gi.require_version("GLib", "2.0")
gi.require_version("Gio", "2.0")
from gi.repository import Gio, GLib  # noqa: E402

PORTAL_NAME = "org.freedesktop.portal.Desktop"
PORTAL_PATH = "/org/freedesktop/portal/desktop"
SHORTCUTS = "org.freedesktop.portal.GlobalShortcuts"
REQUEST = "org.freedesktop.portal.Request"
SESSION = "org.freedesktop.portal.Session"
SETTINGS = "org.freedesktop.portal.Settings"
SHORTCUT_ID = "translate-clipboard"
DESCRIPTION = "Translate the clipboard"
TRIGGER = "CTRL+ALT+c"
DESKTOP_TRIGGER = "Ctrl+Alt+C"
DEADLINE_SECONDS = 15

INTERFACES = Gio.DBusNodeInfo.new_for_xml("""
<node>
  <interface name="org.freedesktop.portal.GlobalShortcuts">
    <method name="CreateSession">
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="handle" direction="out"/>
    </method>
    <method name="BindShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a(sa{sv})" name="shortcuts" direction="in"/>
      <arg type="s" name="parent_window" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="request_handle" direction="out"/>
    </method>
    <method name="ListShortcuts">
      <arg type="o" name="session_handle" direction="in"/>
      <arg type="a{sv}" name="options" direction="in"/>
      <arg type="o" name="request_handle" direction="out"/>
    </method>
    <signal name="Activated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="Deactivated">
      <arg type="o" name="session_handle"/>
      <arg type="s" name="shortcut_id"/>
      <arg type="t" name="timestamp"/>
      <arg type="a{sv}" name="options"/>
    </signal>
    <signal name="ShortcutsChanged">
      <arg type="o" name="session_handle"/>
      <arg type="a(sa{sv})" name="shortcuts"/>
    </signal>
    <property name="version" type="u" access="read"/>
  </interface>
  <interface name="org.freedesktop.portal.Request">
    <method name="Close"/>
    <signal name="Response">
      <arg type="u" name="response"/>
      <arg type="a{sv}" name="results"/>
    </signal>
  </interface>
  <interface name="org.freedesktop.portal.Session">
    <method name="Close"/>
    <signal name="Closed">
      <arg type="a{sv}" name="details"/>
    </signal>
  </interface>
  <interface name="org.freedesktop.portal.Settings">
    <method name="ReadAll">
      <arg type="as" name="namespaces" direction="in"/>
      <arg type="a{sa{sv}}" name="value" direction="out"/>
    </method>
  </interface>
</node>
""")

DRIVER = None  # the driver executable, from the command line


def interface(name):
    return INTERFACES.lookup_interface(name)


def portal_path(kind, sender, token):
    """The portal's rule for request and session handles, stated independently of the client's."""
    return "%s/%s/%s/%s" % (PORTAL_PATH, kind, sender.lstrip(":").replace(".", "_"), token)


def wait_until(condition, what, seconds=DEADLINE_SECONDS):
    """Runs the main loop until `condition()` holds; fails after `seconds`."""
    context = GLib.MainContext.default()
    expired = []
    timer = GLib.timeout_add(int(seconds * 1000), lambda: expired.append(True) or False)
    try:
        while not condition():
            if expired:
                raise AssertionError("timed out waiting for " + what)
            context.iteration(True)
    finally:
        if not expired:
            GLib.source_remove(timer)


class Driver:
    """The client under test in its own process, with its output collected line by line."""

    def __init__(self, *arguments, environment=None):
        launcher = Gio.SubprocessLauncher.new(Gio.SubprocessFlags.STDIN_PIPE | Gio.SubprocessFlags.STDOUT_PIPE)
        # A GLib critical (a wrong GVariant format, an unref too many) ends the driver: a failure.
        launcher.setenv("G_DEBUG", "fatal-criticals", True)
        launcher.setenv("G_MESSAGES_DEBUG", "vocabra-tray", True)
        for name, value in (environment or {}).items():
            launcher.setenv(name, value, True)
        self.lines = []
        self.finished_output = False
        self.exit_status = None
        self.process = launcher.spawnv([DRIVER, DESCRIPTION, TRIGGER, *arguments])
        self.output = Gio.DataInputStream.new(self.process.get_stdout_pipe())
        self._read_line()
        self.process.wait_async(None, self._on_exit)

    def _read_line(self):
        self.output.read_line_async(GLib.PRIORITY_DEFAULT, None, self._on_line)

    def _on_line(self, stream, result):
        line, _length = stream.read_line_finish_utf8(result)
        if line is None:
            self.finished_output = True
            return
        self.lines.append(line)
        self._read_line()

    def _on_exit(self, process, result):
        process.wait_finish(result)
        self.exit_status = process.get_exit_status() if process.get_if_exited() else -process.get_term_sig()

    def send(self, command):
        self.process.get_stdin_pipe().write_all((command + "\n").encode(), None)

    def wait_for(self, line):
        wait_until(lambda: line in self.lines or self.ended(), "%r from the driver; it said %r" % (line, self.lines))
        if line not in self.lines:
            raise AssertionError("the driver ended (status %s) without %r; it said %r"
                                 % (self.exit_status, line, self.lines))

    def ended(self):
        return self.exit_status is not None and self.finished_output

    def states(self):
        return [line for line in self.lines if line.startswith("state ")]

    def wait_for_state_other_than_pending(self):
        wait_until(lambda: any(state != "state pending" for state in self.states()),
                   "an answer; the driver said %r" % self.lines)

    def unique_name(self):
        self.wait_for_line_starting("bus ")
        return next(line for line in self.lines if line.startswith("bus "))[len("bus "):]

    def wait_for_line_starting(self, prefix):
        wait_until(lambda: any(line.startswith(prefix) for line in self.lines),
                   "%r... from the driver; it said %r" % (prefix, self.lines))

    def lines_after(self, marker):
        return self.lines[self.lines.index(marker) + 1:]

    def quit(self):
        """Ends the driver; its exit status (AddressSanitizer's findings make it non-zero)."""
        if self.exit_status is None:
            self.send("quit")
        wait_until(self.ended, "the driver to end")
        return self.exit_status

    def kill(self):
        if self.exit_status is None:
            self.process.force_exit()
            wait_until(lambda: self.exit_status is not None, "the driver to be killed")


class FakePortal:
    """org.freedesktop.portal.Desktop with GlobalShortcuts, answering as configured."""

    def __init__(self, bus):
        self.bus = bus
        self.portal_registration = None
        self.objects = {}  # path -> registration id of requests and sessions
        self.configure()

    def configure(self, version=1, offers_shortcuts=True, create_response=0, bind_response=0, binds=None,
                  holds_create_session=False, answers_bind=True):
        self.version = version
        self.offers_shortcuts = offers_shortcuts
        self.create_response = create_response
        self.bind_response = bind_response
        self.binds = binds  # ids it binds; None: all it is asked for
        self.holds_create_session = holds_create_session
        self.answers_bind = answers_bind
        self.calls = []  # (method, sender, arguments)
        self.closed_requests = []
        self.closed_sessions = []
        self.held_answer = None
        self.unanswered_bind = None  # (sender, request path)
        self.bound = {}  # session path -> shortcuts as in a Response

    # The name and the objects.
    def own_name(self):
        self._call_bus("RequestName", GLib.Variant("(su)", (PORTAL_NAME, 4)))  # 4: do not queue

    def release_name(self):
        self._call_bus("ReleaseName", GLib.Variant("(s)", (PORTAL_NAME,)))

    def _call_bus(self, method, parameters):
        self.bus.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", method,
                           parameters, None, Gio.DBusCallFlags.NONE, -1, None)

    def export(self):
        offered = interface(SHORTCUTS if self.offers_shortcuts else SETTINGS)
        self.portal_registration = self.bus.register_object(PORTAL_PATH, offered, self._on_portal_call,
                                                            self._on_get_property, None)

    def unexport(self):
        self.bus.unregister_object(self.portal_registration)
        for path in list(self.objects):
            self._drop(path)

    def _export(self, path, name):
        self.objects[path] = self.bus.register_object(path, interface(name), self._on_object_call, None, None)

    def _drop(self, path):
        registration = self.objects.pop(path, None)
        if registration is not None:
            self.bus.unregister_object(registration)

    def _on_get_property(self, connection, sender, path, interface_name, name):
        return GLib.Variant("u", self.version)

    def _on_object_call(self, connection, sender, path, interface_name, method, parameters, invocation):
        (self.closed_requests if interface_name == REQUEST else self.closed_sessions).append(path)
        self._drop(path)
        invocation.return_value(None)

    def _on_portal_call(self, connection, sender, path, interface_name, method, parameters, invocation):
        arguments = parameters.unpack()
        self.calls.append((method, sender, arguments))
        if method == "CreateSession":
            self._create_session(sender, arguments[0], invocation)
        elif method == "BindShortcuts":
            self._bind_shortcuts(sender, *arguments, invocation)
        elif method == "ListShortcuts":
            self._list_shortcuts(sender, *arguments, invocation)
        else:
            invocation.return_value(GLib.Variant("(a{sa{sv}})", ({},)))

    def _create_session(self, sender, options, invocation):
        request = portal_path("request", sender, options["handle_token"])
        session = portal_path("session", sender, options["session_handle_token"])
        self._export(request, REQUEST)

        def answer():
            results = {}
            if self.create_response == 0:
                self._export(session, SESSION)
                results["session_handle"] = GLib.Variant("s", session)
            # Before the reply, as a quick portal may: only a client that listened first hears it.
            self._respond(sender, request, self.create_response, results)
            invocation.return_value(GLib.Variant("(o)", (request,)))

        if self.holds_create_session:
            self.held_answer = answer
        else:
            answer()

    def _bind_shortcuts(self, sender, session, shortcuts, parent_window, options, invocation):
        request = portal_path("request", sender, options["handle_token"])
        self._export(request, REQUEST)
        invocation.return_value(GLib.Variant("(o)", (request,)))
        self.bound[session] = [
            (shortcut_id, {"description": GLib.Variant("s", properties["description"]),
                           "trigger_description": GLib.Variant("s", DESKTOP_TRIGGER)})
            for shortcut_id, properties in shortcuts if self.binds is None or shortcut_id in self.binds]
        if self.answers_bind:
            self._respond(sender, request, self.bind_response, {"shortcuts": self.shortcut_list(session)})
        else:
            self.unanswered_bind = (sender, request)

    def _list_shortcuts(self, sender, session, options, invocation):
        request = portal_path("request", sender, options["handle_token"])
        self._export(request, REQUEST)
        invocation.return_value(GLib.Variant("(o)", (request,)))
        self._respond(sender, request, 0, {"shortcuts": self.shortcut_list(session)})

    def shortcut_list(self, session):
        return GLib.Variant("a(sa{sv})", self.bound.get(session, []))

    def _respond(self, destination, request, response, results):
        self.bus.emit_signal(destination, request, REQUEST, "Response", GLib.Variant("(ua{sv})", (response, results)))
        self._drop(request)

    # What the tests make the portal do.
    def release_held_answer(self):
        self.held_answer()

    def answer_bind_late(self):
        destination, request = self.unanswered_bind
        self._respond(destination, request, 0, {"shortcuts": GLib.Variant("a(sa{sv})", [])})

    def emit_shortcut_signal(self, destination, name, session, shortcut_id, connection=None, options=None):
        (connection or self.bus).emit_signal(destination, PORTAL_PATH, SHORTCUTS, name,
                                             GLib.Variant("(osta{sv})", (session, shortcut_id, 1234, options or {})))

    def emit_shortcuts_changed(self, destination, session, trigger):
        shortcuts = [(SHORTCUT_ID, {"description": GLib.Variant("s", DESCRIPTION),
                                    "trigger_description": GLib.Variant("s", trigger)})]
        self.bus.emit_signal(destination, PORTAL_PATH, SHORTCUTS, "ShortcutsChanged",
                             GLib.Variant("(oa(sa{sv}))", (session, shortcuts)))

    def calls_of(self, method):
        return [call for call in self.calls if call[0] == method]

    def session_of(self, sender):
        """The session `sender` asked for last."""
        _, _, (options,) = [call for call in self.calls_of("CreateSession") if call[1] == sender][-1]
        return portal_path("session", sender, options["session_handle_token"])


class GlobalShortcutPortalTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.bus = Gio.bus_get_sync(Gio.BusType.SESSION, None)
        cls.portal = FakePortal(cls.bus)

    def setUp(self):
        self.portal.configure()
        self.portal.export()
        self.portal.own_name()
        self.drivers = []
        self.syncs = 0

    def tearDown(self):
        for driver in self.drivers:
            driver.kill()
        self.portal.release_name()
        self.portal.unexport()

    def start_driver(self, *arguments, environment=None):
        driver = Driver(*arguments, environment=environment)
        self.drivers.append(driver)
        return driver

    def restart_portal(self, **configuration):
        self.portal.unexport()
        self.portal.configure(**configuration)
        self.portal.export()

    def sync(self, driver):
        """Returns once the driver has seen every message this process sent it so far."""
        self.syncs += 1
        self.bus.emit_signal(driver.unique_name(), "/org/vocabra/test", "org.vocabra.test.PortalDriver", "Sync",
                             GLib.Variant("(u)", (self.syncs,)))
        marker = "sync %d" % self.syncs
        driver.wait_for(marker)
        return marker

    def finish(self, driver):
        self.assertEqual(driver.quit(), 0, "the driver failed; its output: %r" % driver.lines)

    def bound_driver(self, *arguments):
        driver = self.start_driver(*arguments)
        driver.wait_for_state_other_than_pending()
        self.assertEqual(driver.states(), ["state pending", "state bound " + DESKTOP_TRIGGER])
        return driver, self.portal.session_of(driver.unique_name())

    def test_binds_its_shortcut_and_reports_the_trigger_the_desktop_chose(self):
        # The portal answers CreateSession before its reply: a client that subscribed to the
        # response only after the reply would wait for ever.
        driver, session = self.bound_driver()
        sender = driver.unique_name()

        (_, create_sender, (create_options,)), = self.portal.calls_of("CreateSession")
        self.assertEqual(create_sender, sender)
        tokens = [create_options["handle_token"], create_options["session_handle_token"]]
        (_, _, (bind_session, shortcuts, _parent, bind_options)), = self.portal.calls_of("BindShortcuts")
        tokens.append(bind_options["handle_token"])
        for token in tokens:
            self.assertRegex(token, r"^[A-Za-z0-9_]+$")
        self.assertEqual(len(set(tokens)), 3, tokens)
        self.assertEqual(bind_session, session)
        self.assertEqual(shortcuts, [(SHORTCUT_ID, {"description": DESCRIPTION, "preferred_trigger": TRIGGER})])
        self.finish(driver)

    def test_calls_back_once_for_each_activation_of_its_own_shortcut(self):
        driver, session = self.bound_driver()
        sender = driver.unique_name()
        other_session = portal_path("session", ":1.999", "someone_else")

        self.portal.emit_shortcut_signal(sender, "Activated", session, SHORTCUT_ID)
        self.portal.emit_shortcut_signal(sender, "Activated", session, "another-shortcut")
        self.portal.emit_shortcut_signal(sender, "Activated", other_session, SHORTCUT_ID)
        self.portal.emit_shortcut_signal(sender, "Deactivated", session, SHORTCUT_ID)
        self.emit_from_impostor(sender, session)
        self.portal.emit_shortcut_signal(sender, "Activated", session, SHORTCUT_ID)
        marker = self.sync(driver)
        self.assertEqual(driver.lines[:driver.lines.index(marker)].count("activated"), 2, driver.lines)

        # The desktop's activation token comes with the activation; one of another type is no token.
        self.portal.emit_shortcut_signal(sender, "Activated", session, SHORTCUT_ID,
                                         options={"activation_token": GLib.Variant("s", "token_1")})
        self.portal.emit_shortcut_signal(sender, "Activated", session, SHORTCUT_ID,
                                         options={"activation_token": GLib.Variant("u", 7)})
        marker = self.sync(driver)
        lines = driver.lines[driver.lines.index(marker) - 2:driver.lines.index(marker)]
        self.assertEqual(lines, ["activated token token_1", "activated"], driver.lines)

        # The user changes the keys in the desktop's settings.
        self.portal.emit_shortcuts_changed(sender, session, "Super+T")
        driver.wait_for("state bound Super+T")
        self.finish(driver)

    def emit_from_impostor(self, destination, session):
        """Another program on the bus sends the portal's signal: the client must not believe it."""
        address = Gio.dbus_address_get_for_bus_sync(Gio.BusType.SESSION, None)
        impostor = Gio.DBusConnection.new_for_address_sync(
            address, Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION,
            None, None)
        self.portal.emit_shortcut_signal(destination, "Activated", session, SHORTCUT_ID, connection=impostor)
        # The bus answers in order: once it has, it has passed the impostor's signal on, ahead of
        # anything the portal sends afterwards.
        impostor.call_sync("org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus", "GetId", None,
                           None, Gio.DBusCallFlags.NONE, -1, None)
        impostor.close_sync(None)

    def test_refusals_and_failures_leave_it_unavailable(self):
        cases = [
            ("the user cancels the session", dict(create_response=1), False),
            ("the session fails", dict(create_response=2), False),
            ("the user cancels the shortcut", dict(bind_response=1), True),
            ("binding fails", dict(bind_response=2), True),
            ("the desktop binds none of it", dict(binds=[]), True),
            ("the portal is too old", dict(version=0), False),
            ("the portal has no global shortcuts", dict(offers_shortcuts=False), False),
        ]
        for name, configuration, made_session in cases:
            with self.subTest(name):
                self.restart_portal(**configuration)
                driver = self.start_driver()
                driver.wait_for_state_other_than_pending()
                self.assertEqual(driver.states(), ["state pending", "state unavailable"])
                if made_session:
                    # A session without its shortcut is of no use: the client gives it back.
                    session = self.portal.session_of(driver.unique_name())
                    wait_until(lambda: session in self.portal.closed_sessions, "the session to be closed")
                self.finish(driver)

    def test_unavailable_at_once_without_a_portal(self):
        self.portal.release_name()
        started = time.monotonic()
        driver = self.start_driver()
        driver.wait_for_state_other_than_pending()
        print("no portal: unavailable after %.3f s" % (time.monotonic() - started), file=sys.stderr)
        self.assertEqual(driver.states(), ["state pending", "state unavailable"])
        self.finish(driver)

    def test_a_handler_that_throws_leaves_the_client_working(self):
        # The handlers run from GLib's C callbacks: a signal (the portal's Response, Activated)
        # and a call's answer (the version a portal without global shortcuts refuses). An
        # exception that crossed one would end the process.
        driver, session = self.bound_driver("--throwing-callbacks")
        sender = driver.unique_name()
        for _ in range(2):
            self.portal.emit_shortcut_signal(sender, "Activated", session, SHORTCUT_ID)
        marker = self.sync(driver)
        self.assertEqual(driver.lines[:driver.lines.index(marker)].count("activated"), 2, driver.lines)
        self.finish(driver)

        self.restart_portal(offers_shortcuts=False)
        driver = self.start_driver("--throwing-callbacks")
        driver.wait_for_state_other_than_pending()
        self.assertEqual(driver.states(), ["state pending", "state unavailable"])
        self.sync(driver)
        self.finish(driver)

    def test_unavailable_without_a_session_bus(self):
        missing = "unix:path=/nonexistent/vocabra-test-no-bus"
        started = time.monotonic()
        driver = self.start_driver(environment={"DBUS_SESSION_BUS_ADDRESS": missing})
        driver.wait_for_state_other_than_pending()
        print("no bus: unavailable after %.3f s" % (time.monotonic() - started), file=sys.stderr)
        self.assertEqual(driver.states(), ["state pending", "state unavailable"])
        self.finish(driver)

    def test_destroyed_client_closes_its_session_and_hears_nothing_more(self):
        driver, session = self.bound_driver()
        driver.send("destroy")
        driver.wait_for("destroyed")
        wait_until(lambda: session in self.portal.closed_sessions, "the session to be closed")
        self.portal.emit_shortcut_signal(driver.unique_name(), "Activated", session, SHORTCUT_ID)
        self.portal.emit_shortcuts_changed(driver.unique_name(), session, "Super+T")
        marker = self.sync(driver)
        self.assertEqual(driver.lines_after("destroyed"), [marker])
        self.finish(driver)

    def test_destroyed_client_closes_its_session_even_as_the_last_user_of_the_bus(self):
        # Its connection goes with it: the Close call must still leave.
        driver = self.start_driver("--no-sync")
        driver.wait_for_state_other_than_pending()
        self.assertEqual(driver.states(), ["state pending", "state bound " + DESKTOP_TRIGGER])
        (_, sender, _), = self.portal.calls_of("CreateSession")
        session = self.portal.session_of(sender)
        driver.send("destroy")
        driver.wait_for("destroyed")
        wait_until(lambda: session in self.portal.closed_sessions, "the session to be closed")
        self.finish(driver)

    def test_destroyed_during_a_call_takes_no_answer(self):
        self.restart_portal(holds_create_session=True)
        driver = self.start_driver()
        wait_until(lambda: self.portal.held_answer is not None, "the session to be asked for")
        driver.send("destroy")
        driver.wait_for("destroyed")
        (_, sender, (options,)), = self.portal.calls_of("CreateSession")
        request = portal_path("request", sender, options["handle_token"])
        wait_until(lambda: request in self.portal.closed_requests, "the request to be closed")
        # The portal answers anyway: the reply to the cancelled call and the response.
        self.portal.release_held_answer()
        self.portal.emit_shortcut_signal(sender, "Activated", self.portal.session_of(sender), SHORTCUT_ID)
        marker = self.sync(driver)
        self.assertEqual(driver.lines_after("destroyed"), [marker])
        self.finish(driver)

    def test_destroyed_while_the_user_chooses_closes_the_dialog_and_the_session(self):
        self.restart_portal(answers_bind=False)
        driver = self.start_driver()
        wait_until(lambda: self.portal.unanswered_bind is not None, "the shortcut to be asked for")
        driver.send("destroy")
        driver.wait_for("destroyed")
        sender, request = self.portal.unanswered_bind
        wait_until(lambda: request in self.portal.closed_requests, "the dialog's request to be closed")
        session = self.portal.session_of(sender)
        wait_until(lambda: session in self.portal.closed_sessions, "the session to be closed")
        self.portal.answer_bind_late()
        marker = self.sync(driver)
        self.assertEqual(driver.lines_after("destroyed"), [marker])
        self.finish(driver)

    def test_destroyed_before_the_bus_answers(self):
        driver = self.start_driver("--destroy-after-start")
        driver.wait_for("destroyed")
        marker = self.sync(driver)
        self.assertEqual(driver.states(), ["state pending"])
        self.assertEqual(driver.lines_after("destroyed"), [marker])
        self.assertEqual(self.portal.calls, [])
        self.finish(driver)


if __name__ == "__main__":
    if len(sys.argv) < 2 or "DBUS_SESSION_BUS_ADDRESS" not in os.environ:
        sys.exit("usage: dbus-run-session -- /usr/bin/python3 portal_test.py PORTAL_DRIVER")
    DRIVER = sys.argv.pop(1)
    unittest.main(verbosity=2)
