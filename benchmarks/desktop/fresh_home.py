"""A program run in a home folder of its own, so that nothing of this machine's user is read."""

import os

# Marks every process a measured program starts, so that one left behind is found after the
# program ended, wherever it was reparented to.
RUN_MARK = "VOCABRA_BENCHMARK_RUN"


def home_environment(home, run_id):
    """The environment of a program run with `home` (a new folder) as its home folder: none of the
    caller's XDG folders, a runtime folder inside `home`, and the run's mark."""
    environment = {name: value for name, value in os.environ.items() if not name.startswith("XDG_")}
    runtime = os.path.join(home, ".runtime")
    os.makedirs(runtime, mode=0o700, exist_ok=True)
    environment.update({"HOME": home, "XDG_RUNTIME_DIR": runtime, RUN_MARK: run_id})
    return environment
