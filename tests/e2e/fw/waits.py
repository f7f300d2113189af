"""Waiting for an event, never for a fixed time."""
import time


def wait_until(seconds, condition, every=0.05):
    """True as soon as condition() is true, False when it is still false after seconds."""
    deadline = time.monotonic() + seconds
    while True:
        if condition():
            return True
        if time.monotonic() >= deadline:
            return False
        time.sleep(every)
