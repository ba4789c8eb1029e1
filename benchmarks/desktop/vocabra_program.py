"""vocabra-tray as the benchmark runs it: a program folder of its own whose services ask the fake
dictionary (tests/desktop/test_program.py makes it), started hidden with its tray icon only."""

import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "tests", "desktop"))

from test_program import prepare_program_folder, program_environment, request_path  # noqa: E402
from fresh_home import home_environment  # noqa: E402

SERVICE = "Fake"  # first in the priority order, so it answers the default direction
DIRECTION = "en-ru"  # the direction of a new user


class VocabraTray:
    name = "vocabra-tray"

    def __init__(self, build_folder, answer_window_library=None):
        self.build_folder = build_folder
        self.answer_window_library = answer_window_library
        self.environment = None
        self._program = None

    def prepare(self, home, port, run_id):
        """A program folder inside `home` (a new, empty folder), which is also the home folder."""
        self._program = prepare_program_folder(self.build_folder, os.path.join(home, "program"), port,
                                               answer_window_library=self.answer_window_library)
        self.environment = program_environment(self._program, home_environment(home, run_id))

    def command(self):
        return [self._program.executable]

    @staticmethod
    def asked_for(request, word):
        return request.path == request_path(SERVICE, DIRECTION) and request.query.get("text") == [word]

    def stop(self, process):
        """Asks the running copy to exit, as a second start with --exit does."""
        subprocess.run(self.command() + ["--exit"], env=self.environment, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return "vocabra-tray --exit"

