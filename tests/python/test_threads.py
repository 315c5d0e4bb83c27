"""The comparison runs without the GIL: other Python threads go on while it
works, progress is reported on the calling thread, and Ctrl+C or an error
in the progress callable stops it with that exception."""
import _thread
import os
import signal
import threading
import time

import numpy as np
import pytest
from scipy.cluster.hierarchy import linkage

import dendrocompare
from conftest import EXAMPLES


@pytest.fixture(scope="module")
def large_pair():
    """Two trees of 700 objects from random points."""
    points = np.random.default_rng(11).normal(size=(700, 4))
    return dendrocompare.from_linkage(linkage(points, "ward")), dendrocompare.from_linkage(linkage(points, "average"))


class Counter(threading.Thread):
    """Counts in Python, which needs the GIL, until stopped."""

    def __init__(self):
        super().__init__(daemon=True)
        self.count = 0
        self.running = True

    def run(self):
        while self.running:
            self.count += 1


def test_another_thread_counts_while_comparing(large_pair):
    counter = Counter()
    counter.start()
    time.sleep(0.05)
    start_count, start = counter.count, time.perf_counter()
    comparison = dendrocompare.compare(*large_pair, threads=1)
    during, seconds = counter.count - start_count, time.perf_counter() - start
    counter.running = False
    counter.join()
    assert comparison.object_count == 700
    # The counter runs a loop of a few bytecodes: many thousands a second
    # even on a loaded machine, and none at all if the GIL were held.
    assert during > 10_000 * seconds, (during, seconds)


@pytest.mark.parametrize("exact", [False, True])
def test_progress_is_reported_on_the_calling_thread_up_to_the_total(large_pair, exact):
    calls, threads = [], set()

    def progress(done, total):
        calls.append((done, total))
        threads.add(threading.get_ident())

    comparison = dendrocompare.compare(*large_pair, progress=progress, exact=exact)
    # Levels of the second dendrogram for the single-precision tables, of the
    # first above its lowest for the exact counts.
    total = comparison.levels1 - 1 if exact else comparison.levels2 - 1
    assert calls[-1] == (total, total)
    assert all(t == total for _, t in calls)
    assert [d for d, _ in calls] == sorted(d for d, _ in calls)
    assert threads == {threading.get_ident()}


class Stop(Exception):
    pass


def test_an_exception_in_progress_stops_the_comparison(large_pair):
    calls = []

    def progress(done, total):
        calls.append(done)
        raise Stop(f"stopped at {done} of {total}")

    with pytest.raises(Stop, match=r"^stopped at \d+ of \d+$"):
        dendrocompare.compare(*large_pair, progress=progress)
    assert len(calls) == 1
    assert dendrocompare.compare(EXAMPLES / "five1.den", EXAMPLES / "five2.den").levels1 == 3


def test_an_interrupt_seen_by_progress_raises_keyboard_interrupt(large_pair):
    def progress(done, total):
        _thread.interrupt_main()

    with pytest.raises(KeyboardInterrupt):
        dendrocompare.compare(*large_pair, progress=progress)
    assert dendrocompare.compare(EXAMPLES / "five1.den", EXAMPLES / "five2.den").levels1 == 3


def test_ctrl_c_cancels_a_comparison_without_progress_callable():
    # 3000 objects: the whole single-precision comparison takes many seconds
    # on any machine (about 2 N^2 level pairs of cross terms), while a cancel
    # is seen within a column or two of the signal. (The exact engine is done
    # long before any signal; the progress tests above stop it.)
    points = np.random.default_rng(5).normal(size=(3000, 3))
    pair = dendrocompare.from_linkage(linkage(points, "single")), dendrocompare.from_linkage(linkage(points, "ward"))
    timer = threading.Timer(0.2, os.kill, (os.getpid(), signal.SIGINT))
    start = time.perf_counter()
    timer.start()
    finished = False
    with pytest.raises(KeyboardInterrupt):
        dendrocompare.compare(*pair, exact=False)
        finished = True  # the comparison ended before the signal: it was not cancelled
        time.sleep(30)
    timer.join()
    assert not finished
    # Far below the whole comparison even on a loaded machine.
    assert time.perf_counter() - start < 20.0


def test_the_values_do_not_depend_on_the_number_of_threads():
    first, second = EXAMPLES / "iris/average.den", EXAMPLES / "iris/complete.den"
    one = dendrocompare.compare(first, second, threads=1)
    for threads in (2, 3):
        other = dendrocompare.compare(first, second, threads=threads)
        for measure in dendrocompare.MEASURES:
            assert one.table(measure).tobytes() == other.table(measure).tobytes()
