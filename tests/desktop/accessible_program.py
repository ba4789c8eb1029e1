"""A running GTK program seen and driven through the accessibility bus (AT-SPI), which serves
Wayland clients as well as X11 ones: its windows by title and whether they show, a text box's
text, a button's click. The program must run without NO_AT_BRIDGE, on the test's session bus.

    program = AccessibleProgram(pid)
    dialog = program.wait_window("Vocabra", 15)
    program.set_text(program.find(dialog, Atspi.Role.TEXT), "word")
    program.click(program.find(dialog, Atspi.Role.PUSH_BUTTON, "Translate"))
"""

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

import desktop_session as ds  # noqa: E402


class AccessibleProgram:
    def __init__(self, pid):
        self.pid = pid

    def application(self):
        """The program's accessible application, or None while it has not registered."""
        desktop = Atspi.get_desktop(0)
        desktop.clear_cache()
        for index in range(desktop.get_child_count()):
            application = desktop.get_child_at_index(index)
            try:
                if application is not None and application.get_process_id() == self.pid:
                    # Asked afresh every time: the program's windows come, go and change their titles.
                    # (Switching the cache off instead leaves the next call waiting for ever.)
                    application.clear_cache()
                    return application
            except GLib.Error:
                continue  # a program that has just ended
        return None

    def windows(self):
        """(title, accessible) of each of the program's top-level windows, shown or not."""
        application = self.application()
        if application is None:
            return []
        found = []
        for index in range(application.get_child_count()):
            window = application.get_child_at_index(index)
            try:
                found.append((window.get_name(), window))
            except (GLib.Error, AttributeError):
                continue
        return found

    @staticmethod
    def showing(accessible):
        try:
            return accessible.get_state_set().contains(Atspi.StateType.SHOWING)
        except GLib.Error:
            return False  # gone

    def shown_window(self, title):
        """The window titled `title` while it shows, else None."""
        for name, window in self.windows():
            if name == title and self.showing(window):
                return window
        return None

    def wait_window(self, title, timeout):
        """The window titled `title`, once it shows."""
        return ds.wait_until(lambda: self.shown_window(title), timeout, "a window titled %r shows" % title)

    def wait_hidden(self, title, timeout):
        ds.wait_until(lambda: self.shown_window(title) is None, timeout, "no window titled %r shows" % title)

    @staticmethod
    def find_all(root, role, name=None):
        """Every accessible under `root` (depth first) of `role`, and of `name` when given."""
        found = []
        stack = [root]
        while stack:
            accessible = stack.pop()
            try:
                if accessible.get_role() == role and (name is None or accessible.get_name() == name):
                    found.append(accessible)
                count = accessible.get_child_count()
            except GLib.Error:
                continue  # gone meanwhile
            stack.extend(accessible.get_child_at_index(index) for index in reversed(range(count)))
        return found

    def find(self, root, role, name=None):
        """The first of find_all()."""
        found = self.find_all(root, role, name)
        if not found:
            raise LookupError("no %s%s in %r" % (role.value_nick, "" if name is None else " %r" % name,
                                                 root.get_name()))
        return found[0]

    @staticmethod
    def set_text(accessible, text):
        if not accessible.get_editable_text_iface().set_text_contents(text):
            raise RuntimeError("the text box refused the text %r" % text)

    @staticmethod
    def text(accessible):
        return accessible.get_name()

    def close(self, window):
        """The close button of the window's title bar (GTK draws it under Wayland): the window is
        closed as the user closes it, whichever window has the focus."""
        self.click(self.find(window.get_child_at_index(0), Atspi.Role.PUSH_BUTTON))

    @staticmethod
    def click(accessible):
        """The widget's first action, a button's "click"."""
        if not accessible.get_action_iface().do_action(0):
            raise RuntimeError("%r refused its action" % accessible.get_name())
