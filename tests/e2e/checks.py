"""The end-to-end scripts' checks: each passed one prints "ok   <what>", the first failed one ends
the run with "FAIL <what>"."""


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok   " + message, flush=True)


def run_or_exit(checks, *arguments):
    """Runs `checks(*arguments)`; the first failed check ends the process with 1."""
    try:
        checks(*arguments)
    except Failure as failure:
        print("FAIL " + str(failure), flush=True)
        raise SystemExit(1)
