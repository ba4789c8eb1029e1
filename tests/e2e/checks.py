"""The end-to-end scripts' checks: each passed one prints "ok   <what>", the first failed one ends
the run with "FAIL <what>"."""


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)
    print("ok   " + message, flush=True)
