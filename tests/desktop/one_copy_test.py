#!/usr/bin/python3
"""One copy of vocabra-tray per session, also when a start meets a copy that is ending (asked to
exit as the new one started, as after `--install` then `--exit`): the new start must become the
one copy, which a later `--exit` reaches, not a copy beside it that nothing can end. A name owner
that is not the program at all keeps no one from starting it.

Run as: tools/with-display dbus-run-session -- /usr/bin/python3 tests/desktop/one_copy_test.py
            --build build/linux --work <empty folder>
"""

import os
import sys

sys.dont_write_bytecode = True
HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

import desktop_session as ds  # noqa: E402
from checks import check  # noqa: E402
from desktop_e2e import Session, parse_options, run_in_desktop  # noqa: E402
from stand_in_process import StandInProcess  # noqa: E402

PROGRAM_NAME = "com.corvane.Vocabra"


class FakeOwner(StandInProcess):
    """tests/desktop/fake_program_owner.py holding the program's bus name, until stop()."""

    def __init__(self, mode, log_path):
        super().__init__("fake_program_owner.py", [mode], log_path)
        check(self.ready(10), "a stand-in (%s) owns the program's name on the bus" % mode)


def session_meeting(mode, options, dictionary, host):
    """A run of the program's, and a stand-in in `mode` that holds the program's name already."""
    session = Session(options, dictionary, host, None, "en", name=mode.lstrip("-"))
    os.makedirs(session.work, exist_ok=True)
    return session, FakeOwner(mode, os.path.join(session.work, "owner.log"))


def meets_an_ending_copy(options, dictionary, host):
    session, owner = session_meeting("--ending", options, dictionary, host)
    try:
        program = session.start()
        check(owner.next_line(10) == "asked" and owner.ended(10),
              "a start asks the copy it finds, which leaves the bus without an answer")
    finally:
        owner.stop()
    check(program.running() and ds.bus_name_has_owner(PROGRAM_NAME),
          "the start goes on as the one copy: the program's name on the bus is its own")
    check(session.run("--exit") == 0 and program.wait_exit(15) == 0, "so --exit reaches it and ends it with 0")


def meets_a_stranger(options, dictionary, host):
    session, owner = session_meeting("--refusing", options, dictionary, host)
    try:
        program = session.start()
        check(program.running(), "a name owner that refuses every question does not keep the program from starting")
        session.choose_from_menu("Up", "Return")
        check(program.wait_exit(15) == 0, "and the tray menu's Exit ends it with 0")
    finally:
        owner.stop()


def main():
    options = parse_options()

    def runs(dictionary, host):
        meets_an_ending_copy(options, dictionary, host)
        meets_a_stranger(options, dictionary, host)
        return True
    return 0 if run_in_desktop(options, runs) else 1


if __name__ == "__main__":
    sys.exit(main())
